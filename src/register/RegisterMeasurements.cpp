// The register's measurements: listing, counting, assigning, removing; and the sources.
#include "Register.h"

#include "RegisterMeasurementUpdate.h"
#include "RegisterQuery.h"
#include "RegisterText.h"

#include <QSqlQuery>

namespace luvir {

using namespace registersql;

namespace {

const QString kMeasurementColumns
    = QStringLiteral("SELECT m.id, m.cell, m.structure_id, m.site, s.name, o.name,"
                     " (SELECT min(ms.source_id) FROM measurement_sources ms WHERE ms.measurement_id = m.id),"
                     " m.revision");
const QString kMeasurementFrom
    = QStringLiteral(" FROM measurements m LEFT JOIN structures s ON s.id = m.structure_id"
                     " LEFT JOIN objects o ON o.id = s.object_id");
const QString kMeasurementSelect = kMeasurementColumns + kMeasurementFrom;
// The same with the time as the register keeps it last (column 8): where a page ends.
const QString kPageSelect = kMeasurementColumns + QStringLiteral(", m.taken_at") + kMeasurementFrom;

RegisterMeasurement measurementAt(const QSqlQuery &query)
{
    RegisterMeasurement measurement;
    measurement.id = query.value(0).toLongLong();
    measurement.cell = cellFromBlob(query.value(1).toByteArray());
    measurement.structureId = query.value(2).toLongLong();
    measurement.site = query.value(3).toString();
    measurement.structureName = query.value(4).toString();
    measurement.objectName = query.value(5).toString();
    measurement.firstSourceId = query.value(6).toLongLong();
    measurement.revision = query.value(7).toInt();
    return measurement;
}

RegisterSource sourceAt(const QSqlQuery &query)
{
    RegisterSource source;
    source.id = query.value(0).toLongLong();
    source.kind = query.value(1).toInt() == static_cast<int>(RegisterSource::Kind::Download)
        ? RegisterSource::Kind::Download
        : RegisterSource::Kind::File;
    source.addedAt = QDateTime::fromString(query.value(2).toString(), Qt::ISODate);
    source.version = {
        static_cast<std::uint8_t>(query.value(3).toInt()), static_cast<std::uint8_t>(query.value(4).toInt())};
    source.serialNumber = query.value(5).toString();
    source.fileName = query.value(6).toString();
    return source;
}

const QString kSourceSelect = QStringLiteral(
    "SELECT id, kind, added_at, version_major, version_minor, serial_number, file_name FROM sources");

// The id of the row `select` finds by `values`, inserted first by `insert` (which inserts
// nothing when the name is taken) when there is none; inside the caller's transaction, so
// that a row another program made a moment ago is found and used, never made twice.
// 0, with the database's error set, on failure.
RegisterId namedRowId(RegisterDatabase &db, const QString &insert, const QString &select, const QVariantList &values)
{
    QSqlQuery query(db.database());
    if (execBound(query, insert, values) && execBound(query, select, values) && query.next())
        return query.value(0).toLongLong();
    db.fail(query);
    return 0;
}

// The assignment inside the caller's transaction.
bool assignWithin(RegisterDatabase &db, const QList<MeasurementTarget> &targets, RegisterId structureId,
    const std::optional<QString> &site)
{
    QSqlQuery check(db.database());
    if (!execBound(check, QStringLiteral("SELECT id FROM structures WHERE id = ?"), {structureId}))
        return db.fail(check);
    if (!check.next())
        return db.fail(QStringLiteral("в журнале нет конструкции %1").arg(structureId));
    check.finish();
    if (site)
        return updateEach(
            db, QStringLiteral("structure_id = ?, site = ?"), {QVariantList {structureId, *site}}, targets);
    return updateEach(db, QStringLiteral("structure_id = ?"), {QVariantList {structureId}}, targets);
}

bool assignTo(RegisterDatabase &db, const QList<MeasurementTarget> &targets, RegisterId structureId,
    const std::optional<QString> &site)
{
    if (site && !siteRefusal(*site).isEmpty())
        return db.fail(siteRefusal(*site));
    return db.write([&] { return assignWithin(db, targets, structureId, site); });
}

} // namespace

namespace {

// The WHERE of a listing, its values appended to `values`: the measurements not removed, of
// the scope, the days and the element kind chosen.
QString listingWhere(const MeasurementListing &listing, QVariantList &values)
{
    const MeasurementSelection &selection = listing.selection;
    QString where = QStringLiteral(" WHERE m.removed = 0");
    if (selection.scope == MeasurementSelection::Scope::Unassigned) {
        where += QStringLiteral(" AND m.structure_id IS NULL");
    } else if (selection.scope == MeasurementSelection::Scope::Structure) {
        // One structure or several in one read: a page of several is in time order across them.
        QStringList marks;
        for (RegisterId id : listing.structureIds) {
            marks << QStringLiteral("?");
            values << id;
        }
        where += marks.size() == 1 ? QStringLiteral(" AND m.structure_id = ?")
                                   : QStringLiteral(" AND m.structure_id IN (%1)").arg(marks.join(u','));
    }
    if (selection.from.isValid()) {
        where += QStringLiteral(" AND m.taken_at >= ?");
        values << selection.from.toString(Qt::ISODate);
    }
    if (selection.to.isValid()) {
        where += QStringLiteral(" AND m.taken_at < ?"); // before the next day begins
        values << selection.to.addDays(1).toString(Qt::ISODate);
    }
    if (selection.elementKind >= 0) {
        where += QStringLiteral(" AND m.element_kind = ?");
        values << selection.elementKind;
    }
    return where;
}

MeasurementListing listingOf(const MeasurementSelection &selection)
{
    MeasurementListing listing {selection, {}};
    if (selection.scope == MeasurementSelection::Scope::Structure)
        listing.structureIds = {selection.structureId};
    return listing;
}

bool listsNothing(const MeasurementListing &listing)
{
    return listing.selection.scope == MeasurementSelection::Scope::Structure
        && listing.structureIds.isEmpty();
}

} // namespace

QList<RegisterMeasurement> Register::measurements(const MeasurementSelection &selection)
{
    QVariantList values;
    const QString where = listingWhere(listingOf(selection), values);
    return selectAll(m_db, kMeasurementSelect + where + QStringLiteral(" ORDER BY m.taken_at, m.id"), values,
        measurementAt);
}

MeasurementPage Register::measurementPage(
    const MeasurementListing &listing, const MeasurementKey &after, int limit)
{
    MeasurementPage page;
    page.last = after;
    if (listsNothing(listing) || limit <= 0)
        return page;
    QVariantList values;
    QString where = listingWhere(listing, values);
    if (!after.takenAt.isNull()) {
        // After the key in (time, id) order, the time alone bounding the range: both engines
        // then walk the index on (structure, removed, time) from the key on.
        where += QStringLiteral(" AND m.taken_at >= ? AND (m.taken_at > ? OR m.id > ?)");
        values << after.takenAt << after.takenAt << after.id;
    }
    // Of one structure, or of none, the order is the index's own (its first two columns are
    // fixed), so that PostgreSQL walks that index from the key (before version 7 it walked the
    // time index instead, filtering out the rows of other structures: 30–140 ms against 1 ms
    // for a page of 2,000 unassigned among 100,000). Several structures are merged by time.
    const bool oneNode = listing.selection.scope != MeasurementSelection::Scope::All
        && (listing.selection.scope == MeasurementSelection::Scope::Unassigned
            || listing.structureIds.size() == 1);
    const QString order = oneNode ? QStringLiteral(" ORDER BY m.structure_id, m.removed, m.taken_at, m.id")
                                  : QStringLiteral(" ORDER BY m.taken_at, m.id");
    QList<std::pair<RegisterMeasurement, QString>> rows = selectAll(m_db,
        kPageSelect + where + order + QStringLiteral(" LIMIT %1").arg(limit), values,
        [](const QSqlQuery &query) { return std::pair(measurementAt(query), query.value(8).toString()); });
    page.measurements.reserve(rows.size());
    for (const auto &[measurement, takenAt] : std::as_const(rows))
        page.measurements << measurement;
    if (!rows.isEmpty())
        page.last = {rows.constLast().second, rows.constLast().first.id};
    return page;
}

int Register::measurementCount(const MeasurementListing &listing)
{
    if (listsNothing(listing))
        return 0;
    QVariantList values;
    const QString where = listingWhere(listing, values);
    const auto count = selectOne(m_db, QStringLiteral("SELECT count(*) FROM measurements m") + where, values,
        [](const QSqlQuery &query) { return query.value(0).toInt(); });
    return count.value_or(-1);
}

std::optional<RegisterMeasurement> Register::measurement(RegisterId id)
{
    return selectOne(
        m_db, kMeasurementSelect + QStringLiteral(" WHERE m.id = ? AND m.removed = 0"), {id}, measurementAt);
}

QList<StructureCount> Register::measurementCounts()
{
    return selectAll(m_db,
        QStringLiteral("SELECT structure_id, count(*) FROM measurements WHERE removed = 0 "
                       "GROUP BY structure_id ORDER BY coalesce(structure_id, 0)"),
        {}, [](const QSqlQuery &query) {
            return StructureCount {query.value(0).toLongLong(), query.value(1).toInt()};
        });
}

bool Register::assign(
    const QList<RegisterId> &ids, RegisterId structureId, const std::optional<QString> &site)
{
    return assignTo(m_db, targetsOf(ids), structureId, site);
}

bool Register::assignAsRead(
    const QList<RegisterMeasurement> &read, RegisterId structureId, const std::optional<QString> &site)
{
    return assignTo(m_db, targetsOf(read), structureId, site);
}

bool Register::assignNamed(const QList<RegisterId> &ids, const QString &objectName, const QString &structureName,
    const std::optional<QString> &site, RegisterStructure *structure)
{
    RegisterStructure named;
    named.name = structureName;
    if (QString why = textRefusal(RegisterObject {0, objectName, {}, {}, {}}); !why.isEmpty())
        return m_db.fail(why);
    if (QString why = textRefusal(named); !why.isEmpty())
        return m_db.fail(why);
    if (site && !siteRefusal(*site).isEmpty())
        return m_db.fail(siteRefusal(*site));
    return m_db.write([&] {
        named.objectId = namedRowId(m_db, m_db.dialect().insertIgnoring(QStringLiteral("objects"), {QStringLiteral("name")}),
            QStringLiteral("SELECT id FROM objects WHERE name = ?"), {objectName});
        if (named.objectId == 0)
            return false;
        named.id = namedRowId(m_db,
            m_db.dialect().insertIgnoring(QStringLiteral("structures"), {QStringLiteral("object_id"), QStringLiteral("name")}),
            QStringLiteral("SELECT id FROM structures WHERE object_id = ? AND name = ?"),
            {named.objectId, structureName});
        if (named.id == 0 || !assignWithin(m_db, targetsOf(ids), named.id, site))
            return false;
        if (structure)
            *structure = named;
        return true;
    });
}

bool Register::unassign(const QList<RegisterId> &ids)
{
    return m_db.write([&] {
        return updateEach(m_db, QStringLiteral("structure_id = NULL, site = ''"), {}, targetsOf(ids));
    });
}

bool Register::setSite(RegisterId id, const QString &site)
{
    if (const QString why = siteRefusal(site); !why.isEmpty())
        return m_db.fail(why);
    return m_db.write([&] {
        return updateEach(
            m_db, QStringLiteral("site = ?"), {QVariantList {site}}, targetsOf(QList<RegisterId> {id}));
    });
}

bool Register::markRemoved(const QList<RegisterId> &ids)
{
    return m_db.write([&] { return updateEach(m_db, QStringLiteral("removed = 1"), {}, targetsOf(ids)); });
}

QList<RegisterSource> Register::sources()
{
    return selectAll(m_db, kSourceSelect + QStringLiteral(" ORDER BY id"), {}, sourceAt);
}

std::optional<RegisterSource> Register::source(RegisterId id)
{
    return selectOne(m_db, kSourceSelect + QStringLiteral(" WHERE id = ?"), {id}, sourceAt);
}

} // namespace luvir

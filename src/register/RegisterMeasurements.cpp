// The register's measurements: listing, counting, assigning, removing; and the sources.
#include "Register.h"

#include "RegisterQuery.h"

#include <QSqlQuery>

namespace luvir {

using namespace registersql;

namespace {

const QString kMeasurementSelect
    = QStringLiteral("SELECT m.id, m.cell, m.structure_id, m.site, s.name, o.name,"
                     " (SELECT min(ms.source_id) FROM measurement_sources ms WHERE ms.measurement_id = m.id)"
                     " FROM measurements m LEFT JOIN structures s ON s.id = m.structure_id"
                     " LEFT JOIN objects o ON o.id = s.object_id");

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

// Runs `sql` once per id, all inside the caller's transaction; fails on an id that changes nothing.
bool updateEach(
    RegisterDatabase &db, const QString &sql, const QVariantList &leading, const QList<RegisterId> &ids)
{
    QSqlQuery query(db.database());
    if (!query.prepare(sql))
        return db.fail(query);
    for (RegisterId id : ids) {
        registersql::bindAll(query, QVariantList(leading) << id);
        if (!query.exec())
            return db.fail(query);
        if (query.numRowsAffected() != 1)
            return db.fail(QStringLiteral("в журнале нет измерения %1").arg(id));
    }
    return true;
}

} // namespace

QList<RegisterMeasurement> Register::measurements(const MeasurementSelection &selection)
{
    QString where = QStringLiteral(" WHERE m.removed = 0");
    QVariantList values;
    if (selection.scope == MeasurementSelection::Scope::Unassigned) {
        where += QStringLiteral(" AND m.structure_id IS NULL");
    } else if (selection.scope == MeasurementSelection::Scope::Structure) {
        where += QStringLiteral(" AND m.structure_id = ?");
        values << selection.structureId;
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

    return selectAll(m_db, kMeasurementSelect + where + QStringLiteral(" ORDER BY m.taken_at, m.id"), values,
        measurementAt);
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
    return m_db.write([&] {
        QSqlQuery check(m_db.database());
        if (!execBound(check, QStringLiteral("SELECT id FROM structures WHERE id = ?"), {structureId}))
            return m_db.fail(check);
        if (!check.next())
            return m_db.fail(QStringLiteral("в журнале нет конструкции %1").arg(structureId));
        check.finish();
        if (site)
            return updateEach(m_db,
                QStringLiteral(
                    "UPDATE measurements SET structure_id = ?, site = ? WHERE removed = 0 AND id = ?"),
                {structureId, *site}, ids);
        return updateEach(m_db,
            QStringLiteral("UPDATE measurements SET structure_id = ? WHERE removed = 0 AND id = ?"),
            {structureId}, ids);
    });
}

bool Register::unassign(const QList<RegisterId> &ids)
{
    return m_db.write([&] {
        return updateEach(m_db,
            QStringLiteral(
                "UPDATE measurements SET structure_id = NULL, site = '' WHERE removed = 0 AND id = ?"),
            {}, ids);
    });
}

bool Register::setSite(RegisterId id, const QString &site)
{
    return m_db.write([&] {
        return updateEach(m_db,
            QStringLiteral("UPDATE measurements SET site = ? WHERE removed = 0 AND id = ?"), {site}, {id});
    });
}

bool Register::markRemoved(const QList<RegisterId> &ids)
{
    return m_db.write([&] {
        return updateEach(m_db,
            QStringLiteral("UPDATE measurements SET removed = 1 WHERE removed = 0 AND id = ?"), {}, ids);
    });
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

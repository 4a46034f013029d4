// Edits made from what a window read: each compares the revision of every record it
// changes with the one read, and fails whole, changing nothing, when another window or
// program changed one of them since.
#include "Register.h"

#include "RegisterMeasurementUpdate.h"
#include "RegisterQuery.h"
#include "RegisterText.h"

#include <QHash>
#include <QSqlQuery>

namespace luvir {

using namespace registersql;

namespace {

// True when the rows (id, revision) `sql` selects are exactly `expected`.
bool rowsAsRead(RegisterDatabase &db, const QString &sql, const QVariantList &values,
    const QHash<RegisterId, int> &expected, bool &same)
{
    QSqlQuery query(db.database());
    if (!execBound(query, sql, values))
        return db.fail(query);
    QHash<RegisterId, int> found;
    while (query.next())
        found.insert(query.value(0).toLongLong(), query.value(1).toInt());
    same = found == expected;
    return true;
}

template <typename Record> QHash<RegisterId, int> revisionsOf(const QList<Record> &records)
{
    QHash<RegisterId, int> revisions;
    for (const Record &r : records)
        revisions.insert(r.id, r.revision);
    return revisions;
}

// The record `id` of `table` has the revision read: false with the reason when it does not.
bool recordAsRead(
    RegisterDatabase &db, const QString &table, RegisterId id, int revision, const QString &missing)
{
    QSqlQuery query(db.database());
    if (!execBound(query, QStringLiteral("SELECT revision FROM %1 WHERE id = ?").arg(table), {id}))
        return db.fail(query);
    if (!query.next())
        return db.fail(missing);
    return query.value(0).toInt() == revision || db.fail(kChangedMeanwhile);
}

} // namespace

bool Register::unassignAsRead(const QList<RegisterMeasurement> &read)
{
    return m_db.write([&] {
        return updateEach(m_db, QStringLiteral("structure_id = NULL, site = ''"), {}, targetsOf(read));
    });
}

bool Register::setSitesAsRead(const QList<RegisterMeasurement> &read, const QStringList &sites)
{
    if (sites.size() != read.size())
        return m_db.fail(
            QStringLiteral("участков задано %1, измерений %2").arg(sites.size()).arg(read.size()));
    QList<QVariantList> values;
    for (const QString &site : sites) {
        if (const QString why = siteRefusal(site); !why.isEmpty())
            return m_db.fail(why);
        values << QVariantList {site};
    }
    return m_db.write([&] { return updateEach(m_db, QStringLiteral("site = ?"), values, targetsOf(read)); });
}

bool Register::markRemovedAsRead(const QList<RegisterMeasurement> &read)
{
    return m_db.write([&] { return updateEach(m_db, QStringLiteral("removed = 1"), {}, targetsOf(read)); });
}

bool Register::removeStructureAsRead(const RegisterStructure &read, const QList<RegisterMeasurement> &held)
{
    return m_db.write([&] {
        if (!recordAsRead(m_db, QStringLiteral("structures"), read.id, read.revision, kNoStructure))
            return false;
        bool same = false;
        if (!rowsAsRead(m_db,
                QStringLiteral(
                    "SELECT id, revision FROM measurements WHERE removed = 0 AND structure_id = ?"),
                {read.id}, revisionsOf(held), same))
            return false;
        if (!same)
            return m_db.fail(kChangedMeanwhile);
        QSqlQuery query(m_db.database());
        // The site labels belonged to the structure; the measurements stay.
        if (!execBound(query,
                QStringLiteral(
                    "UPDATE measurements SET structure_id = NULL, site = '', revision = revision + 1 "
                    "WHERE structure_id = ?"),
                {read.id})
            || !execBound(query, QStringLiteral("DELETE FROM structures WHERE id = ?"), {read.id}))
            return m_db.fail(query);
        return true;
    });
}

bool Register::removeObjectAsRead(const RegisterObject &read, const QList<RegisterStructure> &structures,
    const QList<RegisterMeasurement> &held)
{
    return m_db.write([&] {
        if (!recordAsRead(m_db, QStringLiteral("objects"), read.id, read.revision, kNoObject))
            return false;
        bool same = false;
        if (!rowsAsRead(m_db, QStringLiteral("SELECT id, revision FROM structures WHERE object_id = ?"),
                {read.id}, revisionsOf(structures), same))
            return false;
        if (same
            && !rowsAsRead(m_db,
                QStringLiteral("SELECT id, revision FROM measurements WHERE removed = 0 AND structure_id IN "
                               "(SELECT id FROM structures WHERE object_id = ?)"),
                {read.id}, revisionsOf(held), same))
            return false;
        if (!same)
            return m_db.fail(kChangedMeanwhile);
        // Its structures go with it; their measurements stay, without structure or site.
        QSqlQuery query(m_db.database());
        if (!execBound(query,
                QStringLiteral(
                    "UPDATE measurements SET structure_id = NULL, site = '', revision = revision + 1 "
                    "WHERE structure_id IN (SELECT id FROM structures WHERE object_id = ?)"),
                {read.id})
            || !execBound(query, QStringLiteral("DELETE FROM structures WHERE object_id = ?"), {read.id})
            || !execBound(query, QStringLiteral("DELETE FROM objects WHERE id = ?"), {read.id}))
            return m_db.fail(query);
        return true;
    });
}

} // namespace luvir

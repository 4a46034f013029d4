#include "RegisterMeasurementUpdate.h"

#include "RegisterQuery.h"

#include <QSqlQuery>

namespace luvir::registersql {

QList<MeasurementTarget> targetsOf(const QList<RegisterId> &ids)
{
    QList<MeasurementTarget> targets;
    for (RegisterId id : ids)
        targets << MeasurementTarget {id, std::nullopt};
    return targets;
}

QList<MeasurementTarget> targetsOf(const QList<RegisterMeasurement> &read)
{
    QList<MeasurementTarget> targets;
    for (const RegisterMeasurement &m : read)
        targets << MeasurementTarget {m.id, m.revision};
    return targets;
}

bool updateEach(RegisterDatabase &db, const QString &set, const QList<QVariantList> &values,
    const QList<MeasurementTarget> &targets)
{
    const QString sql = QStringLiteral("UPDATE measurements SET %1, revision = revision + 1 "
                                       "WHERE removed = 0 AND id = ?")
                            .arg(set);
    QSqlQuery unchecked(db.database());
    QSqlQuery checked(db.database());
    if (!unchecked.prepare(sql))
        return db.fail(unchecked);
    if (!checked.prepare(sql + QStringLiteral(" AND revision = ?")))
        return db.fail(checked);
    for (qsizetype i = 0; i < targets.size(); ++i) {
        const MeasurementTarget &target = targets.at(i);
        QSqlQuery &query = target.revision ? checked : unchecked;
        QVariantList bound = values.size() == 1 ? values.constFirst() : values.value(i);
        bound << target.id;
        if (target.revision)
            bound << *target.revision;
        bindAll(query, bound);
        if (!query.exec())
            return db.fail(query);
        if (query.numRowsAffected() == 1)
            continue;
        const QString missing = QStringLiteral("в журнале нет измерения %1").arg(target.id);
        if (!target.revision)
            return db.fail(missing);
        return failUnchanged(db, QStringLiteral("measurements"), target.id, missing);
    }
    return true;
}

} // namespace luvir::registersql

// Calibration sets and their sites in the register.
#include "Register.h"

#include "CellText.h"
#include "RegisterQuery.h"
#include "RegisterText.h"

#include <QSqlQuery>

#include <cmath>

namespace luvir {

using namespace registersql;

namespace {

const QString kNoSite = QStringLiteral("в наборе нет этого участка");
const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
const QString kMomentFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

const QString kSetColumns = QStringLiteral("id, name, direct_method, concrete, made_on, notes, revision");

CalibrationSet setFromRow(const QSqlQuery &query)
{
    CalibrationSet set;
    set.id = query.value(0).toLongLong();
    set.name = query.value(1).toString();
    set.method = DirectMethod(query.value(2).toInt());
    set.concrete = query.value(3).toString();
    set.madeOn = QDate::fromString(query.value(4).toString(), kDateFormat);
    set.notes = query.value(5).toString();
    set.revision = query.value(6).toInt();
    return set;
}

QVariantList setValues(const CalibrationSet &set)
{
    return {set.name, int(set.method), set.concrete,
        set.madeOn.isValid() ? set.madeOn.toString(kDateFormat) : QString(), set.notes};
}

QString setRefusal(const CalibrationSet &set)
{
    if (set.name.trimmed().isEmpty())
        return QStringLiteral("У градуировочного набора должно быть название");
    if (int(set.method) < int(DirectMethod::PullOff) || int(set.method) > int(DirectMethod::Cubes))
        return QStringLiteral("Неизвестный прямой метод");
    for (const auto &[text, what] :
        {std::pair(set.name, QStringLiteral("Название")), std::pair(set.concrete, QStringLiteral("Бетон")),
            std::pair(set.notes, QStringLiteral("Примечание"))})
        if (const QString why = textRefusal(text, what); !why.isEmpty())
            return why;
    return {};
}

bool positive(double value)
{
    return std::isfinite(value) && value > 0;
}

} // namespace

QString directMethodName(DirectMethod method)
{
    switch (method) {
    case DirectMethod::PullOff:
        return QStringLiteral("отрыв со скалыванием");
    case DirectMethod::EdgeShear:
        return QStringLiteral("скалывание ребра");
    case DirectMethod::Cores:
        return QStringLiteral("испытание кернов");
    case DirectMethod::Cubes:
        return QStringLiteral("испытание образцов-кубов");
    }
    return {};
}

bool indirectValueOf(const ArchiveCell &cell, double &indirect, QString &why)
{
    const int kc = cell.byte(ArchiveCell::Kc);
    if (kc == 0) {
        why = QStringLiteral("Kc измерения равен 0: косвенное значение H = R / Kc не определено");
        return false;
    }
    indirect = cell.strengthWord() * 10.0 / kc;
    return true;
}

QList<CalibrationSet> Register::calibrationSets()
{
    return selectAll(m_db,
        QStringLiteral("SELECT %1 FROM calibration_sets ORDER BY name, id").arg(kSetColumns), {}, setFromRow);
}

std::optional<CalibrationSet> Register::calibrationSet(RegisterId id)
{
    return selectOne(m_db, QStringLiteral("SELECT %1 FROM calibration_sets WHERE id = ?").arg(kSetColumns),
        {id}, setFromRow);
}

QList<CalibrationSet> Register::findCalibrationSets(const QString &name)
{
    return selectAll(m_db,
        QStringLiteral("SELECT %1 FROM calibration_sets WHERE name = ? ORDER BY id").arg(kSetColumns), {name},
        setFromRow);
}

RegisterId Register::addCalibrationSet(const CalibrationSet &set)
{
    if (const QString why = setRefusal(set); !why.isEmpty()) {
        m_db.fail(why);
        return 0;
    }
    return insertReturningId(m_db,
        QStringLiteral("INSERT INTO calibration_sets (name, direct_method, concrete, made_on, notes) "
                       "VALUES (?, ?, ?, ?, ?) RETURNING id"),
        setValues(set));
}

bool Register::updateCalibrationSet(const CalibrationSet &set)
{
    if (const QString why = setRefusal(set); !why.isEmpty())
        return m_db.fail(why);
    return m_db.write([&] {
        QSqlQuery query(m_db.database());
        if (!execBound(query,
                QStringLiteral(
                    "UPDATE calibration_sets SET name = ?, direct_method = ?, concrete = ?, made_on = ?, "
                    "notes = ?, revision = revision + 1 WHERE id = ? AND revision = ?"),
                setValues(set) << set.id << set.revision))
            return m_db.fail(query);
        return query.numRowsAffected() == 1
            || failUnchanged(m_db, QStringLiteral("calibration_sets"), set.id, kNoSet);
    });
}

bool Register::removeCalibrationSet(RegisterId id)
{
    return changeOne(m_db,
        {{QStringLiteral("DELETE FROM calibration_sites WHERE set_id = ?"), {id}},
            {QStringLiteral("DELETE FROM calibration_sets WHERE id = ?"), {id}}},
        kNoSet);
}

QList<CalibrationSite> Register::calibrationSites(RegisterId setId)
{
    return selectAll(m_db,
        QStringLiteral(
            "SELECT s.id, s.set_id, s.measurement_id, s.label, s.indirect, s.direct, s.tested_on, "
            "s.added_at, m.cell, m.site FROM calibration_sites s "
            "LEFT JOIN measurements m ON m.id = s.measurement_id WHERE s.set_id = ? ORDER BY s.id"),
        {setId}, [](const QSqlQuery &query) {
            CalibrationSite site;
            site.id = query.value(0).toLongLong();
            site.setId = query.value(1).toLongLong();
            site.measurementId = query.value(2).isNull() ? 0 : query.value(2).toLongLong();
            site.label = query.value(3).toString();
            site.indirect = query.value(4).toDouble();
            site.direct = query.value(5).toDouble();
            site.testedOn = QDate::fromString(query.value(6).toString(), kDateFormat);
            site.addedAt = QDateTime::fromString(query.value(7).toString(), kMomentFormat);
            if (site.measurementId != 0) {
                const ArchiveCell cell = cellFromBlob(query.value(8).toByteArray());
                if (site.label.isEmpty())
                    site.label = query.value(9).toString();
                if (site.label.isEmpty())
                    site.label = QStringLiteral("изм. %1").arg(site.measurementId);
                site.dependency = dependencyText(cell);
                site.indirect = 0;
                indirectValueOf(cell, site.indirect, site.unusable);
            }
            return site;
        });
}

RegisterId Register::addCalibrationSite(const CalibrationSite &site, const QDateTime &now)
{
    QList<RegisterId> ids;
    return addCalibrationSites({site}, now, &ids) ? ids.constFirst() : 0;
}

bool Register::addCalibrationSites(
    const QList<CalibrationSite> &sites, const QDateTime &now, QList<RegisterId> *ids)
{
    // What the site alone says is refused before the register is asked.
    for (const CalibrationSite &site : sites) {
        if (!positive(site.direct))
            return m_db.fail(QStringLiteral("Прочность по прямому методу должна быть больше 0"));
        if (const QString why = textRefusal(site.label, QStringLiteral("Участок")); !why.isEmpty())
            return m_db.fail(why);
        if (site.measurementId == 0 && site.label.trimmed().isEmpty())
            return m_db.fail(QStringLiteral("У участка без измерения должна быть метка"));
        if (site.measurementId == 0 && !positive(site.indirect))
            return m_db.fail(QStringLiteral("Косвенное значение H должно быть больше 0"));
    }
    QList<RegisterId> added;
    const bool ok = m_db.write([&] {
        added.clear(); // run again from the start after a busy wait
        QSqlQuery query(m_db.database());
        for (const CalibrationSite &site : sites) {
            // The set and the measurement as they are in this change, not as read before it.
            if (!calibrationSetThere(m_db, site.setId))
                return false;
            if (site.measurementId != 0) {
                if (!execBound(query,
                        QStringLiteral("SELECT cell FROM measurements WHERE id = ? AND removed = 0"),
                        {site.measurementId}))
                    return m_db.fail(query);
                if (!query.next())
                    return m_db.fail(QStringLiteral("в журнале нет измерения %1").arg(site.measurementId));
                const ArchiveCell cell = cellFromBlob(query.value(0).toByteArray());
                query.finish();
                double h = 0;
                if (QString why; !indirectValueOf(cell, h, why))
                    return m_db.fail(QStringLiteral("Измерение %1 нельзя использовать: %2")
                                         .arg(site.measurementId)
                                         .arg(why));
            }
            if (!execBound(query,
                    QStringLiteral(
                        "INSERT INTO calibration_sites (set_id, measurement_id, label, indirect, direct, "
                        "tested_on, added_at) VALUES (?, ?, ?, ?, ?, ?, ?) RETURNING id"),
                    {site.setId,
                        site.measurementId == 0 ? QVariant(QMetaType::fromType<qlonglong>())
                                                : site.measurementId,
                        site.label, site.measurementId == 0 ? site.indirect : 0.0, site.direct,
                        site.testedOn.isValid() ? site.testedOn.toString(kDateFormat) : QString(),
                        now.toString(kMomentFormat)})
                || !query.next())
                return m_db.fail(query);
            added << query.value(0).toLongLong();
            query.finish();
        }
        return true;
    });
    if (ok && ids)
        *ids = added;
    return ok;
}

bool Register::removeCalibrationSite(RegisterId id)
{
    return changeOne(m_db, {{QStringLiteral("DELETE FROM calibration_sites WHERE id = ?"), {id}}}, kNoSite);
}

} // namespace luvir

// The dependency applied to a structure, and a set as the calibration takes it.
#include "Register.h"

#include "RegisterQuery.h"

#include <QSqlQuery>

namespace luvir {

using namespace registersql;

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

const QString kDependencyColumns = QStringLiteral(
    "kind, set_id, set_name, method_name, applied_on, a, b, s, r, h_min, h_max, sites_kept, sites_before, "
    "accepted, kc, kc_sites");

// The dependency of the row whose kDependencyColumns begin at column `first`.
AppliedDependency dependencyFromRow(const QSqlQuery &query, int first = 0)
{
    AppliedDependency d;
    d.kind = query.value(first).toInt() == int(DependencyKind::Kc) ? DependencyKind::Kc : DependencyKind::Own;
    d.setId = query.value(first + 1).isNull() ? 0 : query.value(first + 1).toLongLong();
    d.setName = query.value(first + 2).toString();
    d.methodName = query.value(first + 3).toString();
    d.appliedOn = QDate::fromString(query.value(first + 4).toString(), kDateFormat);
    d.a = query.value(first + 5).toDouble();
    d.b = query.value(first + 6).toDouble();
    d.s = query.value(first + 7).toDouble();
    d.r = query.value(first + 8).toDouble();
    d.hMin = query.value(first + 9).toDouble();
    d.hMax = query.value(first + 10).toDouble();
    d.sitesKept = query.value(first + 11).toInt();
    d.sitesBefore = query.value(first + 12).toInt();
    d.accepted = query.value(first + 13).toInt() != 0;
    d.kc = query.value(first + 14).toDouble();
    d.kcSites = query.value(first + 15).toInt();
    return d;
}

QVariantList dependencyValues(const AppliedDependency &d)
{
    return {int(d.kind), d.setId == 0 ? QVariant(QMetaType::fromType<qlonglong>()) : QVariant(d.setId),
        d.setName, d.methodName, d.appliedOn.isValid() ? d.appliedOn.toString(kDateFormat) : QString(), d.a,
        d.b, d.s, d.r, d.hMin, d.hMax, d.sitesKept, d.sitesBefore, d.accepted ? 1 : 0, d.kc, d.kcSites};
}

} // namespace

std::optional<AppliedDependency> Register::structureDependency(RegisterId structureId)
{
    std::optional<AppliedDependency> dependency;
    m_db.read([&] {
        QSqlQuery query(m_db.database());
        query.setForwardOnly(true);
        if (!execBound(query,
                QStringLiteral("SELECT %1 FROM structure_dependencies WHERE structure_id = ?")
                    .arg(kDependencyColumns),
                {structureId}))
            return m_db.fail(query);
        if (!query.next())
            return !query.lastError().isValid() || m_db.fail(query);
        dependency = dependencyFromRow(query);
        query.finish();
        if (!execBound(query,
                QStringLiteral("SELECT label, indirect, direct, counted FROM structure_dependency_sites "
                               "WHERE structure_id = ? ORDER BY position"),
                {structureId}))
            return m_db.fail(query);
        while (query.next())
            dependency->sites << AppliedSite {query.value(0).toString(), query.value(1).toDouble(),
                query.value(2).toDouble(), query.value(3).toInt() != 0};
        if (query.lastError().isValid()) {
            dependency.reset();
            return m_db.fail(query);
        }
        return true;
    });
    return dependency;
}

QHash<RegisterId, AppliedDependency> Register::structureDependencies()
{
    QHash<RegisterId, AppliedDependency> dependencies;
    m_db.read([&] {
        QSqlQuery query(m_db.database());
        query.setForwardOnly(true);
        if (!query.exec(QStringLiteral("SELECT structure_id, %1 FROM structure_dependencies").arg(kDependencyColumns)))
            return m_db.fail(query);
        while (query.next()) {
            const RegisterId structureId = query.value(0).toLongLong();
            dependencies.insert(structureId, dependencyFromRow(query, 1));
        }
        if (query.lastError().isValid()) {
            dependencies.clear();
            return m_db.fail(query);
        }
        return true;
    });
    return dependencies;
}

namespace {

// Moves the structure's revision on from the one read: false, having failed `db` with the
// reason, when it changed since or is not there.
bool touchStructure(RegisterDatabase &db, QSqlQuery &query, const RegisterStructure &read)
{
    if (!execBound(query,
            QStringLiteral("UPDATE structures SET revision = revision + 1 WHERE id = ? AND revision = ?"),
            {read.id, read.revision}))
        return db.fail(query);
    return query.numRowsAffected() == 1
        || failUnchanged(db, QStringLiteral("structures"), read.id, kNoStructure);
}

} // namespace

bool Register::setStructureDependency(const RegisterStructure &read, const AppliedDependency &dependency)
{
    // Only what applyDependency gives: an accepted own dependency or an established Kc.
    if (dependency.kind == DependencyKind::Own && !dependency.accepted)
        return m_db.fail(QStringLiteral("Собственная зависимость не принята, её нельзя применить"));
    if (dependency.kind == DependencyKind::Kc && !(dependency.kc > 0))
        return m_db.fail(QStringLiteral("Kc не установлен, его нельзя применить"));
    return m_db.write([&] {
        QSqlQuery query(m_db.database());
        if (!touchStructure(m_db, query, read))
            return false;
        if (dependency.setId != 0 && !calibrationSetThere(m_db, dependency.setId))
            return false;
        if (!execBound(query, QStringLiteral("DELETE FROM structure_dependencies WHERE structure_id = ?"),
                {read.id}))
            return m_db.fail(query);
        if (!execBound(query,
                QStringLiteral("INSERT INTO structure_dependencies (structure_id, %1) "
                               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                    .arg(kDependencyColumns),
                QVariantList {read.id} + dependencyValues(dependency)))
            return m_db.fail(query);
        for (qsizetype i = 0; i < dependency.sites.size(); ++i) {
            const AppliedSite &site = dependency.sites.at(i);
            if (!execBound(query,
                    QStringLiteral(
                        "INSERT INTO structure_dependency_sites (structure_id, position, label, indirect, "
                        "direct, counted) VALUES (?, ?, ?, ?, ?, ?)"),
                    {read.id, int(i), site.label, site.indirect, site.direct, site.counted ? 1 : 0}))
                return m_db.fail(query);
        }
        return true;
    });
}

bool Register::removeStructureDependency(const RegisterStructure &read)
{
    return m_db.write([&] {
        QSqlQuery query(m_db.database());
        if (!touchStructure(m_db, query, read))
            return false;
        if (!execBound(query, QStringLiteral("DELETE FROM structure_dependencies WHERE structure_id = ?"),
                {read.id}))
            return m_db.fail(query);
        return true;
    });
}

std::optional<DependencySource> dependencySource(
    Register &reg, RegisterId setId, SiteChoice choice, QString &error)
{
    const std::optional<CalibrationSet> set = reg.calibrationSet(setId);
    if (!set) {
        error = reg.errorString().isEmpty() ? kNoSet : reg.errorString();
        return std::nullopt;
    }
    const QList<CalibrationSite> kept = reg.calibrationSites(setId);
    if (!reg.errorString().isEmpty()) {
        error = reg.errorString();
        return std::nullopt;
    }
    DependencySource all {set->id, set->name, directMethodName(set->method), {}, {}};
    QList<QDateTime> addedAt;
    for (const CalibrationSite &site : kept) {
        if (!site.unusable.isEmpty()) {
            error = QStringLiteral("участок «%1» набора нельзя использовать: %2")
                        .arg(site.label, site.unusable);
            return std::nullopt;
        }
        all.sites << CalibSite {site.label, site.indirect, site.direct, site.testedOn};
        all.dependencies << site.dependency;
        addedAt << site.addedAt;
    }
    if (choice == SiteChoice::All)
        return all;
    DependencySource newest {all.setId, all.setName, all.methodName, {}, {}};
    for (qsizetype i : newestSites(all.sites, addedAt)) {
        newest.sites << all.sites.at(i);
        newest.dependencies << all.dependencies.at(i);
    }
    return newest;
}

std::optional<DependencyStrength> strengthByDependency(
    const AppliedDependency &dependency, const ArchiveCell &cell)
{
    double h = 0;
    if (QString why; !indirectValueOf(cell, h, why))
        return std::nullopt;
    return strengthBy(dependency, h);
}

DependencySeries dependencySeries(const AppliedDependency &dependency, const QList<ArchiveCell> &cells)
{
    DependencySeries series;
    series.strengths.reserve(cells.size());
    series.tenths.reserve(cells.size());
    for (const ArchiveCell &cell : cells) {
        const std::optional<DependencyStrength> strength = strengthByDependency(dependency, cell);
        series.strengths << strength;
        if (!strength)
            continue;
        series.tenths << strengthTenths(strength->strength);
        if (!strength->withinRange)
            ++series.outside;
    }
    return series;
}

} // namespace luvir

#include "AppliedDependency.h"

#include "CalibText.h"
#include "CoincidenceFactor.h"
#include "OwnDependency.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace luvir {

namespace {

const QString kSep = QStringLiteral(",");

// "«7» (ИНДИВИД.1), «9» (ИНДИВИД.1)": the sites outside the largest group.
QString differingText(const DependencySource &source, const QList<qsizetype> &differing)
{
    QStringList names;
    for (qsizetype i : differing)
        names << QStringLiteral("%1 (%2)").arg(calibSiteName(source.sites, i), source.dependencies.at(i));
    return names.join(QStringLiteral(", "));
}

} // namespace

double kcAsTyped(double kc)
{
    // Exactly the two decimals the program shows, which the engineer types.
    return QString::number(kc, 'f', 2).toDouble();
}

DependencyStrength strengthBy(const AppliedDependency &dependency, double h)
{
    if (dependency.kind == DependencyKind::Kc)
        return {kcAsTyped(dependency.kc) * h, true};
    return {dependency.a * h + dependency.b, h >= dependency.hMin && h <= dependency.hMax};
}

qint64 strengthTenths(double strength)
{
    // A strength meant to lie on a half (28,05 = 1,10 · 25,5) may come out of the double a
    // hair below it: within 1e-9 of a tenth it is taken as the half and goes away from zero.
    const double tenths = strength * 10;
    return std::llround(tenths + (tenths < 0 ? -1e-9 : 1e-9));
}

DependencyMix dependencyMix(const DependencySource &source, DependencyKind kind)
{
    DependencyMix mix;
    QHash<QString, int> sizes;
    for (qsizetype i = 0; i < source.dependencies.size() && i < source.sites.size(); ++i) {
        const QString &dependency = source.dependencies.at(i);
        if (dependency.isEmpty())
            continue;
        if (!mix.dependencies.contains(dependency))
            mix.dependencies << dependency;
        ++sizes[dependency];
    }
    if (!mix.mixed())
        return mix;
    QString largest = mix.dependencies.first();
    for (const QString &dependency : std::as_const(mix.dependencies))
        if (sizes.value(dependency) > sizes.value(largest))
            largest = dependency;
    for (qsizetype i = 0; i < source.dependencies.size() && i < source.sites.size(); ++i)
        if (!source.dependencies.at(i).isEmpty() && source.dependencies.at(i) != largest)
            mix.differing << i;
    const QString what = QStringLiteral("участки набора сняты по разным зависимостям прибора (%1); "
                                        "отличаются от остальных: %2")
                             .arg(mix.dependencies.join(QStringLiteral(", ")), differingText(source, mix.differing));
    mix.refused = kind == DependencyKind::Kc;
    mix.message = mix.refused ? QStringLiteral("Kc не вычисляется: ") + what
                              : QStringLiteral("Внимание: ") + what
            + QStringLiteral(". Собственная зависимость построена по показаниям разных градуировок прибора");
    return mix;
}

QList<qsizetype> newestSites(const CalibSites &sites, const QList<QDateTime> &addedAt, int count)
{
    QList<qsizetype> order(sites.size());
    std::iota(order.begin(), order.end(), 0);
    if (sites.size() <= count)
        return order;
    auto newer = [&](qsizetype x, qsizetype y) {
        const QDate &dx = sites.at(x).date;
        const QDate &dy = sites.at(y).date;
        if (dx.isValid() != dy.isValid())
            return dx.isValid();
        if (dx != dy)
            return dx > dy;
        const QDateTime ax = addedAt.value(x);
        const QDateTime ay = addedAt.value(y);
        if (ax.isValid() != ay.isValid())
            return ax.isValid();
        if (ax != ay)
            return ax > ay;
        return x > y;
    };
    std::stable_sort(order.begin(), order.end(), newer);
    order.resize(count);
    std::sort(order.begin(), order.end());
    return order;
}

DependencyApplication applyDependency(const DependencySource &source, DependencyKind kind, const QDate &appliedOn)
{
    DependencyApplication application;
    const DependencyMix mix = dependencyMix(source, kind);
    if (mix.refused) {
        application.refusal = mix.message;
        return application;
    }
    application.warning = mix.message;

    AppliedDependency dependency;
    dependency.kind = kind;
    dependency.setId = source.setId;
    dependency.setName = source.setName;
    dependency.methodName = source.methodName;
    dependency.appliedOn = appliedOn;
    if (kind == DependencyKind::Own) {
        const OwnDependency fit = ownDependency(source.sites);
        if (fit.refusal.refused()) {
            application.refusal = fit.refusal.message;
            return application;
        }
        if (!fit.accepted()) {
            QStringList failures;
            for (const FitFailure failure : fit.failures)
                failures << fitFailureText(failure, fit, kSep);
            application.refusal = QStringLiteral("Собственная зависимость не принята, её нельзя применить: %1")
                                      .arg(failures.join(QStringLiteral("; ")));
            return application;
        }
        dependency.a = fit.a;
        dependency.b = fit.b;
        dependency.s = fit.s;
        dependency.r = fit.r;
        dependency.hMin = fit.hMin;
        dependency.hMax = fit.hMax;
        dependency.sitesKept = fit.sitesKept;
        dependency.sitesBefore = fit.sitesBefore;
        dependency.accepted = true;
        for (qsizetype i = 0; i < source.sites.size(); ++i) {
            const CalibSite &site = source.sites.at(i);
            dependency.sites << AppliedSite {site.label, site.indirect, site.direct, fit.cullRound.value(i) == 0};
        }
    } else {
        const CoincidenceFactor factor = coincidenceFactor(source.sites);
        if (factor.refusal.refused()) {
            application.refusal = factor.refusal.message;
            return application;
        }
        if (!factor.established()) {
            application.refusal = QStringLiteral("Kc не установлен, его нельзя применить: %1")
                                      .arg(moreTestsText(factor.moreTestsNeeded()));
            return application;
        }
        dependency.kc = *factor.kc;
        dependency.kcSites = factor.counted;
        for (qsizetype i = 0; i < source.sites.size(); ++i) {
            const CalibSite &site = source.sites.at(i);
            dependency.sites << AppliedSite {site.label, site.indirect, site.direct,
                factor.sites.value(i).standing == RatioStanding::Counted};
        }
    }
    application.dependency = dependency;
    return application;
}

} // namespace luvir

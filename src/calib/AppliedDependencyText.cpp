#include "AppliedDependencyText.h"

#include "CalibText.h"
#include "OwnDependency.h"

namespace luvir {

namespace {

const QString kDateFormat = QStringLiteral("dd.MM.yyyy");

QString rangeText(const AppliedDependency &dependency, const QString &separator)
{
    return QStringLiteral("%1…%2 МПа")
        .arg(calibNumber(dependency.hMin, 2, separator), calibNumber(dependency.hMax, 2, separator));
}

} // namespace

QString appliedDependencyTitle(const AppliedDependency &dependency, const QString &separator)
{
    if (dependency.kind == DependencyKind::Kc)
        return QStringLiteral("Kc = %1").arg(calibNumber(kcAsTyped(dependency.kc), 2, separator));
    OwnDependency line;
    line.a = dependency.a;
    line.b = dependency.b;
    return QStringLiteral("собственная градуировочная зависимость %1").arg(equationText(line, separator));
}

QStringList appliedDependencyLines(const AppliedDependency &dependency, const QString &separator)
{
    QStringList lines;
    const QString set = QStringLiteral("«%1»").arg(dependency.setName);
    if (dependency.kind == DependencyKind::Kc) {
        lines << QStringLiteral("Коэффициент совпадения %1 по градуировочному набору %2 (учтено участков: %3)")
                     .arg(appliedDependencyTitle(dependency, separator), set)
                     .arg(dependency.kcSites);
    } else {
        lines << QStringLiteral("Градуировочная зависимость: %1 по градуировочному набору %2")
                     .arg(appliedDependencyTitle(dependency, separator), set)
              << QStringList {QStringLiteral("a = %1").arg(calibNumber(dependency.a, 4, separator)),
                     QStringLiteral("b = %1 МПа").arg(calibNumber(dependency.b, 2, separator)),
                     QStringLiteral("S = %1 МПа").arg(calibNumber(dependency.s, 2, separator)),
                     QStringLiteral("r = %1").arg(calibNumberBeside(dependency.r, 2, kFitLeastCorrelation, separator)),
                     QStringLiteral("Hmin = %1 МПа").arg(calibNumber(dependency.hMin, 2, separator)),
                     QStringLiteral("Hmax = %1 МПа").arg(calibNumber(dependency.hMax, 2, separator)),
                     QStringLiteral("N = %1 (до отбраковки %2)").arg(dependency.sitesKept).arg(dependency.sitesBefore)}
                     .join(QStringLiteral("; "));
    }
    lines << QStringLiteral("Прямой метод: %1").arg(dependency.methodName);
    if (dependency.appliedOn.isValid())
        lines << QStringLiteral("Применена %1").arg(dependency.appliedOn.toString(kDateFormat));
    return lines;
}

QString dependencyStrengthText(const DependencyStrength &strength, const QString &separator)
{
    const QString text = calibNumber(double(strengthTenths(strength.strength)) / 10, 1, separator);
    return strength.withinRange ? text : u'(' + text + u')';
}

QString dependencyConditionsText(
    const AppliedDependency &dependency, int outside, int total, const QString &separator)
{
    if (dependency.kind == DependencyKind::Kc)
        return QStringLiteral("Результаты получены с Kc %1").arg(kKcDirectMark);
    if (outside == 0)
        return QStringLiteral("Условия применения выполнены: все значения H в диапазоне %1")
            .arg(rangeText(dependency, separator));
    return QStringLiteral("Условия применения не выполнены: %1 из %2 значений H вне диапазона %3 "
                          "(прочность по зависимости в скобках)")
        .arg(outside)
        .arg(total)
        .arg(rangeText(dependency, separator));
}

QString appliedSiteStandingText(const AppliedDependency &dependency, const AppliedSite &site)
{
    if (site.counted)
        return QStringLiteral("учтён");
    return dependency.kind == DependencyKind::Own ? QStringLiteral("отбракован") : QStringLiteral("не учтён");
}

} // namespace luvir

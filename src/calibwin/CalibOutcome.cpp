#include "CalibOutcome.h"

namespace luvir {

namespace {

const QChar kTab = u'\t';

// The site table CalibText words (a title line, then one line per computed site), and the
// lines under it.
QStringList outcomeLines(const CalibOutcome &outcome, const QString &separator)
{
    return outcome.kind == DependencyKind::Own
        ? ownDependencyLines(outcome.input, outcome.fit, separator)
        : coincidenceFactorLines(outcome.input, outcome.factor, separator);
}

} // namespace

CalibOutcome calibOutcome(const QList<CalibrationSite> &sites, DependencyKind kind, bool newest20)
{
    CalibOutcome outcome;
    outcome.kind = kind;
    outcome.sites = sites;
    outcome.notUsed.resize(sites.size());
    QList<int> usable;
    CalibSites usableSites;
    QList<QDateTime> addedAt;
    for (int i = 0; i < sites.size(); ++i) {
        const CalibrationSite &site = sites.at(i);
        if (!site.unusable.isEmpty()) {
            outcome.notUsed[i] = QStringLiteral("не используется: %1").arg(site.unusable);
            continue;
        }
        usable << i;
        usableSites << CalibSite {site.label, site.indirect, site.direct, site.testedOn};
        addedAt << site.addedAt;
    }
    QList<qsizetype> chosen;
    if (newest20) {
        chosen = newestSites(usableSites, addedAt);
    } else {
        for (qsizetype i = 0; i < usable.size(); ++i)
            chosen << i;
    }
    for (qsizetype i = 0, next = 0; i < usable.size(); ++i) {
        if (next < chosen.size() && chosen.at(next) == i) {
            outcome.used << usable.at(i);
            outcome.input << usableSites.at(i);
            ++next;
        } else {
            outcome.notUsed[usable.at(i)] = QStringLiteral("не среди %1 последних").arg(kCorrectionSites);
        }
    }

    QStringList dependencies;
    for (const int i : std::as_const(outcome.used))
        dependencies << sites.at(i).dependency;
    const DependencyMix mix = dependencyMix({0, {}, {}, outcome.input, dependencies}, kind);
    if (mix.refused) {
        outcome.refusal = mix.message;
        return outcome;
    }
    outcome.warning = mix.message;
    if (kind == DependencyKind::Own) {
        outcome.fit = ownDependency(outcome.input);
        outcome.refusal = outcome.fit.refusal.message;
    } else {
        outcome.factor = coincidenceFactor(outcome.input);
        outcome.refusal = outcome.factor.refusal.message;
    }
    return outcome;
}

DependencySource dependencySourceOf(const CalibOutcome &outcome, const CalibrationSet &set)
{
    DependencySource source {set.id, set.name, directMethodName(set.method), outcome.input, {}};
    for (const int i : outcome.used)
        source.dependencies << outcome.sites.at(i).dependency;
    return source;
}

QStringList calibColumnTitles(DependencyKind kind)
{
    const QStringList computed = kind == DependencyKind::Own
        ? QStringList {QStringLiteral("R по зависимости, МПа"), QStringLiteral("Отбраковка")}
        : QStringList {QStringLiteral("q = R / H"), QStringLiteral("Учёт")};
    return QStringList {QStringLiteral("Участок"), QStringLiteral("H, МПа"), QStringLiteral("R прямой, МПа"),
               QStringLiteral("Дата испытания"), QStringLiteral("Зависимость прибора")}
    + computed;
}

namespace {

// Site `index`'s row; `computed` is CalibText's table of the computed sites.
QStringList siteRow(
    const CalibOutcome &outcome, int index, const QStringList &computed, const QString &separator)
{
    const CalibrationSite &site = outcome.sites.at(index);
    QStringList row {site.label,
        site.unusable.isEmpty() ? calibNumber(site.indirect, 2, separator) : QString(),
        calibNumber(site.direct, 1, separator),
        site.testedOn.isValid() ? site.testedOn.toString(QStringLiteral("dd.MM.yyyy")) : QString(),
        site.measurementId == 0 ? QStringLiteral("введён вручную") : site.dependency, QString(),
        outcome.notUsed.value(index)};
    const qsizetype place = outcome.used.indexOf(index);
    if (place >= 0 && outcome.computed()) {
        // The computed columns exactly as CalibText words them in its own table.
        const QStringList cells = computed.value(1 + place).split(kTab);
        row[SiteFigure] = cells.value(3);
        row[SiteStanding] = cells.value(4);
    }
    return row;
}

} // namespace

QStringList calibSiteRow(const CalibOutcome &outcome, int index, const QString &separator)
{
    return siteRow(
        outcome, index, outcome.computed() ? outcomeLines(outcome, separator) : QStringList(), separator);
}

QList<QStringList> calibSiteRows(const CalibOutcome &outcome, const QString &separator)
{
    const QStringList computed = outcome.computed() ? outcomeLines(outcome, separator) : QStringList();
    QList<QStringList> rows;
    rows.reserve(outcome.sites.size());
    for (int i = 0; i < outcome.sites.size(); ++i)
        rows << siteRow(outcome, i, computed, separator);
    return rows;
}

QStringList calibSummaryLines(const CalibOutcome &outcome, const QString &separator)
{
    QStringList lines;
    if (!outcome.warning.isEmpty())
        lines << outcome.warning;
    if (!outcome.computed())
        return lines << outcome.refusal;
    return lines + outcomeLines(outcome, separator).mid(1 + outcome.input.size());
}

} // namespace luvir

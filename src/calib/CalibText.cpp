#include "CalibText.h"

#include <cmath>

namespace luvir {

namespace {

const QString kTab = QStringLiteral("\t");

// The Russian plural of a count: 1 испытание, 2 испытания, 5 испытаний.
QString plural(int n, const QString &one, const QString &few, const QString &many)
{
    const int tens = n % 100;
    const int units = n % 10;
    if (tens >= 11 && tens <= 14)
        return many;
    if (units == 1)
        return one;
    if (units >= 2 && units <= 4)
        return few;
    return many;
}

} // namespace

QString calibNumber(double value, int decimals, const QString &separator)
{
    QString text = QString::number(std::abs(value), 'f', decimals).replace(u'.', separator);
    const bool zero = text.count(u'0') == text.size() - (decimals > 0 ? separator.size() : 0);
    return value < 0 && !zero ? QStringLiteral("−") + text : text;
}

QString calibNumberBeside(double value, int decimals, double limit, const QString &separator)
{
    QString text = calibNumber(value, decimals, separator);
    for (int more = decimals + 1;
         value != limit && more <= 9 && text == calibNumber(limit, more - 1, separator); ++more)
        text = calibNumber(value, more, separator);
    return text;
}

QString ratioStandingText(const SiteRatio &ratio, const CoincidenceFactor &factor, const QString &separator)
{
    switch (ratio.standing) {
    case RatioStanding::Counted:
        return QStringLiteral("учтён");
    case RatioStanding::OutsideLimits:
        return QStringLiteral("не учтён: вне %1…%2")
            .arg(calibNumber(kKcRatioLow, 1, separator), calibNumber(kKcRatioHigh, 1, separator));
    case RatioStanding::FarFromMean:
        return QStringLiteral("не учтён: отличается от Kc = %1 более чем на 15 %")
            .arg(calibNumber(factor.roundKc.value(ratio.round - 1), 3, separator));
    }
    return {};
}

QString moreTestsText(int count)
{
    return QStringLiteral("нужно ещё %1 %2")
        .arg(count)
        .arg(plural(count, QStringLiteral("прямое испытание"), QStringLiteral("прямых испытания"),
            QStringLiteral("прямых испытаний")));
}

QStringList coincidenceFactorLines(
    const CalibSites &sites, const CoincidenceFactor &factor, const QString &separator)
{
    QStringList lines {QStringList {QStringLiteral("Участок"), QStringLiteral("H, МПа"),
        QStringLiteral("R прямой, МПа"), QStringLiteral("q = R / H"), QStringLiteral("Учёт")}
                           .join(kTab)};
    for (qsizetype i = 0; i < sites.size() && i < factor.sites.size(); ++i) {
        const SiteRatio &ratio = factor.sites.at(i);
        lines << QStringList {sites.at(i).label, calibNumber(sites.at(i).indirect, 2, separator),
            calibNumber(sites.at(i).direct, 1, separator), calibNumber(ratio.ratio, 3, separator),
            ratioStandingText(ratio, factor, separator)}
                     .join(kTab);
    }
    if (factor.kc)
        lines << QStringLiteral("Kc = %1 (учтено участков: %2 из %3)")
                     .arg(calibNumber(*factor.kc, 2, separator))
                     .arg(factor.counted)
                     .arg(sites.size());
    else
        lines << QStringLiteral("Kc не установлен: учтено участков %1 из %2, нужно не менее %3; %4")
                     .arg(factor.counted)
                     .arg(sites.size())
                     .arg(kKcLeastSites)
                     .arg(moreTestsText(factor.moreTestsNeeded()));
    return lines;
}

QString equationText(const OwnDependency &fit, const QString &separator)
{
    return QStringLiteral("R = %1·H %2 %3")
        .arg(calibNumber(fit.a, 4, separator), fit.b < 0 ? QStringLiteral("−") : QStringLiteral("+"),
            calibNumber(std::abs(fit.b), 2, separator));
}

QString fitFailureText(FitFailure failure, const OwnDependency &fit, const QString &separator)
{
    switch (failure) {
    case FitFailure::SpreadTooWide:
        return QStringLiteral("S/R̄ = %1 % больше 15 %")
            .arg(calibNumberBeside(fit.spreadPercent(), 1, kFitSpreadLimit * 100, separator));
    case FitFailure::CorrelationTooWeak:
        return QStringLiteral("r = %1 меньше %2")
            .arg(calibNumberBeside(fit.r, 2, kFitLeastCorrelation, separator),
                calibNumber(kFitLeastCorrelation, 1, separator));
    case FitFailure::TooFewSites:
        return QStringLiteral("после отбраковки %1 %2, нужно не менее %3")
            .arg(fit.sitesKept)
            .arg(plural(fit.sitesKept, QStringLiteral("участок"), QStringLiteral("участка"),
                QStringLiteral("участков")))
            .arg(kFitAcceptedSites);
    }
    return {};
}

QStringList ownDependencyLines(const CalibSites &sites, const OwnDependency &fit, const QString &separator)
{
    QStringList lines {
        QStringList {QStringLiteral("Участок"), QStringLiteral("H, МПа"), QStringLiteral("R прямой, МПа"),
            QStringLiteral("R по зависимости, МПа"), QStringLiteral("Отбраковка")}
            .join(kTab)};
    QStringList culled;
    for (qsizetype i = 0; i < sites.size() && i < fit.cullRound.size(); ++i) {
        const int round = fit.cullRound.at(i);
        lines << QStringList {sites.at(i).label, calibNumber(sites.at(i).indirect, 2, separator),
            calibNumber(sites.at(i).direct, 1, separator),
            calibNumber(fit.strengthAt(sites.at(i).indirect), 1, separator),
            round == 0 ? QString() : QStringLiteral("отбракован (тур %1)").arg(round)}
                     .join(kTab);
        if (round != 0)
            culled << QStringLiteral("%1 (тур %2)").arg(calibSiteName(sites, i)).arg(round);
    }
    lines << QStringLiteral("Зависимость: %1").arg(equationText(fit, separator))
          << QStringLiteral("a = %1").arg(calibNumber(fit.a, 4, separator))
          << QStringLiteral("b = %1 МПа").arg(calibNumber(fit.b, 2, separator))
          << QStringLiteral("S = %1 МПа").arg(calibNumber(fit.s, 2, separator))
          << QStringLiteral("S/R̄ = %1 %")
                 .arg(calibNumberBeside(fit.spreadPercent(), 1, kFitSpreadLimit * 100, separator))
          << QStringLiteral("r = %1").arg(calibNumberBeside(fit.r, 2, kFitLeastCorrelation, separator))
          << QStringLiteral("Участков: %1, после отбраковки %2").arg(fit.sitesBefore).arg(fit.sitesKept)
          << QStringLiteral("Отбракованы: %1")
                 .arg(culled.isEmpty() ? QStringLiteral("нет") : culled.join(QStringLiteral(", ")))
          << QStringLiteral("H от %1 до %2 МПа")
                 .arg(calibNumber(fit.hMin, 2, separator), calibNumber(fit.hMax, 2, separator));
    QStringList failures;
    for (const FitFailure failure : fit.failures)
        failures << fitFailureText(failure, fit, separator);
    lines << (failures.isEmpty()
            ? QStringLiteral("Зависимость принята")
            : QStringLiteral("Зависимость не принята: %1").arg(failures.join(QStringLiteral("; "))));
    return lines;
}

} // namespace luvir

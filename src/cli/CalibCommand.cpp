// The command "calib": the laboratory's own dependency (fit) or the coincidence
// coefficient Kc (kc) from a file of sites, as text or as one JSON object for scripts.
#include "Commands.h"

#include "CalibCsv.h"
#include "CalibText.h"
#include "CliText.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace luvir::cli {

namespace {

// The file's sites, or null with the refusal on standard error.
std::optional<CalibCsv> readSitesOrTell(const QString &fileName, CliContext &context)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        context.console.err(QStringLiteral("%1: %2\n").arg(fileName, file.errorString()));
        return std::nullopt;
    }
    CalibCsv csv = readCalibCsv(file.readAll());
    if (!csv.ok()) {
        context.console.err(
            (csv.errorLine > 0
                    ? LuvirCli::tr("%1, line %2: %3").arg(fileName).arg(csv.errorLine).arg(csv.error)
                    : QStringLiteral("%1: %2").arg(fileName, csv.error))
            + u'\n');
        return std::nullopt;
    }
    return csv;
}

// A computation's refusal, naming the file and the line of the site at fault.
int tellRefusal(
    const QString &fileName, const CalibCsv &csv, const CalibRefusal &refusal, CliContext &context)
{
    context.console.err((refusal.site >= 0 ? LuvirCli::tr("%1, line %2: %3")
                                                 .arg(fileName)
                                                 .arg(csv.lines.at(refusal.site))
                                                 .arg(refusal.message)
                                           : QStringLiteral("%1: %2").arg(fileName, refusal.message))
        + u'\n');
    return kExitFailed;
}

QString failureKey(FitFailure failure)
{
    switch (failure) {
    case FitFailure::SpreadTooWide:
        return QStringLiteral("S/R>15%");
    case FitFailure::CorrelationTooWeak:
        return QStringLiteral("r<0.7");
    case FitFailure::TooFewSites:
        return QStringLiteral("n<12");
    }
    return {};
}

QJsonObject fitJson(const CalibSites &sites, const OwnDependency &fit)
{
    QJsonArray culled;
    for (qsizetype i = 0; i < sites.size(); ++i)
        if (fit.cullRound.at(i) != 0)
            culled << sites.at(i).label;
    QJsonArray reasons;
    for (const FitFailure failure : fit.failures)
        reasons << failureKey(failure);
    return {{"a", fit.a}, {"b", fit.b}, {"S", fit.s}, {"r", fit.r}, {"n", fit.sitesKept}, {"culled", culled},
        {"hmin", fit.hMin}, {"hmax", fit.hMax}, {"accepted", fit.accepted()}, {"reasons", reasons}};
}

QJsonObject kcJson(const CalibSites &sites, const CoincidenceFactor &factor)
{
    QJsonArray list;
    for (qsizetype i = 0; i < sites.size(); ++i)
        list << QJsonObject {{"site", sites.at(i).label}, {"ratio", factor.sites.at(i).ratio},
            {"counted", factor.sites.at(i).standing == RatioStanding::Counted}};
    return {{"kc", factor.kc ? QJsonValue(*factor.kc) : QJsonValue(QJsonValue::Null)},
        {"established", factor.established()}, {"sites", list}};
}

void printResult(const QJsonObject &json, const QStringList &lines, bool asJson, CliContext &context)
{
    if (asJson)
        context.console.out(QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Compact)) + u'\n');
    else
        context.console.out(lines.join(u'\n') + u'\n');
}

} // namespace

QString checkCalib(Invocation &invocation, const QString &action)
{
    if (action.isNull())
        return LuvirCli::tr("calib needs fit or kc");
    if (action == QLatin1String("fit"))
        invocation.calibAction = CalibAction::Fit;
    else if (action == QLatin1String("kc"))
        invocation.calibAction = CalibAction::Kc;
    else
        return LuvirCli::tr("unknown calib command \"%1\" (fit or kc)").arg(action);
    if (invocation.files.isEmpty())
        return LuvirCli::tr("missing %1").arg(QStringLiteral("FILE.csv"));
    if (invocation.files.size() > 1)
        return LuvirCli::tr("unexpected argument \"%1\"").arg(invocation.files.at(1));
    return {};
}

int runCalib(const Invocation &invocation, CliContext &context)
{
    const QString &fileName = invocation.files.first();
    const std::optional<CalibCsv> csv = readSitesOrTell(fileName, context);
    if (!csv)
        return kExitFailed;
    const QString &separator = context.decimalSeparator;
    if (invocation.calibAction == CalibAction::Fit) {
        const OwnDependency fit = ownDependency(csv->sites);
        if (fit.refusal.refused())
            return tellRefusal(fileName, *csv, fit.refusal, context);
        printResult(fitJson(csv->sites, fit), ownDependencyLines(csv->sites, fit, separator), invocation.json,
            context);
    } else {
        const CoincidenceFactor factor = coincidenceFactor(csv->sites);
        if (factor.refusal.refused())
            return tellRefusal(fileName, *csv, factor.refusal, context);
        printResult(kcJson(csv->sites, factor), coincidenceFactorLines(csv->sites, factor, separator),
            invocation.json, context);
    }
    return kExitOk;
}

} // namespace luvir::cli

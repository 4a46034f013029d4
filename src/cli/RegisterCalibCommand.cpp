// register calib export SET OUT.csv: the sites of a calibration set kept in the register,
// written as the file `luvir-cli calib` reads (and a spreadsheet opens).
#include "Commands.h"
#include "RegisterCommand.h"

#include "AtomicFile.h"
#include "CalibCsv.h"
#include "CliText.h"

#include <QFileInfo>

namespace luvir::cli {

QString checkRegisterCalib(const Invocation &invocation)
{
    if (!invocation.structures.isEmpty() || !invocation.object.isNull() || invocation.unassigned
        || invocation.from.isValid() || invocation.to.isValid())
        return LuvirCli::tr("register calib export takes only SET and OUT.csv");
    const QStringList &words = invocation.files;
    if (words.isEmpty())
        return LuvirCli::tr("missing %1").arg(QStringLiteral("export"));
    if (words.first() != QLatin1String("export"))
        return LuvirCli::tr("unknown register calib command \"%1\" (export)").arg(words.first());
    if (words.size() < 3)
        return LuvirCli::tr("missing %1")
            .arg(words.size() == 1 ? QStringLiteral("SET OUT.csv") : QStringLiteral("OUT.csv"));
    if (words.size() > 3)
        return LuvirCli::tr("unexpected argument \"%1\"").arg(words.at(3));
    return {};
}

int runRegisterCalib(Register &reg, const Invocation &invocation, CliContext &context)
{
    const QString &name = invocation.files.at(1);
    const QString &out = invocation.files.at(2);
    auto failed = [&](const QString &text) {
        context.console.err(text + u'\n');
        return kExitFailed;
    };
    const QList<CalibrationSet> sets = reg.findCalibrationSets(name);
    if (!reg.errorString().isEmpty())
        return failed(registerFailure(reg));
    if (sets.isEmpty())
        return failed(LuvirCli::tr("luvir-cli: no calibration set \"%1\" in the register").arg(name));
    if (sets.size() > 1)
        return failed(LuvirCli::tr("luvir-cli: several calibration sets are called \"%1\"").arg(name));
    const QList<CalibrationSite> kept = reg.calibrationSites(sets.first().id);
    if (!reg.errorString().isEmpty())
        return failed(registerFailure(reg));

    CalibSites sites;
    for (const CalibrationSite &site : kept) {
        if (!site.unusable.isEmpty())
            return failed(LuvirCli::tr("luvir-cli: site \"%1\" of the set cannot be used: %2")
                              .arg(site.label, site.unusable));
        sites << CalibSite {site.label, site.indirect, site.direct, site.testedOn};
    }
    if (QString reason; !writeFileAtomically(out, writeCalibCsv(sites, context.decimalSeparator), &reason))
        return failed(QStringLiteral("%1: %2").arg(out, reason));
    context.console.out(LuvirCli::tr("Calibration set saved: %1, sites: %2\n")
                            .arg(QFileInfo(out).absoluteFilePath())
                            .arg(sites.size()));
    return kExitOk;
}

} // namespace luvir::cli

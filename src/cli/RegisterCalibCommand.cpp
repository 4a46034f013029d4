// register calib export SET OUT.csv: the sites of a calibration set kept in the register,
// written as the file `luvir-cli calib` reads (and a spreadsheet opens). register calib
// apply SET: the set's own dependency or Kc given to a structure; register calib
// remove-from: taken off it. register stats of a structure given one: its figures by it.
#include "Commands.h"
#include "RegisterCommand.h"

#include "AppliedDependencyText.h"
#include "AtomicFile.h"
#include "CalibCsv.h"
#include "CliText.h"
#include "SeriesGroups.h"
#include "SeriesTable.h"

#include <QFileInfo>

namespace luvir::cli {

QString checkRegisterCalib(const Invocation &invocation)
{
    const QStringList &words = invocation.files;
    if (words.isEmpty())
        return LuvirCli::tr("missing %1").arg(QStringLiteral("export, apply or remove-from"));
    const QString &action = words.first();
    if (invocation.unassigned || invocation.from.isValid() || invocation.to.isValid())
        return LuvirCli::tr("register calib takes no --unassigned, --from or --to");
    if (action == QLatin1String("export")) {
        if (!invocation.structures.isEmpty() || !invocation.object.isNull() || invocation.newest
            || !invocation.properties.isEmpty())
            return LuvirCli::tr("register calib export takes only SET and OUT.csv");
        if (words.size() < 3)
            return LuvirCli::tr("missing %1")
                .arg(words.size() == 1 ? QStringLiteral("SET OUT.csv") : QStringLiteral("OUT.csv"));
        if (words.size() > 3)
            return LuvirCli::tr("unexpected argument \"%1\"").arg(words.at(3));
        return {};
    }
    if (action != QLatin1String("apply") && action != QLatin1String("remove-from"))
        return LuvirCli::tr("unknown register calib command \"%1\" (export, apply or remove-from)")
            .arg(action);
    const bool apply = action == QLatin1String("apply");
    if (invocation.structure.isNull())
        return LuvirCli::tr("register calib %1 needs --structure NAME").arg(action);
    if (apply && words.size() < 2)
        return LuvirCli::tr("missing %1").arg(QStringLiteral("SET"));
    if (words.size() > (apply ? 2 : 1))
        return LuvirCli::tr("unexpected argument \"%1\"").arg(words.at(apply ? 2 : 1));
    if (!apply && (invocation.newest || !invocation.properties.isEmpty()))
        return LuvirCli::tr("register calib remove-from takes only --structure and --object");
    const QString kind = invocation.properties.value(QStringLiteral("kind"));
    if (apply && kind != QLatin1String("own") && kind != QLatin1String("kc"))
        return LuvirCli::tr("register calib apply needs --kind own or --kind kc");
    return {};
}

namespace {

// The calibration set called `name`; null, told, when the register holds none or several.
std::optional<CalibrationSet> namedSet(Register &reg, const QString &name, CliContext &context)
{
    const QList<CalibrationSet> sets = reg.findCalibrationSets(name);
    QString refusal;
    if (!reg.errorString().isEmpty())
        refusal = registerFailure(reg);
    else if (sets.isEmpty())
        refusal = LuvirCli::tr("luvir-cli: no calibration set \"%1\" in the register").arg(name);
    else if (sets.size() > 1)
        refusal = LuvirCli::tr("luvir-cli: several calibration sets are called \"%1\"").arg(name);
    if (!refusal.isEmpty()) {
        context.console.err(refusal + u'\n');
        return std::nullopt;
    }
    return sets.first();
}

int exportSet(Register &reg, const Invocation &invocation, CliContext &context)
{
    const QString &name = invocation.files.at(1);
    const QString &out = invocation.files.at(2);
    auto failed = [&](const QString &text) {
        context.console.err(text + u'\n');
        return kExitFailed;
    };
    const std::optional<CalibrationSet> set = namedSet(reg, name, context);
    if (!set)
        return kExitFailed;
    const QList<CalibrationSite> kept = reg.calibrationSites(set->id);
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

// The structure the options name; null, told, when there is not exactly one.
std::optional<RegisterStructure> structureOf(Register &reg, const Invocation &invocation, CliContext &context)
{
    QString error;
    const auto structure = findNamedStructure(reg, invocation.structure, invocation.object, false, error);
    if (!structure)
        context.console.err(error + u'\n');
    return structure;
}

// register calib apply SET --structure S [--object O] --kind own|kc [--newest]
int applySet(Register &reg, const Invocation &invocation, CliContext &context)
{
    auto failed = [&](const QString &text) {
        context.console.err(text + u'\n');
        return kExitFailed;
    };
    const QString &name = invocation.files.at(1);
    const std::optional<CalibrationSet> set = namedSet(reg, name, context);
    if (!set)
        return kExitFailed;
    const auto structure = structureOf(reg, invocation, context);
    if (!structure)
        return kExitFailed;
    QString error;
    const auto source = dependencySource(
        reg, set->id, invocation.newest ? SiteChoice::Newest : SiteChoice::All, error);
    if (!source)
        return failed(error);
    const DependencyKind kind = invocation.properties.value(QStringLiteral("kind")) == QLatin1String("kc")
        ? DependencyKind::Kc
        : DependencyKind::Own;
    const DependencyApplication applied = applyDependency(*source, kind, context.now().date());
    if (!applied.warning.isEmpty())
        context.console.err(applied.warning + u'\n');
    if (!applied.applied())
        return failed(applied.refusal);
    // The structure as it was read just now: a change made meanwhile by another program fails.
    if (!reg.setStructureDependency(*structure, *applied.dependency))
        return failed(registerFailure(reg));
    context.console.out(
        appliedDependencyLines(*applied.dependency, context.decimalSeparator).join(u'\n') + u'\n');
    return kExitOk;
}

// register calib remove-from --structure S [--object O]
int removeFrom(Register &reg, const Invocation &invocation, CliContext &context)
{
    const auto structure = structureOf(reg, invocation, context);
    if (!structure)
        return kExitFailed;
    if (!reg.removeStructureDependency(*structure)) {
        context.console.err(registerFailure(reg) + u'\n');
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace

int runRegisterCalib(Register &reg, const Invocation &invocation, CliContext &context)
{
    const QString &action = invocation.files.first();
    if (action == QLatin1String("apply"))
        return applySet(reg, invocation, context);
    if (action == QLatin1String("remove-from"))
        return removeFrom(reg, invocation, context);
    return exportSet(reg, invocation, context);
}

void printDependencyStats(Register &reg, const QList<RegisterMeasurement> &measurements,
    RegisterId structureId, CliContext &context)
{
    const std::optional<AppliedDependency> dependency = reg.structureDependency(structureId);
    if (!dependency)
        return;
    QList<ArchiveCell> cells;
    cells.reserve(measurements.size());
    for (const RegisterMeasurement &m : measurements)
        cells << m.cell;
    const QString &separator = context.decimalSeparator;
    const DependencySeries series = dependencySeries(*dependency, cells);
    SeriesGroup group;
    group.name = QStringLiteral("По градуировке");
    group.figures = seriesFiguresOfTenths(series.tenths, separator);
    QList<QStringList> lines = seriesTableLines({group}, separator, SeriesCommandLineTitles);
    lines.removeFirst(); // the titles are the table's above
    QString text = tabSeparated(lines);
    for (const QString &line : appliedDependencyLines(*dependency, separator))
        text += line + u'\n';
    text += dependencyConditionsText(
                *dependency, series.outside, static_cast<int>(series.tenths.size()), separator)
        + u'\n';
    context.console.out(text);
}

} // namespace luvir::cli

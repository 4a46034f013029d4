// The command "stats": the figures of the statistics window, as tab-separated lines.
#include "Commands.h"

#include "CliText.h"
#include "SeriesGroups.h"
#include "SeriesTable.h"

namespace luvir::cli {

namespace {

// Why --rows does not fit the archive, or empty when it does.
QString rowsOutsideArchive(const Invocation &invocation, int count)
{
    const QString rows = QStringLiteral("--rows %1-%2").arg(invocation.rowsFrom).arg(invocation.rowsTo);
    if (count == 0)
        return LuvirCli::tr("%1: the archive holds no measurements").arg(rows);
    if (invocation.rowsFrom < 1 || invocation.rowsTo > count)
        return LuvirCli::tr("%1 lies outside the measurements 1-%2 of the archive").arg(rows).arg(count);
    return {};
}

} // namespace

int runStats(const Invocation &invocation, CliContext &context)
{
    const auto image = readArchiveFileOrTell(invocation.files.first(), context);
    if (!image)
        return kExitFailed;
    const CellArchive &archive = image->archive;
    QList<Measurement> measurements = measurementsOf(archive);
    if (invocation.rowsGiven) {
        if (const QString outside = rowsOutsideArchive(invocation, archive.Count); !outside.isEmpty()) {
            context.console.err(usageMessage(outside, QStringLiteral("stats")) + u'\n');
            return kExitUsage;
        }
        measurements = measurementsNumbered(measurements, invocation.rowsFrom, invocation.rowsTo);
    }

    printSeriesStats(measurements, invocation.byKind, context);
    return kExitOk;
}

void printSeriesStats(const QList<Measurement> &measurements, bool byKind, CliContext &context)
{
    const QString &separator = context.decimalSeparator;
    const SeriesGrouping grouping = byKind ? SeriesGrouping::ElementKind : SeriesGrouping::None;
    const QList<SeriesGroup> groups = seriesGroups(measurements, grouping, separator);
    context.console.out(tabSeparated(seriesTableLines(groups, separator, SeriesCommandLineTitles)));
    for (const SeriesGroup &group : groups)
        if (group.mixesCalibrations())
            context.console.err(QStringLiteral("%1!: %2\n").arg(group.name, mixedCalibrationReason(group)));
}

} // namespace luvir::cli

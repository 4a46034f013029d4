// The export command: one report, or one report per archive into a folder.
#include "Commands.h"

#include "CliText.h"
#include "MeasurementReport.h"
#include "MeasurementTable.h"
#include "ReportExporter.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace luvir::cli {

namespace {

struct Refusal {
    QString file;
    QString message;
};

// DIR/NAME.FORMAT for every input; an empty text when two inputs would share an output.
QString batchOutputs(const Invocation &invocation, QStringList &outputs)
{
    const QDir dir(invocation.outDir);
    QHash<QString, QString> inputOf;
    for (const QString &input : invocation.files) {
        const QString output = dir.filePath(QFileInfo(input).completeBaseName() + u'.' + invocation.format);
        if (inputOf.contains(output))
            return LuvirCli::tr("\"%1\" and \"%2\" would both be written to \"%3\"")
                .arg(inputOf.value(output), input, output);
        inputOf.insert(output, input);
        outputs << output;
    }
    return {};
}

int runBatch(const Invocation &invocation, CliContext &context)
{
    QStringList outputs;
    if (const QString clash = batchOutputs(invocation, outputs); !clash.isEmpty()) {
        context.console.err(QStringLiteral("luvir-cli: %1\n").arg(clash));
        return kExitUsage;
    }
    if (!QDir().mkpath(invocation.outDir)) {
        context.console.err(
            LuvirCli::tr("luvir-cli: cannot create the folder \"%1\"\n").arg(invocation.outDir));
        return kExitFailed;
    }
    QList<Refusal> refused;
    for (qsizetype i = 0; i < invocation.files.size(); ++i) {
        QString error;
        if (!exportArchive(invocation.files.at(i), outputs.at(i), invocation.format, context, error))
            refused.append({invocation.files.at(i), error});
    }
    if (refused.isEmpty())
        return kExitOk;
    QString list = LuvirCli::tr("Not converted:\n");
    for (const Refusal &r : refused)
        list += QStringLiteral("%1: %2\n").arg(r.file, r.message);
    context.console.err(list);
    return kExitFailed;
}

} // namespace

bool exportArchive(
    const QString &input, const QString &output, const QString &format, CliContext &context, QString &error)
{
    const auto image = readArchiveFile(input, error);
    if (!image)
        return false;
    const MeasurementTable table = buildMeasurementTable(image->archive, context.decimalSeparator);
    const QDateTime moment = context.now();
    const PreparedReport report = prepareMeasurementReport(table, moment, context.locale);
    for (const auto &exporter : createReportExporters()) {
        if (exporter->defaultSuffix() != format)
            continue;
        // A document that keeps its creation time is dated like its title, so one archive at
        // one moment gives one file.
        if (exporter->save(report, output, {.created = moment}))
            return true;
        error = QStringLiteral("%1: %2").arg(output, exporter->errorString());
        return false;
    }
    error = LuvirCli::tr("no report format \"%1\"").arg(format);
    return false;
}

int runExport(const Invocation &invocation, CliContext &context)
{
    if (!invocation.outDir.isEmpty())
        return runBatch(invocation, context);
    QString error;
    if (exportArchive(invocation.files.at(0), invocation.files.at(1), invocation.format, context, error))
        return kExitOk;
    context.console.err(error + u'\n');
    return kExitFailed;
}

} // namespace luvir::cli

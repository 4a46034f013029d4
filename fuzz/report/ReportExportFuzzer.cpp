// Arbitrary table texts through the report and its CSV, spreadsheet and PDF writers.
// Input: UTF-8 text; "\n" ends a row, "\t" ends a cell. LUVIR_FUZZ_FORMATS (e.g. "csv" or
// "xlsx,pdf"; default all three) picks the writers, so the fast CSV path can be run alone
// for many more inputs.
#include "CsvExporter.h"
#include "MeasurementReport.h"
#include "PdfExporter.h"
#include "XlsxExporter.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace luvir;

namespace {

QGuiApplication *application = nullptr;
QTemporaryDir *scratch = nullptr;
bool fuzzCsv = true, fuzzXlsx = true, fuzzPdf = true;

} // namespace

// The font libraries keep their caches for the life of the process.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\nleak:libfreetype.so\n";
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    application = new QGuiApplication(*argc, *argv);
    scratch = new QTemporaryDir;
    if (qEnvironmentVariableIsSet("LUVIR_FUZZ_FORMATS")) {
        const QString formats = qEnvironmentVariable("LUVIR_FUZZ_FORMATS");
        fuzzCsv = formats.contains(QLatin1String("csv"));
        fuzzXlsx = formats.contains(QLatin1String("xlsx"));
        fuzzPdf = formats.contains(QLatin1String("pdf"));
    }
    return 0;
}

namespace {

void checkCsv(const PreparedReport &report)
{
    const QByteArray csv = reportCsv(report);
    if (!csv.startsWith("\xEF\xBB\xBF"))
        std::abort();
    // Every report line is one CSV line: no text may bring its own line break.
    qsizetype lines = 0;
    for (const PreparedPage &page : report.pages)
        for (const PreparedBand &band : page.bands)
            lines += band.texts.isEmpty() ? 0 : 1;
    if (csv.count("\r\n") != lines || csv.count('\n') != lines)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > 4096)
        return 0;
    const QString input
        = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    MeasurementTable table;
    for (const QString &line : input.split(u'\n'))
        table.rows.append(line.split(u'\t').mid(0, kTableColumns + 1)); // short and long rows alike
    const PreparedReport report
        = prepareMeasurementReport(table, QDateTime(QDate(2026, 12, 10), QTime(1, 2, 3)));

    if (fuzzCsv)
        checkCsv(report);
    if (fuzzXlsx) {
        XlsxExporter xlsx;
        const ExportOptions fixedTime {.created = QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC)};
        if (!xlsx.save(report, scratch->filePath(QStringLiteral("f.xlsx")), fixedTime))
            std::abort();
    }
    if (fuzzPdf) {
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        if (!writeReportPdf(report, pdf) || !pdf.data().startsWith("%PDF"))
            std::abort();
    }
    return 0;
}

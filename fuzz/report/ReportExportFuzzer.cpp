// Arbitrary table texts through the report and its CSV, spreadsheet and PDF writers.
// Input: UTF-8 text; "\n" ends a row, "\t" ends a cell.
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
    return 0;
}

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

    XlsxExporter xlsx;
    xlsx.setCreationTime(QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC));
    if (!xlsx.save(report, scratch->filePath(QStringLiteral("f.xlsx"))))
        std::abort();

    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    if (!writeReportPdf(report, pdf) || !pdf.data().startsWith("%PDF"))
        std::abort();
    return 0;
}

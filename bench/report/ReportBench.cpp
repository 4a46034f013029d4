// Time to lay out a full archive's report, to show it on screen, and to write it out.
#include "CsvExporter.h"
#include "MeasurementReport.h"
#include "PdfExporter.h"
#include "TestData.h"
#include "ReportPreview.h"
#include "XlsxExporter.h"

#include <QApplication>
#include <QBuffer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace luvir;

namespace {

// A full archive of varied measurements, as the window would show it.
MeasurementTable fullTable()
{
    return buildMeasurementTable(test::sampleArchive(CellArchive::Capacity), QStringLiteral(","));
}

const MeasurementTable &table()
{
    static const MeasurementTable full = fullTable();
    return full;
}

const QDateTime kNow(QDate(2026, 12, 10), QTime(14, 5, 9));

void BM_PrepareReport(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(prepareMeasurementReport(table(), kNow));
}
BENCHMARK(BM_PrepareReport)->Unit(benchmark::kMillisecond);

// What the print command does before the user sees page 1: lay out, build the window,
// draw it.
void BM_PreviewOnScreen(benchmark::State &state)
{
    for (auto _ : state) {
        ReportPreview preview(measurementReportLayout(table(), kNow), measurementReportTemplate().pageLayout());
        preview.resize(1280, 1000);
        benchmark::DoNotOptimize(preview.grab());
    }
}
BENCHMARK(BM_PreviewOnScreen)->Unit(benchmark::kMillisecond);

void BM_PdfExport(benchmark::State &state)
{
    const PreparedReport report = prepareMeasurementReport(table(), kNow);
    QTemporaryDir dir;
    PdfExporter exporter;
    for (auto _ : state)
        if (!exporter.save(report, dir.filePath(QStringLiteral("r.pdf"))))
            state.SkipWithError("PDF not written");
}
BENCHMARK(BM_PdfExport)->Unit(benchmark::kMillisecond);

void BM_XlsxExport(benchmark::State &state)
{
    const PreparedReport report = prepareMeasurementReport(table(), kNow);
    QTemporaryDir dir;
    XlsxExporter exporter;
    for (auto _ : state)
        if (!exporter.save(report, dir.filePath(QStringLiteral("r.xlsx"))))
            state.SkipWithError("spreadsheet not written");
}
BENCHMARK(BM_XlsxExport)->Unit(benchmark::kMillisecond);

void BM_CsvText(benchmark::State &state)
{
    const PreparedReport report = prepareMeasurementReport(table(), kNow);
    for (auto _ : state)
        benchmark::DoNotOptimize(reportCsv(report));
}
BENCHMARK(BM_CsvText)->Unit(benchmark::kMillisecond);

} // namespace

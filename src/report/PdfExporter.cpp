#include "PdfExporter.h"

#include "AtomicFile.h"

#include "MeasurementReport.h"
#include "ReportPainter.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QBuffer>

namespace luvir {

namespace {

constexpr int kPdfResolution = 1200; // dots per inch of the PDF's coordinates

QPageSize pageSizeOf(const PreparedReport &report)
{
    const QSizeF mm(
        report.pageSize.width() / kReportUnitsPerMm, report.pageSize.height() / kReportUnitsPerMm);
    return QPageSize(mm, QPageSize::Millimeter, QString(), QPageSize::FuzzyOrientationMatch);
}

} // namespace

bool writeReportPdf(const PreparedReport &report, QIODevice &device)
{
    QPdfWriter writer(&device);
    writer.setResolution(kPdfResolution);
    writer.setTitle(kReportModelName);
    writer.setCreator(kReportModelName);
    // A standard paper is matched in either orientation; the pages keep the report's.
    const auto orientation
        = report.pageSize.width() > report.pageSize.height() ? QPageLayout::Landscape : QPageLayout::Portrait;
    writer.setPageLayout(QPageLayout(pageSizeOf(report), orientation, QMarginsF()));

    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const double scale = reportUnitScale(writer);
    for (int i = 0; i < report.pageCount(); ++i) {
        if (i > 0 && !writer.newPage())
            return false;
        painter.resetTransform();
        painter.scale(scale, scale);
        paintReportPage(painter, report.pages.at(i));
    }
    return painter.end();
}

QString PdfExporter::name() const
{
    return QStringLiteral("Документ PDF");
}

QString PdfExporter::fileFilter() const
{
    return QStringLiteral("Документ PDF (*.pdf)");
}

QString PdfExporter::defaultSuffix() const
{
    return QStringLiteral("pdf");
}

bool PdfExporter::save(
    const PreparedReport &report, const QString &fileName, const ExportOptions & /*options*/)
{
    clearError();
    // The document is built in memory, then written whole: a failure never leaves half a
    // PDF over an earlier file.
    QBuffer document;
    document.open(QIODevice::WriteOnly);
    if (!writeReportPdf(report, document))
        return fail(QStringLiteral("не удалось построить документ PDF"));
    QString reason;
    if (!writeFileAtomically(fileName, document.data(), &reason))
        return fail(reason);
    return true;
}

} // namespace luvir

#pragma once
// The report as a PDF document: A4 pages painted like the preview's, with real text.

#include "ReportExporter.h"

class QIODevice;

namespace luvir {

// Writes every page to `device` (open for writing); false when painting failed.
bool writeReportPdf(const PreparedReport &report, QIODevice &device);

class PdfExporter final : public ReportExporter
{
public:
    QString name() const override;
    QString fileFilter() const override;
    QString defaultSuffix() const override;
    bool save(const PreparedReport &report, const QString &fileName,
        const ExportOptions &options = {}) override;
};

} // namespace luvir

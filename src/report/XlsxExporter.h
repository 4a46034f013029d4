#pragma once
// The report as a spreadsheet (.xlsx) of one sheet: one row per report line (the title,
// the column titles, each table row), the cells as wide as the report's cells, framed,
// aligned and in the fonts of the report. Every cell holds the text as printed. The document
// keeps the creation time of the options (ExportOptions::created).

#include "ReportExporter.h"

namespace luvir {

class XlsxExporter final : public ReportExporter
{
public:
    QString name() const override;
    QString fileFilter() const override;
    QString defaultSuffix() const override;
    bool save(const PreparedReport &report, const QString &fileName,
        const ExportOptions &options = {}) override;
};

} // namespace luvir

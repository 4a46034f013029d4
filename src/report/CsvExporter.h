#pragma once
// The report as CSV: one line per report line (the title, the column titles, each row),
// fields separated by ";", UTF-8 with a byte-order mark, lines ended by CR LF.
// Control characters are removed; a field holding ";" or '"' is put in double quotes
// with its quotes doubled, so that every reader splits the line as printed.

#include "ReportExporter.h"

namespace luvir {

QByteArray reportCsv(const PreparedReport &report);

class CsvExporter final : public ReportExporter
{
public:
    QString name() const override;
    QString fileFilter() const override;
    QString defaultSuffix() const override;
    bool save(const PreparedReport &report, const QString &fileName,
        const ExportOptions &options = {}) override;
};

} // namespace luvir

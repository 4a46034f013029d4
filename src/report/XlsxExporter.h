#pragma once
// The report as a spreadsheet (.xlsx) of one sheet: one row per report line (the title,
// the column titles, each table row), the cells as wide as the report's cells, framed,
// aligned and in the fonts of the report. Every cell holds the text as printed.

#include "ReportExporter.h"

#include <QDateTime>

namespace luvir {

class XlsxExporter final : public ReportExporter
{
public:
    QString name() const override;
    QString fileFilter() const override;
    QString defaultSuffix() const override;
    bool save(const PreparedReport &report, const QString &fileName) override;

    // The creation time written into the document; invalid (the default) means the
    // moment of saving. Two saves of one report at one fixed time give equal files.
    void setCreationTime(const QDateTime &time) { m_creationTime = time; }

private:
    QDateTime m_creationTime;
};

} // namespace luvir

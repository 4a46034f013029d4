#pragma once
// One interface for the report's exports, and the list of them that the preview's export
// menu (and any other caller) is built from.

#include "PreparedReport.h"

#include <QDateTime>
#include <QStringList>

#include <memory>
#include <vector>

namespace luvir {

// What a caller may set for one export; a format uses what applies to it and ignores the rest.
struct ExportOptions {
    // The creation time written into a document that keeps one (the spreadsheet); invalid
    // (the default) means the moment of saving. Two saves of one report at one fixed time
    // give equal files.
    QDateTime created;
};

class ReportExporter
{
public:
    virtual ~ReportExporter() = default;

    // What the export menu says, e.g. "Документ PDF".
    virtual QString name() const = 0;
    // The file-dialog filter, e.g. "Документ PDF (*.pdf)", and the extension without a dot.
    virtual QString fileFilter() const = 0;
    virtual QString defaultSuffix() const = 0;

    // Writes the whole report to `fileName`, replacing an existing file only once the new
    // one is complete. On failure returns false and sets errorString().
    virtual bool save(
        const PreparedReport &report, const QString &fileName, const ExportOptions &options = {}) = 0;

    QString errorString() const { return m_errorString; }

protected:
    bool fail(const QString &reason)
    {
        m_errorString = reason;
        return false;
    }
    void clearError() { m_errorString.clear(); }

private:
    QString m_errorString;
};

// PDF, spreadsheet and CSV, in the order of the export menu.
std::vector<std::unique_ptr<ReportExporter>> createReportExporters();

// The report line by line for table-like exports: every band with texts, page after page,
// each as its texts from left to right.
QList<QStringList> reportLines(const PreparedReport &report);

} // namespace luvir

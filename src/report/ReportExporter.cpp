#include "ReportExporter.h"

#include "CsvExporter.h"
#include "PdfExporter.h"
#include "XlsxExporter.h"

#include <algorithm>

namespace luvir {

std::vector<std::unique_ptr<ReportExporter>> createReportExporters()
{
    std::vector<std::unique_ptr<ReportExporter>> exporters;
    exporters.push_back(std::make_unique<PdfExporter>());
    exporters.push_back(std::make_unique<XlsxExporter>());
    exporters.push_back(std::make_unique<CsvExporter>());
    return exporters;
}

QList<QStringList> reportLines(const PreparedReport &report)
{
    QList<QStringList> lines;
    for (const PreparedPage &page : report.pages) {
        for (const PreparedBand &band : page.bands) {
            if (band.texts.isEmpty())
                continue;
            QList<const PreparedText *> texts;
            for (const PreparedText &text : band.texts)
                texts.append(&text);
            std::stable_sort(texts.begin(), texts.end(),
                [](const PreparedText *a, const PreparedText *b) { return a->rect.left() < b->rect.left(); });
            QStringList line;
            for (const PreparedText *text : texts)
                line.append(text->text);
            lines.append(line);
        }
    }
    return lines;
}

} // namespace luvir

#include "CsvExporter.h"

#include "AtomicFile.h"
#include "CsvDocument.h"

namespace luvir {

QByteArray reportCsv(const PreparedReport &report)
{
    return csvDocument(reportLines(report));
}

QString CsvExporter::name() const
{
    return QStringLiteral("Текст CSV");
}

QString CsvExporter::fileFilter() const
{
    return QStringLiteral("Текст CSV (*.csv)");
}

QString CsvExporter::defaultSuffix() const
{
    return QStringLiteral("csv");
}

bool CsvExporter::save(
    const PreparedReport &report, const QString &fileName, const ExportOptions & /*options*/)
{
    clearError();
    QString reason;
    if (!writeFileAtomically(fileName, reportCsv(report), &reason))
        return fail(reason);
    return true;
}

} // namespace luvir

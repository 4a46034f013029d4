#include "CsvExporter.h"

#include "AtomicFile.h"

namespace luvir {

namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

QString csvField(const QString &text)
{
    QString field = withoutControlCharacters(text);
    if (field.contains(u';') || field.contains(u'"'))
        field = u'"' + field.replace(u'"', QStringLiteral("\"\"")) + u'"';
    return field;
}

} // namespace

QByteArray reportCsv(const PreparedReport &report)
{
    return csvDocument(reportLines(report));
}

QByteArray csvDocument(const QList<QStringList> &lines)
{
    QString text;
    for (const QStringList &line : lines) {
        for (qsizetype i = 0; i < line.size(); ++i) {
            if (i > 0)
                text += u';';
            text += csvField(line.at(i));
        }
        text += QStringLiteral("\r\n");
    }
    return QByteArray(kUtf8Bom) + text.toUtf8();
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

bool CsvExporter::save(const PreparedReport &report, const QString &fileName)
{
    clearError();
    QString reason;
    if (!writeFileAtomically(fileName, reportCsv(report), &reason))
        return fail(reason);
    return true;
}

} // namespace luvir

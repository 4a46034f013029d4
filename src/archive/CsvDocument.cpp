#include "CsvDocument.h"

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

QString withoutControlCharacters(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text)
        if (c.category() != QChar::Other_Control)
            result += c;
    return result;
}

} // namespace luvir

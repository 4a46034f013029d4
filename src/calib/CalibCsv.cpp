#include "CalibCsv.h"

#include <QLocale>
#include <QStringList>

#include <cmath>

namespace luvir {

namespace {

constexpr int kFields = 3;
// No strength or meter reading comes near it; a value beyond is a typing error, and would
// overflow the sums of squares.
constexpr double kLargestValue = 1000;

// One line's fields; a field in double quotes may hold ';' and doubled quotes.
// False when a quote is left open.
bool splitFields(const QString &line, QStringList &fields)
{
    fields.clear();
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line.at(i + 1) == u'"') {
                field += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u';') {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field;
    return !quoted;
}

// A number written with a decimal comma or point; nullopt when it is none.
std::optional<double> parseNumber(const QString &text)
{
    QString t = text.trimmed();
    if (t.count(u',') + t.count(u'.') > 1)
        return std::nullopt;
    t.replace(u',', u'.');
    for (const QChar c : t)
        if (!(c.isDigit() || c == u'.' || c == u'-' || c == u'+' || c == u'e' || c == u'E'))
            return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString quotedIfNeeded(QString text)
{
    for (QChar &c : text)
        if (c.category() == QChar::Other_Control)
            c = u' ';
    if (!text.contains(u';') && !text.contains(u'"'))
        return text;
    return u'"' + QString(text).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
}

QString numberText(double value, const QString &decimalSeparator)
{
    return QLocale::c().toString(value, 'g', QLocale::FloatingPointShortest).replace(u'.', decimalSeparator);
}

} // namespace

CalibCsv readCalibCsv(const QByteArray &bytes)
{
    CalibCsv result;
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    const QString text = QString::fromUtf8(data);
    if (text.toUtf8() != data) {
        result.error = QStringLiteral("файл не в кодировке UTF-8");
        return result;
    }
    const QStringList lines = text.split(u'\n');
    bool header = false;
    QStringList fields;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        const int number = int(i + 1);
        auto refuse = [&](const QString &why) {
            result.error = why;
            result.errorLine = number;
            result.sites.clear();
            result.lines.clear();
            return result;
        };
        const bool closed = splitFields(line, fields);
        while (fields.size() > kFields && fields.last().trimmed().isEmpty())
            fields.removeLast();
        if (!closed)
            return refuse(QStringLiteral("кавычка не закрыта"));
        if (fields.size() != kFields)
            return refuse(QStringLiteral("нужно 3 поля «участок;H;R», а их %1").arg(fields.size()));
        const std::optional<double> indirect = parseNumber(fields.at(1));
        const std::optional<double> direct = parseNumber(fields.at(2));
        if (!header) {
            if (indirect && direct)
                return refuse(QStringLiteral("первая строка должна быть заголовком, а в ней числа"));
            header = true;
            continue;
        }
        if (!indirect)
            return refuse(QStringLiteral("косвенное значение «%1» не число").arg(fields.at(1).trimmed()));
        if (!direct)
            return refuse(QStringLiteral("прочность «%1» не число").arg(fields.at(2).trimmed()));
        for (const QString &field : {fields.at(1), fields.at(2)})
            if (std::abs(*parseNumber(field)) > kLargestValue)
                return refuse(QStringLiteral("значение «%1» вне пределов ±%2 МПа")
                                  .arg(field.trimmed())
                                  .arg(kLargestValue));
        result.sites << CalibSite {fields.at(0).trimmed(), *indirect, *direct, {}};
        result.lines << number;
    }
    if (!header)
        result.error = QStringLiteral("файл пуст: нет даже заголовка");
    return result;
}

QByteArray writeCalibCsv(const CalibSites &sites, const QString &decimalSeparator)
{
    QString text = QStringLiteral("Участок;H, МПа;R прямой, МПа\r\n");
    for (const CalibSite &site : sites)
        text += quotedIfNeeded(site.label) + u';' + numberText(site.indirect, decimalSeparator) + u';'
            + numberText(site.direct, decimalSeparator) + QStringLiteral("\r\n");
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace luvir

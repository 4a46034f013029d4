#include "ProtocolFields.h"

#include <QRegularExpression>

#include <limits>

namespace luvir {

namespace {

using Text = QString ProtocolHeader::*;
using Date = QDate ProtocolHeader::*;

struct Field {
    QString key;
    Text text = nullptr; // a text field, or
    Date date = nullptr; // a date field, or neither: the standards
};

const QList<Field> &fields()
{
    static const QList<Field> table = {
        {QStringLiteral("number"), &ProtocolHeader::number},
        {QStringLiteral("date"), nullptr, &ProtocolHeader::date},
        {QStringLiteral("laboratory"), &ProtocolHeader::laboratoryName},
        {QStringLiteral("laboratory_address"), &ProtocolHeader::laboratoryAddress},
        {QStringLiteral("accreditation"), &ProtocolHeader::accreditation},
        {QStringLiteral("customer"), &ProtocolHeader::customer},
        {QStringLiteral("object"), &ProtocolHeader::objectName},
        {QStringLiteral("object_address"), &ProtocolHeader::objectAddress},
        {QStringLiteral("conditions"), &ProtocolHeader::conditions},
        {QStringLiteral("standards")},
        {QStringLiteral("instrument"), &ProtocolHeader::instrument},
        {QStringLiteral("serial_number"), &ProtocolHeader::serialNumber},
        {QStringLiteral("verification_number"), &ProtocolHeader::verificationNumber},
        {QStringLiteral("verification_date"), nullptr, &ProtocolHeader::verificationDate},
        {QStringLiteral("conclusion"), &ProtocolHeader::conclusion},
        {QStringLiteral("executor"), &ProtocolHeader::executorName},
        {QStringLiteral("executor_position"), &ProtocolHeader::executorPosition},
    };
    return table;
}

const Field *findField(const QString &key)
{
    for (const Field &field : fields())
        if (field.key == key)
            return &field;
    return nullptr;
}

// "\n" a line break, "\\" a backslash; any other backslash stays as it is.
QString unescaped(const QString &value)
{
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i) == u'\\' && i + 1 < value.size() && (value.at(i + 1) == u'n' || value.at(i + 1) == u'\\')) {
            text += value.at(i + 1) == u'n' ? QChar(u'\n') : QChar(u'\\');
            ++i;
        } else {
            text += value.at(i);
        }
    }
    return text;
}

} // namespace

const QStringList &protocolFieldKeys()
{
    static const QStringList keys = [] {
        QStringList list;
        for (const Field &field : fields())
            list << field.key;
        return list;
    }();
    return keys;
}

QString protocolField(const ProtocolHeader &header, const QString &key)
{
    const Field *field = findField(key);
    if (!field)
        return {};
    if (field->text)
        return header.*(field->text);
    if (field->date)
        return (header.*(field->date)).toString(QStringLiteral("dd.MM.yyyy"));
    return header.standards.join(u'\n');
}

bool setProtocolField(ProtocolHeader &header, const QString &key, const QString &text, QString &error)
{
    const Field *field = findField(key);
    if (!field) {
        error = QStringLiteral("неизвестное поле \"%1\"").arg(key);
        return false;
    }
    if (field->text) {
        header.*(field->text) = text;
    } else if (field->date) {
        const QString trimmed = text.trimmed();
        QDate date = QDate::fromString(trimmed, QStringLiteral("dd.MM.yyyy"));
        if (!date.isValid())
            date = QDate::fromString(trimmed, Qt::ISODate);
        if (!date.isValid() && !trimmed.isEmpty()) {
            error = QStringLiteral("\"%1\" не является датой ДД.ММ.ГГГГ").arg(trimmed);
            return false;
        }
        header.*(field->date) = date;
    } else {
        header.standards.clear();
        for (const QString &standard : text.split(QRegularExpression(QStringLiteral("[;\\r\\n]"))))
            if (!standard.trimmed().isEmpty())
                header.standards << standard.trimmed();
    }
    return true;
}

bool readProtocolFields(ProtocolHeader &header, const QString &text, QString &error)
{
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\\r\\n|\\r|\\n")));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.trimmed().isEmpty() || line.trimmed().startsWith(u'#'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        QString reason;
        if (equals < 0)
            reason = QStringLiteral("нет знака \"=\"");
        else if (setProtocolField(header, line.left(equals).trimmed(), unescaped(line.mid(equals + 1).trimmed()), reason))
            continue;
        error = QStringLiteral("строка %1: %2").arg(i + 1).arg(reason);
        return false;
    }
    return true;
}

QString nextProtocolNumber(const QString &last, const QDate &date)
{
    if (last.trimmed().isEmpty())
        return date.isValid() ? QStringLiteral("1/%1").arg(date.year() % 100, 2, 10, QChar(u'0')) : last;
    // "N/YY" or "N/YYYY" of an earlier year: the new year's series.
    static const QRegularExpression yearly(QStringLiteral("^\\s*([0-9]+)/([0-9]{2}|[0-9]{4})\\s*$"));
    if (const QRegularExpressionMatch m = yearly.match(last); m.hasMatch() && date.isValid()) {
        const QString year = m.captured(2);
        const int full = year.size() == 2 ? 2000 + year.toInt() : year.toInt();
        if (full < date.year())
            return QStringLiteral("1/%1").arg(year.size() == 2 ? QStringLiteral("%1").arg(date.year() % 100, 2, 10, QChar(u'0'))
                                                               : QString::number(date.year()));
    }
    static const QRegularExpression digits(QStringLiteral("[0-9]+"));
    const QRegularExpressionMatch match = digits.match(last);
    bool ok = false;
    const qulonglong number = match.captured().toULongLong(&ok);
    if (!match.hasMatch() || !ok || number == std::numeric_limits<qulonglong>::max())
        return last;
    const QString next = QString::number(number + 1);
    const QString padded = next.rightJustified(match.capturedLength(), u'0');
    return last.left(match.capturedStart()) + padded + last.mid(match.capturedEnd());
}

bool continuesSeries(const QString &series, const QString &number)
{
    static const QRegularExpression digits(QStringLiteral("[0-9]+"));
    const auto form = [](QString text) { return text.trimmed().replace(digits, QStringLiteral("#")); };
    return series.trimmed().isEmpty() || (!number.trimmed().isEmpty() && form(series) == form(number));
}

} // namespace luvir

#include "CalibDates.h"

namespace luvir {

namespace {

const QString kDateFormat = QStringLiteral("dd.MM.yyyy");

} // namespace

QString dateText(const QDate &date)
{
    return date.isValid() ? date.toString(kDateFormat) : QString();
}

QDate typedDate(const QString &text)
{
    const QDate date = QDate::fromString(text.trimmed(), kDateFormat);
    return date.isValid() ? date : QDate::fromString(text.trimmed(), Qt::ISODate);
}

QString dateRefusal(const QString &what, const QString &text)
{
    const QString typed = text.trimmed();
    if (typed.isEmpty() || typedDate(typed).isValid())
        return {};
    return QStringLiteral("%1: «%2» не является датой ДД.ММ.ГГГГ.").arg(what, typed);
}

} // namespace luvir

#pragma once
// Dates as the calibration window's fields take them: "ДД.ММ.ГГГГ" (or "ГГГГ-ММ-ДД"),
// empty when not known.

#include <QDate>
#include <QString>

namespace luvir {

// "05.12.2026"; empty for a null date.
QString dateText(const QDate &date);
// The date typed; null when the text is empty or not a date.
QDate typedDate(const QString &text);
// Why `text` cannot be taken as the date `what` ("Дата испытания: «31.13.2026» не является
// датой ДД.ММ.ГГГГ."); empty when it is a date or empty.
QString dateRefusal(const QString &what, const QString &text);

} // namespace luvir

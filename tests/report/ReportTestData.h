#pragma once
// Tables, moments and locales the report tests share.

#include "MeasurementTable.h"

#include <QDateTime>
#include <QLocale>

namespace luvir::test {

// 10 December 2026, 14:05:09, the moment the tests "print" at.
inline const QDateTime kPrintMoment(QDate(2026, 12, 10), QTime(14, 5, 9));
inline const QLocale kRussianLocale(QLocale::Russian, QLocale::Russia);

// The header and `rows` sample rows (decimal comma).
MeasurementTable sampleTable(int rows);

// The header and the given rows as they stand.
MeasurementTable tableOf(const QList<QStringList> &rows);

} // namespace luvir::test

#pragma once
// The text forms of a cell's fields, as the table, status bar, chart and report show them.
// Every number takes the decimal separator it is given; none has a thousands separator.

#include "ArchiveCell.h"

#include <QString>
#include <QStringList>

namespace luvir {

// The decimal separator of the user's regional settings.
QString systemDecimalSeparator();

// DirectionArrows, ElementKindNames, DependencyNames: the fixed texts of the three codes.
extern const QStringList DirectionArrows;
extern const QStringList ElementKindNames;
extern const QStringList DependencyNames;

// Codes beyond the tables give an empty text.
QString directionText(const ArchiveCell &cell);
QString elementKindText(const ArchiveCell &cell);
QString dependencyText(const ArchiveCell &cell);

// A whole number of tenths with exactly one decimal: 253 -> "25.3", 250 -> "25.0".
QString tenthsText(std::uint64_t tenths, const QString &separator);
// R in the shortest form: 253 -> "25.3", 250 -> "25", 0 -> "0".
QString strengthText(const ArchiveCell &cell, const QString &separator);
// R with exactly one decimal: 250 -> "25.0".
QString strengthFixedText(const ArchiveCell &cell, const QString &separator);
// An intermediate word with one decimal, marked and plain alike: 0x80FA -> "25.0".
QString impactValueText(std::uint16_t word, const QString &separator);
// Kc with two decimals: 105 -> "1.05".
QString kcText(const ArchiveCell &cell, const QString &separator);
// "DD.MM.20YY hh:mm:ss", two digits at least for every part, no validation.
QString dateTimeText(const ArchiveCell &cell);
// "Промежуточные значения: " followed by "v; " for every non-zero word.
QString intermediateValuesLine(const ArchiveCell &cell, const QString &separator);

} // namespace luvir

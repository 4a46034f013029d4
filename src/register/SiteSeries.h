#pragma once
// Site labels filled down several measurements in steps: from "1" the next are "2", "3" …;
// from "2а", "2б", "2в" …; from "У-7", "У-8" … The label's last number counts up, or, when
// it ends with a letter, that letter (а б в … я, a b c … z, the letters ё й ъ ы ь left out).

#include <QString>
#include <QStringList>

namespace luvir {

// `count` labels starting with `first`. A label that ends with neither a digit nor a
// letter that can count on (a last "я", "z", a bracket) repeats as it is.
QStringList siteSeries(const QString &first, int count);

} // namespace luvir

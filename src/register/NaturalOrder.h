#pragma once
// The order people expect of names and labels that hold numbers: "2" before "2а" before
// "10", "С-2" before "С-10" before "С-100". The same under every locale: runs of digits
// compare as numbers, the text between them letter by letter without regard to case.

#include <QString>

namespace luvir {

// Negative, zero or positive as `a` comes before, with or after `b`. Zero only for equal
// texts.
int naturalCompare(const QString &a, const QString &b);
inline bool naturalLess(const QString &a, const QString &b)
{
    return naturalCompare(a, b) < 0;
}

} // namespace luvir

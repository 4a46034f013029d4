#pragma once
// Makes C's number formatting and parsing use "." on this thread while it lives.
//
// The application object sets the C library's locale from the environment, so under a
// comma-decimal locale printf("%g") writes "0,5" and strtod stops at ".". Libraries that
// write file formats with the C library (libxlsxwriter writes every width, height, margin
// and number that way) must run inside one of these. Only the calling thread's
// LC_NUMERIC changes; Qt and other threads keep theirs.

#include <clocale>
#include <locale.h>

namespace luvir {

class CNumericLocale
{
public:
    CNumericLocale();
    ~CNumericLocale();
    CNumericLocale(const CNumericLocale &) = delete;
    CNumericLocale &operator=(const CNumericLocale &) = delete;

private:
    locale_t m_locale = nullptr; // ours, in use while this object lives
    locale_t m_previous = nullptr; // the thread's locale before
};

} // namespace luvir

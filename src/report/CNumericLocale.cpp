#include "CNumericLocale.h"

namespace luvir {

CNumericLocale::CNumericLocale()
{
    // The thread's current locale with only its numeric part replaced: texts keep the
    // character classes they had.
    const locale_t base = duplocale(uselocale(static_cast<locale_t>(nullptr)));
    if (!base)
        return;
    m_locale = newlocale(LC_NUMERIC_MASK, "C", base);
    if (!m_locale) {
        freelocale(base);
        return;
    }
    m_previous = uselocale(m_locale);
}

CNumericLocale::~CNumericLocale()
{
    if (!m_locale)
        return;
    uselocale(m_previous);
    freelocale(m_locale);
}

} // namespace luvir

#include "RegisterText.h"

#include <initializer_list>
#include <utility>

namespace luvir {

namespace {

// How long a text may be: a name or label fits a line of a list and of the protocol; an
// address, a customer or notes are longer.
constexpr qsizetype kNameLength = 200;
constexpr qsizetype kTextLength = 4000;

enum class Lines { One, Several };

// Why `text` cannot be kept: a control character (a line feed only where several lines are
// kept), or more than `limit` characters.
QString refusal(const QString &text, const QString &what, Lines lines, qsizetype limit)
{
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        const bool control = code < 0x20 || (code >= 0x7F && code <= 0x9F);
        if (control && !(lines == Lines::Several && code == u'\n'))
            return QStringLiteral("%1 не может содержать символ с кодом %2").arg(what).arg(int(code));
    }
    if (text.size() > limit)
        return QStringLiteral("%1 не может быть длиннее %2 знаков").arg(what).arg(limit);
    return {};
}

struct Field {
    const QString &text;
    const char *what;
    Lines lines;
    qsizetype limit;
};

// The first refusal among the texts, each with how the user knows it.
QString firstRefusal(std::initializer_list<Field> fields)
{
    for (const Field &field : fields) {
        if (QString why = refusal(field.text, QString::fromUtf8(field.what), field.lines, field.limit);
            !why.isEmpty())
            return why;
    }
    return {};
}

} // namespace

QString textRefusal(const QString &text, const QString &what)
{
    return refusal(text, what, Lines::Several, kTextLength);
}

QString nameRefusal(const QString &text, const QString &what)
{
    return refusal(text, what, Lines::One, kNameLength);
}

QString textRefusal(const RegisterObject &object)
{
    return firstRefusal({{object.name, "Название", Lines::One, kNameLength},
        {object.address, "Адрес", Lines::One, kTextLength}, {object.customer, "Заказчик", Lines::One, kTextLength},
        {object.notes, "Примечание", Lines::Several, kTextLength}});
}

QString textRefusal(const RegisterStructure &structure)
{
    return firstRefusal({{structure.name, "Название", Lines::One, kNameLength},
        {structure.designClass, "Класс бетона", Lines::One, kNameLength},
        {structure.notes, "Примечание", Lines::Several, kTextLength}});
}

QString siteRefusal(const QString &site)
{
    return nameRefusal(site, QStringLiteral("Участок"));
}

} // namespace luvir

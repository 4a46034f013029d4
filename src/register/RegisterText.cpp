#include "RegisterText.h"

#include <initializer_list>
#include <utility>

namespace luvir {

namespace {

// The first refusal among the texts, each with how the user knows it.
QString firstRefusal(std::initializer_list<std::pair<const QString &, const char *>> texts)
{
    for (const auto &[text, what] : texts) {
        if (QString why = textRefusal(text, QString::fromUtf8(what)); !why.isEmpty())
            return why;
    }
    return {};
}

} // namespace

QString textRefusal(const QString &text, const QString &what)
{
    if (!text.contains(QChar(u'\0')))
        return {};
    return QStringLiteral("%1 не может содержать символ с кодом 0").arg(what);
}

QString textRefusal(const RegisterObject &object)
{
    return firstRefusal({{object.name, "Название"}, {object.address, "Адрес"}, {object.customer, "Заказчик"},
        {object.notes, "Примечание"}});
}

QString textRefusal(const RegisterStructure &structure)
{
    return firstRefusal(
        {{structure.name, "Название"}, {structure.designClass, "Класс бетона"}, {structure.notes, "Примечание"}});
}

QString siteRefusal(const QString &site)
{
    return textRefusal(site, QStringLiteral("Участок"));
}

} // namespace luvir

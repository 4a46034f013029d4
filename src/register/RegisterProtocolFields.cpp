// The texts of the test protocol the register keeps for next time.
#include "Register.h"

#include "RegisterQuery.h"
#include "RegisterText.h"

#include <QSqlQuery>

namespace luvir {

using namespace registersql;

QMap<QString, QString> Register::protocolFields(const QString &scope)
{
    QMap<QString, QString> fields;
    const auto rows = selectAll(m_db, QStringLiteral("SELECT name, value FROM protocol_fields WHERE scope = ?"),
        {scope}, [](const QSqlQuery &query) { return std::pair(query.value(0).toString(), query.value(1).toString()); });
    for (const auto &[name, value] : rows)
        fields.insert(name, value);
    return fields;
}

bool Register::setProtocolFields(const QString &scope, const QMap<QString, QString> &fields)
{
    // The row is made when missing (another program making it at the same moment is no
    // failure), then given its text.
    const QString insert = m_db.dialect().insertIgnoring(
        QStringLiteral("protocol_fields"), {QStringLiteral("scope"), QStringLiteral("name"), QStringLiteral("value")});
    for (auto field = fields.cbegin(); field != fields.cend(); ++field)
        if (const QString why = textRefusal(field.value(), QStringLiteral("Поле протокола")); !why.isEmpty())
            return m_db.fail(why);
    return m_db.write([&] {
        QSqlQuery query(m_db.database());
        for (auto field = fields.cbegin(); field != fields.cend(); ++field) {
            if (!execBound(query, insert, {scope, field.key(), field.value()})
                || !execBound(query, QStringLiteral("UPDATE protocol_fields SET value = ? WHERE scope = ? AND name = ?"),
                    {field.value(), scope, field.key()}))
                return m_db.fail(query);
        }
        return true;
    });
}

} // namespace luvir

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
    return keepProtocolTexts({{scope, fields}});
}

bool Register::keepProtocolTexts(const QMap<QString, QMap<QString, QString>> &byScope, const ObjectParties &object)
{
    // A row is made when missing (another program making it at the same moment is no
    // failure), then given its text.
    const QString insert = m_db.dialect().insertIgnoring(
        QStringLiteral("protocol_fields"), {QStringLiteral("scope"), QStringLiteral("name"), QStringLiteral("value")});
    for (const QMap<QString, QString> &fields : byScope)
        for (const QString &value : fields)
            if (const QString why = textRefusal(value, QStringLiteral("Поле протокола")); !why.isEmpty())
                return m_db.fail(why);
    const RegisterObject parties {object.objectId, {}, object.address, object.customer, {}};
    if (const QString why = textRefusal(parties); !why.isEmpty())
        return m_db.fail(why);
    return m_db.write([&] {
        QSqlQuery query(m_db.database());
        for (auto scope = byScope.cbegin(); scope != byScope.cend(); ++scope) {
            for (auto field = scope->cbegin(); field != scope->cend(); ++field) {
                if (!execBound(query, insert, {scope.key(), field.key(), field.value()})
                    || !execBound(query,
                        QStringLiteral("UPDATE protocol_fields SET value = ? WHERE scope = ? AND name = ?"),
                        {field.value(), scope.key(), field.key()}))
                    return m_db.fail(query);
            }
        }
        if (object.objectId == 0)
            return true;
        // The object's own texts, changed only when the protocol gave others.
        if (!execBound(query,
                QStringLiteral("UPDATE objects SET customer = ?, address = ?, revision = revision + 1 "
                               "WHERE id = ? AND (customer <> ? OR address <> ?)"),
                {object.customer, object.address, object.objectId, object.customer, object.address}))
            return m_db.fail(query);
        if (!execBound(query, QStringLiteral("SELECT 1 FROM objects WHERE id = ?"), {object.objectId}))
            return m_db.fail(query);
        return query.next() || m_db.fail(kNoObject);
    });
}

} // namespace luvir

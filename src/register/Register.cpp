// The register's objects and structures.
#include "Register.h"

#include "RegisterQuery.h"

#include <QSqlQuery>

namespace luvir {

using registersql::execBound;

namespace {

const QString kObjectColumns = QStringLiteral("id, name, address, customer, notes");
const QString kStructureColumns
    = QStringLiteral("id, object_id, name, element_kind, design_class, concreted_on, notes");

RegisterObject objectAt(const QSqlQuery &query)
{
    return {query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toString(),
        query.value(3).toString(), query.value(4).toString()};
}

RegisterStructure structureAt(const QSqlQuery &query)
{
    return {query.value(0).toLongLong(), query.value(1).toLongLong(), query.value(2).toString(),
        query.value(3).toInt(), query.value(4).toString(), QDate::fromString(query.value(5).toString(), Qt::ISODate),
        query.value(6).toString()};
}

QVariantList structureValues(const RegisterStructure &structure)
{
    return {structure.objectId, structure.name, structure.elementKind, structure.designClass,
        structure.concretedOn.isValid() ? structure.concretedOn.toString(Qt::ISODate) : QString(), structure.notes};
}

} // namespace

QList<RegisterObject> Register::objects()
{
    QList<RegisterObject> result;
    m_db.read([&] {
        QSqlQuery query(m_db.database());
        if (!query.exec(QStringLiteral("SELECT %1 FROM objects ORDER BY name, id").arg(kObjectColumns)))
            return m_db.fail(query);
        while (query.next())
            result << objectAt(query);
        return true;
    });
    return result;
}

QList<RegisterObject> Register::findObjects(const QString &name)
{
    QList<RegisterObject> result;
    m_db.read([&] {
        QSqlQuery query(m_db.database());
        if (!execBound(query, QStringLiteral("SELECT %1 FROM objects WHERE name = ? ORDER BY id").arg(kObjectColumns),
                {name}))
            return m_db.fail(query);
        while (query.next())
            result << objectAt(query);
        return true;
    });
    return result;
}

RegisterId Register::addObject(const RegisterObject &object)
{
    RegisterId id = 0;
    m_db.write([&] {
        QSqlQuery query(m_db.database());
        if (!execBound(query,
                QStringLiteral("INSERT INTO objects (name, address, customer, notes) VALUES (?, ?, ?, ?) RETURNING id"),
                {object.name, object.address, object.customer, object.notes})
            || !query.next())
            return m_db.fail(query);
        id = query.value(0).toLongLong();
        return true;
    });
    return id;
}

bool Register::updateObject(const RegisterObject &object)
{
    return m_db.write([&] {
        QSqlQuery query(m_db.database());
        if (!execBound(query, QStringLiteral("UPDATE objects SET name = ?, address = ?, customer = ?, notes = ? WHERE id = ?"),
                {object.name, object.address, object.customer, object.notes, object.id}))
            return m_db.fail(query);
        return query.numRowsAffected() == 1 || m_db.fail(QStringLiteral("нет такого объекта"));
    });
}

bool Register::removeObject(RegisterId id)
{
    return m_db.write([&] {
        QSqlQuery query(m_db.database());
        if (!execBound(query,
                QStringLiteral("UPDATE measurements SET structure_id = NULL, site = '' "
                               "WHERE structure_id IN (SELECT id FROM structures WHERE object_id = ?)"),
                {id})
            || !execBound(query, QStringLiteral("DELETE FROM objects WHERE id = ?"), {id}))
            return m_db.fail(query);
        return query.numRowsAffected() == 1 || m_db.fail(QStringLiteral("нет такого объекта"));
    });
}

QList<RegisterStructure> Register::structures(RegisterId objectId)
{
    QList<RegisterStructure> result;
    m_db.read([&] {
        QSqlQuery query(m_db.database());
        const bool ok = objectId == 0
            ? query.exec(QStringLiteral("SELECT %1 FROM structures ORDER BY name, id").arg(kStructureColumns))
            : execBound(query,
                  QStringLiteral("SELECT %1 FROM structures WHERE object_id = ? ORDER BY name, id").arg(kStructureColumns),
                  {objectId});
        if (!ok)
            return m_db.fail(query);
        while (query.next())
            result << structureAt(query);
        return true;
    });
    return result;
}

std::optional<RegisterStructure> Register::structure(RegisterId id)
{
    std::optional<RegisterStructure> result;
    m_db.read([&] {
        QSqlQuery query(m_db.database());
        if (!execBound(query, QStringLiteral("SELECT %1 FROM structures WHERE id = ?").arg(kStructureColumns), {id}))
            return m_db.fail(query);
        if (query.next())
            result = structureAt(query);
        return true;
    });
    return result;
}

QList<RegisterStructure> Register::findStructures(const QString &name, const QString &objectName)
{
    QList<RegisterStructure> result;
    m_db.read([&] {
        QSqlQuery query(m_db.database());
        const QString select = QStringLiteral("SELECT s.id, s.object_id, s.name, s.element_kind, s.design_class, "
                                              "s.concreted_on, s.notes FROM structures s JOIN objects o ON o.id = s.object_id "
                                              "WHERE s.name = ?");
        const bool ok = objectName.isNull()
            ? execBound(query, select + QStringLiteral(" ORDER BY s.id"), {name})
            : execBound(query, select + QStringLiteral(" AND o.name = ? ORDER BY s.id"), {name, objectName});
        if (!ok)
            return m_db.fail(query);
        while (query.next())
            result << structureAt(query);
        return true;
    });
    return result;
}

RegisterId Register::addStructure(const RegisterStructure &structure)
{
    RegisterId id = 0;
    m_db.write([&] {
        QSqlQuery query(m_db.database());
        if (!execBound(query,
                QStringLiteral("INSERT INTO structures (object_id, name, element_kind, design_class, concreted_on, notes) "
                               "VALUES (?, ?, ?, ?, ?, ?) RETURNING id"),
                structureValues(structure))
            || !query.next())
            return m_db.fail(query);
        id = query.value(0).toLongLong();
        return true;
    });
    return id;
}

bool Register::updateStructure(const RegisterStructure &structure)
{
    return m_db.write([&] {
        QSqlQuery query(m_db.database());
        if (!execBound(query,
                QStringLiteral("UPDATE structures SET object_id = ?, name = ?, element_kind = ?, design_class = ?, "
                               "concreted_on = ?, notes = ? WHERE id = ?"),
                structureValues(structure) << structure.id))
            return m_db.fail(query);
        return query.numRowsAffected() == 1 || m_db.fail(QStringLiteral("нет такой конструкции"));
    });
}

bool Register::removeStructure(RegisterId id)
{
    return m_db.write([&] {
        QSqlQuery query(m_db.database());
        // The site labels belonged to the structure; the measurements stay.
        if (!execBound(query, QStringLiteral("UPDATE measurements SET structure_id = NULL, site = '' WHERE structure_id = ?"),
                {id})
            || !execBound(query, QStringLiteral("DELETE FROM structures WHERE id = ?"), {id}))
            return m_db.fail(query);
        return query.numRowsAffected() == 1 || m_db.fail(QStringLiteral("нет такой конструкции"));
    });
}

} // namespace luvir

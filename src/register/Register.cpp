// The register's objects and structures.
#include "Register.h"

#include "RegisterQuery.h"
#include "RegisterText.h"

#include <QSqlError>
#include <QSqlQuery>

namespace luvir {

using namespace registersql;

namespace {

const QString kObjectSelect
    = QStringLiteral("SELECT id, name, address, customer, notes, revision FROM objects");
const QString kStructureSelect = QStringLiteral(
    "SELECT s.id, s.object_id, s.name, s.element_kind, s.design_class, s.concreted_on, s.notes, s.revision "
    "FROM structures s JOIN objects o ON o.id = s.object_id");

RegisterObject objectAt(const QSqlQuery &query)
{
    return {query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toString(),
        query.value(3).toString(), query.value(4).toString(), query.value(5).toInt()};
}

RegisterStructure structureAt(const QSqlQuery &query)
{
    return {query.value(0).toLongLong(), query.value(1).toLongLong(), query.value(2).toString(),
        query.value(3).toInt(), query.value(4).toString(),
        QDate::fromString(query.value(5).toString(), Qt::ISODate), query.value(6).toString(),
        query.value(7).toInt()};
}

QVariantList structureValues(const RegisterStructure &structure)
{
    return {structure.objectId, structure.name, structure.elementKind, structure.designClass,
        structure.concretedOn.isValid() ? structure.concretedOn.toString(Qt::ISODate) : QString(),
        structure.notes};
}

QString objectNameTaken(const QString &name)
{
    return QStringLiteral("в журнале уже есть объект \"%1\"").arg(name);
}

QString structureNameTaken(const QString &name)
{
    return QStringLiteral("у объекта уже есть конструкция \"%1\"").arg(name);
}

// The failure of a renaming `query`: `taken` when the new name is another row's, else the
// database's reason.
bool nameTakenOr(RegisterDatabase &db, const QSqlQuery &query, const QString &taken)
{
    return db.dialect().isUniqueViolation(query.lastError()) ? db.fail(taken) : db.fail(query);
}

// Runs `insert` (which inserts nothing when the name is taken, see SqlDialect::insertIgnoring)
// as one change: the new row's id; 0, with `taken` as the reason, when the name was taken.
RegisterId addNamed(RegisterDatabase &db, const QString &insert, const QVariantList &values, const QString &taken)
{
    RegisterId id = 0;
    db.write([&] {
        QSqlQuery query(db.database());
        if (!execBound(query, insert, values))
            return db.fail(query);
        if (!query.next())
            return db.fail(taken);
        id = query.value(0).toLongLong();
        return true;
    });
    return id;
}

} // namespace

QList<RegisterObject> Register::objects()
{
    return selectAll(m_db, kObjectSelect + QStringLiteral(" ORDER BY name, id"), {}, objectAt);
}

QList<RegisterObject> Register::findObjects(const QString &name)
{
    return selectAll(m_db, kObjectSelect + QStringLiteral(" WHERE name = ? ORDER BY id"), {name}, objectAt);
}

RegisterId Register::addObject(const RegisterObject &object)
{
    if (const QString why = textRefusal(object); !why.isEmpty()) {
        m_db.fail(why);
        return 0;
    }
    return addNamed(m_db,
        m_db.dialect().insertIgnoring(QStringLiteral("objects"),
            {QStringLiteral("name"), QStringLiteral("address"), QStringLiteral("customer"), QStringLiteral("notes")},
            QStringLiteral("RETURNING id")),
        {object.name, object.address, object.customer, object.notes}, objectNameTaken(object.name));
}

bool Register::updateObject(const RegisterObject &object)
{
    if (const QString why = textRefusal(object); !why.isEmpty())
        return m_db.fail(why);
    return m_db.write([&] {
        QSqlQuery query(m_db.database());
        if (!execBound(query,
                QStringLiteral("UPDATE objects SET name = ?, address = ?, customer = ?, notes = ?, "
                               "revision = revision + 1 WHERE id = ? AND revision = ?"),
                {object.name, object.address, object.customer, object.notes, object.id, object.revision}))
            return nameTakenOr(m_db, query, objectNameTaken(object.name));
        return query.numRowsAffected() == 1 || failUnchanged(m_db, QStringLiteral("objects"), object.id, kNoObject);
    });
}

bool Register::removeObject(RegisterId id)
{
    // Its structures go with it; their measurements stay, without structure or site.
    return changeOne(m_db,
        {{QStringLiteral("UPDATE measurements SET structure_id = NULL, site = '' "
                         "WHERE structure_id IN (SELECT id FROM structures WHERE object_id = ?)"),
             {id}},
            {QStringLiteral("DELETE FROM objects WHERE id = ?"), {id}}},
        kNoObject);
}

QList<RegisterStructure> Register::structures(RegisterId objectId)
{
    if (objectId == 0)
        return selectAll(m_db, kStructureSelect + QStringLiteral(" ORDER BY s.name, s.id"), {}, structureAt);
    return selectAll(m_db, kStructureSelect + QStringLiteral(" WHERE s.object_id = ? ORDER BY s.name, s.id"),
        {objectId}, structureAt);
}

std::optional<RegisterObject> Register::object(RegisterId id)
{
    return selectOne(m_db, kObjectSelect + QStringLiteral(" WHERE id = ?"), {id}, objectAt);
}

std::optional<RegisterStructure> Register::structure(RegisterId id)
{
    return selectOne(m_db, kStructureSelect + QStringLiteral(" WHERE s.id = ?"), {id}, structureAt);
}

QList<RegisterStructure> Register::findStructures(const QString &name, const QString &objectName)
{
    if (objectName.isNull())
        return selectAll(
            m_db, kStructureSelect + QStringLiteral(" WHERE s.name = ? ORDER BY s.id"), {name}, structureAt);
    return selectAll(m_db,
        kStructureSelect + QStringLiteral(" WHERE s.name = ? AND o.name = ? ORDER BY s.id"),
        {name, objectName}, structureAt);
}

RegisterId Register::addStructure(const RegisterStructure &structure)
{
    if (const QString why = textRefusal(structure); !why.isEmpty()) {
        m_db.fail(why);
        return 0;
    }
    return addNamed(m_db,
        m_db.dialect().insertIgnoring(QStringLiteral("structures"),
            {QStringLiteral("object_id"), QStringLiteral("name"), QStringLiteral("element_kind"),
                QStringLiteral("design_class"), QStringLiteral("concreted_on"), QStringLiteral("notes")},
            QStringLiteral("RETURNING id")),
        structureValues(structure), structureNameTaken(structure.name));
}

bool Register::updateStructure(const RegisterStructure &structure)
{
    if (const QString why = textRefusal(structure); !why.isEmpty())
        return m_db.fail(why);
    return m_db.write([&] {
        QSqlQuery query(m_db.database());
        if (!execBound(query,
                QStringLiteral("UPDATE structures SET object_id = ?, name = ?, element_kind = ?, design_class = ?, "
                               "concreted_on = ?, notes = ?, revision = revision + 1 WHERE id = ? AND revision = ?"),
                structureValues(structure) << structure.id << structure.revision))
            return nameTakenOr(m_db, query, structureNameTaken(structure.name));
        return query.numRowsAffected() == 1
            || failUnchanged(m_db, QStringLiteral("structures"), structure.id, kNoStructure);
    });
}

bool Register::removeStructure(RegisterId id)
{
    // The site labels belonged to the structure; the measurements stay.
    return changeOne(m_db,
        {{QStringLiteral("UPDATE measurements SET structure_id = NULL, site = '' WHERE structure_id = ?"),
             {id}},
            {QStringLiteral("DELETE FROM structures WHERE id = ?"), {id}}},
        kNoStructure);
}

QString upgradeNotice(const Register &reg)
{
    const QStringList renamed = reg.renamedOnUpgrade();
    if (renamed.isEmpty())
        return {};
    return QStringLiteral("В журнале были одинаковые названия; теперь у каждого объекта и у каждой "
                          "конструкции объекта название своё, и они изменены:\n")
        + renamed.join(u'\n');
}

} // namespace luvir

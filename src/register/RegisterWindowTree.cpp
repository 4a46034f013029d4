// The register window's tree: Объекты › Конструкции with "Не распределены" on top and a
// count beside each node, and which node is selected.
#include "RegisterWindow.h"

#include "Register.h"

#include <QTreeWidget>

namespace luvir {

namespace {

const QString kUnassigned = QStringLiteral("Не распределены");

QString counted(const QString &name, int count)
{
    return QStringLiteral("%1 (%2)").arg(name).arg(count);
}

} // namespace

void RegisterWindow::fillTree()
{
    const QSignalBlocker quiet(Tree);
    Tree->clear();
    if (!m_register)
        return;
    QHash<RegisterId, int> counts;
    for (const StructureCount &count : m_register->measurementCounts())
        counts[count.structureId] = count.measurements;
    auto *unassigned = new QTreeWidgetItem(Tree, {counted(kUnassigned, counts.value(0))});
    unassigned->setData(0, kKindRole, static_cast<int>(NodeKind::Unassigned));
    QHash<RegisterId, QTreeWidgetItem *> objects;
    QHash<RegisterId, int> objectCounts;
    const QList<RegisterStructure> structures = m_register->structures();
    for (const RegisterStructure &s : structures)
        objectCounts[s.objectId] += counts.value(s.id);
    for (const RegisterObject &o : m_register->objects()) {
        auto *item = new QTreeWidgetItem(Tree, {counted(o.name, objectCounts.value(o.id))});
        item->setData(0, kKindRole, static_cast<int>(NodeKind::Object));
        item->setData(0, kIdRole, o.id);
        objects.insert(o.id, item);
    }
    for (const RegisterStructure &s : structures) {
        auto *item = new QTreeWidgetItem(objects.value(s.objectId), {counted(s.name, counts.value(s.id))});
        item->setData(0, kKindRole, static_cast<int>(NodeKind::Structure));
        item->setData(0, kIdRole, s.id);
    }
    Tree->expandAll();
}

QTreeWidgetItem *RegisterWindow::findItem(NodeKind kind, RegisterId id) const
{
    for (QTreeWidgetItemIterator it(Tree); *it; ++it)
        if ((*it)->data(0, kKindRole).toInt() == static_cast<int>(kind)
            && (kind == NodeKind::Unassigned || (*it)->data(0, kIdRole).toLongLong() == id))
            return *it;
    return nullptr;
}

void RegisterWindow::selectNode(NodeKind kind, RegisterId id)
{
    if (QTreeWidgetItem *item = findItem(kind, id))
        Tree->setCurrentItem(item);
}

RegisterWindow::NodeKind RegisterWindow::selectedKind() const
{
    const QTreeWidgetItem *item = Tree->currentItem();
    return item ? static_cast<NodeKind>(item->data(0, kKindRole).toInt()) : NodeKind::Unassigned;
}

RegisterId RegisterWindow::selectedId() const
{
    const QTreeWidgetItem *item = Tree->currentItem();
    return item ? item->data(0, kIdRole).toLongLong() : 0;
}

QString RegisterWindow::nodeText(NodeKind kind, RegisterId id) const
{
    const QTreeWidgetItem *item = findItem(kind, id);
    return item ? item->text(0) : QString();
}

} // namespace luvir

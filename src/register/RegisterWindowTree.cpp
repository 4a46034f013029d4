// The register window's tree: Объекты › Конструкции with "Не распределены" on top and a
// count beside each node, and which node is selected.
#include "RegisterWindow.h"

#include "NaturalOrder.h"
#include "Register.h"

#include <QTreeWidget>

#include <algorithm>

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
    m_objects.clear();
    m_structures.clear();
    if (!m_register)
        return;
    QHash<RegisterId, int> counts;
    beginReads();
    for (const StructureCount &count : m_register->measurementCounts())
        counts[count.structureId] = count.measurements;
    noteRead();
    auto *unassigned = new QTreeWidgetItem(Tree, {counted(kUnassigned, counts.value(0))});
    unassigned->setData(0, kKindRole, static_cast<int>(NodeKind::Unassigned));
    QHash<RegisterId, QTreeWidgetItem *> objects;
    QHash<RegisterId, int> objectCounts;
    // Names in natural order: "С-2" before "С-10".
    QList<RegisterStructure> structures = m_register->structures();
    noteRead();
    std::stable_sort(structures.begin(), structures.end(),
        [](const RegisterStructure &a, const RegisterStructure &b) { return naturalLess(a.name, b.name); });
    QList<RegisterObject> objectList = m_register->objects();
    noteRead();
    std::stable_sort(objectList.begin(), objectList.end(),
        [](const RegisterObject &a, const RegisterObject &b) { return naturalLess(a.name, b.name); });
    for (const RegisterStructure &s : structures)
        objectCounts[s.objectId] += counts.value(s.id);
    for (const RegisterObject &o : objectList) {
        auto *item = new QTreeWidgetItem(Tree, {counted(o.name, objectCounts.value(o.id))});
        item->setData(0, kKindRole, static_cast<int>(NodeKind::Object));
        item->setData(0, kIdRole, o.id);
        objects.insert(o.id, item);
        m_objects.insert(o.id, o);
    }
    for (const RegisterStructure &s : structures) {
        auto *item = new QTreeWidgetItem(objects.value(s.objectId), {counted(s.name, counts.value(s.id))});
        item->setData(0, kKindRole, static_cast<int>(NodeKind::Structure));
        item->setData(0, kIdRole, s.id);
        m_structures.insert(s.id, s);
    }
    Tree->expandAll();
    endReads();
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
    // That node alone, whatever keys are held.
    if (QTreeWidgetItem *item = findItem(kind, id))
        Tree->setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect);
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

void RegisterWindow::selectStructures(const QList<RegisterId> &ids)
{
    {
        const QSignalBlocker quiet(Tree);
        Tree->clearSelection();
        for (RegisterId id : ids)
            if (QTreeWidgetItem *item = findItem(NodeKind::Structure, id)) {
                if (id == ids.constFirst())
                    Tree->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
                item->setSelected(true);
            }
    }
    listSelectedNode();
}

QList<QTreeWidgetItem *> RegisterWindow::chosenItems() const
{
    QList<QTreeWidgetItem *> items = Tree->selectedItems();
    if (items.isEmpty() && Tree->currentItem())
        items << Tree->currentItem();
    // In the tree's order, whatever order they were selected in.
    QList<QTreeWidgetItem *> ordered;
    for (QTreeWidgetItemIterator it(Tree); *it; ++it)
        if (items.contains(*it))
            ordered << *it;
    return ordered;
}

QList<RegisterId> RegisterWindow::chosenStructures() const
{
    QList<RegisterId> ids;
    for (const QTreeWidgetItem *item : chosenItems()) {
        const RegisterId id = item->data(0, kIdRole).toLongLong();
        switch (static_cast<NodeKind>(item->data(0, kKindRole).toInt())) {
        case NodeKind::Unassigned:
            break;
        case NodeKind::Structure:
            if (!ids.contains(id))
                ids << id;
            break;
        case NodeKind::Object:
            for (int child = 0; child < item->childCount(); ++child)
                if (const RegisterId s = item->child(child)->data(0, kIdRole).toLongLong(); !ids.contains(s))
                    ids << s;
            break;
        }
    }
    return ids;
}

QString RegisterWindow::nodeText(NodeKind kind, RegisterId id) const
{
    const QTreeWidgetItem *item = findItem(kind, id);
    return item ? item->text(0) : QString();
}

} // namespace luvir

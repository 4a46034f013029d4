#include "RegisterStructureChooser.h"

#include "NaturalOrder.h"

#include <QDialogButtonBox>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace luvir {

RegisterStructureChooser::RegisterStructureChooser(const QList<RegisterObject> &objects,
    const QList<RegisterStructure> &structures, RegisterId start, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Отнести к конструкции"));
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(QStringLiteral("&Конструкция:"), this);
    Tree = new QTreeWidget(this);
    Tree->setHeaderHidden(true);
    label->setBuddy(Tree);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(label);
    layout->addWidget(Tree, 1);
    layout->addWidget(buttons);

    QList<RegisterObject> byName = objects;
    std::stable_sort(byName.begin(), byName.end(),
        [](const auto &a, const auto &b) { return naturalLess(a.name, b.name); });
    QList<RegisterStructure> sorted = structures;
    std::stable_sort(sorted.begin(), sorted.end(),
        [](const auto &a, const auto &b) { return naturalLess(a.name, b.name); });
    QHash<RegisterId, QTreeWidgetItem *> objectItems;
    for (const RegisterObject &o : byName) {
        auto *item = new QTreeWidgetItem(Tree, {o.name});
        item->setFlags(Qt::ItemIsEnabled); // an object's line only groups its structures
        objectItems.insert(o.id, item);
    }
    QTreeWidgetItem *first = nullptr;
    QTreeWidgetItem *startItem = nullptr;
    for (const RegisterStructure &s : sorted) {
        QTreeWidgetItem *object = objectItems.value(s.objectId);
        if (!object)
            continue;
        auto *item = new QTreeWidgetItem(object, {s.name});
        item->setData(0, Qt::UserRole, s.id);
        if (!first)
            first = item;
        if (s.id == start)
            startItem = item;
    }
    Tree->expandAll();
    // Objects without structures are left out; they offer nothing to choose.
    for (int i = Tree->topLevelItemCount() - 1; i >= 0; --i)
        if (Tree->topLevelItem(i)->childCount() == 0)
            delete Tree->takeTopLevelItem(i);
    if (QTreeWidgetItem *current = startItem ? startItem : first)
        Tree->setCurrentItem(current);

    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    connect(Tree, &QTreeWidget::currentItemChanged, this, [this, ok] { ok->setEnabled(chosen() != 0); });
    ok->setEnabled(chosen() != 0);
    connect(Tree, &QTreeWidget::itemActivated, this, [this] {
        if (chosen() != 0)
            accept();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Wide enough for the caption (the frame's buttons beside it) and the names.
    setMinimumWidth(std::max(420, fontMetrics().horizontalAdvance(windowTitle()) + 160));
    resize(minimumWidth(), 360);
    Tree->setFocus();
}

RegisterId RegisterStructureChooser::chosen() const
{
    const QTreeWidgetItem *item = Tree->currentItem();
    return item ? item->data(0, Qt::UserRole).toLongLong() : 0;
}

} // namespace luvir

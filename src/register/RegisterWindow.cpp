#include "RegisterWindow.h"

#include "CellText.h"
#include "Register.h"
#include "RegisterMeasurementModel.h"
#include "RegisterNodeDialog.h"
#include "RegisterQuery.h"
#include "StatsWindow.h"
#include "UserDialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QSet>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace luvir {

namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kIdRole = Qt::UserRole + 1;
const QString kUnassigned = QStringLiteral("Не распределены");

QString counted(const QString &name, int count)
{
    return QStringLiteral("%1 (%2)").arg(name).arg(count);
}

} // namespace

RegisterWindow::RegisterWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Журнал испытаний"));
    m_model = new RegisterMeasurementModel(this);
    m_model->setSiteWriter([this](RegisterId id, const QString &site) {
        const bool ok = m_register && m_register->setSite(id, site);
        if (!ok && m_register)
            tellUser(this, nullptr, QStringLiteral("Журнал: %1.").arg(m_register->errorString()));
        return ok;
    });
    m_sorted = new QSortFilterProxyModel(this);
    m_sorted->setSourceModel(m_model);
    m_sorted->setSortRole(RegisterMeasurementModel::kSortRole);
    createActions();
    createLayout();
    // 980 × 660 on a 1024 × 768 screen and larger; smaller screens get what they have, less
    // a margin for the frame; centred.
    const QRect available = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    resize(std::min(980, available.width() - 40), std::min(660, available.height() - 60));
    move(available.center() - rect().center());
    updateActions();
    // The keyboard starts in the tree: the arrows choose the node, Tab goes on to the table.
    Tree->setFocus();
}

void RegisterWindow::createActions()
{
    QToolBar *bar = addToolBar(QStringLiteral("Журнал"));
    bar->setMovable(false);
    bar->toggleViewAction()->setVisible(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto add = [this, &bar](const QString &text, auto slot, const QKeySequence &key = {}) {
        QAction *a = bar->addAction(text);
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    AssignAction = add(QStringLiteral("Отнести к конструкции…"), [this] { askAndAssign(); });
    UnassignAction = add(QStringLiteral("Убрать из конструкции"), [this] { unassignSelected(); });
    RemoveAction = add(QStringLiteral("Удалить из журнала"), [this] { removeSelected(); }, QKeySequence::Delete);
    bar->addSeparator();
    StatisticsAction = add(QStringLiteral("Статистика"), [this] { showStatistics(); });
    OpenInTableAction = add(QStringLiteral("Открыть в таблице"), [this] { openSelectedInTable(); });
    ProtocolAction = add(QStringLiteral("Протокол испытаний…"), [this] { requestProtocol(); }, QKeySequence(Qt::CTRL | Qt::Key_P));
    add(QStringLiteral("Обновить"), [this] { refresh(); }, QKeySequence::Refresh);

    // The tree's commands on a row of their own, so that both rows fit a small screen.
    addToolBarBreak();
    bar = addToolBar(QStringLiteral("Объекты"));
    bar->setMovable(false);
    bar->toggleViewAction()->setVisible(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    add(QStringLiteral("Новый объект…"), [this] { askAndCreateObject(); });
    add(QStringLiteral("Новая конструкция…"), [this] { askAndCreateStructure(); });
    add(QStringLiteral("Переименовать…"), [this] { askAndRename(); });
    PropertiesAction = add(QStringLiteral("Свойства…"), [this] { editSelectedNode(); }, QKeySequence(Qt::ALT | Qt::Key_Return));
    add(QStringLiteral("Удалить объект или конструкцию"), [this] { deleteSelectedNode(); });
}

void RegisterWindow::createLayout()
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);

    auto *filters = new QHBoxLayout;
    FromOn = new QCheckBox(QStringLiteral("с"), central);
    FromDate = new QDateEdit(QDate::currentDate().addMonths(-1), central);
    ToOn = new QCheckBox(QStringLiteral("по"), central);
    ToDate = new QDateEdit(QDate::currentDate(), central);
    for (QDateEdit *edit : {FromDate, ToDate}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 40);
        edit->setEnabled(false);
    }
    KindFilter = new QComboBox(central);
    KindFilter->addItem(QStringLiteral("Все виды"), -1);
    for (int kind = 0; kind < ElementKindNames.size(); ++kind)
        KindFilter->addItem(ElementKindNames.at(kind), kind);
    filters->addWidget(new QLabel(QStringLiteral("Дата:"), central));
    filters->addWidget(FromOn);
    filters->addWidget(FromDate);
    filters->addWidget(ToOn);
    filters->addWidget(ToDate);
    filters->addSpacing(12);
    filters->addWidget(new QLabel(QStringLiteral("Вид изделия:"), central));
    filters->addWidget(KindFilter);
    filters->addStretch();
    layout->addLayout(filters);

    auto *splitter = new QSplitter(central);
    Tree = new QTreeWidget(splitter);
    Tree->setHeaderHidden(true);
    Table = new QTableView(splitter);
    Table->setModel(m_sorted);
    Table->setSortingEnabled(true);
    Table->sortByColumn(0, Qt::AscendingOrder);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    Table->verticalHeader()->hide();
    Table->verticalHeader()->setDefaultSectionSize(20);
    Table->setWordWrap(false);
    splitter->addWidget(Tree);
    splitter->addWidget(Table);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({250, 730});
    layout->addWidget(splitter, 1);

    AdditionLabel = new QLabel(central);
    layout->addWidget(AdditionLabel);
    setCentralWidget(central);

    connect(Tree, &QTreeWidget::currentItemChanged, this, [this] { listSelectedNode(); });
    connect(Table->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { updateActions(); });
    for (QCheckBox *on : {FromOn, ToOn})
        connect(on, &QCheckBox::toggled, this, [this] {
            FromDate->setEnabled(FromOn->isChecked());
            ToDate->setEnabled(ToOn->isChecked());
            listSelectedNode();
        });
    for (QDateEdit *edit : {FromDate, ToDate})
        connect(edit, &QDateEdit::dateChanged, this, [this] { listSelectedNode(); });
    connect(KindFilter, &QComboBox::currentIndexChanged, this, [this] { listSelectedNode(); });
}

void RegisterWindow::setRegister(Register *shown)
{
    m_register = shown;
    refresh();
}

void RegisterWindow::refresh()
{
    const NodeKind kind = selectedKind();
    const RegisterId id = selectedId();
    fillTree();
    QTreeWidgetItem *item = findItem(kind, id);
    Tree->setCurrentItem(item ? item : Tree->topLevelItem(0));
    listSelectedNode();
    const auto last = m_register ? m_register->lastAddition() : std::nullopt;
    AdditionLabel->setText(!m_register ? QStringLiteral("Журнал не открыт.")
            : last                     ? additionSummary(*last)
                                       : QString());
}

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

void RegisterWindow::listSelectedNode()
{
    QList<RegisterMeasurement> listed;
    QHash<RegisterId, QString> sources;
    if (m_register && Tree->currentItem()) {
        MeasurementSelection selection;
        selection.from = FromOn->isChecked() ? FromDate->date() : QDate();
        selection.to = ToOn->isChecked() ? ToDate->date() : QDate();
        selection.elementKind = KindFilter->currentData().toInt();
        QList<RegisterId> structureIds;
        switch (selectedKind()) {
        case NodeKind::Unassigned:
            selection.scope = MeasurementSelection::Scope::Unassigned;
            break;
        case NodeKind::Structure:
            selection.scope = MeasurementSelection::Scope::Structure;
            structureIds << selectedId();
            break;
        case NodeKind::Object:
            selection.scope = MeasurementSelection::Scope::Structure;
            for (const RegisterStructure &s : m_register->structures(selectedId()))
                structureIds << s.id;
            break;
        }
        if (selection.scope == MeasurementSelection::Scope::Unassigned) {
            listed = m_register->measurements(selection);
        } else {
            for (RegisterId id : structureIds) {
                selection.structureId = id;
                listed += m_register->measurements(selection);
            }
            std::stable_sort(listed.begin(), listed.end(), [](const auto &a, const auto &b) {
                return registersql::takenAt(a.cell) < registersql::takenAt(b.cell);
            });
        }
        for (const RegisterSource &source : m_register->sources())
            sources.insert(source.id, sourceText(source));
    }
    m_model->setMeasurements(listed, sources);
    m_sorted->sort(Table->horizontalHeader()->sortIndicatorSection(), Table->horizontalHeader()->sortIndicatorOrder());
    Table->resizeColumnsToContents();
    updateActions();
}

QList<RegisterMeasurement> RegisterWindow::listedMeasurements() const
{
    QList<RegisterMeasurement> listed;
    for (int row = 0; row < m_sorted->rowCount(); ++row)
        listed << m_model->measurements().at(m_sorted->mapToSource(m_sorted->index(row, 0)).row());
    return listed;
}

QList<RegisterMeasurement> RegisterWindow::selectedMeasurements() const
{
    QList<int> rows;
    for (const QModelIndex &index : Table->selectionModel()->selectedRows())
        rows << m_sorted->mapToSource(index).row();
    std::sort(rows.begin(), rows.end()); // the listed (time) order
    QList<RegisterMeasurement> selected;
    for (int row : rows)
        selected << m_model->measurements().at(row);
    return selected;
}

void RegisterWindow::selectRows(const QList<int> &rows)
{
    Table->clearSelection();
    for (int row : rows)
        Table->selectionModel()->select(
            m_sorted->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void RegisterWindow::updateActions()
{
    const bool any = Table->selectionModel() && Table->selectionModel()->hasSelection();
    AssignAction->setEnabled(any);
    UnassignAction->setEnabled(any && selectedKind() != NodeKind::Unassigned);
    RemoveAction->setEnabled(any);
    StatisticsAction->setEnabled(m_model->rowCount() > 0);
    OpenInTableAction->setEnabled(m_model->rowCount() > 0);
    ProtocolAction->setEnabled(selectedKind() != NodeKind::Unassigned);
    PropertiesAction->setEnabled(selectedKind() != NodeKind::Unassigned);
}

bool RegisterWindow::done(bool ok)
{
    if (!ok && m_register)
        tellUser(this, nullptr, QStringLiteral("Журнал: %1.").arg(m_register->errorString()));
    refresh();
    return ok;
}

namespace {

QList<RegisterId> idsOf(const QList<RegisterMeasurement> &measurements)
{
    QList<RegisterId> ids;
    for (const RegisterMeasurement &m : measurements)
        ids << m.id;
    return ids;
}

} // namespace

bool RegisterWindow::assignSelected(RegisterId structureId)
{
    const QList<RegisterMeasurement> selected = selectedMeasurements();
    return m_register && !selected.isEmpty() && done(m_register->assign(idsOf(selected), structureId));
}

bool RegisterWindow::unassignSelected()
{
    const QList<RegisterMeasurement> selected = selectedMeasurements();
    return m_register && !selected.isEmpty() && done(m_register->unassign(idsOf(selected)));
}

bool RegisterWindow::removeSelected()
{
    const QList<RegisterMeasurement> selected = selectedMeasurements();
    if (!m_register || selected.isEmpty())
        return false;
    const QString question = QStringLiteral(
        "Удалить из журнала выбранные измерения (%1)? Если они будут скачаны снова, "
        "они не вернутся, а будут отмечены как «удалены ранее».")
                                 .arg(selected.size());
    if (!dialogs().question(this, question, QStringLiteral("Журнал испытаний")))
        return false;
    return done(m_register->markRemoved(idsOf(selected)));
}

RegisterId RegisterWindow::createObject(const QString &name)
{
    if (!m_register || name.trimmed().isEmpty())
        return 0;
    const RegisterId id = m_register->addObject({0, name.trimmed(), {}, {}, {}});
    done(id != 0);
    selectNode(NodeKind::Object, id);
    return id;
}

RegisterId RegisterWindow::createStructure(RegisterId objectId, const QString &name)
{
    if (!m_register || objectId == 0 || name.trimmed().isEmpty())
        return 0;
    RegisterStructure structure;
    structure.objectId = objectId;
    structure.name = name.trimmed();
    const RegisterId id = m_register->addStructure(structure);
    done(id != 0);
    selectNode(NodeKind::Structure, id);
    return id;
}

bool RegisterWindow::renameSelectedNode(const QString &name)
{
    if (!m_register || name.trimmed().isEmpty())
        return false;
    const RegisterId id = selectedId();
    if (selectedKind() == NodeKind::Object) {
        if (auto o = m_register->object(id)) {
            o->name = name.trimmed();
            return done(m_register->updateObject(*o));
        }
    } else if (selectedKind() == NodeKind::Structure) {
        if (auto s = m_register->structure(id)) {
            s->name = name.trimmed();
            return done(m_register->updateStructure(*s));
        }
    }
    return false;
}

bool RegisterWindow::editSelectedNode()
{
    if (!m_register || selectedKind() == NodeKind::Unassigned)
        return false;
    const RegisterId id = selectedId();
    if (selectedKind() == NodeKind::Object) {
        if (const auto o = m_register->object(id)) {
            RegisterNodeDialog dialog(*o, this);
            return dialog.exec() == QDialog::Accepted && done(m_register->updateObject(dialog.object()));
        }
    } else if (auto s = m_register->structure(id)) {
        RegisterNodeDialog dialog(*s, this);
        return dialog.exec() == QDialog::Accepted && done(m_register->updateStructure(dialog.structure()));
    }
    return false;
}

bool RegisterWindow::deleteSelectedNode()
{
    if (!m_register || selectedKind() == NodeKind::Unassigned)
        return false;
    const bool object = selectedKind() == NodeKind::Object;
    const QString name = Tree->currentItem()->text(0);
    if (m_model->rowCount() > 0 || (object && Tree->currentItem()->childCount() > 0)) {
        const QString question = object
            ? QStringLiteral("Удалить объект «%1» и его конструкции? Их измерения вернутся в «Не распределены».")
            : QStringLiteral("Удалить конструкцию «%1»? Её измерения вернутся в «Не распределены».");
        if (!dialogs().question(this, question.arg(name), QStringLiteral("Журнал испытаний")))
            return false;
    }
    const RegisterId id = selectedId();
    const bool ok = object ? m_register->removeObject(id) : m_register->removeStructure(id);
    Tree->setCurrentItem(Tree->topLevelItem(0));
    return done(ok);
}

void RegisterWindow::showStatistics()
{
    const QList<RegisterMeasurement> listed = listedMeasurements();
    if (listed.isEmpty())
        return;
    auto *window = new StatsWindow(measurementsOf(listed), systemDecimalSeparator(), this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(
        QStringLiteral("Статистика измерений — %1").arg(Tree->currentItem() ? Tree->currentItem()->text(0) : QString()));
    window->show();
}

QList<RegisterId> RegisterWindow::protocolStructures() const
{
    if (!m_register || selectedKind() == NodeKind::Unassigned)
        return {};
    QSet<RegisterId> holding;
    for (const StructureCount &count : m_register->measurementCounts())
        if (count.measurements > 0)
            holding.insert(count.structureId);
    QList<RegisterId> ids;
    if (selectedKind() == NodeKind::Structure) {
        ids << selectedId();
    } else {
        for (const RegisterStructure &structure : m_register->structures(selectedId()))
            ids << structure.id;
    }
    ids.removeIf([&](RegisterId id) { return !holding.contains(id); });
    return ids;
}

void RegisterWindow::requestProtocol()
{
    if (selectedKind() == NodeKind::Unassigned)
        return;
    const QList<RegisterId> ids = protocolStructures();
    if (ids.isEmpty()) {
        tellUser(this, nullptr,
            selectedKind() == NodeKind::Structure
                ? QStringLiteral("В конструкции нет измерений: протокол не из чего составить.")
                : QStringLiteral("В конструкциях объекта нет измерений: протокол не из чего составить."));
        return;
    }
    emit protocolRequested(ids);
}

void RegisterWindow::openSelectedInTable()
{
    QList<RegisterMeasurement> chosen = selectedMeasurements();
    if (chosen.isEmpty())
        chosen = m_model->measurements(); // the node's all, in time order
    if (chosen.isEmpty())
        return;
    if (chosen.size() > CellArchive::Capacity) {
        tellUser(this, nullptr,
            QStringLiteral("Выбрано измерений: %1. В таблицу можно открыть не более %2; выделите меньше.")
                .arg(chosen.size())
                .arg(CellArchive::Capacity));
        return;
    }
    std::stable_sort(chosen.begin(), chosen.end(),
        [](const auto &a, const auto &b) { return registersql::takenAt(a.cell) < registersql::takenAt(b.cell); });
    emit openInTable(measurementsOf(chosen));
}

void RegisterWindow::askAndAssign()
{
    if (!m_register)
        return;
    QStringList names;
    QList<RegisterId> ids;
    QHash<RegisterId, QString> objectNames;
    for (const RegisterObject &o : m_register->objects())
        objectNames.insert(o.id, o.name);
    for (const RegisterStructure &s : m_register->structures()) {
        names << QStringLiteral("%1 › %2").arg(objectNames.value(s.objectId), s.name);
        ids << s.id;
    }
    if (names.isEmpty()) {
        tellUser(this, nullptr, QStringLiteral("В журнале нет конструкций: создайте объект и конструкцию."));
        return;
    }
    bool ok = false;
    const QString chosen = QInputDialog::getItem(
        this, QStringLiteral("Отнести к конструкции"), QStringLiteral("Конструкция:"), names, 0, false, &ok);
    if (ok)
        assignSelected(ids.at(names.indexOf(chosen)));
}

void RegisterWindow::askAndCreateObject()
{
    bool ok = false;
    const QString name = QInputDialog::getText(
        this, QStringLiteral("Новый объект"), QStringLiteral("Название объекта:"), QLineEdit::Normal, {}, &ok);
    if (ok)
        createObject(name);
}

void RegisterWindow::askAndCreateStructure()
{
    RegisterId objectId = 0;
    if (selectedKind() == NodeKind::Object)
        objectId = selectedId();
    else if (selectedKind() == NodeKind::Structure && Tree->currentItem()->parent())
        objectId = Tree->currentItem()->parent()->data(0, kIdRole).toLongLong();
    if (objectId == 0) {
        tellUser(this, nullptr, QStringLiteral("Выберите объект, к которому относится конструкция."));
        return;
    }
    bool ok = false;
    const QString name = QInputDialog::getText(this, QStringLiteral("Новая конструкция"),
        QStringLiteral("Название конструкции:"), QLineEdit::Normal, {}, &ok);
    if (ok)
        createStructure(objectId, name);
}

void RegisterWindow::askAndRename()
{
    if (selectedKind() == NodeKind::Unassigned)
        return;
    QString current = Tree->currentItem()->text(0);
    current = current.left(current.lastIndexOf(QStringLiteral(" (")));
    bool ok = false;
    const QString name = QInputDialog::getText(
        this, QStringLiteral("Переименовать"), QStringLiteral("Название:"), QLineEdit::Normal, current, &ok);
    if (ok)
        renameSelectedNode(name);
}

} // namespace luvir

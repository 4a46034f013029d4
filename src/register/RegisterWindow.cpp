// The register window's layout, its commands' places and keys, and their states.
#include "RegisterWindow.h"

#include "CellText.h"
#include "Register.h"
#include "RegisterMeasurementModel.h"
#include "RegisterSiteDelegate.h"
#include "RegisterWriter.h"
#include "UserDialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace luvir {

RegisterWindow::RegisterWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Журнал испытаний"));
    m_model = new RegisterMeasurementModel(this);
    m_writer = new RegisterWriter(this);
    m_model->setSiteWriter([this](const RegisterMeasurement &shown, const QString &site) {
        const RegisterMeasurement read = shown;
        QString error;
        const bool ok = writeApart([&](Register &r) { return r.setSitesAsRead({read}, {site}); }, error);
        if (!ok && !error.isEmpty()) {
            tellUser(this, nullptr, QStringLiteral("Журнал: %1.").arg(error));
            // Read again once the editor is closed: the label another wrote is shown.
            QMetaObject::invokeMethod(
                this, [this] { refresh(); }, Qt::QueuedConnection);
        }
        return ok;
    });
    m_sorted = new RegisterMeasurementSorter(this);
    m_sorted->setSourceModel(m_model);
    createActions();
    createLayout();
    createMenus();
    setUpDependencyColumn();
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
    // Every command has a key, named in its tooltip.
    auto add = [this, &bar](const QString &text, auto slot, const QKeySequence &key) {
        QAction *a = bar->addAction(text);
        a->setShortcut(key);
        a->setToolTip(QStringLiteral("%1 (%2)").arg(
            QString(text).remove(u'…'), key.toString(QKeySequence::NativeText)));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    AssignAction = add(
        QStringLiteral("Отнести к конструкции…"), [this] { askAndAssign(); },
        QKeySequence(Qt::CTRL | Qt::Key_K));
    UnassignAction = add(
        QStringLiteral("Убрать из конструкции"), [this] { unassignSelected(); },
        QKeySequence(Qt::CTRL | Qt::Key_U));
    FillSitesAction = add(
        QStringLiteral("Участки по порядку…"), [this] { askAndFillSites(); },
        QKeySequence(Qt::CTRL | Qt::Key_L));
    RemoveAction = add(
        QStringLiteral("Удалить из журнала"), [this] { removeSelected(); }, QKeySequence(Qt::Key_Delete));
    bar->addSeparator();
    StatisticsAction = add(
        QStringLiteral("Статистика"), [this] { showStatistics(); }, QKeySequence(Qt::CTRL | Qt::Key_T));
    OpenInTableAction = add(
        QStringLiteral("Открыть в таблице"), [this] { openSelectedInTable(); },
        QKeySequence(Qt::CTRL | Qt::Key_O));
    // A window of its own, as the statistics: no "…". No room on the rows: its key and both
    // context menus hold it.
    CalibrationAction = add(
        QStringLiteral("Градуировка"), [this] { emit calibrationRequested(); },
        QKeySequence(Qt::CTRL | Qt::Key_G));
    bar->removeAction(CalibrationAction);
    addAction(CalibrationAction);

    // The tree's commands and the protocol on a row of their own, so that both rows fit a
    // window of 980 px (a 1024 × 768 screen).
    addToolBarBreak();
    bar = addToolBar(QStringLiteral("Объекты"));
    bar->setMovable(false);
    bar->toggleViewAction()->setVisible(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    NewObjectAction = add(
        QStringLiteral("Новый объект…"), [this] { askAndCreateObject(); },
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    NewStructureAction = add(
        QStringLiteral("Новая конструкция…"), [this] { askAndCreateStructure(); },
        QKeySequence(Qt::CTRL | Qt::Key_N));
    RenameAction = add(
        QStringLiteral("Переименовать…"), [this] { askAndRename(); }, QKeySequence(Qt::CTRL | Qt::Key_R));
    PropertiesAction = add(
        QStringLiteral("Свойства…"), [this] { editSelectedNode(); }, QKeySequence(Qt::ALT | Qt::Key_Return));
    DeleteNodeAction = add(
        QStringLiteral("Удалить объект или конструкцию"), [this] { deleteSelectedNode(); },
        QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    bar->addSeparator();
    ProtocolAction = add(
        QStringLiteral("Протокол испытаний…"), [this] { requestProtocol(); },
        QKeySequence(Qt::CTRL | Qt::Key_P));
    // "Обновить" has no room on the rows: its key and both context menus hold it.
    RefreshAction = add(
        QStringLiteral("Обновить"), [this] { refresh(); }, QKeySequence(Qt::Key_F5));
    bar->removeAction(RefreshAction);
    addAction(RefreshAction);
}

void RegisterWindow::createMenus()
{
    TreeMenu = new QMenu(this);
    TreeMenu->addActions(
        {NewObjectAction, NewStructureAction, RenameAction, PropertiesAction, DeleteNodeAction});
    TreeMenu->addSeparator();
    TreeMenu->addActions({StatisticsAction, ProtocolAction, CalibrationAction});
    TreeMenu->addSeparator();
    TreeMenu->addAction(RefreshAction);
    TableMenu = new QMenu(this);
    TableMenu->addActions({AssignAction, UnassignAction, FillSitesAction, RemoveAction});
    TableMenu->addSeparator();
    TableMenu->addActions({StatisticsAction, OpenInTableAction, ProtocolAction, CalibrationAction});
    TableMenu->addSeparator();
    TableMenu->addAction(RefreshAction);
    for (auto [view, menu] : {std::pair<QAbstractItemView *, QMenu *>(Tree, TreeMenu), {Table, TableMenu}}) {
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this,
            [this, view, menu](const QPoint &at) { showContextMenu(menu, view, at); });
        view->installEventFilter(this);
    }
}

void RegisterWindow::showContextMenu(QMenu *menu, QAbstractItemView *view, QPoint at)
{
    menu->exec(view->viewport()->mapToGlobal(at));
    // The keyboard goes back where the menu was opened, as the command left it.
    view->setFocus(Qt::PopupFocusReason);
}

bool RegisterWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && (watched == Tree || watched == Table)) {
        auto *key = static_cast<QKeyEvent *>(event);
        // The menu key and Shift+F10 open the view's menu beside its current row.
        if (key->key() == Qt::Key_Menu
            || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
            auto *view = static_cast<QAbstractItemView *>(watched);
            const QRect row = view->visualRect(view->currentIndex());
            const QPoint at = row.isValid() ? row.bottomLeft() : QPoint(0, 0);
            showContextMenu(watched == Tree ? TreeMenu : TableMenu, view, at);
            return true;
        }
        // Selecting all, or going to the end, takes in the rows not read yet; nothing happens
        // when the register fails to give them (told).
        if (watched == Table
            && (key->matches(QKeySequence::SelectAll)
                || (key->key() == Qt::Key_End && (key->modifiers() & Qt::ControlModifier)))
            && !readWholeList())
            return true;
        if (watched == Table)
            return startSiteEdit(key);
    }
    return QMainWindow::eventFilter(watched, event);
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
    // Several structures at once (Ctrl, Shift, and Ctrl+Space by keyboard) for one protocol.
    Tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Table = new QTableView(splitter);
    Table->setModel(m_sorted);
    Table->setSortingEnabled(true);
    Table->sortByColumn(0, Qt::AscendingOrder);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Typing on a row edits its site label (startSiteEdit); Enter stores it and goes on.
    Table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
        | QAbstractItemView::AnyKeyPressed);
    Table->setItemDelegateForColumn(
        RegisterMeasurementModel::kSiteColumn, new RegisterSiteDelegate(Table, [this] { moveToNextRow(); }));
    // Участок beside the time, seen without scrolling sideways on a small screen.
    Table->horizontalHeader()->moveSection(RegisterMeasurementModel::kSiteColumn, 2);
    // Columns are fitted to the texts of 200 rows around those shown, not 1,000: each column
    // holds one format, and a long list is shown at once.
    Table->horizontalHeader()->setResizeContentsPrecision(200);
    Table->verticalHeader()->hide();
    Table->verticalHeader()->setDefaultSectionSize(20);
    Table->setWordWrap(false);
    // Tab leaves the table for the next control, as it leaves the tree; the arrows move in it.
    Table->setTabKeyNavigation(false);
    splitter->addWidget(Tree);
    splitter->addWidget(Table);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({250, 730});
    layout->addWidget(splitter, 1);

    AdditionLabel = new QLabel(central);
    layout->addWidget(AdditionLabel);
    CountLabel = new QLabel(this);
    statusBar()->addPermanentWidget(CountLabel);
    setCentralWidget(central);

    connect(Tree, &QTreeWidget::itemSelectionChanged, this, [this] { listSelectedNode(); });
    connect(Tree, &QTreeWidget::currentItemChanged, this, [this] { updateActions(); });
    connect(
        Table->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { updateActions(); });
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
    AdditionLabel->clear(); // what was added to another register is not this one's
    refresh();
}

void RegisterWindow::showAddition(const QString &summary)
{
    if (m_register)
        AdditionLabel->setText(summary);
}

void RegisterWindow::closeEvent(QCloseEvent *event)
{
    if (m_writing) {
        event->ignore(); // the change being written ends first; its result is shown
        return;
    }
    QMainWindow::closeEvent(event);
}

void RegisterWindow::refresh()
{
    if (m_writing) {
        m_refreshAfterWrite = true; // the rows stay as they are while a change is written
        return;
    }
    beginReads();
    // The rows the user selected stay selected when they are listed again: after sites were
    // numbered, a label typed, F5.
    QSet<RegisterId> chosenRows;
    for (const RegisterMeasurement &m : selectedMeasurements())
        chosenRows.insert(m.id);
    const QModelIndex currentRow = m_sorted->mapToSource(Table->currentIndex());
    const RegisterId currentId
        = currentRow.isValid() ? m_model->measurements().at(currentRow.row()).id : RegisterId(0);
    const int currentColumn = Table->currentIndex().column();
    const int readBefore = m_model->rowCount();
    const NodeKind kind = selectedKind();
    const RegisterId id = selectedId();
    QList<std::pair<NodeKind, RegisterId>> selected;
    for (const QTreeWidgetItem *item : Tree->selectedItems())
        selected.append(
            {static_cast<NodeKind>(item->data(0, kKindRole).toInt()), item->data(0, kIdRole).toLongLong()});
    fillTree();
    {
        const QSignalBlocker quiet(Tree);
        QTreeWidgetItem *item = findItem(kind, id);
        Tree->setCurrentItem(item ? item : Tree->topLevelItem(0));
        for (const auto &[selectedKind, selectedId] : selected)
            if (QTreeWidgetItem *again = findItem(selectedKind, selectedId))
                again->setSelected(true);
    }
    listSelectedNode();
    selectMeasurementsAgain(chosenRows, currentId, currentColumn, readBefore);
    if (!m_register)
        AdditionLabel->setText(QStringLiteral("Журнал не открыт."));
    endReads();
}

void RegisterWindow::noteRead()
{
    if (!m_register)
        return;
    if (m_readError.isEmpty())
        m_readError = m_register->errorString();
}

void RegisterWindow::beginReads()
{
    if (m_reads++ == 0)
        m_readError.clear();
}

void RegisterWindow::endReads()
{
    if (--m_reads > 0)
        return;
    if (m_readError.isEmpty()) {
        m_toldReadError.clear(); // read whole again: a later failure is news
        return;
    }
    if (m_readError == m_toldReadError)
        return;
    m_toldReadError = m_readError;
    tellUser(this, nullptr, QStringLiteral("Журнал не удалось прочитать: %1.").arg(m_readError));
}

void RegisterWindow::updateActions()
{
    // While a change is written every command waits for it.
    const bool free = !m_writing;
    const bool any = free && Table->selectionModel() && Table->selectionModel()->hasSelection();
    const bool node = free && selectedKind() != NodeKind::Unassigned;
    AssignAction->setEnabled(any);
    UnassignAction->setEnabled(any && !chosenStructures().isEmpty());
    FillSitesAction->setEnabled(any && !chosenStructures().isEmpty());
    RemoveAction->setEnabled(any);
    StatisticsAction->setEnabled(free && m_model->rowCount() > 0);
    OpenInTableAction->setEnabled(free && m_model->rowCount() > 0);
    ProtocolAction->setEnabled(node || (free && !chosenStructures().isEmpty()));
    for (QAction *always : {NewObjectAction, NewStructureAction, RefreshAction})
        always->setEnabled(free);
    PropertiesAction->setEnabled(node);
    RenameAction->setEnabled(node);
    DeleteNodeAction->setEnabled(node);
}

} // namespace luvir

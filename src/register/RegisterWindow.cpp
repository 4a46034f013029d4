// The register window's layout, its commands' places and keys, and their states.
#include "RegisterWindow.h"

#include "CellText.h"
#include "Register.h"
#include "RegisterMeasurementModel.h"
#include "UserDialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QSplitter>
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

} // namespace luvir

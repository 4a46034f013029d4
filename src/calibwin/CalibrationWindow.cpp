// The calibration window's layout, its commands' places and keys, and what it shows.
#include "CalibrationWindow.h"

#include "CalibChartDrawing.h"
#include "CalibSiteModel.h"
#include "CellText.h"
#include "ChartPicture.h"
#include "Register.h"
#include "RegisterWindow.h"
#include "RegisterWriter.h"

#include <QAction>
#include <QChartView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace luvir {

CalibrationWindow::CalibrationWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_separator(systemDecimalSeparator())
{
    setWindowTitle(QStringLiteral("Градуировка"));
    setWindowFlag(Qt::Window);
    m_model = new CalibSiteModel(m_separator, this);
    m_writer = new RegisterWriter(this);
    createActions();
    createLayout();
    createMenus();
    m_pictureRequest.filter = kPictureFilters.join(QStringLiteral(";;"));
    m_pictureRequest.defaultSuffix = kPictureDefaultSuffix;
    m_pictureRequest.selectedFilter = kPictureFilters.constFirst();
    // 980 × 660 on a 1024 × 768 screen and larger; smaller screens get what they have, less a
    // margin for the frame; centred.
    const QRect available = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    resize(std::min(980, available.width() - 40), std::min(660, available.height() - 60));
    move(available.center() - rect().center());
    showSet();
    SetList->setFocus();
}

void CalibrationWindow::createActions()
{
    // Every command has a key, named in its tooltip.
    auto make = [this](const QString &text, auto slot, const QKeySequence &key) {
        auto *a = new QAction(text, this);
        a->setShortcut(key);
        a->setToolTip(QStringLiteral("%1 (%2)").arg(
            QString(text).remove(u'…'), key.toString(QKeySequence::NativeText)));
        connect(a, &QAction::triggered, this, slot);
        addAction(a);
        return a;
    };
    NewSetAction = make(
        QStringLiteral("Новый набор…"), [this] { askAndCreateSet(); }, QKeySequence(Qt::CTRL | Qt::Key_N));
    SetPropertiesAction = make(
        QStringLiteral("Свойства набора…"), [this] { editSet(); }, QKeySequence(Qt::ALT | Qt::Key_Return));
    RemoveSetAction = make(
        QStringLiteral("Удалить набор"), [this] { removeSet(); }, QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    AddMeasurementsAction = make(
        QStringLiteral("Добавить выбранные в журнале измерения…"), [this] { addSelectedMeasurements(); },
        QKeySequence(Qt::Key_Insert));
    AddTypedSiteAction = make(
        QStringLiteral("Добавить участок без измерения…"), [this] { addTypedSite(); },
        QKeySequence(Qt::CTRL | Qt::Key_Insert));
    RemoveSiteAction = make(
        QStringLiteral("Удалить участок"), [this] { removeSite(); }, QKeySequence(Qt::Key_Delete));
    SavePictureAction = make(
        QStringLiteral("Сохранить график как рисунок…"), [this] { savePicture(); },
        QKeySequence(Qt::CTRL | Qt::Key_S));
    PrintAction = make(
        QStringLiteral("Печать графика…"), [this] { printChart(); }, QKeySequence(Qt::CTRL | Qt::Key_P));
    ApplyAction = make(
        QStringLiteral("Применить к конструкции…"),
        [this] {
            // A set that cannot be applied is refused before a structure is asked for.
            if (!applicable())
                return;
            if (const RegisterId id = chooseStructure(QStringLiteral("Применить к конструкции")))
                applyToStructure(id);
        },
        QKeySequence(Qt::CTRL | Qt::Key_K));
    RemoveDependencyAction = make(
        QStringLiteral("Снять с конструкции…"),
        [this] {
            if (const RegisterId id = chooseStructure(QStringLiteral("Снять с конструкции")))
                removeFromStructure(id);
        },
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K));
    RefreshAction = make(
        QStringLiteral("Обновить"), [this] { refresh(); }, QKeySequence(Qt::Key_F5));
}

void CalibrationWindow::createMenus()
{
    // The actions in order, a null one standing for a separator.
    const auto fill = [](QMenu *m, const QList<QAction *> &actions) {
        for (QAction *a : actions)
            if (a)
                m->addAction(a);
            else
                m->addSeparator();
        return m;
    };
    auto menu = [this, fill](const QString &title, const QList<QAction *> &actions) {
        QMenu *m = menuBar()->addMenu(title);
        m->setToolTipsVisible(true);
        return fill(m, actions);
    };
    menu(QStringLiteral("&Набор"),
        {NewSetAction, SetPropertiesAction, RemoveSetAction, nullptr, RefreshAction});
    menu(QStringLiteral("&Участки"), {AddMeasurementsAction, AddTypedSiteAction, RemoveSiteAction});
    menu(QStringLiteral("&Зависимость"), {ApplyAction, RemoveDependencyAction});
    menu(QStringLiteral("&График"), {SavePictureAction, PrintAction});

    auto contextMenu = [this, fill](const QList<QAction *> &actions) { return fill(new QMenu(this), actions); };
    SetMenu = contextMenu({NewSetAction, SetPropertiesAction, RemoveSetAction, nullptr, RefreshAction});
    SiteMenu = contextMenu({AddMeasurementsAction, AddTypedSiteAction, RemoveSiteAction, nullptr, ApplyAction,
        RemoveDependencyAction});
    ChartMenu = contextMenu({SavePictureAction, PrintAction});
    for (auto [view, m] :
        {std::pair<QWidget *, QMenu *>(SetList, SetMenu), {SiteTable, SiteMenu}, {ChartView, ChartMenu}}) {
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this,
            [this, view, m](const QPoint &at) { showContextMenu(m, view, at); });
        view->installEventFilter(this);
    }
}

void CalibrationWindow::showContextMenu(QMenu *menu, QWidget *view, QPoint at)
{
    auto *items = qobject_cast<QAbstractItemView *>(view);
    menu->exec((items ? items->viewport() : view)->mapToGlobal(at));
    // The keyboard goes back where the menu was opened, as the command left it.
    view->setFocus(Qt::PopupFocusReason);
}

bool CalibrationWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress
        && (watched == SetList || watched == SiteTable || watched == ChartView)) {
        auto *key = static_cast<QKeyEvent *>(event);
        // The menu key and Shift+F10 open the view's menu beside its current row.
        if (key->key() == Qt::Key_Menu
            || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
            auto *view = static_cast<QWidget *>(watched);
            QPoint at(0, 0);
            if (auto *items = qobject_cast<QAbstractItemView *>(view)) {
                const QRect row = items->visualRect(items->currentIndex());
                if (row.isValid())
                    at = row.bottomLeft();
            }
            showContextMenu(watched == SetList ? SetMenu
                    : watched == SiteTable     ? SiteMenu
                                               : ChartMenu,
                view, at);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CalibrationWindow::closeEvent(QCloseEvent *event)
{
    if (m_writing) {
        event->ignore(); // the change being written ends first; its result is shown
        return;
    }
    QMainWindow::closeEvent(event);
}

void CalibrationWindow::createLayout()
{
    auto *central = new QWidget(this);
    auto *layout = new QHBoxLayout(central);
    auto *sides = new QSplitter(central);

    auto *left = new QWidget(sides);
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    auto *setsLabel = new QLabel(QStringLiteral("Н&аборы:"), left);
    SetList = new QListWidget(left);
    setsLabel->setBuddy(SetList);
    leftLayout->addWidget(setsLabel);
    leftLayout->addWidget(SetList, 1);

    auto *right = new QWidget(sides);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    auto *choice = new QHBoxLayout;
    KindChoice = new QComboBox(right);
    KindChoice->addItem(
        QStringLiteral("собственная зависимость R = a·H + b"), static_cast<int>(DependencyKind::Own));
    KindChoice->addItem(QStringLiteral("коэффициент совпадения Kc"), static_cast<int>(DependencyKind::Kc));
    auto *kindLabel = new QLabel(QStringLiteral("&Расчёт:"), right);
    kindLabel->setBuddy(KindChoice);
    Newest20 = new QCheckBox(QStringLiteral("по &последним 20 участкам"), right);
    Newest20->setToolTip(QStringLiteral("Пересчитать по 20 участкам с самыми поздними прямыми испытаниями"));
    choice->addWidget(kindLabel);
    choice->addWidget(KindChoice);
    choice->addSpacing(12);
    choice->addWidget(Newest20);
    choice->addStretch();
    rightLayout->addLayout(choice);

    auto *rows = new QSplitter(Qt::Vertical, right);
    SiteTable = new QTableView(rows);
    SiteTable->setModel(m_model);
    SiteTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    SiteTable->setSelectionMode(QAbstractItemView::SingleSelection);
    SiteTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SiteTable->verticalHeader()->hide();
    SiteTable->verticalHeader()->setDefaultSectionSize(SiteTable->fontMetrics().height() + 6);
    SiteTable->horizontalHeader()->setStretchLastSection(true);
    // Columns fitted to the first rows: a set of a thousand sites is fitted as fast as one of
    // a dozen, and its texts are of one width anyway.
    SiteTable->horizontalHeader()->setResizeContentsPrecision(100);
    SiteTable->setWordWrap(false);
    // Tab leaves the table for the next control; the arrows move in it.
    SiteTable->setTabKeyNavigation(false);

    auto *bottom = new QSplitter(rows);
    Figures = new QPlainTextEdit(bottom);
    Figures->setReadOnly(true);
    Figures->setTabChangesFocus(true);
    Figures->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    ChartView = new QChartView(bottom);
    ChartView->setRenderHint(QPainter::Antialiasing);
    ChartView->setFocusPolicy(Qt::StrongFocus); // its menu (save, print) by Shift+F10 too
    ChartView->setMinimumSize(200, 160);
    bottom->addWidget(Figures);
    bottom->addWidget(ChartView);
    bottom->setStretchFactor(1, 1);
    bottom->setSizes({300, 420});
    rows->addWidget(SiteTable);
    rows->addWidget(bottom);
    rows->setSizes({250, 330});
    rightLayout->addWidget(rows, 1);

    sides->addWidget(left);
    sides->addWidget(right);
    sides->setStretchFactor(1, 1);
    sides->setSizes({170, 790});
    layout->addWidget(sides);
    setCentralWidget(central);

    setTabOrder(SetList, KindChoice);
    setTabOrder(KindChoice, Newest20);
    setTabOrder(Newest20, SiteTable);
    setTabOrder(SiteTable, Figures);
    setTabOrder(Figures, ChartView);

    connect(SetList, &QListWidget::currentRowChanged, this, [this] { showSet(); });
    connect(KindChoice, &QComboBox::currentIndexChanged, this, [this] { showSet(); });
    connect(Newest20, &QCheckBox::toggled, this, [this] { showSet(); });
    connect(
        SiteTable->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { updateActions(); });
}

void CalibrationWindow::setRegister(Register *shown)
{
    m_register = shown;
    refresh();
}

void CalibrationWindow::attach(RegisterWindow &window)
{
    m_registerWindow = &window;
    connect(this, &CalibrationWindow::dependencyChanged, &window, &RegisterWindow::refresh);
}

QList<RegisterMeasurement> CalibrationWindow::selectedInRegister() const
{
    return m_registerWindow ? m_registerWindow->selectedMeasurementsAsShown() : QList<RegisterMeasurement>();
}

void CalibrationWindow::refresh()
{
    const RegisterId chosen = selectedSet();
    m_sets = m_register ? m_register->calibrationSets() : QList<CalibrationSet>();
    {
        // Shown once, below, whichever set ends up chosen.
        const QSignalBlocker quiet(SetList);
        fillSets();
        selectSet(chosen);
        if (SetList->currentRow() < 0 && SetList->count() > 0)
            SetList->setCurrentRow(0);
    }
    showSet();
}

void CalibrationWindow::fillSets()
{
    SetList->clear();
    for (const CalibrationSet &set : std::as_const(m_sets)) {
        auto *item = new QListWidgetItem(set.name, SetList);
        item->setData(Qt::UserRole, set.id);
        item->setToolTip(QStringLiteral("%1; бетон: %2")
                             .arg(directMethodName(set.method),
                                 set.concrete.isEmpty() ? QStringLiteral("не указан") : set.concrete));
    }
}

void CalibrationWindow::selectSet(RegisterId id)
{
    for (int row = 0; row < SetList->count(); ++row)
        if (SetList->item(row)->data(Qt::UserRole).toLongLong() == id)
            SetList->setCurrentRow(row);
}

RegisterId CalibrationWindow::selectedSet() const
{
    const QListWidgetItem *item = SetList->currentItem();
    return item ? item->data(Qt::UserRole).toLongLong() : 0;
}

void CalibrationWindow::setKind(DependencyKind kind)
{
    KindChoice->setCurrentIndex(std::max(0, KindChoice->findData(static_cast<int>(kind))));
}

DependencyKind CalibrationWindow::kind() const
{
    return static_cast<DependencyKind>(KindChoice->currentData().toInt());
}

QStringList CalibrationWindow::figureLines() const
{
    return Figures->toPlainText().split(u'\n', Qt::SkipEmptyParts);
}

void CalibrationWindow::showSet()
{
    const RegisterId id = selectedSet();
    const QList<CalibrationSite> sites
        = m_register && id != 0 ? m_register->calibrationSites(id) : QList<CalibrationSite>();
    const int row = SiteTable->currentIndex().row();
    m_outcome = calibOutcome(sites, kind(), Newest20->isChecked());
    m_model->setOutcome(m_outcome);
    SiteTable->resizeColumnsToContents();
    if (m_model->rowCount() > 0)
        SiteTable->setCurrentIndex(m_model->index(std::clamp(row, 0, m_model->rowCount() - 1), 0));
    QStringList lines;
    if (id == 0)
        lines << (m_sets.isEmpty()
                ? QStringLiteral("В журнале нет градуировочных наборов: создайте набор (%1).")
                      .arg(NewSetAction->shortcut().toString(QKeySequence::NativeText))
                : QString());
    else if (sites.isEmpty())
        lines << QStringLiteral(
            "В наборе нет участков: выделите измерения в окне «Журнал испытаний» и добавьте "
            "их (%1) или добавьте участок без измерения (%2).")
                     .arg(AddMeasurementsAction->shortcut().toString(QKeySequence::NativeText),
                         AddTypedSiteAction->shortcut().toString(QKeySequence::NativeText));
    else
        lines = calibSummaryLines(m_outcome, m_separator);
    const auto set = std::find_if(m_sets.cbegin(), m_sets.cend(), [id](const auto &s) { return s.id == id; });
    if (set != m_sets.cend()) {
        QStringList about {directMethodName(set->method)};
        if (!set->concrete.isEmpty())
            about << QStringLiteral("бетон: %1").arg(set->concrete);
        if (set->madeOn.isValid())
            about << set->madeOn.toString(QStringLiteral("dd.MM.yyyy"));
        lines.prepend(QStringLiteral("Набор «%1»: %2").arg(set->name, about.join(QStringLiteral("; "))));
    }
    Figures->setPlainText(lines.join(u'\n'));
    showChart();
    updateActions();
}

void CalibrationWindow::showChart()
{
    m_chart = calibChartContent(m_outcome, m_separator);
    // A new chart each time; the old one goes at once with its axes.
    QChart *old = ChartView->chart();
    ChartView->setChart(createCalibChart(m_chart));
    delete old;
}

void CalibrationWindow::updateActions()
{
    // While a change is written every command waits for it.
    const bool free = !m_writing;
    const bool set = free && selectedSet() != 0;
    const bool drawn = free && !m_outcome.input.isEmpty();
    NewSetAction->setEnabled(free);
    SetPropertiesAction->setEnabled(set);
    RemoveSetAction->setEnabled(set);
    AddMeasurementsAction->setEnabled(set && m_registerWindow);
    AddTypedSiteAction->setEnabled(set);
    RemoveSiteAction->setEnabled(set && SiteTable->currentIndex().isValid());
    SavePictureAction->setEnabled(drawn);
    PrintAction->setEnabled(drawn);
    ApplyAction->setEnabled(set && m_register);
    RemoveDependencyAction->setEnabled(free && m_register != nullptr);
    RefreshAction->setEnabled(free);
}

} // namespace luvir

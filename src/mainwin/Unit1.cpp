#include "Unit1.h"

#include "AppFonts.h"
#include "MeasurementTableModel.h"
#include "RegisterLocation.h"
#include "StatusPanels.h"
#include "UserDialogs.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

// The toolbar icons live in this static library; register them before first use.
static void initMainWindowResources()
{
    Q_INIT_RESOURCE(mainwin);
}

namespace {

// The window's design client area: toolbar, table panel and status bar.
constexpr QSize kDesignClientSize(697, 395);
constexpr int kToolBarHeight = 22;
// The application-wide help-file setting, held by the application object.
constexpr char kHelpFileProperty[] = "helpFile";

bool openWithDesktop(const QUrl &url)
{
    return QDesktopServices::openUrl(url); // starts the viewer and returns at once
}

std::function<bool(const QUrl &)> &documentOpener()
{
    static std::function<bool(const QUrl &)> opener = openWithDesktop;
    return opener;
}

// Each toolbar image in its 16-pixel size and drawn again at 1.5, 2 and 3 times that for
// scaled screens, whatever the scale was when the program started: Qt takes the drawing
// nearest the size the screen needs instead of stretching the 16-pixel one.
QIcon icon(const char *name)
{
    QIcon image;
    for (const char *size : {"", "@1.5x", "@2x", "@3x"})
        image.addFile(QStringLiteral(":/mainwin/icons/%1%2.png").arg(QLatin1String(name), QLatin1String(size)));
    return image;
}

} // namespace

TForm1::TForm1(QWidget *parent)
    : QMainWindow(parent)
{
    initMainWindowResources();
    setWindowTitle(luvir::kAppTitle);
    setFont(luvir::tahomaFont(11));
    m_registerDownloads = luvir::downloadsGoToRegister();
    createMenus();
    createToolBar();
    createTable();
    StatusBar1 = new luvir::StatusPanels(this);
    setStatusBar(StatusBar1);

    placeRestored();
    setWindowState(Qt::WindowMaximized);

    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::FormCreate()
{
    DisableArchiveCommands();
    setHelpFile(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("luvir.chm")));
}

void TForm1::placeRestored()
{
    // The design client area holds toolbar, table and status bar; the menu bar is
    // outside it.
    m_restoredSize = kDesignClientSize + QSize(0, menuBar()->sizeHint().height());
    resize(m_restoredSize);
    centreRestoredOnDesktop(); // without a frame: none is known before the window is shown
}

void TForm1::centreRestoredOnDesktop()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(luvir::centredTopLeft(screen->geometry(), frameGeometry().size()));
}

void TForm1::createMenus()
{
    auto action = [this](QMenu *menu, const QString &text, void (TForm1::*handler)()) {
        QAction *a = menu->addAction(text);
        a->setIconVisibleInMenu(false);
        if (handler)
            connect(a, &QAction::triggered, this, [this, handler] { run([this, handler] { (this->*handler)(); }); });
        return a;
    };

    QMenu *file = menuBar()->addMenu(QStringLiteral("Файл"));
    N2 = action(file, QStringLiteral("Открыть"), &TForm1::LoadArchiveExecute);
    N3 = action(file, QStringLiteral("Сохранить"), &TForm1::SaveArchiveExecute);
    N4 = action(file, QStringLiteral("Закрыть"), &TForm1::N4Click);
    file->addSeparator();
    N6 = action(file, QStringLiteral("Печать"), &TForm1::ToolButton6Click);
    file->addSeparator();
    N8 = action(file, QStringLiteral("Выход"), &TForm1::N8Click);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("Правка"));
    N11 = action(edit, QStringLiteral("Удалить строку"), &TForm1::ToolButton8Click);

    QMenu *data = menuBar()->addMenu(QStringLiteral("Данные"));
    N13 = action(data, QStringLiteral("Скачать архив"), &TForm1::N13Click);
    N14 = action(data, QStringLiteral("Диаграмма измерений"), &TForm1::MeasurementsChartClick);
    StatisticsItem = action(data, QStringLiteral("Статистика"), &TForm1::StatisticsClick);

    QMenu *journal = menuBar()->addMenu(QStringLiteral("Журнал"));
    RegisterItem = action(journal, QStringLiteral("Журнал испытаний"), &TForm1::RegisterWindowClick);
    RegisterInUseItem = journal->addAction(registerInUseText());
    RegisterInUseItem->setEnabled(false);
    connect(journal, &QMenu::aboutToShow, this, [this] { RegisterInUseItem->setText(registerInUseText()); });
    journal->addSeparator();
    AddDownloadsItem = journal->addAction(QStringLiteral("Добавлять скачанные в журнал"));
    AddDownloadsItem->setCheckable(true);
    AddDownloadsItem->setChecked(m_registerDownloads);
    connect(AddDownloadsItem, &QAction::toggled, this, [this](bool on) { AddDownloadsClick(on); });
    AddArchivesItem = action(journal, QStringLiteral("Добавить архивы в журнал…"), &TForm1::AddArchivesToRegisterClick);
    journal->addSeparator();
    CreateRegisterItem = action(journal, QStringLiteral("Создать журнал…"), &TForm1::CreateRegisterClick);
    OpenRegisterItem = action(journal, QStringLiteral("Открыть журнал…"), &TForm1::OpenRegisterClick);
    ConnectServerItem
        = action(journal, QStringLiteral("Подключиться к серверу…"), &TForm1::ConnectRegisterServerClick);
    journal->addSeparator();
    BackupRegisterItem
        = action(journal, QStringLiteral("Сохранить копию журнала…"), &TForm1::BackupRegisterClick);

    QMenu *help = menuBar()->addMenu(QStringLiteral("Справка"));
    N10 = action(help, QStringLiteral("Помощь"), &TForm1::N10Click);
    N15 = action(help, QStringLiteral("О программе"), &TForm1::N15Click);

    // The linked toolbar buttons take icon and tooltip from their menu items.
    N13->setIcon(icon("download"));
    N13->setToolTip(QStringLiteral("Загрузка данных из прибора"));
    N2->setIcon(icon("open"));
    N2->setToolTip(QStringLiteral("Открыть архив"));
    N3->setIcon(icon("save"));
    N3->setToolTip(QStringLiteral("Сохранить архив"));
    N11->setIcon(icon("delete"));
    N6->setIcon(icon("print"));
    StatisticsItem->setIcon(icon("stats"));
    StatisticsItem->setToolTip(QStringLiteral("Статистика измерений"));
    RegisterItem->setIcon(icon("register"));
    RegisterItem->setToolTip(QStringLiteral("Журнал испытаний"));
}

void TForm1::createToolBar()
{
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar1->setFixedHeight(kToolBarHeight); // sized to its buttons, which sit side by side
    ToolBar1->layout()->setContentsMargins(0, 0, 0, 0);
    ToolBar1->layout()->setSpacing(0);
    ToolBar1->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    auto button = [this](QAction *linked, const QIcon &image, void (TForm1::*handler)()) {
        auto *b = new QToolButton(ToolBar1);
        b->setFixedSize(30, kToolBarHeight);
        b->setAutoRaise(true);
        if (linked) {
            b->setDefaultAction(linked);
        } else {
            b->setIcon(image);
            connect(b, &QToolButton::clicked, this, [this, handler] { run([this, handler] { (this->*handler)(); }); });
        }
        ToolBar1->addWidget(b);
        return b;
    };
    auto separator = [this] {
        auto *gap = new QWidget(ToolBar1);
        gap->setFixedWidth(8);
        ToolBar1->addWidget(gap);
    };

    ToolButton1 = button(N13, {}, nullptr);
    ToolButton2 = button(N2, {}, nullptr);
    ToolButton3 = button(N3, {}, nullptr);
    ToolButton8 = button(nullptr, icon("delete"), &TForm1::ToolButton8Click);
    separator();
    ToolButton6 = button(nullptr, icon("print"), &TForm1::ToolButton6Click);
    StatisticsButton = button(StatisticsItem, {}, nullptr);
    RegisterButton = button(RegisterItem, {}, nullptr);
    separator();
    ToolButton9 = button(nullptr, icon("help"), &TForm1::N10Click);
}

void TForm1::createTable()
{
    Panel1 = new QWidget(this);
    auto *layout = new QVBoxLayout(Panel1);
    layout->setContentsMargins(0, 0, 0, 0);
    setCentralWidget(Panel1);

    m_model = new luvir::MeasurementTableModel(this);
    StringGrid1 = new QTableView(Panel1);
    StringGrid1->setModel(m_model);
    StringGrid1->setFont(luvir::gridFont());
    StringGrid1->setShowGrid(true);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setTabKeyNavigation(false);
    StringGrid1->setWordWrap(false);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setMinimumSectionSize(1);
    StringGrid1->verticalHeader()->setDefaultSectionSize(20);
    QHeaderView *header = StringGrid1->horizontalHeader();
    header->setFont(luvir::gridFont());
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsMovable(false);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(0);
    header->setFixedHeight(20);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    layout->addWidget(StringGrid1);
    StringGrid1->hide();

    StringGrid1->installEventFilter(this);
    StringGrid1->viewport()->installEventFilter(this);
    header->viewport()->installEventFilter(this);
    connect(StringGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (!m_quietSelection && current.isValid())
                    run([&] { StringGrid1SelectCell(current.column(), current.row() + 1); });
            });
    // A click on the row that is already current selects it again.
    connect(StringGrid1, &QAbstractItemView::pressed, this, [this](const QModelIndex &index) {
        if (index.isValid() && index.row() + 1 == currentRow())
            run([&] { StringGrid1SelectCell(index.column(), index.row() + 1); });
    });
}

void TForm1::DisableArchiveCommands()
{
    setArchiveCommandsEnabled(false);
}

void TForm1::EnableArchiveCommands()
{
    setArchiveCommandsEnabled(true);
}

void TForm1::setArchiveCommandsEnabled(bool enabled)
{
    for (QAction *a : {N3, N4, N6, N11, N14, StatisticsItem})
        a->setEnabled(enabled);
    for (QToolButton *b : {ToolButton3, ToolButton6, ToolButton8})
        b->setEnabled(enabled);
    StringGrid1->setVisible(enabled);
}

void TForm1::setStatus(const QString &text)
{
    StatusBar1->setPanelText(0, text);
}

QString TForm1::statusText(int panel) const
{
    return StatusBar1->panelText(panel);
}

const luvir::MeasurementTable &TForm1::table() const
{
    return m_model->table();
}

void TForm1::setDocumentOpener(std::function<bool(const QUrl &)> opener)
{
    documentOpener() = opener ? std::move(opener) : openWithDesktop;
}

void TForm1::N10Click()
{
    // No message of our own when the file or a viewer is missing.
    const QString fileName = helpFile();
    if (QFileInfo::exists(fileName))
        documentOpener()(QUrl::fromLocalFile(fileName));
}

QString TForm1::helpFile()
{
    return qApp->property(kHelpFileProperty).toString();
}

void TForm1::setHelpFile(const QString &fileName)
{
    qApp->setProperty(kHelpFileProperty, fileName);
}

void TForm1::setLastingWindows(TForm2 &download, QDialog &about, TForm5 &chart)
{
    m_downloadDialog = &download;
    m_aboutWindow = &about;
    m_chartWindow = &chart;
}

void TForm1::N15Click()
{
    Q_ASSERT(m_aboutWindow);
    m_aboutWindow->exec();
}

void TForm1::run(const std::function<void()> &handler)
{
    luvir::guarded(this, handler);
}

void TForm1::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
    // Restored for the first time, the window knows its frame: centre it again with the
    // frame, as the design centres the whole window on the desktop.
    if (m_centreWithFrame && isVisible() && !isMaximized() && size() == m_restoredSize) {
        m_centreWithFrame = false;
        QTimer::singleShot(0, this, [this] {
            if (!isMaximized())
                centreRestoredOnDesktop();
        });
    }
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick
        && (watched == StringGrid1->viewport() || watched == StringGrid1->horizontalHeader()->viewport())) {
        run([this] { StringGrid1DblClick(); });
    } else if (event->type() == QEvent::KeyPress && watched == StringGrid1) {
        const auto *key = static_cast<QKeyEvent *>(event);
        run([this, key] { StringGrid1KeyDown(key->key(), key->modifiers()); });
    }
    return QMainWindow::eventFilter(watched, event); // the table handles its keys as usual
}

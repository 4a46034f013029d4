#include "ReportPreview.h"

#include "PrintTarget.h"
#include "ReportPageView.h"
#include "ReportPainter.h"
#include "UserDialogs.h"
#include "WaitCursor.h"

#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

// The toolbar icons live in this static library; register them before first use.
static void initPreviewResources()
{
    Q_INIT_RESOURCE(preview);
}

namespace luvir {

namespace {

constexpr double kZoomStep = 1.25;
constexpr double kMinZoom = 0.1;
constexpr double kMaxZoom = 8.0;

// The icons are drawn for 16 pixels, with a twice as large picture for screens at 200 %.
QIcon previewIcon(const char *name)
{
    return QIcon(QStringLiteral(":/report/icons/%1.png").arg(QLatin1String(name)));
}

// Equal for the report's layout: the same paper, orientation and margins.
bool samePage(const QPageLayout &a, const QPageLayout &b)
{
    constexpr double kTolerance = 0.01; // mm
    const QMarginsF d = a.margins(QPageLayout::Millimeter) - b.margins(QPageLayout::Millimeter);
    return a.pageSize().isEquivalentTo(b.pageSize()) && a.orientation() == b.orientation()
        && std::abs(d.left()) < kTolerance && std::abs(d.top()) < kTolerance
        && std::abs(d.right()) < kTolerance && std::abs(d.bottom()) < kTolerance;
}

} // namespace

ReportPreview::ReportPreview(ReportLayout layOut, const QPageLayout &page, QWidget *parent)
    : QDialog(parent)
    , m_layOut(std::move(layOut))
    , m_exporters(createReportExporters())
    , m_printer(QPrinter::HighResolution)
{
    setUp(page);
    {
        const WaitCursor wait;
        m_report = m_layOut(page);
    }
    m_laidOutFor = page;
    updateView();
}

ReportPreview::ReportPreview(FixedPages pages, const QPageLayout &page, QWidget *parent)
    : QDialog(parent)
    , m_fixed(std::move(pages))
    , m_printer(QPrinter::HighResolution)
{
    setUp(page);
    m_laidOutFor = page;
    updateView();
}

void ReportPreview::setUp(const QPageLayout &page)
{
    setWindowTitle(QStringLiteral("Предварительный просмотр"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setModal(true);
    initPreviewResources();
    m_printer.setPageLayout(page);
    m_printer.setFullPage(true);
    m_printer.setDocName(QStringLiteral("ЛЮВИР-2.07"));
    for (std::size_t i = 0; i < m_exporters.size(); ++i)
        m_lastExportNames.append(QString());

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildToolBar();
    m_scroll = new QScrollArea(this);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_view = new ReportPageView;
    m_scroll->setWidget(m_view);
    layout->addWidget(m_scroll, 1);
    if (const QScreen *screen = this->screen())
        resize(screen->availableSize());
}

int ReportPreview::pageCount() const
{
    return m_fixed ? m_fixed->count : m_report.pageCount();
}

QSizeF ReportPreview::pageSize() const
{
    return m_fixed ? m_fixed->size : m_report.pageSize;
}

void ReportPreview::paintPage(QPainter &painter, int index) const
{
    if (m_fixed)
        m_fixed->paint(painter, index);
    else
        paintReportPage(painter, m_report.pages.at(index));
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::buildToolBar()
{
    m_toolBar = new QToolBar(this);
    QToolBar *bar = m_toolBar;
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setIconSize(QSize(16, 16));
    layout()->addWidget(bar);
    // Each command a button with its icon, its name and shortcut in the tool tip.
    auto command = [this, bar](
                       const char *icon, const QString &name, const QKeySequence &shortcut, auto slot) {
        QAction *action = bar->addAction(previewIcon(icon), name, this, slot);
        action->setShortcut(shortcut);
        action->setToolTip(QStringLiteral("%1 (%2)").arg(name, shortcut.toString(QKeySequence::NativeText)));
        return action;
    };

    command("print", QStringLiteral("Печать"), QKeySequence::Print, &ReportPreview::printReport);
    command("page-setup", QStringLiteral("Параметры страницы"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P), &ReportPreview::setUpPage);
    m_exportMenu = new QMenu(this);
    for (std::size_t i = 0; i < m_exporters.size(); ++i) {
        const int index = static_cast<int>(i);
        m_exportMenu->addAction(
            m_exporters[i]->name() + QStringLiteral("…"), this, [this, index] { exportReport(index); });
    }
    // The shortcut opens the menu under its button, where the arrows and Enter choose.
    QAction *exportAction
        = command("export", QStringLiteral("Экспорт"), QKeySequence(Qt::CTRL | Qt::Key_E), [] {});
    exportAction->setMenu(m_exportMenu);
    auto *exportButton = qobject_cast<QToolButton *>(bar->widgetForAction(exportAction));
    exportButton->setPopupMode(QToolButton::InstantPopup);
    connect(exportAction, &QAction::triggered, exportButton, &QToolButton::showMenu);
    bar->addSeparator();

    command("zoom-in", QStringLiteral("Увеличить"), QKeySequence::ZoomIn, &ReportPreview::zoomIn);
    command("zoom-out", QStringLiteral("Уменьшить"), QKeySequence::ZoomOut, &ReportPreview::zoomOut);
    m_zoomLabel = new QLabel(bar);
    m_zoomLabel->setMinimumWidth(48);
    m_zoomLabel->setAlignment(Qt::AlignCenter);
    bar->addWidget(m_zoomLabel);
    command("whole-page", QStringLiteral("Страница целиком"), QKeySequence(Qt::CTRL | Qt::Key_0),
        &ReportPreview::fitWholePage);
    command("page-width", QStringLiteral("По ширине страницы"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W), &ReportPreview::fitPageWidth);
    bar->addSeparator();

    command("first-page", QStringLiteral("Первая страница"), QKeySequence(Qt::CTRL | Qt::Key_Home),
        &ReportPreview::firstPage);
    command("previous-page", QStringLiteral("Предыдущая страница"), QKeySequence(Qt::Key_PageUp),
        &ReportPreview::previousPage);
    m_pageLabel = new QLabel(bar);
    m_pageLabel->setMinimumWidth(110);
    m_pageLabel->setAlignment(Qt::AlignCenter);
    bar->addWidget(m_pageLabel);
    command("next-page", QStringLiteral("Следующая страница"), QKeySequence(Qt::Key_PageDown),
        &ReportPreview::nextPage);
    command("last-page", QStringLiteral("Последняя страница"), QKeySequence(Qt::CTRL | Qt::Key_End),
        &ReportPreview::lastPage);
    bar->addSeparator();
    command("close", QStringLiteral("Закрыть"), QKeySequence(Qt::Key_Escape), &QDialog::reject);
}

void ReportPreview::updateView()
{
    const int pages = pageCount();
    ReportPageView::PagePainter paint;
    if (pages > 0)
        paint = [this, page = m_page](QPainter &painter) { paintPage(painter, page); };
    m_view->setPage(paint, pageSize(), m_zoom);
    m_pageLabel->setText(QStringLiteral("Стр. %1 из %2").arg(pages > 0 ? m_page + 1 : 0).arg(pages));
    m_zoomLabel->setText(QStringLiteral("%1 %").arg(qRound(m_zoom * 100)));
}

void ReportPreview::followPrinterPage()
{
    m_printer.setFullPage(true); // the report's margins are its own
    const QPageLayout page = m_printer.pageLayout();
    if (m_fixed || samePage(page, m_laidOutFor))
        return;
    {
        const WaitCursor wait;
        m_report = m_layOut(page);
    }
    m_laidOutFor = page;
    m_page = std::clamp(m_page, 0, std::max(m_report.pageCount() - 1, 0));
    updateView();
}

void ReportPreview::printReport()
{
    m_printer.setFromTo(0, 0);
    if (!askForPrinter(this, m_printer))
        return;
    // The print dialog may have changed the paper or its orientation.
    followPrinterPage();
    const int pages = pageCount();
    if (pages == 0)
        return;
    int first = 0, last = pages - 1;
    if (m_printer.printRange() == QPrinter::PageRange && m_printer.fromPage() > 0) {
        first = std::clamp(m_printer.fromPage() - 1, 0, pages - 1);
        last = std::clamp(m_printer.toPage() > 0 ? m_printer.toPage() - 1 : last, first, pages - 1);
    } else if (m_printer.printRange() == QPrinter::CurrentPage) {
        first = last = m_page;
    }

    // The pages under the wait cursor; a failure is told with the normal cursor back.
    const QString failure = [&] {
        const WaitCursor wait;
        PrintTarget target(m_printer);
        QPagedPaintDevice &device = target.device();
        QPainter painter;
        if (!painter.begin(&device))
            return QStringLiteral("Не удалось начать печать.");
        const double scale = reportUnitScale(device);
        for (int i = first; i <= last; ++i) {
            if (i > first && !device.newPage())
                break;
            painter.resetTransform();
            painter.scale(scale, scale);
            paintPage(painter, i);
        }
        if (!painter.end())
            return QStringLiteral("Не удалось напечатать отчёт.");
        QString error;
        return target.finish(&error) ? QString() : error;
    }();
    if (!failure.isEmpty())
        dialogs().error(this, failure);
    else
        emit printed();
}

void ReportPreview::setUpPage()
{
    if (dialogs().printerSetup(this, m_printer))
        followPrinterPage();
}

void ReportPreview::exportReport(int exporterIndex)
{
    if (exporterIndex < 0 || exporterIndex >= static_cast<int>(m_exporters.size()))
        return;
    ReportExporter &exporter = *m_exporters[static_cast<std::size_t>(exporterIndex)];
    FileDialogRequest request {exporter.fileFilter(), exporter.defaultSuffix(),
        m_lastExportNames.at(exporterIndex), exporter.fileFilter()};
    const QString fileName = dialogs().saveFileName(this, request);
    if (fileName.isEmpty())
        return;
    m_lastExportNames[exporterIndex] = fileName;
    bool saved = false;
    {
        WaitCursor wait;
        saved = exporter.save(m_report, fileName);
    }
    if (!saved)
        dialogs().error(this,
            QStringLiteral("Не удалось сохранить файл \"%1\": %2")
                .arg(QDir::toNativeSeparators(fileName), exporter.errorString()));
}

void ReportPreview::zoomIn()
{
    setZoom(m_zoom * kZoomStep);
}

void ReportPreview::zoomOut()
{
    setZoom(m_zoom / kZoomStep);
}

void ReportPreview::setZoom(double zoom)
{
    m_zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    updateView();
}

void ReportPreview::fitWholePage()
{
    const QSizeF room = QSizeF(m_scroll->viewport()->size())
        - QSizeF(2 * ReportPageView::kBorder, 2 * ReportPageView::kBorder);
    setZoom(std::min(room.width() / pageSize().width(), room.height() / pageSize().height()));
}

void ReportPreview::fitPageWidth()
{
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const double room = m_scroll->viewport()->width() - 2 * ReportPageView::kBorder
        - (m_scroll->verticalScrollBar()->isVisible() ? 0 : scrollBar);
    setZoom(room / pageSize().width());
}

void ReportPreview::showPage(int page)
{
    if (pageCount() == 0)
        return;
    m_page = std::clamp(page, 0, pageCount() - 1);
    updateView();
    m_scroll->verticalScrollBar()->setValue(0);
}

void ReportPreview::firstPage()
{
    showPage(0);
}

void ReportPreview::previousPage()
{
    showPage(m_page - 1);
}

void ReportPreview::nextPage()
{
    showPage(m_page + 1);
}

void ReportPreview::lastPage()
{
    showPage(pageCount() - 1);
}

} // namespace luvir

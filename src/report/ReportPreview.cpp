#include "ReportPreview.h"

#include "ReportPageView.h"
#include "ReportPainter.h"
#include "UserDialogs.h"
#include "WaitCursor.h"

#include <QDir>
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

namespace luvir {

namespace {

constexpr double kZoomStep = 1.25;
constexpr double kMinZoom = 0.1;
constexpr double kMaxZoom = 8.0;

} // namespace

ReportPreview::ReportPreview(PreparedReport report, QWidget *parent)
    : QDialog(parent)
    , m_report(std::move(report))
    , m_exporters(createReportExporters())
    , m_printer(QPrinter::HighResolution)
{
    setWindowTitle(QStringLiteral("Предварительный просмотр"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setModal(true);
    m_printer.setPageSize(QPageSize(QPageSize::A4));
    m_printer.setPageOrientation(QPageLayout::Portrait);
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
    updateView();
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::buildToolBar()
{
    auto *bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    layout()->addWidget(bar);
    QStyle *s = style();

    QAction *print = bar->addAction(QIcon::fromTheme(QStringLiteral("document-print")),
        QStringLiteral("Печать"), this, &ReportPreview::printReport);
    print->setShortcut(QKeySequence::Print);
    bar->addAction(QStringLiteral("Параметры страницы"), this, &ReportPreview::setUpPage);

    auto *exportButton = new QToolButton(bar);
    exportButton->setText(QStringLiteral("Экспорт"));
    exportButton->setPopupMode(QToolButton::InstantPopup);
    m_exportMenu = new QMenu(exportButton);
    for (std::size_t i = 0; i < m_exporters.size(); ++i) {
        const int index = static_cast<int>(i);
        m_exportMenu->addAction(
            m_exporters[i]->name() + QStringLiteral("…"), this, [this, index] { exportReport(index); });
    }
    exportButton->setMenu(m_exportMenu);
    bar->addWidget(exportButton);
    bar->addSeparator();

    bar->addAction(QStringLiteral("Увеличить"), this, &ReportPreview::zoomIn)
        ->setShortcut(QKeySequence::ZoomIn);
    bar->addAction(QStringLiteral("Уменьшить"), this, &ReportPreview::zoomOut)
        ->setShortcut(QKeySequence::ZoomOut);
    m_zoomLabel = new QLabel(bar);
    m_zoomLabel->setMinimumWidth(48);
    m_zoomLabel->setAlignment(Qt::AlignCenter);
    bar->addWidget(m_zoomLabel);
    bar->addAction(QStringLiteral("Страница целиком"), this, &ReportPreview::fitWholePage);
    bar->addAction(QStringLiteral("По ширине страницы"), this, &ReportPreview::fitPageWidth);
    bar->addSeparator();

    bar->addAction(s->standardIcon(QStyle::SP_MediaSkipBackward), QStringLiteral("Первая страница"), this,
           &ReportPreview::firstPage)
        ->setShortcut(Qt::CTRL | Qt::Key_Home);
    bar->addAction(s->standardIcon(QStyle::SP_MediaSeekBackward), QStringLiteral("Предыдущая страница"), this,
           &ReportPreview::previousPage)
        ->setShortcut(Qt::Key_PageUp);
    m_pageLabel = new QLabel(bar);
    m_pageLabel->setMinimumWidth(110);
    m_pageLabel->setAlignment(Qt::AlignCenter);
    bar->addWidget(m_pageLabel);
    bar->addAction(s->standardIcon(QStyle::SP_MediaSeekForward), QStringLiteral("Следующая страница"), this,
           &ReportPreview::nextPage)
        ->setShortcut(Qt::Key_PageDown);
    bar->addAction(s->standardIcon(QStyle::SP_MediaSkipForward), QStringLiteral("Последняя страница"), this,
           &ReportPreview::lastPage)
        ->setShortcut(Qt::CTRL | Qt::Key_End);
    bar->addSeparator();
    bar->addAction(QStringLiteral("Закрыть"), this, &QDialog::reject);

    // The page arrows speak for themselves; their names stay as tool tips.
    for (QAction *action : bar->actions())
        if (!action->icon().isNull() && action != print)
            if (auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(action)))
                button->setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void ReportPreview::updateView()
{
    const int pages = m_report.pageCount();
    m_view->setPage(pages > 0 ? &m_report.pages.at(m_page) : nullptr, m_report.pageSize, m_zoom);
    m_pageLabel->setText(QStringLiteral("Стр. %1 из %2").arg(pages > 0 ? m_page + 1 : 0).arg(pages));
    m_zoomLabel->setText(QStringLiteral("%1 %").arg(qRound(m_zoom * 100)));
}

void ReportPreview::printReport()
{
    const int pages = m_report.pageCount();
    m_printer.setFromTo(0, 0);
    if (!dialogs().print(this, m_printer) || pages == 0)
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
        QPainter painter;
        if (!painter.begin(&m_printer))
            return QStringLiteral("Не удалось начать печать.");
        const double scale = reportUnitScale(m_printer);
        for (int i = first; i <= last; ++i) {
            if (i > first && !m_printer.newPage())
                break;
            painter.resetTransform();
            painter.scale(scale, scale);
            paintReportPage(painter, m_report.pages.at(i));
        }
        return painter.end() ? QString() : QStringLiteral("Не удалось напечатать отчёт.");
    }();
    if (!failure.isEmpty())
        dialogs().error(this, failure);
}

void ReportPreview::setUpPage()
{
    dialogs().printerSetup(this, m_printer);
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
    setZoom(std::min(room.width() / m_report.pageSize.width(), room.height() / m_report.pageSize.height()));
}

void ReportPreview::fitPageWidth()
{
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const double room = m_scroll->viewport()->width() - 2 * ReportPageView::kBorder
        - (m_scroll->verticalScrollBar()->isVisible() ? 0 : scrollBar);
    setZoom(room / m_report.pageSize.width());
}

void ReportPreview::showPage(int page)
{
    if (m_report.pageCount() == 0)
        return;
    m_page = std::clamp(page, 0, m_report.pageCount() - 1);
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
    showPage(m_report.pageCount() - 1);
}

} // namespace luvir

#pragma once
// The report's preview window: one page at a time on screen, with print, page set-up,
// zoom, page navigation and the export menu. Modal; the print command shows it maximised.
// Every command is a toolbar button with a shortcut, named with its shortcut in the
// button's tool tip. A change of paper, orientation or margins lays the report out again,
// so the preview, the print and the exports always show the same pages. Pages laid out
// once by others (the test protocol) are shown, printed and exported the same way.

#include "PreparedReport.h"
#include "ReportEngine.h"
#include "ReportExporter.h"

#include <QDialog>
#include <QPrinter>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QMenu;
class QScrollArea;
class QToolBar;

namespace luvir {

class ReportPageView;

// Pages laid out once, of one size: their number, their size in report units (1/96 inch)
// and how page `index` is painted with the painter in report units.
struct FixedPages {
    int count = 0;
    QSizeF size;
    std::function<void(QPainter &painter, int index)> paint;
};

class ReportPreview : public QDialog
{
    Q_OBJECT

public:
    // Shows the report as `layOut` lays it out for `page`, and again for each page set up.
    ReportPreview(ReportLayout layOut, const QPageLayout &page, QWidget *parent = nullptr);
    // Shows `pages` as they are: the page set-up chooses the printer's paper, and the pages
    // keep their layout. The export menu starts empty, for the caller's own formats.
    ReportPreview(FixedPages pages, const QPageLayout &page, QWidget *parent = nullptr);
    ~ReportPreview() override;

    const PreparedReport &report() const { return m_report; }
    // The page the report shown is laid out for.
    const QPageLayout &laidOutFor() const { return m_laidOutFor; }
    // The toolbar with every command.
    QToolBar *toolBar() const { return m_toolBar; }
    int currentPage() const { return m_page; } // from 0
    double zoom() const { return m_zoom; } // 1.0: one report unit per screen pixel
    // The printer the print and page set-up commands use (the report's page at first; the
    // report's margins are its own, so the printer paints on the whole paper).
    QPrinter &printer() { return m_printer; }
    // The export menu, built from the exporters, in their order.
    QMenu *exportMenu() const { return m_exportMenu; }

signals:
    // The pages went to the printer (or the file printed to) whole.
    void printed();

public slots:
    void printReport();
    void setUpPage();
    void exportReport(int exporterIndex);

    void zoomIn();
    void zoomOut();
    void setZoom(double zoom);
    void fitWholePage();
    void fitPageWidth();

    void showPage(int page);
    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();

private:
    void setUp(const QPageLayout &page);
    void buildToolBar();
    int pageCount() const;
    QSizeF pageSize() const;
    void paintPage(QPainter &painter, int index) const;
    void updateView();
    // Lays the report out for the printer's page when it is not laid out for it already.
    void followPrinterPage();

    ReportLayout m_layOut;
    QPageLayout m_laidOutFor;
    PreparedReport m_report;
    std::optional<FixedPages> m_fixed; // shown instead of the report when given
    std::vector<std::unique_ptr<ReportExporter>> m_exporters;
    QStringList m_lastExportNames; // per exporter
    QPrinter m_printer;
    int m_page = 0;
    double m_zoom = 1.0;
    QToolBar *m_toolBar = nullptr;
    QScrollArea *m_scroll = nullptr;
    ReportPageView *m_view = nullptr;
    QLabel *m_pageLabel = nullptr;
    QLabel *m_zoomLabel = nullptr;
    QMenu *m_exportMenu = nullptr;
};

} // namespace luvir

#pragma once
// The report's preview window: one page at a time on screen, with print, page set-up,
// zoom, page navigation and the export menu. Modal; the print command shows it maximised.

#include "PreparedReport.h"
#include "ReportExporter.h"

#include <QDialog>
#include <QPrinter>

#include <memory>
#include <vector>

class QLabel;
class QMenu;
class QScrollArea;

namespace luvir {

class ReportPageView;

class ReportPreview : public QDialog
{
    Q_OBJECT

public:
    explicit ReportPreview(PreparedReport report, QWidget *parent = nullptr);
    ~ReportPreview() override;

    const PreparedReport &report() const { return m_report; }
    int currentPage() const { return m_page; } // from 0
    double zoom() const { return m_zoom; } // 1.0: one report unit per screen pixel
    // The printer the print and page set-up commands use (A4, portrait, whole paper).
    QPrinter &printer() { return m_printer; }
    // The export menu, built from the exporters, in their order.
    QMenu *exportMenu() const { return m_exportMenu; }

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
    void buildToolBar();
    void updateView();

    PreparedReport m_report;
    std::vector<std::unique_ptr<ReportExporter>> m_exporters;
    QStringList m_lastExportNames; // per exporter
    QPrinter m_printer;
    int m_page = 0;
    double m_zoom = 1.0;
    QScrollArea *m_scroll = nullptr;
    ReportPageView *m_view = nullptr;
    QLabel *m_pageLabel = nullptr;
    QLabel *m_zoomLabel = nullptr;
    QMenu *m_exportMenu = nullptr;
};

} // namespace luvir

#pragma once
// The chart window: the intermediate values of one measurement as bars with a line at its
// strength, or the strength of every measurement of the archive; printed or saved as a
// picture from its menu.

#include "ChartContent.h"
#include "ChartDrawing.h"
#include "ChartPrinting.h"
#include "UserDialogs.h"

#include <QDialog>
#include <QPrinter>

#include <memory>

QT_BEGIN_NAMESPACE
class QAction;
class QBarSeries;
class QChartView;
class QLineSeries;
class QMenuBar;
QT_END_NAMESPACE

// TForm5: the chart window, created once and given a new chart at every opening.
class TForm5 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm5(QWidget *parent = nullptr);
    ~TForm5() override;

    // Charts the intermediate values of `cell`, shown in table row `row` whose date and
    // time column reads `dateTimeText`, and shows the window modally until it is closed.
    void ShowIntermediateChart(const luvir::ArchiveCell &cell, int row, const QString &dateTimeText);
    // Charts the strength of each of `measurements` (the table's rows, in order) with a line
    // at their mean, and shows the window modally until it is closed.
    void ShowMeasurementsChart(const QList<luvir::Measurement> &measurements);

    // What the two above do before showing the window: a new chart replaces the one of an
    // earlier opening, with everything it drew.
    void fillIntermediateChart(const luvir::ArchiveCell &cell, int row, const QString &dateTimeText);
    void fillMeasurementsChart(const QList<luvir::Measurement> &measurements);

    // What the chart shows now.
    const luvir::ChartContent &shownContent() const { return m_content; }
    // The printer the print command sets up and prints on; kept for the whole run.
    QPrinter &printer() { return m_printer; }
    // The margins and ratio of the next print (set by the print command).
    const luvir::ChartPrintLayout &printLayout() const { return m_printLayout; }

    QMenuBar *MainMenu1 = nullptr; // the menu bar with the two commands
    QAction *N1 = nullptr; // "Печать": print the chart
    QAction *N2 = nullptr; // "Экспорт": save the chart as a picture
    QChartView *Chart1 = nullptr; // the chart, filling the client area
    QBarSeries *Series1 = nullptr; // the values, one bar each (of the chart shown now)
    QLineSeries *Series2 = nullptr; // the average, in the legend (of the chart shown now)

    void N1Click(); // print on the printer chosen in the print dialog
    void N2Click(); // save as a picture file

private:
    void showContent(const luvir::ChartContent &content);
    void showCentredModal();

    luvir::ChartParts m_parts;
    luvir::ChartContent m_content;
    QPrinter m_printer;
    luvir::ChartPrintLayout m_printLayout;
    luvir::FileDialogRequest m_pictureRequest; // keeps the last name and filter chosen
};

#include "Unit5.h"

#include "CellText.h"
#include "ChartPicture.h"
#include "PrintTarget.h"

#include <QtCharts/QBarSeries>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>

#include <QAction>
#include <QDir>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {

// The chart's client area, without the menu bar.
constexpr int kClientWidth = 667;
constexpr int kClientHeight = 373;

// Margins of a printed chart, in per cent of the page; the chart is stretched to fill
// the rest of the page.
constexpr double kPrintMarginPercent = 4.0;

} // namespace

TForm5::TForm5(QWidget *parent)
    : QDialog(parent)
    , m_printer(QPrinter::HighResolution)
{
    m_printer.setDocName(luvir::kAppTitle); // also the name a print to file suggests
    setWindowTitle(luvir::kIntermediateChartCaption);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setNativeMenuBar(false);
    N1 = MainMenu1->addAction(QStringLiteral("Печать"));
    N2 = MainMenu1->addAction(QStringLiteral("Экспорт"));
    connect(N1, &QAction::triggered, this, &TForm5::N1Click);
    connect(N2, &QAction::triggered, this, &TForm5::N2Click);
    // Esc closes the window wherever the focus is in it: the menu bar takes the key for
    // itself when it holds the focus, which a dialog's own Esc handling never sees.
    auto *closeKey = new QAction(this);
    closeKey->setShortcut(QKeySequence(Qt::Key_Escape));
    addAction(closeKey);
    connect(closeKey, &QAction::triggered, this, &QDialog::reject);

    m_parts = luvir::createChart();
    Series1 = m_parts.bars;
    Series2 = m_parts.line;
    Chart1 = new QChartView(m_parts.chart, this); // the view owns its chart
    Chart1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Chart1->setRenderHint(QPainter::Antialiasing);
    Chart1->setBackgroundBrush(QColor(Qt::white));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(Chart1);
    resize(kClientWidth, kClientHeight + MainMenu1->sizeHint().height());

    m_pictureRequest.filter = luvir::kPictureFilters.join(QStringLiteral(";;"));
    m_pictureRequest.defaultSuffix = luvir::kPictureDefaultSuffix;
    m_pictureRequest.selectedFilter = luvir::kPictureFilters.constFirst();
}

TForm5::~TForm5() = default;

void TForm5::fillIntermediateChart(const luvir::ArchiveCell &cell, int row, const QString &dateTimeText)
{
    showContent(luvir::intermediateChartContent(cell, row, dateTimeText, luvir::systemDecimalSeparator()));
}

void TForm5::fillMeasurementsChart(const QList<luvir::Measurement> &measurements)
{
    showContent(luvir::measurementsChartContent(measurements, luvir::systemDecimalSeparator()));
}

void TForm5::ShowIntermediateChart(const luvir::ArchiveCell &cell, int row, const QString &dateTimeText)
{
    fillIntermediateChart(cell, row, dateTimeText);
    showCentredModal();
}

void TForm5::ShowMeasurementsChart(const QList<luvir::Measurement> &measurements)
{
    fillMeasurementsChart(measurements);
    showCentredModal();
}

void TForm5::showContent(const luvir::ChartContent &content)
{
    setWindowTitle(content.caption);
    // A new chart at every opening. The old one is deleted at once with all it drew: Qt
    // Charts deletes a removed axis' labels later, from the event loop, and a window opened
    // again from a command runs a loop of its own that never gets to them, so they would
    // stay drawn under the new axes.
    const luvir::ChartParts parts = luvir::createChart();
    luvir::showChartContent(parts, content);
    QChart *old = Chart1->chart();
    Chart1->setChart(parts.chart); // the view owns the new chart and lets go of the old one
    delete old;
    m_parts = parts;
    Series1 = parts.bars;
    Series2 = parts.line;
    m_content = content;
}

void TForm5::showCentredModal()
{
    if (QWidget *owner = parentWidget()) {
        const QRect frame = frameGeometry();
        move(owner->frameGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
    }
    exec();
}

void TForm5::N1Click()
{
    m_printLayout = {kPrintMarginPercent, false};
    // The print dialog lets the user choose the printer; the paper, orientation and margins
    // set on m_printer before stay as they were unless changed there.
    if (!luvir::askForPrinter(this, m_printer))
        return;
    QString error;
    if (!luvir::printChart(m_printer, m_content, m_printLayout, Chart1->size(), &error))
        luvir::dialogs().error(this, error);
}

void TForm5::N2Click()
{
    const QString fileName = luvir::dialogs().saveFileName(this, m_pictureRequest);
    if (fileName.isEmpty())
        return;
    m_pictureRequest.fileName = fileName;
    QString error;
    if (!luvir::writePicture(luvir::chartPicture(*Chart1), fileName, &error))
        luvir::dialogs().error(this,
            QStringLiteral("Не удалось сохранить рисунок в файл \"%1\": %2")
                .arg(QDir::toNativeSeparators(fileName), error));
}

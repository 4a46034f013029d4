#include "BarValueMarks.h"
#include "CellText.h"
#include "ChartDrawing.h"
#include "ChartPicture.h"
#include "FileSizeLimit.h"
#include "ScriptedDialogs.h"
#include "SmallFilesystem.h"
#include "TestData.h"
#include "Unit5.h"

#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cerrno>

using namespace luvir;
using luvir::test::makeCell;
using luvir::test::ScriptedDialogs;
using luvir::test::ShownDialog;

namespace {

class ChartWindow : public ::testing::Test
{
protected:
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    TForm5 form;

    QChart *chart() const { return form.Chart1->chart(); }
    QBarSet *barSet() const
    {
        return form.Series1->barSets().isEmpty() ? nullptr : form.Series1->barSets().first();
    }
    // The numbers under the bars, once laid out at the window's size.
    QStringList categories() const
    {
        layOut();
        const auto axes = chart()->axes(Qt::Horizontal);
        auto *axis = axes.isEmpty() ? nullptr : qobject_cast<QCategoryAxis *>(axes.first());
        return axis ? axis->categoriesLabels() : QStringList();
    }
    QString axisTitle(Qt::Orientation orientation) const
    {
        const auto axes = chart()->axes(orientation);
        return axes.size() == 1 ? axes.first()->titleText() : QStringLiteral("<%1 axes>").arg(axes.size());
    }
    // The window shown and laid out at its size: the legend shows its markers, the
    // numbers and value marks are fitted to the bars.
    void layOut() const
    {
        const_cast<TForm5 &>(form).show();
        QCoreApplication::sendPostedEvents();
    }
    QStringList visibleLegend() const
    {
        QStringList labels;
        layOut();
        if (!chart()->legend()->isVisible())
            return labels;
        for (QLegendMarker *marker : chart()->legend()->markers())
            if (marker->isVisible())
                labels << marker->label();
        return labels;
    }
    QStringList marks() const
    {
        layOut();
        const auto children = chart()->findChildren<BarValueMarks *>();
        return children.size() == 1 ? children.first()->texts() : QStringList();
    }
    QString path(const QString &name) const { return dir.filePath(name); }
};

// The decimal separator the window writes with.
QString sep()
{
    return systemDecimalSeparator();
}

} // namespace

TEST_F(ChartWindow, ShowsTheCellsValuesAsBarsOfTwoColoursWithALineAtR)
{
    form.fillIntermediateChart(
        makeCell({.impacts = {0x00FA, 0, 0x80FA, 0x8000}, .strength = 251}), 5, "03.12.2013 14:05:09");
    EXPECT_EQ(form.windowTitle(), "Диаграмма промежуточных значений");
    // Drawn as rich text: the second of the two spaces is a non-breaking one, so both show.
    EXPECT_EQ(chart()->title(), "Промежуточные значения &nbsp;Измерение №5 Дата 03.12.2013 14:05:09");

    ASSERT_NE(barSet(), nullptr);
    ASSERT_EQ(form.Series1->barSets().size(), 1);
    EXPECT_EQ(barSet()->count(), 3);
    EXPECT_DOUBLE_EQ(barSet()->at(0), 25.0);
    EXPECT_DOUBLE_EQ(barSet()->at(1), 25.0);
    EXPECT_DOUBLE_EQ(barSet()->at(2), 3276.8);
    EXPECT_EQ(barSet()->color(), QColor(255, 0, 0));
    EXPECT_EQ(barSet()->selectedColor(), QColor(0, 0, 255));
    EXPECT_EQ(barSet()->selectedBars(), QList<int> {1});
    EXPECT_EQ(categories(), (QStringList {"1", "3", "4"}));
    EXPECT_EQ(marks(), (QStringList {"25" + sep() + "0", "25" + sep() + "0", "3276" + sep() + "8"}));

    EXPECT_EQ(form.Series2->points(), (QList<QPointF> {{0, 25.1}, {1, 25.1}, {2, 25.1}}));
    EXPECT_EQ(form.Series2->pen().width(), 2);
    EXPECT_EQ(visibleLegend(), QStringList {"Среднее (25" + sep() + "1)"});
    EXPECT_EQ(axisTitle(Qt::Horizontal), "№ Удара");
    EXPECT_EQ(axisTitle(Qt::Vertical), "R, МПа");
    auto *yAxis = qobject_cast<QValueAxis *>(chart()->axes(Qt::Vertical).first());
    ASSERT_NE(yAxis, nullptr);
    EXPECT_GT(yAxis->max(), 3276.8); // room above the highest bar for its value
}

TEST_F(ChartWindow, AllZeroWordsLeaveTheTitleAndTheLegendOnly)
{
    form.fillIntermediateChart(makeCell({.strength = 250}), 1, "01.01.2020 00:00:00");
    EXPECT_TRUE(form.Series1->barSets().isEmpty());
    EXPECT_TRUE(form.Series2->points().isEmpty());
    EXPECT_TRUE(categories().isEmpty());
    EXPECT_TRUE(marks().isEmpty());
    EXPECT_FALSE(chart()->title().isEmpty());
    EXPECT_EQ(visibleLegend(), QStringList {"Среднее (25" + sep() + "0)"});
}

TEST_F(ChartWindow, EveryOpeningStartsFromNothing)
{
    form.fillMeasurementsChart(measurementsOf(test::sampleArchive(60)));
    EXPECT_EQ(form.windowTitle(), "Диаграмма измерений");
    form.fillIntermediateChart(test::sampleCell(0), 2, "x"); // every word set, some marked
    ASSERT_FALSE(barSet()->selectedBars().isEmpty());

    form.fillIntermediateChart(
        makeCell({.impacts = {0, 0, 0, 0, 0, 0, 253}, .strength = 250}), 7, "03.12.2013 14:05:09");
    EXPECT_EQ(form.windowTitle(), "Диаграмма промежуточных значений");
    EXPECT_EQ(chart()->title(), "Промежуточные значения &nbsp;Измерение №7 Дата 03.12.2013 14:05:09");
    ASSERT_EQ(form.Series1->barSets().size(), 1);
    EXPECT_EQ(barSet()->count(), 1);
    EXPECT_TRUE(barSet()->selectedBars().isEmpty());
    EXPECT_EQ(categories(), QStringList {"7"});
    EXPECT_EQ(marks(), QStringList {"25" + sep() + "3"});
    EXPECT_EQ(form.Series2->points(), QList<QPointF> {QPointF(0, 25.0)}); // a line of one point
    EXPECT_EQ(visibleLegend(), QStringList {"Среднее (25" + sep() + "0)"});
    EXPECT_EQ(axisTitle(Qt::Horizontal), "№ Удара");
    EXPECT_EQ(axisTitle(Qt::Vertical), "R, МПа");
    EXPECT_EQ(chart()->axes().size(), 2);
}

TEST_F(ChartWindow, MeasurementsChartHasABarPerRowAndTheMeanInTheLegend)
{
    const CellArchive archive = test::sampleArchive(12);
    form.fillMeasurementsChart(measurementsOf(archive));
    ASSERT_NE(barSet(), nullptr);
    EXPECT_EQ(barSet()->count(), 12);
    EXPECT_EQ(categories().first(), "1");
    EXPECT_EQ(categories().last(), "12");
    EXPECT_EQ(marks().size(), 12);
    // The twelve strengths are 20.0, 23.7, 27.4, 31.1, 34.8, 38.5, 22.2, 25.9, 29.6, 33.3,
    // 37.0 and 20.7: 344.2 in all, 28.68 on average.
    EXPECT_EQ(visibleLegend(), QStringList {"Среднее (28" + sep() + "7)"});
    EXPECT_EQ(axisTitle(Qt::Horizontal), "№ Измерения");

    // Too many bars to write every value: no marks, still a bar each.
    const CellArchive big = test::sampleArchive(999);
    form.fillMeasurementsChart(measurementsOf(big));
    EXPECT_EQ(barSet()->count(), 999);
    EXPECT_TRUE(marks().isEmpty());
    EXPECT_EQ(axisTitle(Qt::Horizontal), "№ Измерения");

    form.fillMeasurementsChart({});
    EXPECT_TRUE(form.Series1->barSets().isEmpty());
    EXPECT_EQ(chart()->title(), "Диаграмма измерений");
    EXPECT_TRUE(visibleLegend().isEmpty());
}

TEST_F(ChartWindow, ValueMarksFollowTheBarsWhenTheWindowIsResized)
{
    form.fillIntermediateChart(makeCell({.impacts = {100, 0, 300, 0x8000 + 200}, .strength = 200}), 1, "x");
    form.show();
    for (const QSize size : {QSize(667, 400), QSize(1000, 700), QSize(400, 300)}) {
        form.resize(size);
        QCoreApplication::sendPostedEvents();
        const auto *marks = chart()->findChild<BarValueMarks *>();
        ASSERT_NE(marks, nullptr);
        const QList<QRectF> rects = marks->rects();
        ASSERT_EQ(rects.size(), 3);
        for (int i = 0; i < 3; ++i) {
            const QPointF top = chart()->mapToPosition(QPointF(i, barSet()->at(i)), form.Series1);
            EXPECT_NEAR(rects.at(i).center().x(), top.x(), 1.0) << i << size.width();
            EXPECT_LT(rects.at(i).bottom(), top.y()) << i << size.width(); // above its bar
            EXPECT_GE(rects.at(i).top(), chart()->plotArea().top() - 1) << i << size.width(); // not clipped
        }
    }
}

TEST_F(ChartWindow, OpensModallyCentredOverItsOwnerAndReturnsWhenClosed)
{
    QWidget owner;
    owner.setGeometry(100, 100, 1000, 700);
    owner.show();
    TForm5 window(&owner);
    EXPECT_EQ(window.MainMenu1->actions().size(), 2);
    EXPECT_EQ(window.N1->text(), "Печать");
    EXPECT_EQ(window.N2->text(), "Экспорт");
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);

    bool looked = false;
    QTimer::singleShot(0, [&] {
        looked = true;
        EXPECT_EQ(QApplication::activeModalWidget(), &window);
        EXPECT_TRUE(window.Chart1->isVisible());
        EXPECT_EQ(window.Chart1->size(), QSize(667, 373));
        EXPECT_LE((window.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 4);
        window.close();
    });
    window.ShowIntermediateChart(test::sampleCell(3), 4, "01.02.2026 10:00:00");
    EXPECT_TRUE(looked);
    EXPECT_FALSE(window.isVisible());
}

// A keyboard user closes the chart as any dialog: Esc, wherever the focus is in it.
TEST_F(ChartWindow, EscClosesTheWindowFromTheChartAndFromTheMenu)
{
    QWidget owner;
    owner.setGeometry(100, 100, 1000, 700);
    owner.show();
    for (const bool fromMenu : {false, true}) {
        TForm5 window(&owner);
        bool looked = false;
        QTimer::singleShot(0, [&] {
            looked = true;
            window.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
            QWidget *target = fromMenu ? static_cast<QWidget *>(window.MainMenu1) : window.Chart1;
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Escape);
            if (window.isVisible()) {
                ADD_FAILURE() << "still open, focus in " << (fromMenu ? "the menu" : "the chart");
                window.close();
            }
        });
        window.ShowIntermediateChart(test::sampleCell(3), 4, "01.02.2026 10:00:00");
        EXPECT_TRUE(looked);
    }
}

TEST_F(ChartWindow, ExportWritesEachFormatAtTheChartsSize)
{
    form.fillIntermediateChart(test::sampleCell(1), 1, "x");
    form.show();
    const struct {
        const char *name;
        const char *format; // as QImageReader names it
    } cases[] = {
        {"a.jpg", "jpeg"},
        {"b.jpeg", "jpeg"},
        {"c.png", "png"},
        {"d.bmp", "bmp"},
        {"e.emf", "bmp"},
        {"f.wmf", "bmp"},
        {"g.JPG", "jpeg"},
    };
    // An existing file is replaced without a question.
    QFile old(path("c.png"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("not a picture");
    old.close();

    for (const auto &c : cases) {
        dialogs.fileAnswers = {path(c.name)};
        form.N2Click();
        QImageReader reader(path(c.name));
        EXPECT_EQ(reader.format(), c.format) << c.name;
        const QImage picture = reader.read();
        EXPECT_EQ(picture.size(), form.Chart1->size()) << c.name;
    }
    EXPECT_TRUE(dialogs.errors().isEmpty());
    EXPECT_TRUE(dialogs.texts(ShownDialog::Question).isEmpty());

    ASSERT_FALSE(dialogs.fileRequests.isEmpty());
    const FileDialogRequest &request = dialogs.fileRequests.first();
    EXPECT_EQ(request.filter,
        "JPEG Image File (*.jpg);;JPEG Image File (*.jpeg);;"
        "Portable Network Graphics (*.png);;Bitmaps (*.bmp);;"
        "Enhanced Metafiles (*.emf);;Metafiles (*.wmf)");
    EXPECT_EQ(request.selectedFilter, "JPEG Image File (*.jpg)");
    EXPECT_EQ(request.defaultSuffix, "JPG");
}

TEST_F(ChartWindow, ExportDrawsTheChartOnWhite)
{
    form.fillIntermediateChart(makeCell({.impacts = {100, 0x8000 + 100}, .strength = 100}), 1, "x");
    form.show();
    const QImage picture = chartPicture(*form.Chart1);
    EXPECT_EQ(picture.pixelColor(picture.width() / 2, 5), QColor(Qt::white));
    bool red = false, blue = false;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            red = red || picture.pixelColor(x, y) == QColor(255, 0, 0);
            blue = blue || picture.pixelColor(x, y) == QColor(0, 0, 255);
        }
    EXPECT_TRUE(red);
    EXPECT_TRUE(blue);
}

TEST_F(ChartWindow, CancelledExportWritesNothing)
{
    form.fillIntermediateChart(test::sampleCell(1), 1, "x");
    form.N2Click();
    EXPECT_EQ(dialogs.texts(ShownDialog::SaveFile).size(), 1);
    EXPECT_TRUE(dialogs.errors().isEmpty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(ChartWindow, ExportErrorIsShownAndTheWindowStays)
{
    form.fillIntermediateChart(test::sampleCell(1), 1, "x");
    form.show();
    // A folder that cannot hold the file: its "parent" is a plain file.
    QFile blocker(path("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString target = path("file/chart.png");
    dialogs.fileAnswers = {target};
    form.N2Click();
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_TRUE(dialogs.errors().first().contains(QDir::toNativeSeparators(target)));
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(QFile::exists(target));
}

TEST_F(ChartWindow, ADiskThatFillsPartWayIsToldWithThePictureFileAndItsReason)
{
    test::SmallFilesystem disk;
    LUVIR_NEED_SMALL_FILESYSTEM(disk);
    form.fillIntermediateChart(test::sampleCell(1), 1, "x");
    form.show();
    const QString target = disk.filePath("chart.bmp"); // three bytes a pixel: far more than 4 KiB
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("earlier picture");
    old.close();
    ASSERT_TRUE(disk.leaveFree(4096));

    dialogs.fileAnswers = {target};
    form.N2Click();
    ASSERT_EQ(dialogs.errors().size(), 1);
    const QString error = dialogs.errors().first();
    EXPECT_TRUE(error.startsWith("Не удалось сохранить рисунок в файл \"" + QDir::toNativeSeparators(target) + "\": "))
        << error.toStdString();
    EXPECT_TRUE(test::endsInSystemReason(error, ENOSPC)) << error.toStdString();
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "earlier picture");
    EXPECT_EQ(disk.files(), QStringList {"chart.bmp"}) << "no partial file may remain";
}

TEST_F(ChartWindow, PrintAfterThePrintDialogOnly)
{
    form.fillIntermediateChart(test::sampleCell(2), 1, "x");
    form.printer().setOutputFormat(QPrinter::PdfFormat);

    form.printer().setOutputFileName(path("cancelled.pdf"));
    dialogs.printerAnswers = {false};
    form.N1Click();
    // The dialog that lets the user choose the printer, not the page set-up alone.
    EXPECT_EQ(dialogs.texts(ShownDialog::Print).size(), 1);
    EXPECT_TRUE(dialogs.texts(ShownDialog::PrinterSetup).isEmpty());
    EXPECT_FALSE(QFile::exists(path("cancelled.pdf")));
    // The margins are set even when nothing is printed.
    EXPECT_DOUBLE_EQ(form.printLayout().marginPercent, 4.0);
    EXPECT_FALSE(form.printLayout().proportional);

    form.printer().setOutputFileName(path("printed.pdf"));
    dialogs.printerAnswers = {true};
    form.N1Click();
    QFile pdf(path("printed.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    EXPECT_TRUE(dialogs.errors().isEmpty());
}

TEST_F(ChartWindow, PrintKeepsThePageSettingsTheUserChose)
{
    form.fillIntermediateChart(test::sampleCell(2), 1, "x");
    QPrinter &printer = form.printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    const QMarginsF margins(12, 15, 18, 21);
    ASSERT_TRUE(printer.setPageMargins(margins, QPageLayout::Millimeter));

    for (const char *name : {"first.pdf", "second.pdf"}) {
        printer.setOutputFileName(path(name));
        dialogs.printerAnswers = {true};
        form.N1Click();
        ASSERT_TRUE(dialogs.errors().isEmpty()) << dialogs.errors().join(' ').toStdString();

        // As it left the printer: landscape A4, 842 x 595 points.
        QProcess info;
        info.start("pdfinfo", {path(name)});
        ASSERT_TRUE(info.waitForFinished(30000));
        const QByteArray pdfInfo = info.readAllStandardOutput();
        EXPECT_TRUE(pdfInfo.contains("842 x 595 pts (A4)")) << pdfInfo.toStdString();

        // And as the next dialog finds it.
        EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape) << name;
        EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4) << name;
        EXPECT_EQ(printer.pageLayout().margins(QPageLayout::Millimeter), margins) << name;
        EXPECT_EQ(printer.pageLayout().mode(), QPageLayout::StandardMode) << name;
    }
}

TEST_F(ChartWindow, PrintErrorIsShownAndTheWindowStays)
{
    form.fillIntermediateChart(test::sampleCell(2), 1, "x");
    form.show();
    form.printer().setOutputFormat(QPrinter::PdfFormat);
    form.printer().setOutputFileName(path("missing/folder/out.pdf"));
    dialogs.printerAnswers = {true};
    form.N1Click();
    EXPECT_EQ(dialogs.errors().size(), 1);
    EXPECT_TRUE(form.isVisible());
}

TEST_F(ChartWindow, PrintToAFileThatCannotBeCompletedIsToldAndLeavesNoBrokenFile)
{
    form.fillIntermediateChart(test::sampleCell(2), 1, "x");
    form.show();
    form.printer().setOutputFormat(QPrinter::PdfFormat);
    const QString file = path("chart.pdf");
    form.printer().setOutputFileName(file);
    dialogs.printerAnswers = {true};
    {
        const test::FileSizeLimit diskFull(4096); // the disk fills part-way
        form.N1Click();
    }
    ASSERT_EQ(dialogs.errors().size(), 1);
    const QString quoted = "\"" + QDir::toNativeSeparators(file) + "\": ";
    EXPECT_TRUE(dialogs.errors().first().startsWith("Не удалось напечатать в файл " + quoted))
        << dialogs.errors().first().toStdString();
    EXPECT_GT(dialogs.errors().first().size(), dialogs.errors().first().indexOf(quoted) + quoted.size());
    EXPECT_TRUE(QDir(dir.path()).isEmpty()) << "no file, whole or broken, is left";
    EXPECT_TRUE(form.isVisible());
}

TEST(ChartPrintArea, MarginsInPerCentOfThePageAndTheScreenRatioWhenProportional)
{
    const QRectF page(0, 0, 1000, 2000);
    EXPECT_EQ(chartPrintArea(page, {4.0, false}, QSizeF(667, 373)), QRectF(40, 80, 920, 1840));
    const QRectF kept = chartPrintArea(page, {4.0, true}, QSizeF(460, 230));
    EXPECT_EQ(kept, QRectF(40, 770, 920, 460));
}

#include "MainWindowFixture.h"

#include "ChartContent.h"
#include "Unit5.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace luvir;
using luvir::test::MainWindowTest;

namespace {

class ChartCommandTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        window->show();
    }

    // Runs `action`; returns the chart window's caption and title if it opened modally.
    QStringList chartOpenedBy(const std::function<void()> &action)
    {
        QStringList seen;
        QTimer::singleShot(0, [&] {
            if (auto *chart = qobject_cast<TForm5 *>(QApplication::activeModalWidget())) {
                seen << chart->windowTitle() << chart->shownContent().title;
                chart->close();
            }
        });
        action();
        QCoreApplication::processEvents(); // a timer that found no window must not outlive the test
        return seen;
    }
};

} // namespace

TEST_F(ChartCommandTest, DoubleClickAndEnterChartTheCurrentRow)
{
    openSample(5);
    window->selectRow(3);
    const QString title = "Промежуточные значения  Измерение №3 Дата " + window->table().text(1, 3);
    const QStringList expected{kIntermediateChartCaption, title};

    EXPECT_EQ(chartOpenedBy([&] { window->StringGrid1DblClick(); }), expected);
    const QRect row3 = window->StringGrid1->visualRect(window->StringGrid1->model()->index(2, 1));
    EXPECT_EQ(chartOpenedBy([&] { QTest::mouseDClick(window->StringGrid1->viewport(), Qt::LeftButton, {}, row3.center()); }),
              expected);
    for (Qt::KeyboardModifiers shift : {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier})
        EXPECT_EQ(chartOpenedBy([&] { QTest::keyClick(window->StringGrid1, Qt::Key_Return, shift); }), expected);
    // The header row charts the current row, which a click on it does not change.
    EXPECT_EQ(chartOpenedBy([&] {
                  QTest::mouseDClick(window->StringGrid1->horizontalHeader()->viewport(), Qt::LeftButton, {},
                                     QPoint(10, 5));
              }),
              expected);
    EXPECT_TRUE(chartOpenedBy([&] { QTest::keyClick(window->StringGrid1, Qt::Key_Space); }).isEmpty());
}

TEST_F(ChartCommandTest, TitleTakesTheRowPositionAfterADeletion)
{
    openSample(4);
    window->selectRow(2);
    window->ToolButton8->click();
    const QStringList seen = chartOpenedBy([&] { window->StringGrid1DblClick(); });
    ASSERT_EQ(seen.size(), 2);
    EXPECT_TRUE(seen[1].startsWith("Промежуточные значения  Измерение №2 Дата ")) << seen[1].toStdString();
    EXPECT_EQ(window->table().text(0, 2), "3");
}

TEST_F(ChartCommandTest, NoMeasurementRowOpensNoChart)
{
    openSample(1);
    window->ToolButton8->click();
    EXPECT_TRUE(chartOpenedBy([&] { window->StringGrid1DblClick(); }).isEmpty());
    EXPECT_TRUE(chartOpenedBy([&] { QTest::keyClick(window->StringGrid1, Qt::Key_Enter); }).isEmpty());
}

TEST_F(ChartCommandTest, MeasurementsChartFromTheDataMenu)
{
    openSample(6);
    const QStringList seen = chartOpenedBy([&] { window->N14->trigger(); });
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen[0], kMeasurementsChartCaption);
}

#include "MainWindowFixture.h"

#include "ReportPreview.h"

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QToolButton>

using namespace luvir;
using luvir::test::MainWindowTest;

namespace {

// The master-data lines of a prepared report, first cell of each.
QStringList firstCells(const PreparedReport &report)
{
    QStringList cells;
    for (const PreparedPage &page : report.pages)
        for (const PreparedBand &band : page.bands)
            if (band.kind == ReportBand::MasterData && !band.texts.isEmpty())
                cells << band.texts.constFirst().text;
    return cells;
}

} // namespace

TEST_F(MainWindowTest, PrintShowsTheTableAsShownInThePreview)
{
    openSample(4);
    window->selectRow(2);
    window->ToolButton8->click(); // the report prints the table as shown: 1, 3, 4

    for (const std::function<void()> &print : std::initializer_list<std::function<void()>>{
             [&] { window->ToolButton6->click(); }, [&] { window->N6->trigger(); }}) {
        QStringList lines;
        bool maximised = false;
        QTimer::singleShot(0, [&] {
            if (auto *preview = qobject_cast<ReportPreview *>(QApplication::activeModalWidget())) {
                lines = firstCells(preview->report());
                maximised = preview->windowState() & Qt::WindowMaximized;
                preview->close();
            }
        });
        print();
        EXPECT_EQ(lines, (QStringList{"№", "1", "3", "4"}));
        EXPECT_TRUE(maximised);
    }
}

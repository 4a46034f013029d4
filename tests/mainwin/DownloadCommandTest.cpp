#include "MainWindowFixture.h"

#include "MeterSim.h"
#include "Unit2.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

using namespace luvir;
using luvir::test::MainWindowTest;

namespace {

class DownloadCommandTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        sim::meter().reset();
    }

    // While the download dialog is up, press one of its buttons.
    static void whenDialogShows(QPushButton *TForm2::*button)
    {
        QTimer::singleShot(0, [button] {
            if (auto *dialog = qobject_cast<TForm2 *>(QApplication::activeModalWidget()))
                (dialog->*button)->click();
        });
    }
};

} // namespace

TEST_F(DownloadCommandTest, MenuAndToolbarDownloadTheWholeArchive)
{
    sim::meter().generateCells(300);
    whenDialogShows(&TForm2::Button1);
    window->N13->trigger();
    EXPECT_EQ(window->statusText(0), "Готово");
    EXPECT_TRUE(window->session().DownloadCompleted);
    EXPECT_EQ(window->session().archive.Count, 300);
    EXPECT_EQ(window->table().rowCount(), 301);
    EXPECT_TRUE(tableShown());
    EXPECT_TRUE(window->N3->isEnabled());
    EXPECT_FALSE(downloadDialog->isVisible());
    EXPECT_TRUE(dialogs.shown.isEmpty()) << "one meter: no box at all";

    sim::meter().generateCells(3);
    whenDialogShows(&TForm2::Button1);
    window->ToolButton1->click();
    EXPECT_EQ(window->session().archive.Count, 3);
    EXPECT_EQ(window->table().rowCount(), 4);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(window->session().archive.Cells[static_cast<std::size_t>(i)],
                  sim::meter().cells()[static_cast<std::size_t>(i)]);

    // Saved after a download: no notice.
    window->setStatus("до");
    dialogs.fileAnswers << path("meter.db");
    window->N3->trigger();
    EXPECT_EQ(window->statusText(0), "до");
}

TEST_F(DownloadCommandTest, NoMeterTellsTheUserAndOpensNothing)
{
    sim::meter().setDeviceCount(0);
    window->N13->trigger();
    EXPECT_EQ(dialogs.messages(), QStringList{"Устройство не обнаружено"});
    EXPECT_EQ(window->statusText(0), "Устройство не обнаружено");
    EXPECT_FALSE(tableShown());
}

TEST_F(DownloadCommandTest, CancelledDialogLeavesBlankRowsAndTheArchive)
{
    openSample(4);
    const CellArchive before = window->session().archive;
    sim::meter().generateCells(50);
    whenDialogShows(&TForm2::Button2);
    window->N13->trigger();
    EXPECT_TRUE(window->session().archive.sameContents(before));
    EXPECT_EQ(window->table().rowCount(), 5);
    EXPECT_EQ(window->table().text(0, 1), "") << "the rows were blanked on showing";
    EXPECT_EQ(window->table().text(0, 0), "№");
    EXPECT_EQ(window->statusText(0), "Считано успешно");
}

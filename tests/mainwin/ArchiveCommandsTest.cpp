#include "MainWindowFixture.h"

#include "CellText.h"
#include "Crc.h"
#include "MeasurementTable.h"
#include "NoFreeFileDescriptors.h"

#include <QAction>
#include <QSignalSpy>
#include <QTableView>
#include <QToolButton>

#include <unistd.h>

using namespace luvir;
using luvir::test::MainWindowTest;
using luvir::test::sampleArchive;
using luvir::test::ShownDialog;


TEST_F(MainWindowTest, OpeningAFileShowsItsTable)
{
    open(writeArchiveFile("a.db", sampleArchive(5), {1, 3}));
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_EQ(window->statusText(0), "Готово");
    EXPECT_TRUE(tableShown());
    EXPECT_TRUE(window->N3->isEnabled());
    EXPECT_EQ(window->session().archive.Count, 5);
    EXPECT_EQ(window->session().version, (ProtocolVersion{1, 3}));
    EXPECT_FALSE(window->session().DownloadCompleted);
    EXPECT_EQ(window->table(), buildMeasurementTable(sampleArchive(5), systemDecimalSeparator()));
    EXPECT_EQ(window->currentRow(), 1);
    EXPECT_EQ(window->statusText(1), "") << "a rebuild is no selection";

    // A shorter archive replaces every row of the longer one.
    open(writeArchiveFile("b.db", sampleArchive(2)));
    EXPECT_EQ(window->table().rowCount(), 3);
    EXPECT_EQ(window->StringGrid1->model()->rowCount(), 2);
}

TEST_F(MainWindowTest, ARebuildLeavesTheCurrentRowWhereItWas)
{
    openSample(5);
    window->selectRow(4);
    const QString panel1 = window->statusText(1);
    // Each step opens an archive of `cells` cells; the current row is then `row`
    // (0: none), and the Delete command acts on that row.
    const struct {
        int cells, row;
    } steps[] = {
        {7, 4}, // more rows: it stays
        {4, 4}, // exactly as many: it stays
        {2, 2}, // fewer rows: the last one
        {5, 2}, // more again: it does not jump back
        {0, 0}, // no data row: none
        {3, 1}, // after an empty table: the first
    };
    for (const auto &step : steps) {
        openSample(step.cells);
        EXPECT_EQ(window->currentRow(), step.row) << step.cells;
        EXPECT_EQ(window->statusText(1), panel1) << "a rebuild is no selection";
    }

    window->ToolButton8->click(); // deletes row 1 of three: cells 1 and 2 remain
    ASSERT_EQ(window->session().archive.Count, 2);
    EXPECT_TRUE(window->session().archive.Cells[0] == sampleArchive(3).Cells[1]);
}

TEST_F(MainWindowTest, OpenDialogOffersTheArchiveFilterAndTheLastName)
{
    const QString file = writeArchiveFile("a.db", sampleArchive(1));
    open(file);
    open(QString()); // cancelled: nothing changes
    ASSERT_EQ(dialogs.fileRequests.size(), 2);
    EXPECT_EQ(dialogs.fileRequests[0].filter, "Архив (*.db)");
    EXPECT_EQ(dialogs.fileRequests[0].defaultSuffix, "db");
    EXPECT_EQ(dialogs.fileRequests[1].fileName, file);
    EXPECT_EQ(window->session().archive.Count, 1);
}

TEST_F(MainWindowTest, RefusedFilesChangeNothing)
{
    openSample(3);
    window->selectRow(2);
    const TForm1 &w = *window;
    const CellArchive before = w.session().archive;
    const MeasurementTable tableBefore = w.table();
    const QString panel1 = w.statusText(1);

    const QByteArray good = ArchiveWriter::toBytes(sampleArchive(2), {1, 0});
    QByteArray countLowered = good.left(good.size() - 2);
    countLowered[2] = 1;
    const struct {
        const char *name;
        QByteArray bytes;
        const char *message; // nullptr: a platform error in the error box
    } cases[] = {
        {"crc.db", good.left(good.size() - 1), "Ошибка файла CRC"},
        {"stage0.db", QByteArray("\xFF\xFF", 2), "Ошибка размера файла стадия 0"},
        {"stage1.db", test::withCrc(countLowered), "Ошибка размера файла стадия 1"},
        {"empty.db", QByteArray(), nullptr},
        {"one.db", QByteArray(1, '\x01'), nullptr},
    };
    for (const auto &c : cases) {
        dialogs.clear();
        window->setStatus("до");
        open(writeBytes(c.name, c.bytes));
        ASSERT_EQ(dialogs.shown.size(), 2) << c.name; // the open dialog, then one box
        if (c.message) {
            EXPECT_EQ(dialogs.messages(), QStringList{c.message}) << c.name;
            EXPECT_EQ(w.statusText(0), c.message) << c.name;
        } else {
            ASSERT_EQ(dialogs.errors().size(), 1) << c.name;
            EXPECT_TRUE(dialogs.errors()[0].contains(c.name)) << dialogs.errors()[0].toStdString();
            EXPECT_EQ(w.statusText(0), "до") << c.name;
        }
        EXPECT_TRUE(w.session().archive.sameContents(before)) << c.name;
        EXPECT_EQ(w.table(), tableBefore) << c.name;
        EXPECT_EQ(w.currentRow(), 2) << c.name;
        EXPECT_EQ(w.statusText(1), panel1) << c.name;
    }

    dialogs.clear();
    open(path("missing.db"));
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_TRUE(dialogs.errors()[0].contains("missing.db"));
    EXPECT_TRUE(w.session().archive.sameContents(before));
}

TEST_F(MainWindowTest, SavedFileIsTheOpenedFileByteForByte)
{
    const QString original = writeArchiveFile("a.db", sampleArchive(7), {2, 9});
    open(original);
    dialogs.fileAnswers << path("copy.db");
    window->N3->trigger();
    EXPECT_EQ(readBytes(path("copy.db")), readBytes(original));
    EXPECT_EQ(window->statusText(0), "Сначала считайте архив!");
    ASSERT_EQ(dialogs.fileRequests.size(), 2);
    EXPECT_TRUE(dialogs.fileRequests[1].fileName.isEmpty()) << "an opened name is never offered for saving";

    // Saving again replaces without a question and gives the same bytes.
    dialogs.fileAnswers << path("copy.db");
    window->ToolButton3->click();
    EXPECT_EQ(readBytes(path("copy.db")), readBytes(original));
    EXPECT_EQ(dialogs.fileRequests.last().fileName, path("copy.db"));
    EXPECT_TRUE(dialogs.texts(ShownDialog::Question).isEmpty());
}

TEST_F(MainWindowTest, SaveNoticeDependsOnACompletedDownload)
{
    openSample(2);
    window->setStatus("до");
    window->N3->trigger(); // cancelled
    EXPECT_EQ(window->statusText(0), "Сначала считайте архив!");

    window->session().DownloadCompleted = true;
    window->setStatus("до");
    dialogs.fileAnswers << path("x.db");
    window->N3->trigger();
    EXPECT_EQ(window->statusText(0), "до");
    EXPECT_TRUE(QFile::exists(path("x.db")));
}

TEST_F(MainWindowTest, AFailedSaveKeepsTheEarlierFile)
{
    openSample(3);
    dialogs.fileAnswers << dir.path(); // a folder
    window->N3->trigger();
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_EQ(dialogs.shown.last().caption, "ЛЮВИР-2.07");

    dialogs.clear();
    dialogs.fileAnswers << path("no/such/folder/a.db");
    window->N3->trigger();
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_TRUE(dialogs.errors()[0].contains("a.db"));

    // Onto an existing file, when no new file can be made beside it: the process has no
    // file descriptor left (whoever runs the test), and a read-only folder (root writes
    // into one anyway).
    const QString target = writeArchiveFile("keep.db", sampleArchive(9));
    const QByteArray before = readBytes(target);
    dialogs.clear();
    dialogs.fileAnswers << target;
    {
        test::NoFreeFileDescriptors noneLeft;
        ASSERT_TRUE(noneLeft.active());
        window->N3->trigger();
    }
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_TRUE(dialogs.errors()[0].contains("keep.db")) << dialogs.errors()[0].toStdString();
    EXPECT_EQ(readBytes(target), before);

    if (::geteuid() != 0) {
        ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        dialogs.clear();
        dialogs.fileAnswers << target;
        window->N3->trigger();
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ASSERT_EQ(dialogs.errors().size(), 1);
        EXPECT_TRUE(dialogs.errors()[0].contains("keep.db"));
        EXPECT_EQ(readBytes(target), before);
    }
}

TEST_F(MainWindowTest, SelectingARowShowsItsIntermediateValues)
{
    CellArchive archive;
    archive.Count = 2;
    archive.Cells[1] = test::makeCell({.impacts = {253, 0, 261, 0x8000 + 248}, .strength = 250});
    open(writeArchiveFile("a.db", archive));
    window->selectRow(2);
    EXPECT_EQ(window->statusText(1),
              QString("Промежуточные значения: 25.3; 26.1; 24.8; ").replace('.', systemDecimalSeparator()));
    EXPECT_EQ(window->statusText(2), "График - двойной клик по строке");
    window->selectRow(1);
    EXPECT_EQ(window->statusText(1), "Промежуточные значения: ");
}

TEST_F(MainWindowTest, DeletingARowMovesTheRestUp)
{
    openSample(4);
    const CellArchive before = window->session().archive;
    window->selectRow(2);
    const QString panel1 = window->statusText(1);
    window->ToolButton8->click();

    const auto &w = *window;
    EXPECT_EQ(w.session().archive.Count, 3);
    EXPECT_EQ(w.session().archive.Cells[1], before.Cells[2]);
    EXPECT_EQ(w.table().text(0, 1), "1");
    EXPECT_EQ(w.table().text(0, 2), "3");
    EXPECT_EQ(w.table().text(0, 3), "4");
    EXPECT_EQ(w.currentRow(), 2);
    EXPECT_EQ(w.statusText(1), panel1) << "the status keeps the deleted row's values";
    EXPECT_TRUE(dialogs.shown.isEmpty());

    window->selectRow(1);
    window->selectRow(2); // a new selection reads the cell now in that row
    EXPECT_EQ(w.statusText(1), intermediateValuesLine(before.Cells[2], systemDecimalSeparator()));

    window->selectRow(3);
    window->N11->trigger(); // Правка > Удалить строку does the same
    EXPECT_EQ(w.session().archive.Count, 2);
    EXPECT_EQ(w.currentRow(), 2) << "the selection moves up to the new last row";
    EXPECT_EQ(w.statusText(1), intermediateValuesLine(before.Cells[2], systemDecimalSeparator()));
}

TEST_F(MainWindowTest, DeletingEveryRowLeavesTheHeaderAndAnEmptyArchive)
{
    openSample(1);
    window->ToolButton8->click();
    EXPECT_EQ(window->session().archive.Count, 0);
    EXPECT_EQ(window->table().rowCount(), 1);
    window->ToolButton8->click(); // nothing left: nothing happens
    EXPECT_EQ(window->table().rowCount(), 1);

    dialogs.fileAnswers << path("empty.db");
    window->N3->trigger();
    EXPECT_EQ(readBytes(path("empty.db")), QByteArray("\x01\x00\x00\x00\xBF\xCC", 6));
}

TEST_F(MainWindowTest, DeletedRowsAreGoneAfterSaveAndReopen)
{
    openSample(5);
    window->selectRow(3);
    window->ToolButton8->click();
    dialogs.fileAnswers << path("fewer.db");
    window->N3->trigger();
    open(path("fewer.db"));
    EXPECT_EQ(window->session().archive.Count, 4);
    for (int r = 1; r <= 4; ++r)
        EXPECT_EQ(window->table().text(0, r), QString::number(r));
}

TEST_F(MainWindowTest, CloseAsksThenHidesTheTable)
{
    openSample(3);
    dialogs.questionAnswers << false;
    window->N4->trigger();
    ASSERT_EQ(dialogs.texts(ShownDialog::Question), QStringList{"Сохранить файл"});
    EXPECT_EQ(dialogs.shown[0].caption, "Внимание");
    EXPECT_FALSE(tableShown());
    EXPECT_FALSE(window->N3->isEnabled());
    EXPECT_EQ(window->session().archive.Count, 3) << "the archive stays in memory";

    openSample(3);
    dialogs.questionAnswers << true;
    dialogs.fileAnswers << QString(); // OK, then the save dialog cancelled
    window->N4->trigger();
    EXPECT_FALSE(tableShown());

    openSample(3);
    dialogs.questionAnswers << true;
    dialogs.fileAnswers << dir.path(); // the save fails: the table stays
    window->N4->trigger();
    EXPECT_EQ(dialogs.errors().size(), 1);
    EXPECT_TRUE(tableShown());
    EXPECT_TRUE(window->N3->isEnabled());
}

TEST_F(MainWindowTest, ExitAsksOnlyAboveSixCells)
{
    QSignalSpy terminate(window.get(), &TForm1::terminateRequested);
    const struct {
        int cells;
        bool asks;
    } cases[] = {{0, false}, {6, false}, {7, true}};
    for (const auto &c : cases) {
        window->session().archive = sampleArchive(c.cells);
        dialogs.clear();
        terminate.clear();
        window->N8->trigger();
        EXPECT_EQ(dialogs.texts(ShownDialog::Question).size(), c.asks ? 1 : 0) << c.cells;
        EXPECT_EQ(terminate.size(), 1) << c.cells;
    }

    // OK saves first; a failing save keeps the program running.
    dialogs.clear();
    terminate.clear();
    dialogs.questionAnswers << true;
    dialogs.fileAnswers << path("exit.db");
    window->N8->trigger();
    EXPECT_TRUE(QFile::exists(path("exit.db")));
    EXPECT_EQ(terminate.size(), 1);

    terminate.clear();
    dialogs.questionAnswers << true;
    dialogs.fileAnswers << dir.path();
    window->N8->trigger();
    EXPECT_EQ(terminate.size(), 0);
}

TEST_F(MainWindowTest, ExitCountsTheCellsOfAClosedArchive)
{
    openSample(7);
    window->N4->trigger(); // Cancel
    dialogs.clear();
    dialogs.questionAnswers << true;
    dialogs.fileAnswers << path("closed.db");
    window->N8->trigger();
    EXPECT_EQ(dialogs.texts(ShownDialog::Question).size(), 1);
    EXPECT_EQ(readBytes(path("closed.db")), ArchiveWriter::toBytes(sampleArchive(7), {1, 0}));
}

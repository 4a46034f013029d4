// The statistics window through its model, its copy and save commands, and from the main
// window's menu as a user opens it.
#include "StatsWindow.h"
#include "FileSizeLimit.h"
#include "MainWindowFixture.h"
#include "SeriesTable.h"
#include "SmallFilesystem.h"
#include "StatsTestData.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cerrno>

using namespace luvir;
using namespace luvir::test;

namespace {

CellArchive readSample(const QString &name)
{
    ArchiveImage image;
    ArchiveReader reader;
    EXPECT_EQ(reader.read(testDataPath(name), image), ArchiveReader::Status::Ok);
    return image.archive;
}

// The lines of a reviewed output without its title line, split into fields.
QList<QStringList> goldenGroups(const QString &name)
{
    QList<QStringList> lines;
    for (const QString &line : goldenText(name).split('\n', Qt::SkipEmptyParts).mid(1))
        lines << line.split('\t');
    return lines;
}

// What the window shows: its model's texts, with the warning mark written as "!".
QList<QStringList> shownGroups(const SeriesTableModel &model)
{
    QList<QStringList> lines;
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList fields;
        for (int c = 0; c < model.columnCount(); ++c)
            fields << model.data(model.index(r, c)).toString();
        if (!model.data(model.index(r, 0), Qt::DecorationRole).isNull())
            fields[0] += '!';
        lines << fields;
    }
    return lines;
}

TEST(StatsWindow, ShowsTheReviewedFiguresOfTheSampleArchive)
{
    const CellArchive archive = readSample("sample-300.db");
    StatsWindow window(measurementsOf(archive), ",");
    EXPECT_EQ(window.windowTitle(), "Статистика измерений");
    EXPECT_EQ(window.FromNumber->value(), 1);
    EXPECT_EQ(window.ToNumber->value(), 300);
    const QStringList titles {"Группа", "n", "Rmin", "Rmax", "Rm", "Sm", "Vm, %"};
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(window.model().headerData(c, Qt::Horizontal).toString(), titles.at(c));

    EXPECT_EQ(shownGroups(window.model()), goldenGroups("sample-300-by-kind.comma.out").mid(0, 1));
    window.ByKind->setChecked(true);
    EXPECT_EQ(shownGroups(window.model()), goldenGroups("sample-300-by-kind.comma.out"));
    window.FromNumber->setValue(10);
    window.ToNumber->setValue(39);
    EXPECT_EQ(shownGroups(window.model()), goldenGroups("sample-300-rows-10-39.comma.out"));

    // Every group of the sample mixes calibrations; the tooltip says what.
    const QString tip = window.model().data(window.model().index(0, 3), Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.startsWith("Смешаны зависимости (")) << tip.toStdString();
    EXPECT_TRUE(tip.endsWith(": прочность вычислена по разным градуировкам.")) << tip.toStdString();
}

TEST(StatsWindow, AGroupThatMixesNothingHasNoMark)
{
    StatsWindow window(measurementsOf(readSample("one-cell.db")), ".");
    EXPECT_EQ(shownGroups(window.model()), goldenGroups("one-cell.out"));
    EXPECT_TRUE(window.model().data(window.model().index(0, 0), Qt::ToolTipRole).isNull());
}

// Types `text` over the box's number, as a user does: each keystroke is a value on its own.
void typeNumber(QSpinBox *box, const QString &text)
{
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
}

TEST(StatsWindow, TheRangeKeepsWhatTheUserTyped)
{
    // Sixty measurements of 20.0, 20.1 … 25.9 MPa.
    std::vector<std::uint16_t> strengths;
    for (std::uint16_t t = 200; t < 260; ++t)
        strengths.push_back(t);
    StatsWindow window(measurementsOf(archiveOfStrengths(strengths)), ".");
    window.show();
    const auto shown = [&](int column) { return window.model().data(window.model().index(0, column)).toString(); };

    typeNumber(window.FromNumber, "50");
    EXPECT_EQ(shown(1), "11"); // 50 to 60
    EXPECT_TRUE(window.RangeNote->isHidden());

    // "10" passes through "1", below the start: neither box is changed behind the user's back.
    typeNumber(window.ToNumber, "10");
    EXPECT_EQ(window.FromNumber->value(), 50);
    EXPECT_EQ(window.ToNumber->value(), 10);
    EXPECT_EQ(shown(1), "0");
    EXPECT_EQ(shown(4), "—");
    EXPECT_FALSE(window.RangeNote->isHidden());

    typeNumber(window.ToNumber, "52"); // 50, 51, 52: 24.9, 25.0, 25.1
    EXPECT_EQ(window.FromNumber->value(), 50);
    EXPECT_EQ(shown(1), "3");
    EXPECT_EQ(shown(4), "25.0");
    EXPECT_TRUE(window.RangeNote->isHidden());

    // The boxes stop at the first and the last number.
    window.ToNumber->setValue(99);
    window.FromNumber->setValue(0);
    EXPECT_EQ(window.FromNumber->value(), 1);
    EXPECT_EQ(window.ToNumber->value(), 60);
}

// Tab walks the window's controls in their order and leaves the table for the buttons: a
// keyboard user reaches "Копировать", "Сохранить CSV…" and "Закрыть" from the table.
TEST(StatsWindow, TabLeavesTheTableForTheButtons)
{
    StatsWindow window(measurementsOf(readSample("one-cell.db")), ".");
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.Table->setFocus();
    const QList<QWidget *> order = {window.CopyButton, window.SaveButton, window.CloseButton};
    for (QWidget *next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->metaObject()->className();
    }
    window.CopyButton->setFocus();
    QTest::keyClick(window.CopyButton, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), window.Table);
}

TEST(StatsWindow, AnEmptyArchiveGivesAnEmptySeries)
{
    StatsWindow window({}, ",");
    EXPECT_FALSE(window.FromNumber->isEnabled());
    EXPECT_EQ(shownGroups(window.model()), goldenGroups("empty-v1.0.out"));
}

class StatsWindowFiles : public ::testing::Test
{
protected:
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
};

TEST_F(StatsWindowFiles, CopiesAndSavesWhatItShows)
{
    const CellArchive archive = archiveOf({
        {.strength = 253, .elementKind = 2, .dependency = 0, .kc = 100},
        {.strength = 250, .elementKind = 3, .dependency = 0, .kc = 95},
    });
    StatsWindow window(measurementsOf(archive), ",");
    window.ByKind->setChecked(true);
    // The group's name as it is, the warning in a column of its own.
    const QString expected
        = "Группа\tn\tRmin\tRmax\tRm\tSm\tVm, %\tПредупреждение\n"
          "Все измерения\t2\t25\t25,3\t25,2\t0,2\t0,8\t"
          "Смешаны Kc (1,00; 0,95): прочность вычислена по разным градуировкам.\n"
          "колонна\t1\t25,3\t25,3\t25,3\t—\t—\t\n"
          "балка\t1\t25\t25\t25,0\t—\t—\t\n";
    window.CopyButton->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);

    const QString csv = dir.filePath("stats.csv");
    dialogs.fileAnswers << csv;
    window.SaveButton->click();
    ASSERT_EQ(dialogs.fileRequests.size(), 1);
    EXPECT_EQ(dialogs.fileRequests.first().defaultSuffix, "csv");
    EXPECT_TRUE(dialogs.errors().isEmpty());

    // Read back by Python's CSV reader, as a spreadsheet would.
    QProcess python;
    python.start("python3",
        {"-c",
            "import csv,sys\n"
            "rows = csv.reader(open(sys.argv[1], encoding='utf-8-sig', newline=''), delimiter=';')\n"
            "sys.stdout.buffer.write(''.join('\\t'.join(r) + '\\n' for r in rows).encode())",
            csv});
    ASSERT_TRUE(python.waitForFinished(30000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(python.readAllStandardOutput()), expected);

    // A folder that does not exist: the error box names the file; nothing is written.
    const QString missing = dir.filePath("no-such-folder/stats.csv");
    dialogs.fileAnswers << missing;
    window.SaveButton->click();
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_TRUE(dialogs.errors().first().startsWith("Не удалось сохранить файл \"" + missing + "\": "))
        << dialogs.errors().first().toStdString();
    EXPECT_FALSE(QFile::exists(missing));
}

TEST_F(StatsWindowFiles, AWriteThatStoresPartOfTheFileIsToldWithTheSystemsReason)
{
    StatsWindow window(measurementsOf(archiveOf({{.strength = 253}, {.strength = 250}})), ",");
    const QString csv = dir.filePath("stats.csv");
    QFile earlier(csv);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier");
    earlier.close();
    dialogs.fileAnswers << csv;
    {
        // The table is longer: the write stores 100 bytes, the next one is refused.
        test::FileSizeLimit limit(100);
        window.SaveButton->click();
    }
    ASSERT_EQ(dialogs.errors().size(), 1);
    const QString error = dialogs.errors().first();
    EXPECT_TRUE(error.startsWith("Не удалось сохранить файл \"" + csv + "\": ")) << error.toStdString();
    EXPECT_TRUE(test::endsInSystemReason(error, EFBIG)) << error.toStdString();
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), "earlier");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList {"stats.csv"});
}

class StatsCommandTest : public MainWindowTest
{
protected:
    // Runs `action`; returns the statistics window's lines if it opened modally.
    QList<QStringList> statsOpenedBy(const std::function<void()> &action, QSize *size = nullptr)
    {
        QList<QStringList> seen;
        QTimer::singleShot(0, [&] {
            if (auto *stats = qobject_cast<StatsWindow *>(QApplication::activeModalWidget())) {
                seen = shownGroups(stats->model());
                if (size)
                    *size = stats->frameGeometry().size();
                stats->CloseButton->click();
            }
        });
        action();
        QCoreApplication::processEvents();
        return seen;
    }
};

TEST_F(StatsCommandTest, DataMenuOpensTheWindowOverTheTableAsShown)
{
    window->show();
    EXPECT_FALSE(window->StatisticsItem->isEnabled());
    EXPECT_FALSE(window->StatisticsButton->isEnabled());

    open(testDataPath("seven-cells.db"));
    EXPECT_TRUE(window->StatisticsItem->isEnabled());
    EXPECT_TRUE(window->StatisticsButton->isEnabled());
    QSize size;
    const QList<QStringList> all = statsOpenedBy([&] { window->StatisticsItem->trigger(); }, &size);
    ASSERT_EQ(all.size(), 1);
    const QString sep = systemDecimalSeparator();
    EXPECT_EQ(all.first(),
        goldenGroups(sep == "," ? "seven-cells-by-kind.comma.out" : "seven-cells-by-kind.out").first());
    EXPECT_LE(size.width(), 1024);
    EXPECT_LE(size.height(), 768);

    // Deleting measurement 7 (22.2) leaves 20, 23.7, 27.4, 31.1, 34.8, 38.5:
    // Rm 29.25 → 29.3, Sm 6.9220… → 6.9, Vm 23.665… → 23.7.
    window->selectRow(7);
    window->ToolButton8->click();
    const QList<QStringList> after = statsOpenedBy([&] { window->StatisticsButton->click(); });
    ASSERT_EQ(after.size(), 1);
    EXPECT_EQ(after.first(),
        (QStringList {"Все измерения!", "6", "20", "38" + sep + "5", "29" + sep + "3", "6" + sep + "9",
            "23" + sep + "7"}));

    window->N4->trigger(); // Файл > Закрыть
    EXPECT_FALSE(window->StatisticsItem->isEnabled());
    EXPECT_FALSE(window->StatisticsButton->isEnabled());
}

} // namespace

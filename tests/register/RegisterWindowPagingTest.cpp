// The register window on a list of several pages, on a file and on the throwaway server:
// the first listing holds one page, in time order and numbered from 1; scrolling on reads
// every row once, in time order across the structures chosen; what acts on the whole list
// (select all, going to the end, a sort by another column, the listed measurements) reads
// the rest first; a page the register fails to give is told as any read.
#include "RegisterFixture.h"

#include "RegisterMeasurementModel.h"
#include "RegisterStructureChooser.h"
#include "RegisterWindow.h"
#include "ScriptedDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <functional>
#include <tuple>

using namespace luvir;
using namespace luvir::test;

namespace {

constexpr int kPage = RegisterMeasurementModel::kPageSize;
constexpr int kCells = 2400; // a third each in A, in B and in none: several pages each

// The moment a cell holds, as numbers that order it: year, month, day, hour, minute, second.
std::tuple<int, int, int, int, int, int> timeOf(const ArchiveCell &cell)
{
    return {cell.byte(ArchiveCell::Year), cell.byte(ArchiveCell::Month), cell.byte(ArchiveCell::Day),
        cell.byte(ArchiveCell::Hour), cell.byte(ArchiveCell::Minute), cell.byte(ArchiveCell::Second)};
}

class RegisterWindowPagingTest : public ::testing::TestWithParam<Engine>
{
public:
    void SetUp() override
    {
        ASSERT_EQ(reg.open(scratch.location()), Register::OpenStatus::Ok) << qPrintable(reg.errorString());
        // Added in chunks of a download's size; the sample cells' times repeat every 420, so
        // many rows share a time and the id decides between them, across pages too.
        for (int first = 0; first < kCells; first += 999) {
            RegisterSource source = fileSource(QStringLiteral("chunk%1.db").arg(first));
            ImportCounts counts;
            ASSERT_TRUE(reg.importCells(distinctCells(first, std::min(999, kCells - first)), source, counts))
                << qPrintable(reg.errorString());
        }
        object = reg.addObject({0, "Дом 5", {}, {}, {}});
        a = reg.addStructure({0, object, "К-1", -1, {}, {}, {}});
        b = reg.addStructure({0, object, "К-2", -1, {}, {}, {}});
        empty = reg.addStructure({0, object, "К-3", -1, {}, {}, {}});
        // Every third to A, with the sites 1, 4, 7, 10 and 13, and with "а" when the id is
        // odd (natural order: 1, 1а, 4 … 7а, 10 …); every third but one to B; the rest in none.
        QHash<QString, QList<RegisterId>> sitesOfA;
        QList<RegisterId> ofB;
        for (const RegisterMeasurement &m : reg.measurements(MeasurementSelection::all())) {
            cells.insert(m.id, m.cell);
            if (m.id % 3 == 0) {
                const QString site = QString::number(m.id % 15 + 1) + (m.id % 2 ? "а" : "");
                sitesOfA[site] << m.id;
                sites.insert(m.id, site);
                structureOf.insert(m.id, a);
            } else if (m.id % 3 == 1) {
                ofB << m.id;
                structureOf.insert(m.id, b);
            }
        }
        ASSERT_EQ(cells.size(), kCells);
        for (auto it = sitesOfA.cbegin(); it != sitesOfA.cend(); ++it)
            ASSERT_TRUE(reg.assign(it.value(), a, it.key())) << qPrintable(reg.errorString());
        ASSERT_TRUE(reg.assign(ofB, b));
        window.setRegister(&reg);
    }

    // The ids held by the structures (0: in none), in time order and then as added: worked
    // out here from the cells' bytes, not read from the register.
    QList<RegisterId> expected(const QList<RegisterId> &structures) const
    {
        QList<RegisterId> ids;
        for (auto it = cells.cbegin(); it != cells.cend(); ++it)
            if (structures.contains(structureOf.value(it.key())))
                ids << it.key();
        std::sort(ids.begin(), ids.end(), [this](RegisterId x, RegisterId y) {
            return std::pair(timeOf(cells.value(x)), x) < std::pair(timeOf(cells.value(y)), y);
        });
        return ids;
    }

    QAbstractItemModel *shown() const { return window.Table->model(); }
    // The ids of the rows the table holds now, top to bottom, read or not.
    QList<RegisterId> rowsHeld() const
    {
        QList<RegisterId> ids;
        const QList<RegisterMeasurement> &read = window.model()->measurements();
        for (const RegisterMeasurement &m : read)
            ids << m.id;
        return ids;
    }
    QString number(int row) const { return shown()->index(row, 0).data().toString(); }

    ScratchRegister scratch {GetParam()};
    ScriptedDialogs dialogs;
    Register reg;
    RegisterWindow window;
    RegisterId object = 0, a = 0, b = 0, empty = 0;
    QHash<RegisterId, ArchiveCell> cells;
    QHash<RegisterId, RegisterId> structureOf; // none: 0
    QHash<RegisterId, QString> sites;
};

struct NodeCase {
    const char *name;
    std::function<void(RegisterWindowPagingTest &, RegisterWindow &)> choose;
    QList<int> structures; // indexes: 0 none, 1 A, 2 B
};

} // namespace

// Each node: the first page alone, then every row once in time order with № 1..N as the
// table is scrolled; a refresh starts again from the first page; the listed measurements are
// the whole list.
TEST_P(RegisterWindowPagingTest, PagesComeInTimeOrderAndReachEveryRowOnce)
{
    const NodeCase cases[] = {
        {"не распределены",
            [](auto &, RegisterWindow &w) { w.selectNode(RegisterWindow::NodeKind::Unassigned); }, {0}},
        {"one structure",
            [](auto &t, RegisterWindow &w) { w.selectNode(RegisterWindow::NodeKind::Structure, t.a); }, {1}},
        {"two structures",
            [](auto &t, RegisterWindow &w) {
                w.selectStructures({t.b, t.empty, t.a});
            },
            {1, 2}},
        {"the object",
            [](auto &t, RegisterWindow &w) { w.selectNode(RegisterWindow::NodeKind::Object, t.object); },
            {1, 2}},
    };
    for (const NodeCase &c : cases) {
        SCOPED_TRACE(c.name);
        QList<RegisterId> structures;
        for (int index : c.structures)
            structures << QList<RegisterId> {0, a, b}.at(index);
        const QList<RegisterId> all = expected(structures);
        ASSERT_GT(all.size(), 3 * kPage);
        c.choose(*this, window);
        for (int pass = 0; pass < 2; ++pass) {
            SCOPED_TRACE(pass == 0 ? "listed" : "refreshed");
            ASSERT_EQ(shown()->rowCount(), kPage);
            EXPECT_EQ(rowsHeld(), all.mid(0, kPage));
            EXPECT_EQ(window.CountLabel->text(), QStringLiteral("Измерений: %1").arg(all.size()));
            // Scrolled to the end, as the view asks for more while it can.
            for (int pages = 1; shown()->canFetchMore({}); ++pages) {
                ASSERT_LT(pages, all.size()) << "never ends";
                shown()->fetchMore({});
            }
            EXPECT_EQ(rowsHeld(), all);
            for (int row = 0; row < all.size(); ++row)
                ASSERT_EQ(number(row), QString::number(row + 1)) << row;
            window.refresh(); // F5: the first page again
        }
        QList<RegisterId> listed;
        for (const RegisterMeasurement &m : window.listedMeasurements())
            listed << m.id;
        EXPECT_EQ(listed, all);
    }
}

// Ctrl+End goes to the last listed measurement, not the last read; Ctrl+A selects every
// listed measurement, read or not, and a command then acts on them all.
TEST_P(RegisterWindowPagingTest, SelectingToTheEndTakesInRowsNotReadYet)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.selectNode(RegisterWindow::NodeKind::Unassigned);
    const QList<RegisterId> unassigned = expected({0});
    ASSERT_EQ(shown()->rowCount(), kPage);
    window.Table->setFocus();
    window.Table->setCurrentIndex(shown()->index(0, 0));
    QTest::keyClick(window.Table, Qt::Key_End, Qt::ControlModifier);
    ASSERT_EQ(shown()->rowCount(), unassigned.size());
    EXPECT_EQ(window.Table->currentIndex().row(), unassigned.size() - 1);

    window.Table->setCurrentIndex(shown()->index(0, 0));
    window.refresh(); // the first page alone again: what was selected is on it
    ASSERT_EQ(shown()->rowCount(), kPage);
    QTest::keyClick(window.Table, Qt::Key_A, Qt::ControlModifier);
    QList<RegisterId> selected;
    for (const RegisterMeasurement &m : window.selectedMeasurements())
        selected << m.id;
    EXPECT_EQ(selected, unassigned);

    // «Отнести к конструкции…» (Ctrl+K), К-3 chosen: every one of them moves.
    QTimer::singleShot(0, [] {
        auto *chooser = qobject_cast<RegisterStructureChooser *>(QApplication::activeModalWidget());
        ASSERT_NE(chooser, nullptr);
        const QList<QTreeWidgetItem *> found
            = chooser->Tree->findItems("К-3", Qt::MatchStartsWith | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1);
        chooser->Tree->setCurrentItem(found.first());
        QTest::keyClick(chooser->Tree, Qt::Key_Return);
    });
    QTest::keyClick(window.Table, Qt::Key_K, Qt::ControlModifier);
    QList<RegisterId> moved;
    for (const RegisterMeasurement &m : reg.measurements(MeasurementSelection::ofStructure(empty)))
        moved << m.id;
    EXPECT_EQ(moved, unassigned);
    EXPECT_TRUE(reg.measurements(MeasurementSelection::unassigned()).isEmpty());
    EXPECT_EQ(window.nodeText(RegisterWindow::NodeKind::Unassigned), "Не распределены (0)");
}

// «Участок» sorts every row of the list, not the page read: in natural order (1, 1а … 7а, 10),
// rows of one label in time order; back by № the time order again.
TEST_P(RegisterWindowPagingTest, ASortByTheSiteSortsTheWholeList)
{
    window.selectNode(RegisterWindow::NodeKind::Structure, a);
    ASSERT_EQ(shown()->rowCount(), kPage);
    const QList<RegisterId> inTime = expected({a});
    // The labels' order by their number, then their letter; the time order within one.
    QList<RegisterId> bySite = inTime;
    const auto key = [this](RegisterId id) {
        const QString site = sites.value(id);
        const bool letter = site.endsWith(u'а');
        return std::pair(site.chopped(letter ? 1 : 0).toInt(), letter);
    };
    std::stable_sort(
        bySite.begin(), bySite.end(), [&](RegisterId x, RegisterId y) { return key(x) < key(y); });
    window.Table->sortByColumn(RegisterMeasurementModel::kSiteColumn, Qt::AscendingOrder);
    ASSERT_EQ(shown()->rowCount(), inTime.size());
    QList<RegisterId> sorted;
    for (const RegisterMeasurement &m : window.listedMeasurements())
        sorted << m.id;
    EXPECT_EQ(sorted, bySite);
    EXPECT_EQ(shown()->index(0, RegisterMeasurementModel::kSiteColumn).data().toString(), "1");
    EXPECT_EQ(
        shown()->index(inTime.size() - 1, RegisterMeasurementModel::kSiteColumn).data().toString(), "13а");
    // A refresh sorted so reads the whole list again.
    window.refresh();
    EXPECT_EQ(shown()->rowCount(), inTime.size());
    window.Table->sortByColumn(0, Qt::AscendingOrder);
    sorted.clear();
    for (const RegisterMeasurement &m : window.listedMeasurements())
        sorted << m.id;
    EXPECT_EQ(sorted, inTime);
}

// «Открыть в таблице» without a selection opens every listed measurement in time order, not
// the page read; a list longer than an archive is refused by its count, its rows not read.
TEST_P(RegisterWindowPagingTest, OpenInTableTakesTheWholeList)
{
    QList<RegisterId> opened;
    QObject::connect(&window, &RegisterWindow::openInTable, [&](const QList<Measurement> &measurements) {
        for (const Measurement &m : measurements)
            opened << m.id;
    });
    window.selectNode(RegisterWindow::NodeKind::Unassigned);
    ASSERT_EQ(shown()->rowCount(), kPage);
    window.openSelectedInTable();
    EXPECT_EQ(opened, expected({0}));

    opened.clear();
    window.selectStructures({a, b});
    const QList<RegisterId> both = expected({a, b});
    ASSERT_GT(both.size(), CellArchive::Capacity);
    window.openSelectedInTable();
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(dialogs.messages(),
        QStringList {
            QStringLiteral("Выбрано измерений: %1. В таблицу можно открыть не более 999; выделите меньше.")
                .arg(both.size())});
    EXPECT_EQ(shown()->rowCount(), kPage);
}

// A page the register fails to give is told once, as every failed read is; the rows read
// stay, the table asks for no more, and nothing acts on the part read as on the whole list.
TEST_P(RegisterWindowPagingTest, APageThatCannotBeReadIsTold)
{
    window.selectNode(RegisterWindow::NodeKind::Unassigned);
    ASSERT_TRUE(shown()->canFetchMore({}));
    reg.close();
    shown()->fetchMore({});
    EXPECT_EQ(dialogs.messages(), QStringList {"Журнал не удалось прочитать: журнал не открыт."});
    EXPECT_EQ(shown()->rowCount(), kPage);
    EXPECT_FALSE(shown()->canFetchMore({}));
    // What needs the whole list does not act on the part read, and asks no more.
    EXPECT_TRUE(window.listedMeasurements().isEmpty());
    QTest::keyClick(window.Table, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(window.selectedMeasurements().isEmpty());
    EXPECT_EQ(dialogs.messages().size(), 1);
}

// A node chosen after going to the end of a longer one is shown from its first row, not at
// the place the longer list had reached.
TEST_P(RegisterWindowPagingTest, ANodeChosenIsShownFromItsFirstRow)
{
    window.resize(800, 500);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.selectNode(RegisterWindow::NodeKind::Unassigned);
    window.Table->setFocus();
    window.Table->setCurrentIndex(shown()->index(0, 0));
    QTest::keyClick(window.Table, Qt::Key_End, Qt::ControlModifier);
    ASSERT_GT(window.Table->verticalScrollBar()->value(), 0);
    window.selectNode(RegisterWindow::NodeKind::Structure, a);
    EXPECT_EQ(window.Table->verticalScrollBar()->value(), 0);
    EXPECT_EQ(window.Table->rowAt(0), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Window, RegisterWindowPagingTest, ::testing::Values(Engine::Sqlite, Engine::Postgres), engineName);

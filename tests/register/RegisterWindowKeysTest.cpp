// The register window worked by keyboard alone, on a real register file: every command by
// its key or a context menu, several structures chosen for one protocol, site labels typed
// row after row and filled down in steps, each read back from the file through a connection
// of its own. The dialog seam answers the text boxes and questions; the window's own
// chooser and menus get their keys too.
#include "RegisterFixture.h"

#include "RegisterMeasurementModel.h"
#include "RegisterStructureChooser.h"
#include "RegisterWindow.h"
#include "ScriptedDialogs.h"
#include "StatsWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

using namespace luvir;
using namespace luvir::test;

namespace {

class RegisterWindowKeysTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(reg.open(path()), Register::OpenStatus::Ok);
        RegisterSource source = fileSource("keys.db");
        ImportCounts counts;
        ASSERT_TRUE(reg.importCells(distinctCells(1, 30), source, counts));
        window.setRegister(&reg);
        window.resize(980, 660); // what a 1024 × 768 screen gives it
        window.show();
        activate();
    }

    QString path() const { return dir.filePath("register.sqlite"); }

    // The window active again with its keyboard focus where it was, as the window manager
    // leaves it once a dialog, menu or other window closed (offscreen, the test does it).
    void activate()
    {
        QCoreApplication::processEvents();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }, 2000));
    }

    // A key as the user presses it: to whatever has the keyboard.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, static_cast<Qt::Key>(key), modifiers);
    }
    void type(const QString &text)
    {
        for (const QChar c : text) {
            QWidget *focus = QApplication::focusWidget();
            ASSERT_NE(focus, nullptr);
            QTest::sendKeyEvent(QTest::Click, focus, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    // The modal dialog or the menu the next key opens is handed to `answer`, which closes it.
    void whenOpened(std::function<void(QWidget *)> answer)
    {
        QTimer::singleShot(0, [answer] {
            QWidget *shown = QApplication::activePopupWidget();
            if (!shown)
                shown = QApplication::activeModalWidget();
            if (!shown) {
                ADD_FAILURE() << "nothing opened";
                return;
            }
            answer(shown);
        });
    }
    // The sites of a structure read back through a connection of the test's own.
    QStringList sitesInFile(RegisterId structure)
    {
        Register reader;
        EXPECT_EQ(reader.open(path()), Register::OpenStatus::Ok);
        QStringList sites;
        for (const RegisterMeasurement &m : reader.measurements(MeasurementSelection::ofStructure(structure)))
            sites << m.site;
        return sites;
    }
    // The keyboard walk's pictures, for the closing note and the help: written only when
    // LUVIR_SCREENSHOTS names a folder.
    static void picture(QWidget *shown, const QString &name)
    {
        const QString folder = qEnvironmentVariable("LUVIR_SCREENSHOTS");
        if (!folder.isEmpty())
            shown->grab().save(QDir(folder).filePath(name + ".png"));
    }
    RegisterId structureNamed(const QString &name)
    {
        const QList<RegisterStructure> found = reg.findStructures(name);
        return found.size() == 1 ? found.first().id : 0;
    }

    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    Register reg;
    RegisterWindow window;
};

} // namespace

// Create an object and two structures, assign, statistics, open in table, the protocol,
// rename through the tree's menu and delete: no mouse, every command by its key.
TEST_F(RegisterWindowKeysTest, EveryCommandByKeyboard)
{
    // Every command names its key in its tooltip.
    for (QAction *action : window.findChildren<QAction *>()) {
        if (action->text().isEmpty() || action->isSeparator() || action->shortcut().isEmpty())
            continue;
        EXPECT_TRUE(action->toolTip().contains(action->shortcut().toString(QKeySequence::NativeText)))
            << qPrintable(action->toolTip());
    }
    for (QAction *command :
        {window.AssignAction, window.UnassignAction, window.FillSitesAction, window.RemoveAction,
            window.StatisticsAction, window.OpenInTableAction, window.ProtocolAction, window.NewObjectAction,
            window.NewStructureAction, window.RenameAction, window.PropertiesAction, window.DeleteNodeAction})
        EXPECT_FALSE(command->shortcut().isEmpty()) << qPrintable(command->text());

    ASSERT_EQ(QApplication::focusWidget(), window.Tree);
    dialogs.textAnswers = {"Дом 5", "С-10", "С-2"};
    press(Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(reg.objects().size(), 1);
    EXPECT_EQ(window.selectedKind(), RegisterWindow::NodeKind::Object);
    press(Qt::Key_N, Qt::ControlModifier);
    press(Qt::Key_N, Qt::ControlModifier); // from a structure: a sibling of it
    const RegisterId c10 = structureNamed("С-10");
    const RegisterId c2 = structureNamed("С-2");
    ASSERT_NE(c10, 0);
    ASSERT_NE(c2, 0);
    EXPECT_EQ(reg.structure(c2)->objectId, reg.objects().first().id);
    // Natural order in the tree: С-2 before С-10.
    EXPECT_EQ(window.Tree->topLevelItem(1)->child(0)->text(0), "С-2 (0)");
    EXPECT_EQ(window.Tree->topLevelItem(1)->child(1)->text(0), "С-10 (0)");
    EXPECT_EQ(dialogs.texts(ShownDialog::TextInput), (QStringList {"", "", ""}));

    // "Не распределены", then three rows of the table by Tab and Shift+arrows.
    press(Qt::Key_Home);
    ASSERT_EQ(window.selectedKind(), RegisterWindow::NodeKind::Unassigned);
    press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), window.Table);
    press(Qt::Key_Down);
    press(Qt::Key_Up);
    press(Qt::Key_Down, Qt::ShiftModifier);
    press(Qt::Key_Down, Qt::ShiftModifier);
    ASSERT_EQ(window.selectedMeasurements().size(), 3);

    // The chooser: structures under their object, starting on the first; Down, Enter.
    RegisterId offered = 0;
    whenOpened([&](QWidget *shown) {
        auto *chooser = qobject_cast<RegisterStructureChooser *>(shown);
        ASSERT_NE(chooser, nullptr);
        EXPECT_EQ(chooser->Tree->topLevelItemCount(), 1);
        EXPECT_EQ(chooser->Tree->topLevelItem(0)->text(0), "Дом 5");
        // Its caption readable beside a title bar's icon and three buttons.
        EXPECT_GE(
            chooser->width(), chooser->fontMetrics().horizontalAdvance(chooser->windowTitle()) + 4 * 30);
        offered = chooser->chosen();
        picture(chooser, "keys-2-chooser");
        QTest::keyClick(chooser->Tree, Qt::Key_Down);
        QTest::keyClick(chooser->Tree, Qt::Key_Return);
    });
    picture(&window, "keys-1-rows-selected");
    press(Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(offered, c2);
    EXPECT_EQ(reg.measurements(MeasurementSelection::ofStructure(c10)).size(), 3);

    // The next time it starts on the structure used last. (The window manager would make
    // the window active again once the dialog closed; offscreen, the test does.)
    activate();
    ASSERT_EQ(QApplication::focusWidget(), window.Table);
    press(Qt::Key_Down);
    ASSERT_EQ(window.selectedMeasurements().size(), 1);
    whenOpened([&](QWidget *shown) {
        auto *chooser = qobject_cast<RegisterStructureChooser *>(shown);
        ASSERT_NE(chooser, nullptr);
        offered = chooser->chosen();
        QTest::keyClick(chooser->Tree, Qt::Key_Return);
    });
    press(Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(offered, c10);
    EXPECT_EQ(reg.measurements(MeasurementSelection::ofStructure(c10)).size(), 4);
    activate();

    // Back to the tree, down to С-10.
    press(Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), window.Tree);
    press(Qt::Key_Home);
    for (int i = 0; i < 3; ++i)
        press(Qt::Key_Down);
    ASSERT_EQ(window.selectedId(), c10);
    ASSERT_EQ(window.Table->model()->rowCount(), 4);

    press(Qt::Key_T, Qt::ControlModifier);
    const QList<StatsWindow *> stats = window.findChildren<StatsWindow *>();
    ASSERT_EQ(stats.size(), 1);
    EXPECT_TRUE(stats.first()->windowTitle().contains("С-10")) << qPrintable(stats.first()->windowTitle());
    stats.first()->close();
    activate();

    QSignalSpy opened(&window, &RegisterWindow::openInTable);
    press(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.first().first().value<QList<Measurement>>().size(), 4);

    qRegisterMetaType<QList<RegisterId>>();
    QSignalSpy asked(&window, &RegisterWindow::protocolRequested);
    press(Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked.first().first().value<QList<RegisterId>>(), QList<RegisterId> {c10});

    // The tree's menu by Shift+F10: its third command renames.
    dialogs.textAnswers = {"С-11"};
    QStringList menuTexts;
    whenOpened([&](QWidget *shown) {
        auto *menu = qobject_cast<QMenu *>(shown);
        ASSERT_EQ(menu, window.TreeMenu);
        for (const QAction *a : menu->actions())
            menuTexts << a->text();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(menu, Qt::Key_Down);
        picture(menu, "keys-3-tree-menu");
        QTest::keyClick(menu, Qt::Key_Return);
    });
    press(Qt::Key_F10, Qt::ShiftModifier);
    activate();
    EXPECT_TRUE(menuTexts.contains("Переименовать…"));
    EXPECT_EQ(dialogs.texts(ShownDialog::TextInput).last(), "С-10"); // the current name offered
    EXPECT_EQ(reg.structure(c10)->name, "С-11");

    // The table's menu by the menu key.
    press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), window.Table);
    QMenu *tableMenu = nullptr;
    whenOpened([&](QWidget *shown) {
        tableMenu = qobject_cast<QMenu *>(shown);
        QTest::keyClick(shown, Qt::Key_Escape);
    });
    press(Qt::Key_Menu);
    activate();
    EXPECT_EQ(tableMenu, window.TableMenu);
    EXPECT_TRUE(window.TableMenu->actions().contains(window.AssignAction));

    // The empty structure С-2 deleted by Shift+Delete (nothing to ask about).
    press(Qt::Key_Tab, Qt::ShiftModifier);
    press(Qt::Key_Up);
    ASSERT_EQ(window.selectedId(), c2);
    press(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_FALSE(reg.structure(c2).has_value());
    EXPECT_TRUE(dialogs.messages().isEmpty()) << qPrintable(dialogs.messages().join('\n'));
}

// Two of an object's three structures, chosen with Shift and with Ctrl+Space, make a
// protocol of those two; structures of two objects are refused with the reason.
TEST_F(RegisterWindowKeysTest, SeveralStructuresOfOneObjectMakeOneProtocol)
{
    const RegisterId house = reg.addObject({0, "Дом 5", {}, {}, {}});
    const RegisterId bridge = reg.addObject({0, "Мост", {}, {}, {}});
    const RegisterId k1 = reg.addStructure({0, house, "К-1", -1, {}, {}, {}});
    const RegisterId k2 = reg.addStructure({0, house, "К-2", -1, {}, {}, {}});
    const RegisterId p1 = reg.addStructure({0, house, "П-1", -1, {}, {}, {}});
    const RegisterId pier = reg.addStructure({0, bridge, "Опора 1", -1, {}, {}, {}});
    QList<RegisterId> all;
    for (const RegisterMeasurement &m : reg.measurements(MeasurementSelection::all()))
        all << m.id;
    ASSERT_TRUE(reg.assign(all.mid(0, 3), k1));
    ASSERT_TRUE(reg.assign(all.mid(3, 4), k2));
    ASSERT_TRUE(reg.assign(all.mid(7, 5), p1));
    ASSERT_TRUE(reg.assign(all.mid(12, 2), pier));
    window.refresh();
    qRegisterMetaType<QList<RegisterId>>();
    QSignalSpy asked(&window, &RegisterWindow::protocolRequested);

    // Home, then down to К-1: "Не распределены", "Дом 5", "К-1".
    auto toK1 = [&] {
        press(Qt::Key_Home);
        press(Qt::Key_Down);
        press(Qt::Key_Down);
        ASSERT_EQ(window.selectedId(), k1);
    };
    ASSERT_EQ(QApplication::focusWidget(), window.Tree);
    toK1();
    press(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(window.Table->model()->rowCount(), 7); // both listed together
    press(Qt::Key_P, Qt::ControlModifier);

    toK1();
    press(Qt::Key_Down, Qt::ControlModifier);
    press(Qt::Key_Down, Qt::ControlModifier);
    press(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(window.Table->model()->rowCount(), 8);
    press(Qt::Key_P, Qt::ControlModifier);

    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked.at(0).first().value<QList<RegisterId>>(), (QList<RegisterId> {k1, k2}));
    EXPECT_EQ(asked.at(1).first().value<QList<RegisterId>>(), (QList<RegisterId> {k1, p1}));
    EXPECT_TRUE(dialogs.messages().isEmpty());

    window.selectStructures({p1, pier});
    press(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(asked.size(), 2);
    EXPECT_EQ(dialogs.messages(),
        QStringList {"Конструкции относятся к разным объектам (Дом 5, Мост); протокол составляется для "
                     "одного объекта."});
}

// 25 sites typed row after row: a label, Enter, the next; then five filled down in steps.
// Участок is in sight without scrolling sideways, and sorts in natural order.
TEST_F(RegisterWindowKeysTest, TwentyFiveSitesLabelledByKeys)
{
    const RegisterId object = reg.addObject({0, "Дом 5", {}, {}, {}});
    const RegisterId structure = reg.addStructure({0, object, "К-3", -1, {}, {}, {}});
    QList<RegisterId> all;
    for (const RegisterMeasurement &m : reg.measurements(MeasurementSelection::all()))
        all << m.id;
    ASSERT_TRUE(reg.assign(all.mid(0, 25), structure));
    window.refresh();
    window.selectNode(RegisterWindow::NodeKind::Structure, structure);
    ASSERT_EQ(window.Table->model()->rowCount(), 25);

    QHeaderView *header = window.Table->horizontalHeader();
    const int site = RegisterMeasurementModel::kSiteColumn;
    EXPECT_EQ(window.Table->horizontalScrollBar()->value(), 0);
    EXPECT_LE(
        header->sectionViewportPosition(site) + header->sectionSize(site), window.Table->viewport()->width());
    EXPECT_GE(header->sectionViewportPosition(site), 0);

    press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), window.Table);
    QStringList typed;
    for (int n = 1; n <= 25; ++n) {
        typed << QString::number(n);
        type(typed.last());
        press(Qt::Key_Return);
    }
    EXPECT_EQ(sitesInFile(structure), typed);
    EXPECT_TRUE(dialogs.messages().isEmpty()) << qPrintable(dialogs.messages().join('\n'));

    // Five rows from the third, filled down from "2а".
    window.selectRows({2, 3, 4, 5, 6});
    dialogs.textAnswers = {"2а"};
    press(Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(dialogs.texts(ShownDialog::TextInput), QStringList {"3"}); // the first one's label offered
    QStringList expected = typed;
    const QStringList stepped = {"2а", "2б", "2в", "2г", "2д"};
    for (int i = 0; i < stepped.size(); ++i)
        expected[2 + i] = stepped[i];
    EXPECT_EQ(sitesInFile(structure), expected);
    // The five stay selected once the list is read again, for the next command on them
    // (adding them to a calibration set, say).
    QList<RegisterId> selected;
    for (const RegisterMeasurement &m : window.selectedMeasurements())
        selected << m.id;
    EXPECT_EQ(selected, all.mid(2, 5));
    picture(&window, "keys-4-sites");

    // Sorted by Участок: numbers as numbers, "2а" after "2" and before "10".
    window.Table->sortByColumn(site, Qt::AscendingOrder);
    QStringList sorted;
    for (const RegisterMeasurement &m : window.listedMeasurements())
        sorted << m.site;
    EXPECT_EQ(sorted.mid(0, 9), (QStringList {"1", "2", "2а", "2б", "2в", "2г", "2д", "8", "9"}));
    EXPECT_EQ(sorted.last(), "25");
}

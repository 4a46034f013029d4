// The register window beside another program on the same register, a file and a database
// on the throwaway server: in each way the window edits (assign, unassign, a site in place,
// sites filled down, remove, rename, delete), an edit made after the other changed the same
// measurement, structure or site is refused with "запись изменена …", the other's change
// stays, and the window shows it. A register busy past the wait offers the typed name again,
// and the window answers while its change waits.
#include "RegisterFixture.h"

#include "RegisterMeasurementModel.h"
#include "RegisterWindow.h"
#include "ScriptedDialogs.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>

#include <functional>

using namespace luvir;
using namespace luvir::test;

namespace {

class RegisterWindowEditsTest : public ::testing::TestWithParam<std::tuple<Engine, int>>
{
public:
    void SetUp() override
    {
        ASSERT_EQ(reg.open(scratch.location()), Register::OpenStatus::Ok) << qPrintable(reg.errorString());
        ASSERT_EQ(other.open(scratch.location()), Register::OpenStatus::Ok);
        RegisterSource source = fileSource("a.db");
        ImportCounts counts;
        ASSERT_TRUE(reg.importCells(distinctCells(1, 6), source, counts));
        object = reg.addObject({0, "Дом 5", {}, {}, {}});
        structure = reg.addStructure({0, object, "К-3", -1, {}, {}, {}});
        QList<RegisterId> all;
        for (const RegisterMeasurement &m : reg.measurements(MeasurementSelection::all()))
            all << m.id;
        ASSERT_TRUE(reg.assign(all.mid(0, 3), structure, QString("1")));
        window.setRegister(&reg);
        window.selectNode(RegisterWindow::NodeKind::Structure, structure);
    }

    RegisterId listed(int row) const { return window.listedMeasurements().at(row).id; }

    ScratchRegister scratch {std::get<0>(GetParam())};
    ScriptedDialogs dialogs;
    Register reg; // the window's
    Register other; // another program's
    RegisterWindow window;
    RegisterId object = 0;
    RegisterId structure = 0;
};

struct StaleCase {
    const char *name;
    // The other program's change, made after the window read the register.
    std::function<void(RegisterWindowEditsTest &)> meanwhile;
    // The window's edit of the same thing: false when refused.
    std::function<bool(RegisterWindowEditsTest &)> edit;
    // The other's change is there, and nothing of the window's edit.
    std::function<void(RegisterWindowEditsTest &)> kept;
};

void otherSite(RegisterWindowEditsTest &t, int row, const QString &site)
{
    ASSERT_TRUE(t.other.setSite(t.listed(row), site));
}

void siteKept(RegisterWindowEditsTest &t, int row, const QString &site)
{
    const auto m = t.other.measurement(t.listed(row));
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->structureId, t.structure);
    EXPECT_EQ(m->site, site);
}

const StaleCase kCases[] = {
    {"assign",
        [](RegisterWindowEditsTest &t) {
            t.window.selectNode(RegisterWindow::NodeKind::Unassigned);
            t.window.selectRows({0, 1});
            ASSERT_TRUE(t.other.assign({t.listed(0)}, t.structure, QString("9")));
        },
        [](RegisterWindowEditsTest &t) {
            const RegisterId slab = t.other.addStructure({0, t.object, "П-1", -1, {}, {}, {}});
            return t.window.assignSelected(slab);
        },
        [](RegisterWindowEditsTest &t) {
            EXPECT_EQ(t.other.measurements(MeasurementSelection::ofStructure(t.structure)).size(), 4);
            EXPECT_EQ(t.other.measurements(MeasurementSelection::unassigned()).size(), 2);
        }},
    {"unassign",
        [](RegisterWindowEditsTest &t) {
            t.window.selectRows({0, 1});
            otherSite(t, 1, "2б");
        },
        [](RegisterWindowEditsTest &t) { return t.window.unassignSelected(); },
        [](RegisterWindowEditsTest &t) {
            siteKept(t, 0, "1");
            siteKept(t, 1, "2б");
        }},
    {"site in place", [](RegisterWindowEditsTest &t) { otherSite(t, 0, "2б"); },
        [](RegisterWindowEditsTest &t) {
            QAbstractItemModel *shown = t.window.Table->model();
            return shown->setData(shown->index(0, RegisterMeasurementModel::kSiteColumn), "7");
        },
        [](RegisterWindowEditsTest &t) { siteKept(t, 0, "2б"); }},
    {"sites filled down",
        [](RegisterWindowEditsTest &t) {
            t.window.selectRows({0, 1, 2});
            otherSite(t, 2, "2б");
        },
        [](RegisterWindowEditsTest &t) { return t.window.fillSites("5"); },
        [](RegisterWindowEditsTest &t) {
            siteKept(t, 0, "1");
            siteKept(t, 2, "2б");
        }},
    {"remove",
        [](RegisterWindowEditsTest &t) {
            t.window.selectRows({0});
            otherSite(t, 0, "2б");
            t.dialogs.questionAnswers << true;
        },
        [](RegisterWindowEditsTest &t) { return t.window.removeSelected(); },
        [](RegisterWindowEditsTest &t) { siteKept(t, 0, "2б"); }},
    {"rename a structure",
        [](RegisterWindowEditsTest &t) {
            RegisterStructure s = *t.other.structure(t.structure);
            s.name = "К-4";
            ASSERT_TRUE(t.other.updateStructure(s));
        },
        [](RegisterWindowEditsTest &t) { return t.window.renameSelectedNode("К-5"); },
        [](RegisterWindowEditsTest &t) { EXPECT_EQ(t.other.structure(t.structure)->name, "К-4"); }},
    {"rename an object",
        [](RegisterWindowEditsTest &t) {
            t.window.selectNode(RegisterWindow::NodeKind::Object, t.object);
            RegisterObject o = *t.other.object(t.object);
            o.address = "ул. Новая, 1";
            ASSERT_TRUE(t.other.updateObject(o));
        },
        [](RegisterWindowEditsTest &t) { return t.window.renameSelectedNode("Дом 6"); },
        [](RegisterWindowEditsTest &t) {
            EXPECT_EQ(t.other.object(t.object)->name, "Дом 5");
            EXPECT_EQ(t.other.object(t.object)->address, "ул. Новая, 1");
        }},
    {"delete a structure",
        [](RegisterWindowEditsTest &t) {
            RegisterStructure s = *t.other.structure(t.structure);
            s.designClass = "B25";
            ASSERT_TRUE(t.other.updateStructure(s));
            t.dialogs.questionAnswers << true;
        },
        [](RegisterWindowEditsTest &t) { return t.window.deleteSelectedNode(); },
        [](RegisterWindowEditsTest &t) {
            ASSERT_TRUE(t.other.structure(t.structure).has_value());
            EXPECT_EQ(t.other.structure(t.structure)->designClass, "B25");
            EXPECT_EQ(t.other.measurements(MeasurementSelection::ofStructure(t.structure)).size(), 3);
        }},
    {"delete an object",
        [](RegisterWindowEditsTest &t) {
            t.window.selectNode(RegisterWindow::NodeKind::Object, t.object);
            ASSERT_NE(t.other.addStructure({0, t.object, "Б-1", -1, {}, {}, {}}), 0);
            t.dialogs.questionAnswers << true;
        },
        [](RegisterWindowEditsTest &t) { return t.window.deleteSelectedNode(); },
        [](RegisterWindowEditsTest &t) {
            EXPECT_TRUE(t.other.object(t.object).has_value());
            EXPECT_EQ(t.other.structures(t.object).size(), 2);
            EXPECT_EQ(t.other.measurements(MeasurementSelection::ofStructure(t.structure)).size(), 3);
        }},
};

std::string caseName(const ::testing::TestParamInfo<std::tuple<Engine, int>> &info)
{
    std::string name = std::string(std::get<0>(info.param) == Engine::Sqlite ? "Sqlite_" : "Postgres_")
        + kCases[std::get<1>(info.param)].name;
    for (char &c : name)
        if (c == ' ')
            c = '_';
    return name;
}

} // namespace

TEST_P(RegisterWindowEditsTest, AnEditAfterAnothersChangeIsToldAndOverwritesNothing)
{
    const StaleCase &c = kCases[std::get<1>(GetParam())];
    c.meanwhile(*this);
    dialogs.clear();
    EXPECT_FALSE(c.edit(*this));
    QApplication::processEvents(); // the window reads the register again
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages().first().startsWith("Журнал: запись изменена"))
        << qPrintable(dialogs.messages().first());
    c.kept(*this);
    // The window shows the other's change now: its tree and list as a fresh window's.
    RegisterWindow fresh;
    fresh.setRegister(&other);
    fresh.selectNode(window.selectedKind(), window.selectedId());
    EXPECT_EQ(window.nodeText(window.selectedKind(), window.selectedId()),
        fresh.nodeText(window.selectedKind(), window.selectedId()));
    QStringList shown;
    QStringList expected;
    for (const RegisterMeasurement &m : window.listedMeasurements())
        shown << QString("%1 %2").arg(m.id).arg(m.site);
    for (const RegisterMeasurement &m : fresh.listedMeasurements())
        expected << QString("%1 %2").arg(m.id).arg(m.site);
    EXPECT_EQ(shown, expected);
}

INSTANTIATE_TEST_SUITE_P(Window, RegisterWindowEditsTest,
    ::testing::Combine(::testing::Values(Engine::Sqlite, Engine::Postgres),
        ::testing::Range(0, static_cast<int>(std::size(kCases)))),
    caseName);

// A name typed while another program holds the register past the wait is told and offered
// again as typed; once the register is free it is kept, once.
TEST(RegisterWindowBusyTest, ANameRefusedWhileTheRegisterIsBusyIsOfferedAgain)
{
    ScratchRegister scratch(Engine::Sqlite);
    Register reg;
    ASSERT_EQ(reg.open(scratch.location()), Register::OpenStatus::Ok);
    reg.setBusyTimeout(200);
    RegisterWindow window;
    window.setRegister(&reg);
    RawConnection holder(scratch.location());
    QSqlQuery hold(holder.db());
    ASSERT_TRUE(hold.exec("BEGIN IMMEDIATE"));

    ScriptedDialogs dialogs;
    dialogs.textAnswers = {"Мост через р. Волга", "Мост через р. Волга"};
    dialogs.whileShown = [&](const ShownDialog &shown) {
        // The wait cursor of the write is gone before the user is told.
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        if (shown.kind == ShownDialog::TextInput && shown.text == "Мост через р. Волга") {
            EXPECT_TRUE(QSqlQuery(holder.db()).exec("COMMIT"));
        }
    };
    window.NewObjectAction->trigger();
    EXPECT_EQ(dialogs.texts(ShownDialog::TextInput), (QStringList {"", "Мост через р. Волга"}));
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages().first().startsWith("Журнал: ")) << qPrintable(dialogs.messages().first());
    ASSERT_EQ(reg.objects().size(), 1);
    EXPECT_EQ(reg.objects().first().name, "Мост через р. Волга");
}

// While another program holds the register, the window's change waits on a thread of its own:
// the window answers meanwhile (a timer of its thread fires, and is the one that lets the
// other program go), its commands are disabled and its status line tells the wait; the change
// lands once the register is free, or, held past the wait, is refused with the typed name
// offered again.
class RegisterWindowHeldTest : public ::testing::TestWithParam<std::tuple<Engine, bool>>
{
};

TEST_P(RegisterWindowHeldTest, TheWindowAnswersWhileItsChangeWaits)
{
    const auto [engine, released] = GetParam();
    ScratchRegister scratch(engine);
    Register reg;
    ASSERT_EQ(reg.open(scratch.location()), Register::OpenStatus::Ok) << qPrintable(reg.errorString());
    // Freed after about 0.25 s, well inside a wait of 20 s; or held past a wait of 0.7 s.
    reg.setBusyTimeout(released ? 20000 : 700);
    RegisterWindow window;
    window.setRegister(&reg);

    RawConnection holder(scratch.location());
    QSqlQuery hold(holder.db());
    // SQLite: the write lock of the whole file; a server: the table an object is added to.
    const QStringList holding = engine == Engine::Sqlite
        ? QStringList {"BEGIN IMMEDIATE"}
        : QStringList {"BEGIN", "LOCK TABLE objects IN EXCLUSIVE MODE"};
    for (const QString &statement : holding)
        ASSERT_TRUE(hold.exec(statement)) << qPrintable(hold.lastError().text());

    int ticks = 0;
    bool commandsDisabled = true;
    QStringList statusShown;
    QTimer timer;
    timer.setInterval(50);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        commandsDisabled
            = commandsDisabled && !window.NewObjectAction->isEnabled() && !window.RefreshAction->isEnabled();
        if (!statusShown.contains(window.statusBar()->currentMessage()))
            statusShown << window.statusBar()->currentMessage();
        if (released && ticks == 5) {
            EXPECT_TRUE(QSqlQuery(holder.db()).exec("COMMIT"));
        }
    });
    timer.start();

    ScriptedDialogs dialogs;
    dialogs.textAnswers = {"Мост через р. Волга"}; // then the box again, cancelled
    window.NewObjectAction->trigger();
    timer.stop();

    EXPECT_GE(ticks, 5) << "the window's thread stood still while the change waited";
    EXPECT_TRUE(commandsDisabled);
    EXPECT_EQ(statusShown, QStringList {"Запись в журнал…"});
    EXPECT_EQ(window.statusBar()->currentMessage(), "");
    EXPECT_TRUE(window.NewObjectAction->isEnabled());
    if (released) {
        EXPECT_TRUE(dialogs.messages().isEmpty()) << qPrintable(dialogs.messages().join('\n'));
        EXPECT_EQ(dialogs.texts(ShownDialog::TextInput), QStringList {""});
        ASSERT_EQ(reg.objects().size(), 1);
        EXPECT_EQ(reg.objects().first().name, "Мост через р. Волга");
        EXPECT_EQ(window.selectedKind(), RegisterWindow::NodeKind::Object);
        EXPECT_EQ(window.selectedId(), reg.objects().first().id);
    } else {
        EXPECT_EQ(dialogs.messages(), QStringList {"Журнал: журнал занят другой программой дольше 0.7 с."});
        EXPECT_EQ(dialogs.texts(ShownDialog::TextInput), (QStringList {"", "Мост через р. Волга"}));
        EXPECT_TRUE(reg.objects().isEmpty());
        hold.exec("ROLLBACK");
    }
}

INSTANTIATE_TEST_SUITE_P(Window, RegisterWindowHeldTest,
    ::testing::Combine(::testing::Values(Engine::Sqlite, Engine::Postgres), ::testing::Bool()),
    [](const ::testing::TestParamInfo<std::tuple<Engine, bool>> &info) {
        return std::string(std::get<0>(info.param) == Engine::Sqlite ? "Sqlite_" : "Postgres_")
            + (std::get<1>(info.param) ? "released" : "heldPastTheWait");
    });

// A register on a server opened with a password typed for that connection only (nothing in
// the environment or a password file): the window's changes, written on a connection of their
// own, reach the server with the same password and ask for none.
TEST(RegisterWindowServerTest, AChangeGoesWithThePasswordTheRegisterWasOpenedWith)
{
    ScratchDatabase database;
    const QString password = serverSettings().value("PGPASSWORD");
    struct NoPasswordAround {
        NoPasswordAround()
        {
            qunsetenv("PGPASSWORD");
            qputenv("PGPASSFILE", QByteArray("/nonexistent/pgpass"));
        }
        ~NoPasswordAround()
        {
            qputenv("PGPASSWORD", serverSettings().value("PGPASSWORD").toUtf8());
            qunsetenv("PGPASSFILE");
        }
    } noPassword;
    const QString location = database.uri() + "?sslmode=disable";
    Register reg;
    ASSERT_EQ(reg.open(location), Register::OpenStatus::PasswordNeeded) << qPrintable(reg.errorString());
    ASSERT_EQ(reg.open(location, Register::Opening::CreateIfMissing, password), Register::OpenStatus::Ok)
        << qPrintable(reg.errorString());

    ScriptedDialogs dialogs;
    RegisterWindow window;
    window.setRegister(&reg);
    EXPECT_NE(window.createObject("Дом 5"), 0);
    EXPECT_TRUE(dialogs.shown.isEmpty()) << qPrintable(dialogs.shown.value(0).text);
    ASSERT_EQ(reg.objects().size(), 1);
    EXPECT_EQ(reg.objects().first().name, "Дом 5");
}

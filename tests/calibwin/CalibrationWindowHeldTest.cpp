// The calibration window beside another program holding the register, on a file and on a
// database of the throwaway server: each of the window's changes waits on a thread of its own
// while the window answers (a timer of its thread keeps firing, and is the one that lets the
// other program go), its commands disabled and its status line telling the wait. The change
// lands once the register is free; held past the wait it is refused, told once, the dialog
// offered again with what was typed, and nothing is written.
#include "CalibrationWindowFixture.h"
#include "RegisterFixture.h"

#include "CalibSetDialog.h"
#include "CalibSitesDialog.h"

#include <QAction>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QSqlError>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTableView>

using namespace luvir;
using namespace luvir::test;

namespace {

class CalibrationWindowHeldTest;

// One change of the window: how it is started, the dialog it opens (filled the first time;
// offered again after a refusal, looked at and cancelled), and what the register holds after.
struct WriteCase {
    const char *name;
    std::function<void(CalibrationWindowHeldTest &)> prepare; // before the register is held
    std::function<void(CalibrationWindowHeldTest &)> command;
    std::function<void(QWidget *)> fill; // null: the command opens no dialog of its own
    std::function<void(QWidget *)> keptAsTyped;
    std::function<void(CalibrationWindowHeldTest &, bool landed)> check;
};

class CalibrationWindowHeldTest : public ::testing::TestWithParam<std::tuple<Engine, int, bool>>
{
public:
    void SetUp() override
    {
        ASSERT_EQ(reg.open(scratch.location()), Register::OpenStatus::Ok) << qPrintable(reg.errorString());
        // Seventeen measurements of a structure; the first fifteen are the set's sites, with
        // the direct strengths of the window's scenario (an accepted own dependency).
        QList<ArchiveCell> cells;
        for (int i = 0; i < 17; ++i)
            cells << calibCell(i, (16 + 2 * i) * 10, 100);
        RegisterSource source = fileSource("calib.db");
        ImportCounts counts;
        ASSERT_TRUE(reg.importCells(cells, source, counts));
        QList<RegisterId> ids;
        for (const RegisterMeasurement &m : reg.measurements(MeasurementSelection::all()))
            ids << m.id;
        ASSERT_TRUE(reg.assignNamed(ids, "Дом 5", "Колонна К-3", {}, &structure));
        set = reg.addCalibrationSet({0, "Колонны 2026", DirectMethod::PullOff, "", {}, "", 0});
        ASSERT_NE(set, 0);
        QList<CalibrationSite> sites;
        for (int i = 0; i < 15; ++i)
            sites << CalibrationSite {
                0, set, ids.at(i), "", 0, kDirectStrengths.at(i).toDouble(), {}, {}, {}, {}};
        ASSERT_TRUE(reg.addCalibrationSites(sites)) << qPrintable(reg.errorString());

        registerWindow.setRegister(&reg);
        registerWindow.selectNode(RegisterWindow::NodeKind::Structure, structure.id);
        window = new CalibrationWindow(&registerWindow);
        window->attach(registerWindow);
        window->setRegister(&reg);
        window->show();
    }

    // Runs `command`, answering each dialog of the window's own it opens with `answer` (given
    // how many opened before it); how many opened.
    static int answering(
        const std::function<void()> &command, const std::function<void(QDialog *, int)> &answer)
    {
        int opened = 0;
        QTimer timer;
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto *shown = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!shown || !shown->isVisible())
                return;
            answer(shown, opened++);
            if (shown->isVisible()) {
                ADD_FAILURE() << "left open: " << qPrintable(shown->windowTitle());
                shown->reject();
            }
        });
        timer.start();
        command();
        return opened;
    }
    // "17.6" with the decimal separator of the user's settings.
    static QString number(QString text) { return text.replace(u'.', QLocale().decimalPoint()); }
    QStringList strengthsShown() const { return test::strengthsShown(registerWindow); }

    ScratchRegister scratch {std::get<0>(GetParam())};
    ScriptedDialogs dialogs;
    Register reg;
    RegisterStructure structure;
    RegisterId set = 0;
    RegisterWindow registerWindow;
    CalibrationWindow *window = nullptr; // the register window's child
};

QLineEdit *siteField(QWidget *shown, int row, QLineEdit *CalibSitesDialog::Row::*field)
{
    auto *dialog = qobject_cast<CalibSitesDialog *>(shown);
    EXPECT_NE(dialog, nullptr);
    return dialog ? dialog->rows().at(row).*field : nullptr;
}

const WriteCase kCases[] = {
    {"new set", nullptr, [](CalibrationWindowHeldTest &t) { t.window->NewSetAction->trigger(); },
        [](QWidget *shown) {
            auto *dialog = qobject_cast<CalibSetDialog *>(shown);
            ASSERT_NE(dialog, nullptr);
            dialog->Name->setText("Плиты 2026");
            dialog->accept();
        },
        [](QWidget *shown) { EXPECT_EQ(qobject_cast<CalibSetDialog *>(shown)->Name->text(), "Плиты 2026"); },
        [](CalibrationWindowHeldTest &t, bool landed) {
            EXPECT_EQ(t.reg.findCalibrationSets("Плиты 2026").size(), landed ? 1 : 0);
            EXPECT_EQ(t.window->SetList->count(), landed ? 2 : 1);
            if (landed) {
                EXPECT_EQ(t.window->selectedSet(), t.reg.findCalibrationSets("Плиты 2026").value(0).id);
            }
        }},
    {"properties", nullptr, [](CalibrationWindowHeldTest &t) { t.window->SetPropertiesAction->trigger(); },
        [](QWidget *shown) {
            auto *dialog = qobject_cast<CalibSetDialog *>(shown);
            ASSERT_NE(dialog, nullptr);
            dialog->Name->setText("Колонны 2027");
            dialog->accept();
        },
        [](QWidget *shown) {
            EXPECT_EQ(qobject_cast<CalibSetDialog *>(shown)->Name->text(), "Колонны 2027");
        },
        [](CalibrationWindowHeldTest &t, bool landed) {
            EXPECT_EQ(t.reg.calibrationSet(t.set)->name, landed ? "Колонны 2027" : "Колонны 2026");
            EXPECT_EQ(t.window->SetList->currentItem()->text(), landed ? "Колонны 2027" : "Колонны 2026");
        }},
    {"remove set", [](CalibrationWindowHeldTest &t) { t.dialogs.questionAnswers << true; },
        [](CalibrationWindowHeldTest &t) { t.window->RemoveSetAction->trigger(); }, nullptr, nullptr,
        [](CalibrationWindowHeldTest &t, bool landed) {
            EXPECT_EQ(t.reg.calibrationSets().size(), landed ? 0 : 1);
            EXPECT_EQ(t.window->SetList->count(), landed ? 0 : 1);
        }},
    {"add measurements",
        [](CalibrationWindowHeldTest &t) {
            t.registerWindow.selectRows({15, 16});
        },
        [](CalibrationWindowHeldTest &t) { t.window->AddMeasurementsAction->trigger(); },
        [](QWidget *shown) {
            siteField(shown, 0, &CalibSitesDialog::Row::direct)->setText("45.5");
            siteField(shown, 1, &CalibSitesDialog::Row::direct)->setText("47.5");
            qobject_cast<QDialog *>(shown)->accept();
        },
        [](QWidget *shown) {
            EXPECT_EQ(siteField(shown, 0, &CalibSitesDialog::Row::direct)->text(), "45.5");
            EXPECT_EQ(siteField(shown, 1, &CalibSitesDialog::Row::direct)->text(), "47.5");
        },
        [](CalibrationWindowHeldTest &t, bool landed) {
            EXPECT_EQ(t.reg.calibrationSites(t.set).size(), landed ? 17 : 15);
            EXPECT_EQ(t.window->SiteTable->model()->rowCount(), landed ? 17 : 15);
        }},
    {"add a typed site", nullptr,
        [](CalibrationWindowHeldTest &t) { t.window->AddTypedSiteAction->trigger(); },
        [](QWidget *shown) {
            siteField(shown, 0, &CalibSitesDialog::Row::label)->setText("Б-1");
            siteField(shown, 0, &CalibSitesDialog::Row::indirect)->setText("25");
            siteField(shown, 0, &CalibSitesDialog::Row::direct)->setText("27.5");
            qobject_cast<QDialog *>(shown)->accept();
        },
        [](QWidget *shown) {
            EXPECT_EQ(siteField(shown, 0, &CalibSitesDialog::Row::label)->text(), "Б-1");
            EXPECT_EQ(siteField(shown, 0, &CalibSitesDialog::Row::indirect)->text(), "25");
            EXPECT_EQ(siteField(shown, 0, &CalibSitesDialog::Row::direct)->text(), "27.5");
        },
        [](CalibrationWindowHeldTest &t, bool landed) {
            EXPECT_EQ(t.reg.calibrationSites(t.set).size(), landed ? 16 : 15);
            EXPECT_EQ(t.window->SiteTable->model()->rowCount(), landed ? 16 : 15);
        }},
    {"remove a site", [](CalibrationWindowHeldTest &t) { t.dialogs.questionAnswers << true; },
        [](CalibrationWindowHeldTest &t) { t.window->RemoveSiteAction->trigger(); }, nullptr, nullptr,
        [](CalibrationWindowHeldTest &t, bool landed) {
            EXPECT_EQ(t.reg.calibrationSites(t.set).size(), landed ? 14 : 15);
            EXPECT_EQ(t.window->SiteTable->model()->rowCount(), landed ? 14 : 15);
        }},
    {"apply to the structure", nullptr,
        [](CalibrationWindowHeldTest &t) { t.window->applyToStructure(t.structure.id); }, nullptr, nullptr,
        [](CalibrationWindowHeldTest &t, bool landed) {
            EXPECT_EQ(t.reg.structureDependency(t.structure.id).has_value(), landed);
            // The register window's column follows: H = 16 by a·H + b of the scenario, 17.6 MPa.
            EXPECT_EQ(t.strengthsShown().value(0), landed ? t.number("17.6") : "");
        }},
    {"take off the structure",
        [](CalibrationWindowHeldTest &t) {
            ASSERT_TRUE(t.window->applyToStructure(t.structure.id));
            ASSERT_EQ(t.strengthsShown().value(0), t.number("17.6"));
            t.dialogs.questionAnswers << true;
        },
        [](CalibrationWindowHeldTest &t) { t.window->removeFromStructure(t.structure.id); }, nullptr, nullptr,
        [](CalibrationWindowHeldTest &t, bool landed) {
            EXPECT_EQ(t.reg.structureDependency(t.structure.id).has_value(), !landed);
            EXPECT_EQ(t.strengthsShown().value(0), landed ? "" : t.number("17.6"));
        }},
};

std::string caseName(const ::testing::TestParamInfo<std::tuple<Engine, int, bool>> &info)
{
    std::string name = std::string(std::get<0>(info.param) == Engine::Sqlite ? "Sqlite_" : "Postgres_")
        + kCases[std::get<1>(info.param)].name + (std::get<2>(info.param) ? "_released" : "_heldPastTheWait");
    for (char &c : name)
        if (c == ' ')
            c = '_';
    return name;
}

} // namespace

TEST_P(CalibrationWindowHeldTest, TheWindowAnswersWhileItsChangeWaits)
{
    const auto [engine, index, released] = GetParam();
    const WriteCase &c = kCases[index];
    if (c.prepare)
        c.prepare(*this);
    QCoreApplication::processEvents();
    dialogs.clear();
    // The wait cursor of the write is gone before the user is told.
    dialogs.whileShown = [](const ShownDialog &) { EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr); };
    // Freed after about 0.25 s of writing, well inside a wait of 10 s; or held past a wait of 0.7 s.
    reg.setBusyTimeout(released ? 10000 : 700);

    RawConnection holder(scratch.location());
    QSqlQuery hold(holder.db());
    // SQLite: the write lock of the whole file; a server: the tables the window writes.
    const QStringList holding = engine == Engine::Sqlite
        ? QStringList {"BEGIN IMMEDIATE"}
        : QStringList {"BEGIN",
            "LOCK TABLE calibration_sets, calibration_sites, structures, structure_dependencies "
            "IN EXCLUSIVE MODE"};
    for (const QString &statement : holding)
        ASSERT_TRUE(hold.exec(statement)) << qPrintable(hold.lastError().text());

    // The window's thread, while the change is written (the window's commands wait for it).
    int ticks = 0;
    bool allDisabled = true;
    QStringList statusShown;
    QTimer timer;
    timer.setInterval(50);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (window->NewSetAction->isEnabled())
            return; // not writing: a dialog is open, or the change is done
        ++ticks;
        for (QAction *a : window->actions())
            allDisabled = allDisabled && !a->isEnabled();
        if (!statusShown.contains(window->statusBar()->currentMessage()))
            statusShown << window->statusBar()->currentMessage();
        if (released && ticks == 5) {
            EXPECT_TRUE(QSqlQuery(holder.db()).exec("COMMIT"));
        }
    });
    timer.start();
    // The window's own dialog, answered each time it is shown: filled the first time.
    const int opened = answering([&] { c.command(*this); },
        [&](QDialog *shown, int before) {
            if (before == 0 && c.fill) {
                c.fill(shown);
                return;
            }
            if (c.keptAsTyped)
                c.keptAsTyped(shown);
            shown->reject();
        });
    QCoreApplication::processEvents(); // what the window does once the result is back
    timer.stop();

    EXPECT_GE(ticks, 5) << "the window's thread stood still while the change waited";
    EXPECT_TRUE(allDisabled);
    EXPECT_EQ(statusShown, QStringList {"Запись в журнал…"});
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(window->NewSetAction->isEnabled());
    if (released) {
        EXPECT_TRUE(dialogs.messages().isEmpty()) << qPrintable(dialogs.messages().join('\n'));
        EXPECT_EQ(opened, c.fill ? 1 : 0);
    } else {
        EXPECT_EQ(dialogs.messages(), QStringList {"Журнал: журнал занят другой программой дольше 0.7 с."});
        // Offered again as typed, then cancelled.
        EXPECT_EQ(opened, c.fill ? 2 : 0);
        hold.exec("ROLLBACK");
    }
    c.check(*this, released);
}

INSTANTIATE_TEST_SUITE_P(Window, CalibrationWindowHeldTest,
    ::testing::Combine(::testing::Values(Engine::Sqlite, Engine::Postgres),
        ::testing::Range(0, static_cast<int>(std::size(kCases))), ::testing::Bool()),
    caseName);

// Closing the window is refused while its change is written; the change then ends as usual.
TEST(CalibrationWindowClosingTest, ClosingWaitsForTheChangeBeingWritten)
{
    ScratchRegister scratch(Engine::Sqlite);
    Register reg;
    ASSERT_EQ(reg.open(scratch.location()), Register::OpenStatus::Ok);
    reg.setBusyTimeout(10000);
    ScriptedDialogs dialogs;
    CalibrationWindow window;
    window.setRegister(&reg);
    window.show();
    RawConnection holder(scratch.location());
    QSqlQuery hold(holder.db());
    ASSERT_TRUE(hold.exec("BEGIN IMMEDIATE"));

    bool closedWhileWriting = true;
    int ticks = 0;
    int opened = 0;
    QTimer timer;
    timer.setInterval(50);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (QWidget *shown = QApplication::activeModalWidget()) {
            auto *dialog = qobject_cast<CalibSetDialog *>(shown);
            ASSERT_NE(dialog, nullptr);
            dialog->Name->setText("Плиты 2026");
            if (opened++ == 0)
                dialog->accept();
            else
                dialog->reject(); // refused after the wait: not this test's concern
            return;
        }
        if (window.NewSetAction->isEnabled())
            return;
        if (++ticks == 2) {
            closedWhileWriting = window.close();
            EXPECT_TRUE(QSqlQuery(holder.db()).exec("COMMIT"));
        }
    });
    timer.start();
    window.NewSetAction->trigger();
    timer.stop();
    EXPECT_GE(ticks, 2);
    EXPECT_FALSE(closedWhileWriting);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(reg.findCalibrationSets("Плиты 2026").size(), 1);
    EXPECT_TRUE(window.close());
}

namespace {

// The scene above, on each engine, with another program changing the register.
class CalibrationWindowBesideAnotherTest : public CalibrationWindowHeldTest
{
};

} // namespace

// Sites added together are one change: a measurement another program removed after the
// register window listed it is refused, none of the others is added, and the dialog is
// offered again as typed.
TEST_P(CalibrationWindowBesideAnotherTest, ARefusedSiteAddsNoneOfTheOthers)
{
    registerWindow.selectRows({15, 16});
    const RegisterId removed = registerWindow.listedMeasurements().at(16).id;
    Register other;
    ASSERT_EQ(other.open(scratch.location()), Register::OpenStatus::Ok);
    ASSERT_TRUE(other.markRemoved({removed}));

    const int opened = answering([&] { window->AddMeasurementsAction->trigger(); },
        [](QDialog *shown, int before) {
            if (before == 0) {
                kCases[3].fill(shown); // 45.5 and 47.5 MPa
                return;
            }
            kCases[3].keptAsTyped(shown);
            shown->reject();
        });
    EXPECT_EQ(dialogs.messages(), QStringList {QString("Журнал: в журнале нет измерения %1.").arg(removed)});
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(reg.calibrationSites(set).size(), 15);
    EXPECT_EQ(window->SiteTable->model()->rowCount(), 15);
}

// Properties typed for a set another program changed since the window read it are refused
// and not offered again (they would be refused again): the other's change stays, and the
// window shows it.
TEST_P(CalibrationWindowBesideAnotherTest, PropertiesOfASetChangedMeanwhileAreToldNotOfferedAgain)
{
    Register other;
    ASSERT_EQ(other.open(scratch.location()), Register::OpenStatus::Ok);
    CalibrationSet changed = *other.calibrationSet(set);
    changed.name = "Колонны 2026 (керны)";
    ASSERT_TRUE(other.updateCalibrationSet(changed));

    const int opened = answering([&] { window->SetPropertiesAction->trigger(); },
        [](QDialog *shown, int before) {
            if (before == 0) {
                kCases[1].fill(shown); // "Колонны 2027"
                return;
            }
            shown->reject();
        });
    EXPECT_EQ(opened, 1);
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages().first().startsWith("Журнал: запись изменена"))
        << qPrintable(dialogs.messages().first());
    EXPECT_EQ(reg.calibrationSet(set)->name, "Колонны 2026 (керны)");
    EXPECT_EQ(window->SetList->currentItem()->text(), "Колонны 2026 (керны)");
}

INSTANTIATE_TEST_SUITE_P(Window, CalibrationWindowBesideAnotherTest,
    ::testing::Combine(
        ::testing::Values(Engine::Sqlite, Engine::Postgres), ::testing::Values(0), ::testing::Values(false)),
    [](const ::testing::TestParamInfo<std::tuple<Engine, int, bool>> &info) {
        return std::string(std::get<0>(info.param) == Engine::Sqlite ? "Sqlite" : "Postgres");
    });

// The calibration window giving its result to a structure, and the register window's column
// of the strength by it, on a register file, by keyboard. Strengths by the dependency worked
// out by hand from the figures of calib_reference.py (a = 0.85010989…, b = 4.00395604…):
// H = 16: 17.6057 → 17.6; H = 30: 29.5073 → 29.5; H = 44 (outside 16…42): 41.4088 → (41.4).
#include "CalibrationWindowFixture.h"

#include "CalibSetDialog.h"
#include "CalibSitesDialog.h"
#include "RegisterStructureChooser.h"
#include "SeriesTable.h"
#include "StatsWindow.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QStatusBar>
#include <QTableView>
#include <QTreeWidget>

using namespace luvir;
using namespace luvir::test;

namespace {

class CalibrationApplyTest : public CalibrationWindowFixture
{
protected:
    // A set named `name` (Ctrl+N, the name, Enter) and its sites: every row listed in the
    // register window with the strengths typed (Insert).
    void makeSet(const QString &name, const QStringList &strengths)
    {
        whenOpened([&](QWidget *) {
            type(name);
            press(Qt::Key_Return);
        });
        press(Qt::Key_N, Qt::ControlModifier);
        activate();
        QList<int> rows;
        for (int row = 0; row < registerWindow.model()->rowCount(); ++row)
            rows << row;
        registerWindow.selectRows(rows);
        whenOpened([&](QWidget *) {
            for (const QString &strength : strengths) {
                type(typed(strength));
                press(Qt::Key_Tab);
                press(Qt::Key_Tab);
            }
            press(Qt::Key_Return);
        });
        press(Qt::Key_Insert);
        activate();
    }
    // Ctrl+K or Ctrl+Shift+K: the chooser answered by Enter on the structure it starts on.
    void chooseByKeys(QKeyCombination keys, QString *caption = nullptr)
    {
        whenOpened([caption](QWidget *shown) {
            auto *chooser = qobject_cast<RegisterStructureChooser *>(shown);
            ASSERT_NE(chooser, nullptr);
            if (caption)
                *caption = chooser->windowTitle();
            QTest::keyClick(chooser->Tree, Qt::Key_Return);
        });
        press(keys.key(), keys.keyboardModifiers());
        activate();
    }
    // Ctrl+K on a set that cannot be applied: the refusal comes first, and no structure is
    // asked for. True when a dialog opened all the same (closed here, so the test goes on).
    bool applyRefusedWithoutAsking()
    {
        bool asked = false;
        QTimer::singleShot(0, [&asked] {
            if (QWidget *shown = QApplication::activeModalWidget()) {
                asked = true;
                shown->close();
            }
        });
        press(Qt::Key_K, Qt::ControlModifier);
        activate();
        return asked;
    }
    QStringList strengthsShown() const { return test::strengthsShown(registerWindow); }
};

} // namespace

// The scenario to its end: the own dependency given to the structure of its fifteen
// measurements; the register window shows the strengths by it beside R, the one outside
// the range in brackets with the reason; the column sorts by value; taken away again.
TEST_F(CalibrationApplyTest, TheOwnDependencyGivenToTheStructureIsShownBesideR)
{
    makeSet(QStringLiteral("Колонны К-3"), kDirectStrengths);
    ASSERT_TRUE(window->outcome().applicable());
    EXPECT_TRUE(registerWindow.Table->isColumnHidden(RegisterMeasurementModel::kDependencyColumn));

    QString caption;
    chooseByKeys(QKeyCombination(Qt::ControlModifier, Qt::Key_K), &caption);
    EXPECT_EQ(caption, "Применить к конструкции");
    const std::optional<AppliedDependency> applied = reg.structureDependency(structure.id);
    ASSERT_TRUE(applied.has_value()) << qPrintable(dialogs.messages().join('\n'));
    EXPECT_EQ(applied->kind, DependencyKind::Own);
    EXPECT_NEAR(applied->a, 0.8501098901098901, 1e-9);
    EXPECT_NEAR(applied->b, 4.003956043956044, 1e-9);
    EXPECT_EQ(applied->hMin, 16);
    EXPECT_EQ(applied->hMax, 42);
    EXPECT_EQ(applied->sitesKept, 14);
    EXPECT_EQ(applied->sitesBefore, 15);
    EXPECT_EQ(applied->setName, "Колонны К-3");
    EXPECT_TRUE(window->statusBar()->currentMessage().contains("«Колонна К-3» (объект «Дом 5»)"))
        << qPrintable(window->statusBar()->currentMessage());

    // Beside R, in the listed order; the 42 bytes of each measurement as they were.
    QTableView *table = registerWindow.Table;
    const int column = RegisterMeasurementModel::kDependencyColumn;
    EXPECT_FALSE(table->isColumnHidden(column));
    EXPECT_EQ(table->horizontalHeader()->visualIndex(column), table->horizontalHeader()->visualIndex(6) + 1);
    const QStringList shown = strengthsShown();
    ASSERT_EQ(shown.size(), 15);
    EXPECT_EQ(shown.at(0), typed("17.6"));
    EXPECT_EQ(shown.at(7), typed("29.5")); // stored 31.5 with Kc 1.05
    EXPECT_EQ(shown.at(14), typed("(41.4)"));
    const auto *model = registerWindow.model();
    EXPECT_EQ(model->index(14, 6).data().toString(), "44"); // the meter's R unchanged
    const QString outside = model->index(14, column).data(Qt::ToolTipRole).toString();
    EXPECT_TRUE(outside.contains(typed("H = 44.00 МПа вне диапазона зависимости 16.00…42.00 МПа")))
        << qPrintable(outside);
    EXPECT_TRUE(model->index(0, column).data(Qt::ToolTipRole).toString().startsWith("По зависимости: "));
    registerWindow.show();
    QCoreApplication::processEvents();
    table->scrollTo(table->model()->index(14, column));
    picture(&registerWindow, "calibwin-4-register-column");
    activate(); // back to the calibration window

    // Sorted by the column, descending: the bracketed 41.4 first, then 0.8501·42 + 4.004 = 39.7.
    table->sortByColumn(column, Qt::DescendingOrder);
    const QAbstractItemModel *sorted = table->model();
    EXPECT_EQ(sorted->index(0, column).data().toString(), typed("(41.4)"));
    EXPECT_EQ(sorted->index(1, column).data().toString(), typed("39.7"));
    EXPECT_EQ(sorted->index(14, column).data().toString(), typed("17.6"));

    // The statistics of the structure give the strengths by the dependency a group of their
    // own after the meter's, and name it: n 15, 17.6…41.4, Rm 4425/150 = 29.5, Sm 7.60, Vm 25.8 %
    // (Python's statistics on the fifteen rounded strengths).
    registerWindow.showStatistics();
    auto *stats = registerWindow.findChild<StatsWindow *>();
    ASSERT_NE(stats, nullptr);
    const QList<QStringList> lines = stats->tableLines();
    ASSERT_EQ(lines.size(), 3) << qPrintable(tabSeparated(lines));
    EXPECT_EQ(lines.at(2).mid(0, 7),
        (QStringList {"По градуировке", "15", typed("17.6"), typed("41.4"), typed("29.5"), typed("7.6"), typed("25.8")}));
    EXPECT_TRUE(stats->ExtraNote->isVisibleTo(stats));
    EXPECT_TRUE(stats->ExtraNote->text().contains("«Колонна К-3»")) << qPrintable(stats->ExtraNote->text());
    EXPECT_TRUE(stats->ExtraNote->text().contains("Условия применения не выполнены: 1 из 15"))
        << qPrintable(stats->ExtraNote->text());
    delete stats;

    // Taken away after the question: the column goes.
    dialogs.questionAnswers = {true};
    chooseByKeys(QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_K), &caption);
    EXPECT_EQ(caption, "Снять с конструкции");
    EXPECT_FALSE(reg.structureDependency(structure.id).has_value());
    EXPECT_TRUE(table->isColumnHidden(column));
    EXPECT_TRUE(
        dialogs.texts(ShownDialog::Question).value(0).startsWith("Снять с конструкции «Колонна К-3»"));
}

// What is not accepted or established is not given to a structure: the user is told why.
TEST_F(CalibrationApplyTest, ANotAcceptedOrNotEstablishedResultIsRefusedWithItsReasons)
{
    struct Case {
        const char *name;
        DependencyKind kind;
        QStringList strengths; // for the first rows of the structure
        const char *reason; // a part of what the user is told
    };
    const QList<Case> cases {
        // Three sites on a line: S = 0, r = 1, but 3 kept of the 12 needed.
        {"own on three sites", DependencyKind::Own, {"17.6", "19.3", "21.0"}, "нужно не менее 12"},
        // q = 1.5, 1.0: one outside 0.7…1.3, one counted of the 3 needed.
        {"Kc on two sites", DependencyKind::Kc, {"24.0", "18.0"}, "нужно ещё 2 прямых испытания"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QList<int> rows;
        for (int row = 0; row < c.strengths.size(); ++row)
            rows << row;
        whenOpened([&](QWidget *) {
            type(QString::fromUtf8(c.name));
            press(Qt::Key_Return);
        });
        press(Qt::Key_N, Qt::ControlModifier);
        activate();
        registerWindow.selectRows(rows);
        whenOpened([&](QWidget *) {
            for (const QString &strength : c.strengths) {
                type(typed(strength));
                press(Qt::Key_Tab);
                press(Qt::Key_Tab);
            }
            press(Qt::Key_Return);
        });
        press(Qt::Key_Insert);
        activate();
        window->setKind(c.kind);
        EXPECT_FALSE(window->outcome().applicable());
        dialogs.clear();
        EXPECT_FALSE(applyRefusedWithoutAsking()) << "a structure was asked for, then refused";
        ASSERT_EQ(dialogs.messages().size(), 1);
        EXPECT_TRUE(dialogs.messages().first().contains(QString::fromUtf8(c.reason)))
            << qPrintable(dialogs.messages().first());
        EXPECT_FALSE(reg.structureDependency(structure.id).has_value());
    }
}

// Two measurements read under ИНДИВИД.<1> among the structure's БАЗОВАЯ: Kc is refused, the
// own dependency warned of and, applied, asked about first.
TEST_F(CalibrationApplyTest, MixedMeterDependenciesRefuseKcAndWarnOfTheOwnDependency)
{
    RegisterSource source;
    source.kind = RegisterSource::Kind::File;
    source.addedAt = QDateTime(QDate(2026, 12, 17), QTime(9, 0));
    source.fileName = QStringLiteral("individual.db");
    ImportCounts counts;
    ASSERT_TRUE(reg.importCells({calibCell(20, 460, 100, 1), calibCell(21, 480, 100, 1)}, source, counts));
    QList<RegisterId> individual;
    for (const RegisterMeasurement &m : reg.measurements(MeasurementSelection::unassigned()))
        individual << m.id;
    ASSERT_TRUE(reg.assign(individual, structure.id));
    registerWindow.refresh();
    ASSERT_EQ(registerWindow.model()->rowCount(), 17);
    // H = 46 and 48 on the same line: R = 0.85·H + 4 = 43.1 and 44.8.
    makeSet(QStringLiteral("Смешанный"), kDirectStrengths + QStringList {"43.1", "44.8"});

    window->setKind(DependencyKind::Kc);
    const QString refusal = window->outcome().refusal;
    EXPECT_FALSE(refusal.isEmpty());
    EXPECT_TRUE(refusal.contains("ИНДИВИД.<1>")) << qPrintable(refusal);
    EXPECT_TRUE(refusal.contains("«изм. 16»") && refusal.contains("«изм. 17»"))
        << qPrintable(refusal); // the two that differ
    EXPECT_EQ(window->figureLines().mid(1), QStringList {refusal});
    EXPECT_FALSE(applyRefusedWithoutAsking()) << "a structure was asked for, then refused";
    EXPECT_EQ(dialogs.messages().value(0), refusal);
    EXPECT_FALSE(reg.structureDependency(structure.id).has_value());

    window->setKind(DependencyKind::Own);
    ASSERT_TRUE(window->outcome().applicable());
    const QString warning = window->outcome().warning;
    EXPECT_TRUE(warning.contains("ИНДИВИД.<1>")) << qPrintable(warning);
    EXPECT_EQ(window->figureLines().value(1), warning); // under the set's own line
    dialogs.questionAnswers = {false};
    chooseByKeys(QKeyCombination(Qt::ControlModifier, Qt::Key_K));
    EXPECT_TRUE(dialogs.texts(ShownDialog::Question).value(0).startsWith(warning));
    EXPECT_FALSE(reg.structureDependency(structure.id).has_value()); // declined
}

// The calibration window on a real register file, worked by keyboard: a set made, the
// direct strengths of a structure's fifteen measurements typed, the own dependency with
// its one culled site, its chart saved and printed. Figures were worked out apart from the
// program (tests/calib/calib_reference.py fit on the same sites: a = 0.85010989…,
// b = 4.00395604…, S = 0.2362, site 15 culled in round 1, Hmin 16, Hmax 42, accepted).
#include "CalibrationWindowFixture.h"

#include "CalibChartDrawing.h"
#include "CalibSetDialog.h"
#include "CalibSitesDialog.h"
#include "ToolRun.h"

#include <QAction>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QSignalSpy>
#include <QTableView>
#include <QValueAxis>
#include <QXYSeries>

#include <memory>

using namespace luvir;
using namespace luvir::test;

namespace {

class CalibrationWindowTest : public CalibrationWindowFixture
{
protected:
    // Ctrl+N: a set named `name`, its fields by keys.
    void createSet(const QString &name)
    {
        whenOpened([&](QWidget *shown) {
            auto *dialog = qobject_cast<CalibSetDialog *>(shown);
            ASSERT_NE(dialog, nullptr);
            ASSERT_EQ(QApplication::focusWidget(), dialog->Name)
                << QApplication::focusWidget()->metaObject()->className() << " "
                << qPrintable(QApplication::focusWidget()->window()->windowTitle());
            type(name);
            press(Qt::Key_Tab);
            ASSERT_EQ(QApplication::focusWidget(), dialog->Method);
            press(Qt::Key_Down); // скалывание ребра
            press(Qt::Key_Tab);
            type(QStringLiteral("B25, колонны"));
            press(Qt::Key_Return);
        });
        press(Qt::Key_N, Qt::ControlModifier);
        activate();
    }
    // Insert: the direct strengths typed for every measurement listed in the register window,
    // each followed by Tab past its date (the measurement's day, offered) to the next row.
    void addAllListed(const QStringList &strengths)
    {
        QList<int> rows;
        for (int row = 0; row < registerWindow.model()->rowCount(); ++row)
            rows << row;
        registerWindow.selectRows(rows);
        whenOpened([&](QWidget *shown) {
            auto *dialog = qobject_cast<CalibSitesDialog *>(shown);
            ASSERT_NE(dialog, nullptr);
            ASSERT_EQ(dialog->rows().size(), strengths.size());
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
    QXYSeries *series(const QString &name) const
    {
        for (QAbstractSeries *s : window->ChartView->chart()->series())
            if (s->objectName() == name)
                return qobject_cast<QXYSeries *>(s);
        return nullptr;
    }
};

} // namespace

TEST_F(CalibrationWindowTest, EveryCommandNamesItsKeyAndHasOne)
{
    for (QAction *action : window->findChildren<QAction *>()) {
        if (action->text().isEmpty() || action->isSeparator() || action->menu())
            continue;
        ASSERT_FALSE(action->shortcut().isEmpty()) << qPrintable(action->text());
        EXPECT_TRUE(action->toolTip().contains(action->shortcut().toString(QKeySequence::NativeText)))
            << qPrintable(action->toolTip());
    }
    EXPECT_TRUE(registerWindow.CalibrationAction->toolTip().contains(
        registerWindow.CalibrationAction->shortcut().toString(QKeySequence::NativeText)));
    // Tab goes round the window's parts in reading order.
    ASSERT_EQ(QApplication::focusWidget(), window->SetList);
    QList<QWidget *> visited;
    for (int i = 0; i < 5; ++i) {
        press(Qt::Key_Tab);
        visited << QApplication::focusWidget();
    }
    const QList<QWidget *> inOrder {
        window->KindChoice, window->Newest20, window->SiteTable, window->Figures, window->ChartView};
    EXPECT_EQ(visited, inOrder);
    // Ctrl+G in the register window asks for this window.
    QSignalSpy asked(&registerWindow, &RegisterWindow::calibrationRequested);
    registerWindow.show();
    registerWindow.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&registerWindow));
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return QApplication::focusWidget() && QApplication::focusWidget()->window() == &registerWindow;
    }));
    press(Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(asked.size(), 1);
    EXPECT_TRUE(registerWindow.TableMenu->actions().contains(registerWindow.CalibrationAction));
    EXPECT_TRUE(registerWindow.TreeMenu->actions().contains(registerWindow.CalibrationAction));
    // Nothing to show yet: the way to start is said.
    EXPECT_EQ(
        window->figureLines().value(0), "В журнале нет градуировочных наборов: создайте набор (Ctrl+N).");
}

// The scenario up to the chart, by keyboard alone.
TEST_F(CalibrationWindowTest, OwnDependencyWithOneCulledSiteFromTypedDirectStrengths)
{
    ASSERT_EQ(QApplication::focusWidget(), window->SetList);
    createSet(QStringLiteral("Колонны К-3"));
    ASSERT_EQ(reg.calibrationSets().size(), 1);
    const CalibrationSet set = reg.calibrationSets().first();
    EXPECT_EQ(set.name, "Колонны К-3");
    EXPECT_EQ(set.method, DirectMethod::EdgeShear);
    EXPECT_EQ(set.concrete, "B25, колонны");
    EXPECT_EQ(window->selectedSet(), set.id);
    EXPECT_EQ(window->figureLines().value(0),
        QStringLiteral("Набор «Колонны К-3»: скалывание ребра; бетон: B25, колонны; %1")
            .arg(QDate::currentDate().toString("dd.MM.yyyy")));
    EXPECT_TRUE(window->figureLines().value(1).startsWith("В наборе нет участков"));

    addAllListed(kDirectStrengths);
    const QList<CalibrationSite> sites = reg.calibrationSites(set.id);
    ASSERT_EQ(sites.size(), 15);
    for (int i = 0; i < 15; ++i) {
        EXPECT_DOUBLE_EQ(sites.at(i).direct, kDirectStrengths.at(i).toDouble()) << i;
        EXPECT_NEAR(sites.at(i).indirect, 16 + 2 * i, 1e-9) << i; // the eighth: 31.5 / 1.05
        EXPECT_EQ(sites.at(i).testedOn, QDate(2026, 12, 1 + i)) << i; // the measurement's day, kept
        EXPECT_EQ(sites.at(i).label, QString::number(i + 1)); // the measurement's site
    }

    // Shown: the own dependency, site 15 culled in the first round, accepted.
    const CalibOutcome &outcome = window->outcome();
    ASSERT_TRUE(outcome.computed()) << qPrintable(outcome.refusal);
    EXPECT_NEAR(outcome.fit.a, 0.8501098901098901, 1e-9);
    EXPECT_NEAR(outcome.fit.b, 4.003956043956044, 1e-9);
    EXPECT_EQ(outcome.fit.cullRound, (QList<int>(14, 0) << 1));
    EXPECT_TRUE(outcome.applicable());
    const QString comma = QLocale().decimalPoint();
    const QStringList lines = window->figureLines();
    for (QString expected :
        {"Зависимость: R = 0.8501·H + 4.00", "S = 0.24 МПа", "r = 1.00", "Участков: 15, после отбраковки 14",
            "Отбракованы: «15» (тур 1)", "H от 16.00 до 42.00 МПа", "Зависимость принята"})
        EXPECT_TRUE(lines.contains(expected.replace(u'.', comma))) << qPrintable(expected);
    QAbstractItemModel *table = window->SiteTable->model();
    EXPECT_EQ(table->index(14, SiteStanding).data().toString(), "отбракован (тур 1)");
    EXPECT_EQ(table->index(14, SiteFigure).data().toString(), typed("41.4")); // a·44 + b
    EXPECT_EQ(table->index(7, SiteIndirect).data().toString(), typed("30.00"));
    EXPECT_EQ(table->index(7, SiteDependency).data().toString(), "БАЗОВАЯ");

    // The chart: fourteen points, the culled one apart, the line from Hmin to Hmax.
    QXYSeries *kept = series(kKeptSeries);
    QXYSeries *culled = series(kCulledSeries);
    QXYSeries *line = series(kLineSeries);
    ASSERT_TRUE(kept && culled && line);
    EXPECT_EQ(kept->count(), 14);
    ASSERT_EQ(culled->count(), 1);
    EXPECT_EQ(culled->at(0), QPointF(44, 46.4));
    EXPECT_NE(culled->color(), kept->color());
    ASSERT_EQ(line->count(), 2);
    EXPECT_NEAR(line->at(0).x(), 16, 1e-9);
    EXPECT_NEAR(line->at(0).y(), 17.605714285714285, 1e-9);
    EXPECT_NEAR(line->at(1).x(), 42, 1e-9);
    EXPECT_NEAR(line->at(1).y(), 39.70857142857143, 1e-9);
    picture(window, "calibwin-1-own-dependency");
    picture(window->ChartView, "calibwin-2-chart");

    // Kc of the same sites: q = R / H, all within 0.7…1.3.
    window->KindChoice->setFocus();
    press(Qt::Key_Down);
    EXPECT_EQ(window->kind(), DependencyKind::Kc);
    EXPECT_EQ(table->headerData(SiteFigure, Qt::Horizontal).toString(), "q = R / H");
    EXPECT_TRUE(window->outcome().factor.established());
}

// The chart's menu by Shift+F10: saved as a picture of its size, and printed to a PDF that
// poppler reads back with its axes.
TEST_F(CalibrationWindowTest, TheChartIsSavedAndPrintedAsTheChartWindowsAre)
{
    createSet(QStringLiteral("Колонны"));
    addAllListed(kDirectStrengths);
    const QString pictureFile = dir.filePath("chart.png");
    dialogs.fileAnswers = {pictureFile};
    window->ChartView->setFocus();
    whenOpened([&](QWidget *shown) {
        EXPECT_EQ(shown, window->ChartMenu);
        QTest::keyClick(shown, Qt::Key_Down); // its first: save
        QTest::keyClick(shown, Qt::Key_Return);
    });
    press(Qt::Key_F10, Qt::ShiftModifier);
    activate();
    const QImage saved(pictureFile);
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), window->ChartView->size());

    const QString pdf = dir.filePath("chart.pdf");
    dialogs.printerAnswers = {true};
    dialogs.printerChoice = [&](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    };
    press(Qt::Key_P, Qt::ControlModifier);
    activate();
    EXPECT_TRUE(dialogs.errors().isEmpty()) << qPrintable(dialogs.errors().join('\n'));
    const ToolRun read
        = runTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}, QStringLiteral("C"));
    ASSERT_TRUE(read.ok()) << qPrintable(read.problem);
    for (const char *text : {"H, МПа", "R прямой, МПа", "Отбракованы"})
        EXPECT_TRUE(read.outText().contains(QString::fromUtf8(text))) << text << "\n"
                                                                      << qPrintable(read.outText());
}

// Refusals keep the user's typing and say which field: a missing strength, a wrong date.
TEST_F(CalibrationWindowTest, ASiteWithoutItsStrengthOrWithAWrongDateIsNotAdded)
{
    createSet(QStringLiteral("Колонны"));
    registerWindow.selectRows({0, 1});
    whenOpened([&](QWidget *shown) {
        auto *dialog = qobject_cast<CalibSitesDialog *>(shown);
        ASSERT_NE(dialog, nullptr);
        type(typed("17.9"));
        press(Qt::Key_Return); // the second row has no strength
        EXPECT_EQ(QApplication::focusWidget(), dialog->rows().at(1).direct);
        type(typed("19.1"));
        press(Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        type(QStringLiteral("31.13.2026"));
        press(Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), dialog->rows().at(1).date);
        press(Qt::Key_Escape);
    });
    press(Qt::Key_Insert);
    activate();
    EXPECT_EQ(dialogs.errors(),
        (QStringList {"Участок «2»: введите прочность по прямому методу больше 0.",
            "Участок «2», дата испытания: «31.13.2026» не является датой ДД.ММ.ГГГГ."}));
    EXPECT_TRUE(reg.calibrationSites(window->selectedSet()).isEmpty());
}

// A site typed from paper, and its removal after the question; then the set renamed in its
// properties and removed after its own question.
TEST_F(CalibrationWindowTest, ATypedSiteAndItsSetAreEditedAndRemovedAfterTheQuestions)
{
    createSet(QStringLiteral("Архив 2019"));
    whenOpened([&](QWidget *shown) {
        auto *dialog = qobject_cast<CalibSitesDialog *>(shown);
        ASSERT_NE(dialog, nullptr);
        type(QStringLiteral("Б-3"));
        press(Qt::Key_Tab);
        type(typed("27.35"));
        press(Qt::Key_Tab);
        type(typed("29.4"));
        press(Qt::Key_Tab);
        type(QStringLiteral("14.05.2019"));
        press(Qt::Key_Return);
    });
    press(Qt::Key_Insert, Qt::ControlModifier);
    activate();
    QList<CalibrationSite> sites = reg.calibrationSites(window->selectedSet());
    ASSERT_EQ(sites.size(), 1);
    EXPECT_EQ(sites.first().label, "Б-3");
    EXPECT_EQ(sites.first().measurementId, 0);
    EXPECT_DOUBLE_EQ(sites.first().indirect, 27.35);
    EXPECT_DOUBLE_EQ(sites.first().direct, 29.4);
    EXPECT_EQ(sites.first().testedOn, QDate(2019, 5, 14));
    EXPECT_EQ(window->SiteTable->model()->index(0, SiteDependency).data().toString(), "введён вручную");

    window->SiteTable->setFocus();
    dialogs.questionAnswers = {false, true};
    press(Qt::Key_Delete);
    EXPECT_EQ(reg.calibrationSites(window->selectedSet()).size(), 1); // declined
    press(Qt::Key_Delete);
    EXPECT_TRUE(reg.calibrationSites(window->selectedSet()).isEmpty());
    EXPECT_EQ(dialogs.texts(ShownDialog::Question).value(0), "Удалить участок «Б-3» из набора?");

    // The set's properties by Alt+Enter, then the set removed after its question.
    window->SetList->setFocus();
    whenOpened([&](QWidget *shown) {
        auto *dialog = qobject_cast<CalibSetDialog *>(shown);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->Name->text(), "Архив 2019");
        dialog->Name->selectAll();
        type(QStringLiteral("Архив 2019 года"));
        press(Qt::Key_Return);
    });
    press(Qt::Key_Return, Qt::AltModifier);
    activate();
    ASSERT_EQ(reg.calibrationSets().size(), 1);
    EXPECT_EQ(reg.calibrationSets().first().name, "Архив 2019 года");
    EXPECT_EQ(window->SetList->currentItem()->text(), "Архив 2019 года");
    dialogs.questionAnswers = {true};
    press(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_TRUE(reg.calibrationSets().isEmpty());
    EXPECT_TRUE(dialogs.texts(ShownDialog::Question)
                    .last()
                    .startsWith("Удалить градуировочный набор «Архив 2019 года»"));
}

// The axes are labelled in whole MPa: whatever the sites, no two labels of an axis are the
// same figure (a set without sites, or with its sites close together, once read "0 0 0 1 1 1").
TEST(CalibChartAxes, NoLabelRepeatsWithFewOrCloseSites)
{
    struct Case {
        const char *name;
        QList<QPointF> kept;
    };
    const Case cases[] = {
        {"no site", {}},
        {"one site", {{30.0, 31.0}}},
        {"sites within 1 MPa", {{30.0, 31.0}, {30.4, 31.2}, {30.9, 31.5}}},
        {"a usual spread", {{12.3, 13.7}, {55.0, 52.4}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CalibChartContent content;
        content.kept = c.kept;
        std::unique_ptr<QChart> chart(createCalibChart(content));
        const QList<QAbstractAxis *> axes = chart->axes();
        ASSERT_EQ(axes.size(), 2);
        for (QAbstractAxis *axis : axes) {
            auto *values = qobject_cast<QValueAxis *>(axis);
            ASSERT_NE(values, nullptr);
            const double step = (values->max() - values->min()) / (values->tickCount() - 1);
            EXPECT_GE(step, 1.0) << values->min() << "…" << values->max() << " in " << values->tickCount();
            for (const QPointF &p : c.kept) {
                const double v = axis->orientation() == Qt::Horizontal ? p.x() : p.y();
                EXPECT_TRUE(v > values->min() && v < values->max()) << v;
            }
        }
    }
}

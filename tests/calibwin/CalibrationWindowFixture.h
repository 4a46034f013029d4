#pragma once
// A register file with a structure of fifteen measurements whose indirect values are known
// (H = 16, 18 … 44 MPa; the eighth stored as 31.5 MPa with Kc 1.05, the rest with Kc 1.00),
// the register window listing them and the calibration window attached to it, both at the
// size a 1024 × 768 screen gives them. Keys go to whatever has the keyboard; the dialog
// seam answers questions and file dialogs, the window's own dialogs are answered by keys.

#include "CalibrationWindow.h"
#include "Register.h"
#include "RegisterMeasurementModel.h"
#include "RegisterWindow.h"
#include "ScriptedDialogs.h"
#include "TestData.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace luvir::test {

// The direct strengths typed for the fifteen sites: R ≈ 0.85·H + 4, the last 5 MPa above.
inline const QStringList kDirectStrengths {"17.9", "19.1", "21.1", "22.3", "24.6", "26.1", "27.7", "29.8",
    "30.9", "33.1", "34.4", "36.4", "38.2", "39.6", "46.4"};

// A measurement of `tenths` / 10 MPa with Kc `hundredths` / 100 and dependency `dependency`,
// taken on 1.12.2026 + `n` days.
// The register window's column of the strength by a dependency, in its listed (time) order.
inline QStringList strengthsShown(const RegisterWindow &window)
{
    QStringList texts;
    const auto *model = window.model();
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, RegisterMeasurementModel::kDependencyColumn).data().toString();
    return texts;
}

inline ArchiveCell calibCell(int n, int tenths, int hundredths, int dependency = 0)
{
    ArchiveCell cell = sampleCell(n);
    cell.setWord(ArchiveCell::ImpactValues + 2 * 13, static_cast<std::uint16_t>(200 + n)); // unlike any other
    cell.setWord(ArchiveCell::Strength, static_cast<std::uint16_t>(tenths));
    cell.bytes[ArchiveCell::Kc] = static_cast<std::uint8_t>(hundredths);
    cell.bytes[ArchiveCell::Dependency] = static_cast<std::uint8_t>(dependency);
    cell.bytes[ArchiveCell::Day] = static_cast<std::uint8_t>(1 + n);
    cell.bytes[ArchiveCell::Month] = 12;
    cell.bytes[ArchiveCell::Year] = 26;
    cell.bytes[ArchiveCell::Hour] = 10;
    return cell;
}

class CalibrationWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(reg.open(dir.filePath("register.sqlite")), Register::OpenStatus::Ok);
        QList<ArchiveCell> cells;
        for (int i = 0; i < 15; ++i) {
            const int h = 16 + 2 * i;
            cells << (i == 7 ? calibCell(i, 315, 105) : calibCell(i, h * 10, 100));
        }
        RegisterSource source;
        source.kind = RegisterSource::Kind::File;
        source.addedAt = QDateTime(QDate(2026, 12, 16), QTime(9, 0));
        source.version = {1, 0};
        source.fileName = QStringLiteral("calib.db");
        ImportCounts counts;
        ASSERT_TRUE(reg.importCells(cells, source, counts));
        ASSERT_TRUE(
            reg.assignNamed(ids(), QStringLiteral("Дом 5"), QStringLiteral("Колонна К-3"), {}, &structure));
        const QList<RegisterMeasurement> listed
            = reg.measurements(MeasurementSelection::ofStructure(structure.id));
        for (int i = 0; i < listed.size(); ++i)
            ASSERT_TRUE(reg.setSite(listed.at(i).id, QString::number(i + 1)));

        registerWindow.setRegister(&reg);
        registerWindow.resize(980, 660); // what a 1024 × 768 screen gives it
        registerWindow.selectNode(RegisterWindow::NodeKind::Structure, structure.id);
        window = new CalibrationWindow(&registerWindow);
        window->attach(registerWindow);
        window->setRegister(&reg);
        window->resize(980, 660);
        window->show();
        activate();
    }

    QList<RegisterId> ids()
    {
        QList<RegisterId> all;
        for (const RegisterMeasurement &m : reg.measurements(MeasurementSelection::unassigned()))
            all << m.id;
        return all;
    }

    // The calibration window active again with its keyboard focus where it was, as the
    // window manager leaves it once a dialog or menu closed (offscreen, the test does it).
    void activate()
    {
        QCoreApplication::processEvents();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        EXPECT_TRUE(QTest::qWaitFor(
            [this] { return QApplication::focusWidget() && QApplication::focusWidget()->window() == window; },
            2000));
    }
    // A key as the user presses it: to whatever has the keyboard.
    static void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, static_cast<Qt::Key>(key), modifiers);
    }
    static void type(const QString &text)
    {
        for (const QChar c : text) {
            QWidget *focus = QApplication::focusWidget();
            ASSERT_NE(focus, nullptr);
            QTest::sendKeyEvent(QTest::Click, focus, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    // The modal dialog or the menu the next key opens is handed to `answer` once it has the
    // keyboard; `answer` closes it. One that an answer left open (a failed assertion in it)
    // is closed after it, so the test goes on to tell.
    static void whenOpened(std::function<void(QWidget *)> answer)
    {
        QTimer::singleShot(0, [answer] {
            QWidget *shown = QApplication::activePopupWidget();
            if (!shown)
                shown = QApplication::activeModalWidget();
            if (!shown) {
                ADD_FAILURE() << "nothing opened";
                return;
            }
            if (!qobject_cast<QMenu *>(shown)) {
                shown->activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(shown));
                EXPECT_TRUE(QTest::qWaitFor(
                    [shown] {
                        return QApplication::focusWidget() && QApplication::focusWidget()->window() == shown;
                    },
                    2000));
            }
            const QPointer<QWidget> open(shown);
            answer(shown);
            if (open && open->isVisible()) {
                ADD_FAILURE() << "left open: " << qPrintable(open->windowTitle());
                open->close();
            }
        });
    }
    // A number as the user types it: with the decimal separator of the user's settings.
    static QString typed(QString number) { return number.replace(u'.', QLocale().decimalPoint()); }
    // The window's pictures, for the closing note and the help: written only when
    // LUVIR_SCREENSHOTS names a folder.
    static void picture(QWidget *shown, const QString &name)
    {
        const QString folder = qEnvironmentVariable("LUVIR_SCREENSHOTS");
        if (!folder.isEmpty())
            shown->grab().save(QDir(folder).filePath(name + ".png"));
    }

    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    Register reg;
    RegisterStructure structure;
    RegisterWindow registerWindow;
    CalibrationWindow *window = nullptr; // the register window's child
};

} // namespace luvir::test

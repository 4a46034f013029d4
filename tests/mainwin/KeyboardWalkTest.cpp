// The whole workflow by keyboard alone: the menus by Alt and the arrows, the table by the
// arrows and Enter, the windows it opens closed by Esc. Every key goes where the keyboard
// focus is, as a user's key does.
#include "MainWindowFixture.h"

#include "CellText.h"
#include "ReportPreview.h"
#include "MeterSim.h"
#include "StatusPanels.h"
#include "Unit2.h"
#include "Unit5.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace luvir;
using namespace luvir::test;

namespace {

// Where a key goes: the open menu, else the widget with the focus, else the active window.
QWidget *keyTarget()
{
    if (QWidget *popup = QApplication::activePopupWidget())
        return popup;
    if (QWidget *focus = QApplication::focusWidget())
        return focus;
    return QApplication::activeWindow();
}

void press(Qt::Key key, int times = 1)
{
    for (int i = 0; i < times; ++i)
        QTest::keyClick(keyTarget(), key);
}

// Alt pressed and released alone, as a user reaches the menu bar.
void pressAlt()
{
    QWidget *target = keyTarget();
    QTest::keyPress(target, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyRelease(target, Qt::Key_Alt, Qt::NoModifier);
}

// The caption of the menu item or menu bar entry the keyboard is on.
QString highlighted()
{
    if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget()))
        return menu->activeAction() ? menu->activeAction()->text() : QString();
    if (auto *bar = qobject_cast<QMenuBar *>(QApplication::focusWidget()))
        return bar->activeAction() ? bar->activeAction()->text() : QString();
    return {};
}

// Runs `inside` once the modal window of type W that `open` opens is up; `open` returns
// when that window has closed, and the window below is active again, as the window
// manager makes it. False when no such window came up.
template<typename W>
bool whileModal(const std::function<void()> &open, const std::function<void(W *)> &inside)
{
    QWidget *below = QApplication::activeWindow();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        if (auto *modal = qobject_cast<W *>(QApplication::activeModalWidget())) {
            seen = true;
            QApplication::setActiveWindow(modal);
            inside(modal);
        }
    });
    open();
    QCoreApplication::processEvents(); // a timer that found no window must not outlive the step
    QApplication::setActiveWindow(below);
    return seen;
}

class KeyboardWalk : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // Alt, then the arrows to menu `menu` and its item `item`, checking each on the way.
    void chooseFromMenu(const QString &menu, const QString &item)
    {
        pressAlt();
        for (int i = 0; i < 4 && highlighted() != menu; ++i)
            press(Qt::Key_Right);
        ASSERT_EQ(highlighted(), menu);
        press(Qt::Key_Down); // opens the menu on its first item
        for (int i = 0; i < 8 && highlighted() != item; ++i)
            press(Qt::Key_Down);
        ASSERT_EQ(highlighted(), item);
        press(Qt::Key_Return);
    }

    QString valuesOfRow(int row) const
    {
        return intermediateValuesLine(window->session().archive.Cells[static_cast<std::size_t>(row - 1)],
                                      systemDecimalSeparator());
    }
};

} // namespace

TEST_F(KeyboardWalk, OpenMoveDeleteChartPreviewExportQuit)
{
    const QString archive = writeArchiveFile(QStringLiteral("walk.db"), sampleArchive(80));

    // Open: the table takes the keyboard at once, on its first row.
    dialogs.fileAnswers << archive;
    chooseFromMenu(QStringLiteral("Файл"), QStringLiteral("Открыть"));
    ASSERT_TRUE(tableShown());
    EXPECT_EQ(QApplication::focusWidget(), window->StringGrid1);
    EXPECT_EQ(window->currentRow(), 1);

    // Move: the arrows move the current row; panel 1 follows.
    press(Qt::Key_Down, 2);
    EXPECT_EQ(window->currentRow(), 3);
    EXPECT_EQ(window->statusText(1), valuesOfRow(3));

    // Delete: Правка › «Удалить строку» takes measurement 3; the keyboard stays in the table.
    const QString fourth = window->table().text(1, 4);
    chooseFromMenu(QStringLiteral("Правка"), QStringLiteral("Удалить строку"));
    EXPECT_EQ(window->table().dataRowCount(), 79);
    EXPECT_EQ(window->currentRow(), 3);
    EXPECT_EQ(window->table().text(1, 3), fourth);
    EXPECT_EQ(QApplication::focusWidget(), window->StringGrid1);

    // Chart: Enter charts the current row; its Экспорт is reached by Alt and the arrows; Esc closes it.
    const QString picture = path(QStringLiteral("chart.png"));
    dialogs.fileAnswers << picture;
    QString chartTitle;
    EXPECT_TRUE(whileModal<TForm5>([] { press(Qt::Key_Return); },
                                   [&](TForm5 *chart) {
                                       chartTitle = chart->shownContent().title;
                                       pressAlt();
                                       press(Qt::Key_Right); // Печать, Экспорт
                                       EXPECT_EQ(highlighted(), QStringLiteral("Экспорт"));
                                       press(Qt::Key_Return);
                                       press(Qt::Key_Escape);
                                   }));
    EXPECT_TRUE(chartTitle.endsWith(fourth)) << chartTitle.toStdString();
    EXPECT_GT(QFileInfo(picture).size(), 0);
    EXPECT_EQ(QApplication::focusWidget(), window->StringGrid1);

    // Preview: Файл › Печать; pages turned by the keyboard; Esc closes it.
    int pages = 0;
    int pageShown = -1;
    EXPECT_TRUE(whileModal<ReportPreview>(
        [&] { chooseFromMenu(QStringLiteral("Файл"), QStringLiteral("Печать")); },
        [&](ReportPreview *preview) {
            pages = preview->report().pageCount();
            press(Qt::Key_PageDown);
            pageShown = preview->currentPage();
            press(Qt::Key_Escape);
        }));
    ASSERT_GT(pages, 1);
    EXPECT_EQ(pageShown, 1); // the second page

    // Quit: Файл › Выход; the question about saving is answered Cancel.
    QSignalSpy quit(window.get(), &TForm1::terminateRequested);
    chooseFromMenu(QStringLiteral("Файл"), QStringLiteral("Выход"));
    EXPECT_EQ(quit.count(), 1);
    EXPECT_EQ(dialogs.texts(ShownDialog::Question), QStringList{QStringLiteral("Сохранить файл")});
    EXPECT_TRUE(dialogs.errors().isEmpty());
}

TEST_F(KeyboardWalk, DownloadByKeysLeavesTheKeyboardInTheTable)
{
    sim::meter().reset();
    sim::meter().generateCells(30);
    // Enter in the dialog presses «Скачать», which has the focus as the dialog opens.
    EXPECT_TRUE(whileModal<TForm2>([&] { chooseFromMenu(QStringLiteral("Данные"), QStringLiteral("Скачать архив")); },
                                   [](TForm2 *) { press(Qt::Key_Return); }));
    ASSERT_EQ(window->session().archive.Count, 30);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), window->StringGrid1);

    press(Qt::Key_Down);
    EXPECT_EQ(window->currentRow(), 2);
    EXPECT_EQ(window->statusText(1), valuesOfRow(2));
    QString chartTitle;
    EXPECT_TRUE(whileModal<TForm5>([] { press(Qt::Key_Return); },
                                   [&](TForm5 *chart) {
                                       chartTitle = chart->shownContent().title;
                                       press(Qt::Key_Escape);
                                   }));
    EXPECT_TRUE(chartTitle.contains(QStringLiteral("Измерение №2"))) << chartTitle.toStdString();
}

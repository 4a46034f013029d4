// Qt's text box behind the seam, as the program shows it: wide enough that a window
// manager's title bar (icon and three buttons) leaves the whole caption readable, starting
// with the text offered, and answering what was typed or nothing when cancelled.
#include "UserDialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace luvir;

namespace {

// Runs `answer` on the text box the next call opens.
void whenOpened(std::function<void(QInputDialog *)> answer)
{
    QTimer::singleShot(0, [answer] {
        auto *dialog = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no text box";
            return;
        }
        answer(dialog);
    });
}

} // namespace

TEST(TextInputDialog, IsWideEnoughForItsCaptionAndAnswersWhatWasTyped)
{
    setDialogs(nullptr);
    const QStringList captions = {"Новый объект", "Новая конструкция", "Переименовать", "Участки по порядку"};
    for (const QString &caption : captions) {
        SCOPED_TRACE(caption.toStdString());
        int width = 0;
        int needed = 0;
        QString offered;
        whenOpened([&](QInputDialog *dialog) {
            width = dialog->width();
            // The caption, the window's icon and its three buttons (about 30 px each).
            needed = dialog->fontMetrics().horizontalAdvance(caption) + 4 * 30;
            offered = dialog->findChild<QLineEdit *>()->text();
            QTest::keyClick(dialog->findChild<QLineEdit *>(), Qt::Key_End);
            QTest::keyClicks(dialog->findChild<QLineEdit *>(), "X");
            QTest::keyClick(dialog->findChild<QLineEdit *>(), Qt::Key_Return);
        });
        const std::optional<QString> typed = dialogs().textInput(nullptr, caption, "Название:", "К-");
        EXPECT_GE(width, needed);
        EXPECT_EQ(offered, "К-");
        ASSERT_TRUE(typed.has_value());
        EXPECT_EQ(*typed, "К-X");
    }
    whenOpened([](QInputDialog *dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_FALSE(dialogs().textInput(nullptr, "Новый объект", "Название объекта:", {}).has_value());
}

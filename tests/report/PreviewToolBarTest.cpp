// The preview's toolbar on a 1024 x 768 screen: every command on screen, none behind the
// overflow button, each reachable by its shortcut, which its tool tip names.
#include "MeasurementReport.h"
#include "ReportPreview.h"
#include "ReportTestData.h"
#include "ScriptedDialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace luvir;
using luvir::test::kPrintMoment;
using luvir::test::kRussianLocale;

namespace {

class PreviewToolBar : public ::testing::Test
{
protected:
    PreviewToolBar()
        : table(test::sampleTable(120))
        , preview(measurementReportLayout(table, kPrintMoment, kRussianLocale),
              measurementReportTemplate().pageLayout())
    {
        preview.resize(1024, 740); // a maximised window on a 1024 x 768 screen, less its frame
        preview.show();
        preview.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&preview));
    }

    QList<QAction *> commands() const
    {
        QList<QAction *> result;
        for (QAction *action : preview.toolBar()->actions())
            if (!action->isSeparator() && !action->text().isEmpty())
                result << action;
        return result;
    }

    test::ScriptedDialogs dialogs;
    const MeasurementTable table;
    ReportPreview preview;
};

} // namespace

TEST_F(PreviewToolBar, EveryCommandIsOnScreenAt1024Pixels)
{
    const QStringList expected = {"Печать", "Параметры страницы", "Экспорт", "Увеличить", "Уменьшить",
        "Страница целиком", "По ширине страницы", "Первая страница", "Предыдущая страница",
        "Следующая страница", "Последняя страница", "Закрыть"};
    QStringList names;
    for (QAction *action : commands()) {
        names << action->text();
        QWidget *button = preview.toolBar()->widgetForAction(action);
        ASSERT_NE(button, nullptr) << action->text().toStdString();
        EXPECT_TRUE(button->isVisible()) << action->text().toStdString();
        EXPECT_TRUE(preview.toolBar()->rect().contains(button->geometry())) << action->text().toStdString();
        EXPECT_FALSE(action->icon().isNull()) << action->text().toStdString();
    }
    EXPECT_EQ(names, expected);
    // The toolbar's overflow button ("»") is not shown.
    for (QToolButton *button : preview.toolBar()->findChildren<QToolButton *>())
        if (button->objectName() == u"qt_toolbar_ext_button") {
            EXPECT_FALSE(button->isVisible());
        }
}

TEST_F(PreviewToolBar, EveryCommandHasAShortcutNamedInItsToolTip)
{
    QList<QKeySequence> taken;
    for (QAction *action : commands()) {
        const std::string name = action->text().toStdString();
        const QKeySequence shortcut = action->shortcut();
        ASSERT_FALSE(shortcut.isEmpty()) << name;
        EXPECT_FALSE(taken.contains(shortcut)) << name;
        taken << shortcut;
        EXPECT_EQ(
            action->toolTip(), action->text() + " (" + shortcut.toString(QKeySequence::NativeText) + ")");

        // The key reaches the command. Dialogs it opens are cancelled by the script; the
        // export menu is closed once it shows.
        int triggered = 0;
        const auto connection = QObject::connect(action, &QAction::triggered, [&] { ++triggered; });
        bool menuShown = false;
        QTimer::singleShot(50, [&] {
            if (QWidget *popup = QApplication::activePopupWidget()) {
                menuShown = popup == preview.exportMenu();
                popup->close();
            }
        });
        QTest::keySequence(&preview, shortcut);
        QObject::disconnect(connection);
        EXPECT_EQ(triggered, 1) << name;
        if (action->menu()) {
            EXPECT_TRUE(menuShown) << name << ": its shortcut opens the menu";
        }
    }
    EXPECT_FALSE(preview.isVisible()) << "Esc closed the preview";
}

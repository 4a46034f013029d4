// The protocol from the register window: "Протокол испытаний…" on an object opens the
// protocol dialog on its structures, over the register window, with the fields the
// register keeps.
#include "ProtocolDialog.h"
#include "ProtocolTestData.h"
#include "RegisterLocation.h"
#include "RegisterWindow.h"
#include "RegisterWindowHost.h"
#include "ScriptedDialogs.h"
#include "Unit1.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace luvir;
using namespace luvir::test;

TEST(ProtocolFromRegister, TheObjectsProtocolOpensOverTheRegisterWindow)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("register.sqlite");
    FilledRegister filled;
    {
        Register reg;
        ASSERT_EQ(reg.open(path), Register::OpenStatus::Ok);
        filled = fillRegister(reg);
    }
    rememberRegisterPath(path);
    ScriptedDialogs dialogs;
    TForm1 mainWindow;
    RegisterWindowHost host(mainWindow);
    mainWindow.RegisterItem->trigger();
    host.window().selectNode(RegisterWindow::NodeKind::Object, filled.objectId);

    QString number, what;
    QWidget *parent = nullptr;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<ProtocolDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        number = dialog->findChild<QLineEdit *>("number")->text();
        what = dialog->findChildren<QLabel *>().value(0)->text();
        parent = dialog->parentWidget();
        dialog->reject();
    });
    host.window().ProtocolAction->trigger();
    EXPECT_EQ(number, numberOfferedToday(1));
    EXPECT_EQ(what, "Конструкции: Колонна К-3, ось 5/Б; Плита П-1; участков: 33");
    EXPECT_EQ(parent, &host.window());
    EXPECT_TRUE(dialogs.shown.isEmpty()) << qPrintable(dialogs.shown.value(0).text);
    rememberRegisterPath(defaultRegisterPath());
}

// The register window shows what the user's last addition in this run did, whole, once it
// opens on that register; a window on another register does not show it.
TEST(ProtocolFromRegister, TheWindowShowsTheLastAdditionOfThisRunOnItsRegister)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("register.sqlite");
    {
        Register reg;
        ASSERT_EQ(reg.open(path), Register::OpenStatus::Ok);
        fillRegister(reg);
    }
    rememberRegisterPath(path);
    ScriptedDialogs dialogs;
    TForm1 mainWindow;
    RegisterWindowHost host(mainWindow);
    mainWindow.RegisterItem->trigger();
    EXPECT_EQ(host.window().AdditionLabel->text(), ""); // what an earlier run added is not news
    host.window().close();

    emit mainWindow.registerAdded("Журнал: добавлено 40, уже были 2");
    mainWindow.RegisterItem->trigger();
    EXPECT_EQ(host.window().AdditionLabel->text(), "Журнал: добавлено 40, уже были 2");

    host.window().close();
    const QString other = dir.filePath("other.sqlite");
    {
        Register reg;
        ASSERT_EQ(reg.open(other), Register::OpenStatus::Ok);
    }
    rememberRegisterPath(other);
    mainWindow.RegisterItem->trigger();
    EXPECT_EQ(host.window().AdditionLabel->text(), "");
    rememberRegisterPath(defaultRegisterPath());
}

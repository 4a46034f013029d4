// The register window on a server register that does not open at once: the connect dialog
// asks for the password the server wants and opens it; a server that cannot be reached is
// told, and the register on this computer is offered instead.
#include "PostgresServer.h"
#include "Register.h"
#include "RegisterLocation.h"
#include "RegisterServerDialog.h"
#include "RegisterWindow.h"
#include "RegisterWindowHost.h"
#include "ScriptedDialogs.h"
#include "Unit1.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

using namespace luvir;
using namespace luvir::test;

namespace {

// Acts on the connect dialog once it is shown modally: `act` gets it and its line edits
// (host, database, user, password).
void whenConnectDialogShows(const std::function<void(RegisterServerDialog &, QList<QLineEdit *>)> &act)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        auto *dialog = qobject_cast<RegisterServerDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll->deleteLater();
        poll->stop();
        act(*dialog, dialog->findChildren<QLineEdit *>(Qt::FindDirectChildrenOnly));
    });
    poll->start(20);
}

class RegisterServerHost : public ::testing::Test
{
protected:
    void TearDown() override { rememberRegisterPath(defaultRegisterPath()); }
    ScriptedDialogs dialogs;
};

} // namespace

TEST_F(RegisterServerHost, ThePasswordTheServerWantsIsAskedAndTheRegisterOpens)
{
    ScratchDatabase database;
    const QString password = serverSettings().value("PGPASSWORD");
    qunsetenv("PGPASSWORD");
    qputenv("PGPASSFILE", QByteArray("/nonexistent/pgpass"));
    rememberRegisterPath(serverUri(database.name()) + "?sslmode=disable");

    TForm1 mainWindow;
    RegisterWindowHost host(mainWindow);
    bool asked = false;
    whenConnectDialogShows([&](RegisterServerDialog &dialog, QList<QLineEdit *> edits) {
        dialog.accept(); // the server wants a password: its field is shown
        asked = !edits.value(3)->isHidden();
        edits.value(3)->setText(password);
        dialog.accept();
    });
    mainWindow.RegisterItem->trigger();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(dialogs.shown.isEmpty()) << qPrintable(dialogs.shown.value(0).text);
    EXPECT_EQ(host.window().nodeText(RegisterWindow::NodeKind::Unassigned), "Не распределены (0)");
    EXPECT_FALSE(rememberedRegisterPath().contains(password));
}

TEST_F(RegisterServerHost, AnUnreachableServerIsToldAndTheLocalRegisterOffered)
{
    rememberRegisterPath("postgresql://engineer@127.0.0.1:1/register?sslmode=disable&connect_timeout=2");
    TForm1 mainWindow;
    RegisterWindowHost host(mainWindow);
    whenConnectDialogShows([](RegisterServerDialog &dialog, QList<QLineEdit *>) { dialog.reject(); });
    dialogs.questionAnswers << true;
    mainWindow.RegisterItem->trigger();

    ASSERT_EQ(dialogs.errors().size() + dialogs.messages().size(), 1);
    const QStringList questions = dialogs.texts(ShownDialog::Question);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].startsWith("Журнал на сервере недоступен.")) << qPrintable(questions[0]);
    EXPECT_EQ(rememberedRegisterPath(), defaultRegisterPath());
    EXPECT_EQ(host.window().nodeText(RegisterWindow::NodeKind::Unassigned), "Не распределены (0)");
}

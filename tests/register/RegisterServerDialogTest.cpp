// "Подключиться к серверу…" against the throwaway server: the fields make the location,
// the password is asked only when the server wants one, refusals go to the error box and
// leave the dialog open.
#include "PostgresServer.h"
#include "Register.h"
#include "RegisterLocation.h"
#include "RegisterServer.h"
#include "RegisterServerDialog.h"
#include "ScriptedDialogs.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QUrl>

#include <gtest/gtest.h>

using namespace luvir;
using namespace luvir::test;

namespace {

// The dialog's fields in the order they are laid out.
struct Fields {
    QLineEdit *host, *database, *user, *password;
    QSpinBox *port;
    QComboBox *ssl;
};

Fields fieldsOf(RegisterServerDialog &dialog)
{
    const QList<QLineEdit *> edits = dialog.findChildren<QLineEdit *>(Qt::FindDirectChildrenOnly);
    EXPECT_EQ(edits.size(), 4);
    return {edits.value(0), edits.value(1), edits.value(2), edits.value(3), dialog.findChild<QSpinBox *>(),
        dialog.findChild<QComboBox *>()};
}

void fill(Fields &fields, const QString &host, int port, const QString &database, const QString &user)
{
    fields.host->setText(host);
    fields.port->setValue(port);
    fields.database->setText(database);
    fields.user->setText(user);
}

} // namespace

TEST(RegisterServerDialog, TheFieldsMakeTheLocationAndBack)
{
    Register reg;
    RegisterServerDialog dialog(reg);
    Fields fields = fieldsOf(dialog);
    fill(fields, "lab-server", 5433, "журнал 2026", "иванова");
    fields.ssl->setCurrentIndex(fields.ssl->findData("verify-full"));
    const QString location = dialog.location();
    // Read back by Qt's URL parser, not by the program's.
    const QUrl url(location);
    EXPECT_EQ(url.scheme(), "postgresql");
    EXPECT_EQ(url.host(), "lab-server");
    EXPECT_EQ(url.port(), 5433);
    EXPECT_EQ(url.path(), "/журнал 2026");
    EXPECT_EQ(url.userName(), "иванова");
    EXPECT_EQ(url.query(), "sslmode=verify-full");
    EXPECT_TRUE(fields.password->isHidden());

    RegisterServerDialog again(reg);
    again.setLocation(location);
    EXPECT_EQ(again.location(), location);
    EXPECT_EQ(fieldsOf(again).ssl->currentData().toString(), "verify-full");
}

TEST(RegisterServerDialog, AsksThePasswordOnlyWhenTheServerWantsOneAndOpensTheRegister)
{
    ScratchDatabase database;
    const auto settings = serverSettings();
    qunsetenv("PGPASSWORD");
    qputenv("PGPASSFILE", QByteArray("/nonexistent/pgpass"));
    ScriptedDialogs dialogs;
    Register reg;
    RegisterServerDialog dialog(reg);
    Fields fields = fieldsOf(dialog);

    // A database that is not there: the error box, the dialog stays.
    fill(fields, settings.value("PGHOST"), settings.value("PGPORT").toInt(), "no_such_register", settings.value("PGUSER"));
    fields.ssl->setCurrentIndex(fields.ssl->findData("disable"));
    dialog.accept();
    // Without a password the server is asked for one before it says whether the database exists.
    EXPECT_FALSE(fields.password->isHidden());
    EXPECT_TRUE(dialogs.shown.isEmpty());
    fields.password->setText(settings.value("PGPASSWORD"));
    dialog.accept();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].kind, ShownDialog::Error);
    EXPECT_TRUE(dialogs.shown[0].text.contains("на сервере нет базы данных \"no_such_register\""))
        << qPrintable(dialogs.shown[0].text);
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    // The right database with a wrong password: told, still open; then the right one.
    fields.database->setText(database.name());
    fields.password->setText("не тот");
    dialog.accept();
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_TRUE(dialogs.shown[1].text.contains("неверный пароль")) << qPrintable(dialogs.shown[1].text);
    EXPECT_FALSE(reg.isOpen());
    fields.password->setText(settings.value("PGPASSWORD"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(reg.isOpen()) << qPrintable(reg.errorString());
    EXPECT_EQ(reg.fileName(), dialog.location());
    EXPECT_FALSE(reg.fileName().contains(settings.value("PGPASSWORD")));
    EXPECT_TRUE(fields.password->text().isEmpty()); // not kept in the dialog
    EXPECT_TRUE(reg.measurements(MeasurementSelection::all()).isEmpty());
    qputenv("PGPASSWORD", settings.value("PGPASSWORD").toUtf8());
}

// The password typed earlier in this run is used by itself; once the server no longer takes
// it (changed meanwhile), the field is shown so a new one can be typed, which is kept instead.
TEST(RegisterServerDialog, APasswordTypedEarlierIsUsedAndAskedAgainWhenRefused)
{
    ScratchDatabase database;
    const QString password = serverSettings().value("PGPASSWORD");
    qunsetenv("PGPASSWORD");
    qputenv("PGPASSFILE", QByteArray("/nonexistent/pgpass"));
    const QString location = database.uri() + "?sslmode=disable";
    ScriptedDialogs dialogs;

    keepSessionPassword(location, password);
    {
        Register reg;
        RegisterServerDialog dialog(reg);
        dialog.setLocation(location);
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_TRUE(dialogs.shown.isEmpty()) << qPrintable(dialogs.shown.value(0).text);
        EXPECT_TRUE(fieldsOf(dialog).password->isHidden());
    }

    keepSessionPassword(location, "the old one");
    Register reg;
    RegisterServerDialog dialog(reg);
    dialog.setLocation(location);
    Fields fields = fieldsOf(dialog);
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_TRUE(dialogs.errors()[0].contains("неверный пароль")) << qPrintable(dialogs.errors()[0]);
    EXPECT_FALSE(fields.password->isHidden());
    fields.password->setText(password);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(sessionPassword(location), password);
    qputenv("PGPASSWORD", password.toUtf8());
}

// The register window and the main window's downloads on a server register that does not
// open at once: the connect dialog asks for the password the server wants and opens it, and
// the password typed is kept for the rest of the run only; a server that cannot be reached
// is told, and the register on this computer is offered instead.
#include "MeterSim.h"
#include "PostgresServer.h"
#include "Register.h"
#include "RegisterLocation.h"
#include "RegisterServerDialog.h"
#include "RegisterWindow.h"
#include "RegisterWindowHost.h"
#include "ScriptedDialogs.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit5.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
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

// Answers every connect dialog shown while it lives: `answer` gets the dialog and its line
// edits; counts them.
class ConnectDialogAnswerer
{
public:
    explicit ConnectDialogAnswerer(std::function<void(RegisterServerDialog &, QList<QLineEdit *>)> answer)
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this, answer] {
            auto *dialog = qobject_cast<RegisterServerDialog *>(QApplication::activeModalWidget());
            if (!dialog || dialog == m_last)
                return;
            m_last = dialog;
            ++shown;
            answer(*dialog, dialog->findChildren<QLineEdit *>(Qt::FindDirectChildrenOnly));
        });
        m_poll.start(20);
    }
    int shown = 0;

private:
    QTimer m_poll;
    QPointer<RegisterServerDialog> m_last;
};

class RegisterServerHost : public ::testing::Test
{
protected:
    void TearDown() override { rememberRegisterPath(defaultRegisterPath()); }
    ScriptedDialogs dialogs;
};

// The main window as start-up makes it, with its download dialog and the register window.
class ServerDownload : public RegisterServerHost
{
protected:
    void SetUp() override
    {
        sim::meter().reset();
        sim::meter().generateCells(40);
        ASSERT_TRUE(database.run({QStringLiteral("ALTER DATABASE %1 OWNER TO %2").arg(database.name(), engineer.name())}));
        // Nowhere libpq looks for a password has one.
        qunsetenv("PGPASSWORD");
        qputenv("PGPASSFILE", QByteArray("/nonexistent/pgpass"));
        rememberRegisterPath(location());
        downloadDialog = new TForm2(window.deviceLink(), window, &window);
        window.setLastingWindows(*downloadDialog, *new QDialog(&window), *new TForm5(&window));
    }

    QString location() const { return serverUri(database.name(), engineer.name()) + "?sslmode=disable"; }

    // Данные › «Скачать архив», then «Скачать» in the dialog.
    void download()
    {
        QTimer::singleShot(0, [] {
            if (auto *dialog = qobject_cast<TForm2 *>(QApplication::activeModalWidget()))
                dialog->Button1->click();
        });
        window.N13->trigger();
    }

    // How many measurements the register holds, read as the server's administrator.
    qsizetype measurementsOnServer()
    {
        Register admin;
        EXPECT_EQ(admin.open(database.uri(), Register::Opening::CreateIfMissing, serverSettings().value("PGPASSWORD")),
            Register::OpenStatus::Ok)
            << qPrintable(admin.errorString());
        return admin.measurements(MeasurementSelection::all()).size();
    }

    const QString password = QStringLiteral("пароль инженера");
    ScratchRole engineer {password}; // before the database it owns
    ScratchDatabase database;
    TForm1 window;
    RegisterWindowHost host {window};
    TForm2 *downloadDialog = nullptr;
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
    rememberRegisterPath(QStringLiteral("postgresql://engineer@127.0.0.1:%1/register?sslmode=disable").arg(closedPort()));
    TForm1 mainWindow;
    RegisterWindowHost host(mainWindow);
    whenConnectDialogShows([](RegisterServerDialog &dialog, QList<QLineEdit *>) { dialog.reject(); });
    dialogs.questionAnswers << true;
    mainWindow.RegisterItem->trigger();

    const QStringList told = dialogs.errors() + dialogs.messages();
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains("не принимает соединений")) << qPrintable(told[0]);
    const QStringList questions = dialogs.texts(ShownDialog::Question);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].startsWith("Журнал на сервере недоступен.")) << qPrintable(questions[0]);
    EXPECT_EQ(rememberedRegisterPath(), defaultRegisterPath());
    EXPECT_EQ(host.window().nodeText(RegisterWindow::NodeKind::Unassigned), "Не распределены (0)");
}

// At start the register in use is tried without keeping the main window waiting: a server
// that does not answer is told and the register on this computer offered; one that only
// wants a password is left to its first use.
TEST_F(RegisterServerHost, AtStartAServerThatCannotBeUsedIsToldAndTheLocalRegisterOffered)
{
    ScratchDatabase database; // no password where libpq looks: it is asked at the first use
    const QString wantsPassword = serverUri(database.name()) + "?sslmode=disable";
    const int port = closedPort();
    const QString unreachable = QStringLiteral("postgresql://engineer@127.0.0.1:%1/register?sslmode=disable").arg(port);
    const struct {
        const char *what;
        QString location;
        bool takeLocal;
        QString told; // empty: nothing is said
        QString inUseAfter;
    } cases[] = {
        {"no answer, the local register taken", unreachable, true,
            QStringLiteral("на 127.0.0.1:%1 не принимает соединений ни один сервер (порт закрыт)").arg(port),
            defaultRegisterPath()},
        {"no answer, the server kept", unreachable, false, "не принимает соединений", unreachable},
        {"a password wanted", wantsPassword, false, {}, wantsPassword},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        qunsetenv("PGPASSWORD");
        qputenv("PGPASSFILE", QByteArray("/nonexistent/pgpass"));
        dialogs.clear();
        dialogs.questionAnswers << c.takeLocal;
        rememberRegisterPath(c.location);
        TForm1 mainWindow;
        RegisterWindowHost host(mainWindow);
        QEventLoop loop;
        bool over = false;
        host.checkServerAtStart([&] {
            over = true;
            loop.quit();
        });
        EXPECT_TRUE(dialogs.shown.isEmpty()) << "the check went on while the main window waited";
        if (!over)
            loop.exec();

        if (c.told.isEmpty()) {
            EXPECT_TRUE(dialogs.shown.isEmpty()) << qPrintable(dialogs.shown.value(0).text);
        } else {
            const QStringList told = dialogs.errors() + dialogs.messages();
            ASSERT_EQ(told.size(), 1);
            EXPECT_TRUE(told[0].contains(c.told)) << qPrintable(told[0]);
            const QStringList questions = dialogs.texts(ShownDialog::Question);
            ASSERT_EQ(questions.size(), 1);
            EXPECT_EQ(questions[0],
                "Журнал на сервере недоступен. Открыть журнал на этом компьютере (" + defaultRegisterPath() + ")?");
        }
        EXPECT_EQ(rememberedRegisterPath(), c.inUseAfter);
        EXPECT_FALSE(host.window().isVisible());
    }
}

TEST_F(ServerDownload, ThePasswordIsAskedAtTheFirstDownloadOnlyAndNeverWritten)
{
    ConnectDialogAnswerer answerer([&](RegisterServerDialog &dialog, QList<QLineEdit *> edits) {
        dialog.accept(); // the server wants a password: its field is shown
        edits.value(3)->setText(password);
        dialog.accept();
    });
    download();
    EXPECT_EQ(answerer.shown, 1);
    EXPECT_TRUE(dialogs.shown.isEmpty()) << qPrintable(dialogs.shown.value(0).text);
    EXPECT_EQ(window.statusText(0), "Готово"); // the download's own texts stay
    EXPECT_EQ(window.session().archive.Count, 40);
    EXPECT_EQ(measurementsOnServer(), 40);

    // The next download and the register window use the password typed: nothing is asked.
    sim::meter().generateCells(50);
    download();
    window.RegisterItem->trigger();
    EXPECT_EQ(answerer.shown, 1);
    EXPECT_TRUE(dialogs.shown.isEmpty()) << qPrintable(dialogs.shown.value(0).text);
    EXPECT_EQ(measurementsOnServer(), 50);
    EXPECT_EQ(host.window().nodeText(RegisterWindow::NodeKind::Unassigned), "Не распределены (50)");

    // Kept in memory only: the settings hold the location without it.
    EXPECT_EQ(rememberedRegisterPath(), location());
    QFile settings(QSettings(QSettings::NativeFormat, QSettings::UserScope, "luvir", "luvir").fileName());
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QByteArray written = settings.readAll();
    EXPECT_TRUE(written.contains(database.name().toUtf8())) << written.constData();
    EXPECT_FALSE(written.contains(password.toUtf8())) << written.constData();
}

TEST_F(ServerDownload, CancelledTheDownloadIsWholeAndTheBoxSaysNothingWasAdded)
{
    ConnectDialogAnswerer answerer([](RegisterServerDialog &dialog, QList<QLineEdit *>) { dialog.reject(); });
    download();
    EXPECT_EQ(answerer.shown, 1);
    EXPECT_EQ(window.statusText(0), "Готово");
    EXPECT_EQ(window.session().archive.Count, 40);
    EXPECT_TRUE(window.N3->isEnabled()); // the archive may be saved
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages().first(),
        "Скачанные измерения не добавлены в журнал \"" + location()
            + "\": подключение к серверу отменено.\n"
              "Архив принят полностью; его можно сохранить в файл и добавить в журнал позже.");
    EXPECT_TRUE(database.run({"DO $$ BEGIN IF to_regclass('measurements') IS NOT NULL THEN "
                              "RAISE EXCEPTION 'the register was made'; END IF; END $$"}));
}

// The register on a PostgreSQL server: what only a server has. Refusals (another
// program's database, a newer schema, a user without the right to create it, a wrong
// password, a missing database, no server), the rights a laboratory's engineers get, and
// a connection cut or the server stopped in the middle of an addition.
#include "RegisterFixture.h"

#include <QProcess>

#include <thread>

using namespace luvir;
using namespace luvir::test;

namespace {

// The tables of a database with the number of rows of each: what "left untouched" compares.
QMap<QString, qlonglong> tablesAndRows(const ScratchDatabase &database)
{
    QMap<QString, qlonglong> result;
    RawConnection raw(database.uri());
    QSqlQuery tables(raw.db());
    EXPECT_TRUE(tables.exec("SELECT table_name FROM information_schema.tables WHERE table_schema = 'public'"));
    while (tables.next()) {
        const QString table = tables.value(0).toString();
        result.insert(table, raw.value(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)).toLongLong());
    }
    return result;
}

// A PostgreSQL cluster of the test's own (pg-cluster.sh), which the test may stop as a crash
// would and start again; removed at the end.
class PrivateCluster
{
public:
    PrivateCluster()
        : m_dir(QStringLiteral("/tmp/luvir-pgp-") + QUuid::createUuid().toString(QUuid::Id128).left(8))
    {
        m_started = run(QStringLiteral("start"));
        QFile file(m_dir + QStringLiteral("/connection.env"));
        if (m_started && file.open(QIODevice::ReadOnly))
            for (const QByteArray &line : file.readAll().split('\n'))
                if (const qsizetype eq = line.indexOf('='); eq > 0)
                    m_settings.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
    }
    ~PrivateCluster() { run(QStringLiteral("stop")); }
    PrivateCluster(const PrivateCluster &) = delete;
    PrivateCluster &operator=(const PrivateCluster &) = delete;

    bool started() const { return m_started && m_settings.contains(QStringLiteral("PGPORT")); }
    QString output() const { return m_output; }
    // Its database `database` as its superuser, the password in the location.
    QString uri(const QString &database) const
    {
        return QStringLiteral("postgresql://%1:%2@127.0.0.1:%3/%4?sslmode=disable")
            .arg(m_settings.value("PGUSER"), m_settings.value("PGPASSWORD"), m_settings.value("PGPORT"), database);
    }
    // Stopped at once (pg_ctl stop -m immediate), as a crash would.
    bool halt() { return run(QStringLiteral("halt")); }
    bool resume() { return run(QStringLiteral("resume")); }

private:
    bool run(const QString &action)
    {
        QProcess script;
        script.setProcessChannelMode(QProcess::MergedChannels);
        script.start(QStringLiteral("bash"), {QStringLiteral(LUVIR_PG_CLUSTER), action, m_dir});
        const bool ok = script.waitForFinished(90000) && script.exitStatus() == QProcess::NormalExit
            && script.exitCode() == 0;
        m_output = QString::fromLocal8Bit(script.readAll());
        return ok;
    }

    QString m_dir;
    QHash<QString, QString> m_settings;
    QString m_output;
    bool m_started = false;
};

void addOne(Register &reg, int first, bool expected = true)
{
    RegisterSource source = fileSource("a.db");
    ImportCounts counts;
    EXPECT_EQ(reg.importCells(distinctCells(first, 10), source, counts), expected)
        << qPrintable(reg.errorString());
}

} // namespace

TEST(RegisterServer, AnotherProgramsDatabaseAndANewerRegisterAreRefusedUntouched)
{
    ScratchDatabase photos;
    ASSERT_TRUE(photos.run({"CREATE TABLE photos (id serial PRIMARY KEY, name text)",
        "INSERT INTO photos (name) VALUES ('a'), ('b')"}));
    ScratchDatabase newer;
    {
        Register reg;
        ASSERT_EQ(reg.open(newer.uri()), Register::OpenStatus::Ok) << qPrintable(reg.errorString());
        addOne(reg, 0);
    }
    ASSERT_TRUE(newer.run({"UPDATE schema_version SET version = version + 1"}));

    const struct {
        const ScratchDatabase &database;
        Register::OpenStatus status;
        const char *says;
    } cases[] = {
        {photos, Register::OpenStatus::NotARegister, "не является журналом испытаний"},
        {newer, Register::OpenStatus::NewerSchema, "создан более новой версией программы"},
    };
    for (const auto &c : cases) {
        const auto before = tablesAndRows(c.database);
        Register reg;
        EXPECT_EQ(reg.open(c.database.uri()), c.status) << qPrintable(reg.errorString());
        EXPECT_TRUE(reg.errorString().contains(QString::fromUtf8(c.says))) << qPrintable(reg.errorString());
        EXPECT_TRUE(reg.errorString().contains(c.database.uri())) << qPrintable(reg.errorString());
        EXPECT_FALSE(reg.isOpen());
        reg.close();
        EXPECT_EQ(tablesAndRows(c.database), before) << c.says;
    }
}

// The rights README gives a laboratory: the owner creates the register, engineers with
// SELECT, INSERT, UPDATE, DELETE on its tables and USAGE on its sequences work in it.
TEST(RegisterServer, AnEngineerWithoutTheRightToCreateIsToldWhichRightIsMissing)
{
    ScratchRole engineer(QStringLiteral("секрет 'пароль'")); // dropped after the database
    ScratchDatabase database;
    ASSERT_TRUE(database.run({QStringLiteral("GRANT CONNECT ON DATABASE %1 TO %2").arg(database.name(), engineer.name())}));
    const QString asEngineer = serverUri(database.name(), engineer.name());
    {
        Register reg;
        EXPECT_EQ(reg.open(asEngineer, Register::Opening::CreateIfMissing, QStringLiteral("секрет 'пароль'")),
            Register::OpenStatus::CannotOpen);
        EXPECT_TRUE(reg.errorString().contains(
            QStringLiteral("у пользователя \"%1\" нет права CREATE на схему \"public\"").arg(engineer.name())))
            << qPrintable(reg.errorString());
    }
    EXPECT_TRUE(tablesAndRows(database).isEmpty());

    {
        Register owner;
        ASSERT_EQ(owner.open(database.uri()), Register::OpenStatus::Ok) << qPrintable(owner.errorString());
    }
    {
        // Made, but no right on its tables yet: the right named in plain words, not the
        // server's text with its SQL.
        Register reg;
        EXPECT_EQ(reg.open(asEngineer, Register::Opening::CreateIfMissing, QStringLiteral("секрет 'пароль'")),
            Register::OpenStatus::CannotOpen);
        EXPECT_TRUE(reg.errorString().contains(
            QStringLiteral("у пользователя \"%1\" нет права читать или изменять таблицы журнала").arg(engineer.name())))
            << qPrintable(reg.errorString());
        EXPECT_FALSE(reg.errorString().contains("schema_version")) << qPrintable(reg.errorString());
        EXPECT_FALSE(reg.errorString().contains("SELECT max")) << qPrintable(reg.errorString());
    }
    ASSERT_TRUE(database.run({QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA public TO %1")
                                  .arg(engineer.name()),
        QStringLiteral("GRANT USAGE ON ALL SEQUENCES IN SCHEMA public TO %1").arg(engineer.name())}));
    Register reg;
    ASSERT_EQ(reg.open(asEngineer, Register::Opening::CreateIfMissing, QStringLiteral("секрет 'пароль'")),
        Register::OpenStatus::Ok)
        << qPrintable(reg.errorString());
    addOne(reg, 0);
    const RegisterId object = reg.addObject({0, "Дом 5", {}, {}, {}});
    const RegisterId structure = reg.addStructure({0, object, "Плита П-1", 2, {}, {}, {}});
    EXPECT_TRUE(reg.assign({reg.measurements(MeasurementSelection::all()).first().id}, structure));
    EXPECT_TRUE(reg.removeObject(object));
}

TEST(RegisterServer, EachWayOfNotGettingInIsSaidApart)
{
    ScratchDatabase database;
    const auto settings = serverSettings();
    const QString wrongHost = QStringLiteral("postgresql://%1@127.0.0.1:%2/%3")
                                  .arg(settings.value("PGUSER"))
                                  .arg(closedPort())
                                  .arg(database.name());
    const SilentPort silent;
    const QString silentHost = QStringLiteral("postgresql://%1@127.0.0.1:%2/%3")
                                   .arg(settings.value("PGUSER"))
                                   .arg(silent.port())
                                   .arg(database.name());
    const struct {
        const char *what;
        QString location;
        QString password;
        Register::OpenStatus status;
        const char *says;
    } cases[] = {
        {"wrong password", database.uri(), "не тот", Register::OpenStatus::CannotOpen,
            "неверный пароль или нет такого пользователя"},
        {"unknown user", serverUri(database.name(), "nobody"), {}, Register::OpenStatus::CannotOpen,
            "сервер не принял пользователя \"nobody\""},
        {"missing database", serverUri("no_such_register"), {}, Register::OpenStatus::CannotOpen,
            "на сервере нет базы данных \"no_such_register\""},
        {"nothing at the port", wrongHost, {}, Register::OpenStatus::CannotOpen,
            "не принимает соединений ни один сервер (порт закрыт)"},
        {"a server that never answers", silentHost, {}, Register::OpenStatus::CannotOpen,
            "не отвечает"},
        {"no database in the location", serverUri(""), {}, Register::OpenStatus::CannotOpen,
            "Неверный адрес журнала \"postgresql://"},
        {"an unknown parameter", database.uri() + "?options=-c", {}, Register::OpenStatus::CannotOpen,
            "неизвестный параметр адреса \"options\""},
        {"a password in the location", database.uri() + "?password=" + settings.value("PGPASSWORD"), {},
            Register::OpenStatus::CannotOpen, "пароль в адресе не пишется"},
        {"a password in the user part", QStringLiteral("postgresql://u:%1@/").arg(settings.value("PGPASSWORD")), {},
            Register::OpenStatus::CannotOpen, "Неверный адрес журнала \"postgresql://u@/\""},
    };
    for (const auto &c : cases) {
        Register reg;
        EXPECT_EQ(reg.open(c.location, Register::Opening::CreateIfMissing, c.password), c.status) << c.what;
        EXPECT_TRUE(reg.errorString().contains(QString::fromUtf8(c.says))) << c.what << ": " << qPrintable(reg.errorString());
        EXPECT_FALSE(reg.errorString().contains(settings.value("PGPASSWORD"))) << c.what;
    }

    // No password anywhere libpq looks: the caller is asked for one, and opens with it.
    qunsetenv("PGPASSWORD");
    qputenv("PGPASSFILE", QByteArray("/nonexistent/pgpass"));
    Register reg;
    EXPECT_EQ(reg.open(database.uri()), Register::OpenStatus::PasswordNeeded) << qPrintable(reg.errorString());
    EXPECT_TRUE(reg.errorString().contains("сервер требует пароль")) << qPrintable(reg.errorString());
    EXPECT_EQ(reg.open(database.uri(), Register::Opening::CreateIfMissing, settings.value("PGPASSWORD")),
        Register::OpenStatus::Ok)
        << qPrintable(reg.errorString());
    EXPECT_EQ(reg.fileName(), database.uri()); // the password is nowhere in what is shown
    qputenv("PGPASSWORD", settings.value("PGPASSWORD").toUtf8());
}

// The oldest server the register takes is 12; an older one is named by its version as its
// users know it (before 10 the version had three parts).
TEST(RegisterServer, AServerOlderThan12IsRefusedNamingItsVersion)
{
    const struct {
        const char *versionNumber; // as SHOW server_version_num gives it
        const char *why; // empty: taken
    } cases[] = {
        {"170002", ""},
        {"150004", ""},
        {"120000", ""},
        {" 120022\n", ""},
        {"110022", "PostgreSQL 11.22, а журнал работает с PostgreSQL 12 и новее"},
        {"100000", "PostgreSQL 10.0, а журнал работает с PostgreSQL 12 и новее"},
        {"90624", "PostgreSQL 9.6.24, а журнал работает с PostgreSQL 12 и новее"},
        {"80417", "PostgreSQL 8.4.17, а журнал работает с PostgreSQL 12 и новее"},
        {"", "неизвестная версия PostgreSQL (\"\"), а журнал работает с PostgreSQL 12 и новее"},
        {"15beta1", "неизвестная версия PostgreSQL (\"15beta1\"), а журнал работает с PostgreSQL 12 и новее"},
    };
    for (const auto &c : cases) {
        QString why;
        EXPECT_EQ(serverVersionSupported(QString::fromLatin1(c.versionNumber), why), *c.why == '\0')
            << c.versionNumber;
        EXPECT_EQ(why, QString::fromUtf8(c.why)) << c.versionNumber;
    }
}

// The connection is cut while an addition waits half-way (another session holds a table it
// writes): the addition fails with the reason, nothing of it stays, and the next call
// connects again.
TEST(RegisterServer, AConnectionCutMidAdditionLeavesNothingAndTheNextCallReconnects)
{
    ScratchDatabase database;
    Register reg;
    ASSERT_EQ(reg.open(database.uri()), Register::OpenStatus::Ok) << qPrintable(reg.errorString());
    reg.setBusyTimeout(60000);
    addOne(reg, 0);

    RawConnection holder(database.uri());
    QSqlQuery hold(holder.db());
    ASSERT_TRUE(hold.exec("BEGIN"));
    ASSERT_TRUE(hold.exec("LOCK TABLE measurement_sources IN EXCLUSIVE MODE"));
    const QString uri = database.uri();
    std::thread cutter([uri] {
        // Its own connection, on its own thread: waits until the addition waits, then cuts it.
        RawConnection killer(uri);
        for (int tries = 0; tries < 600; ++tries) {
            const QVariant cut = killer.value(
                "SELECT count(pg_terminate_backend(pid)) FROM pg_stat_activity WHERE datname = current_database() "
                "AND wait_event_type = 'Lock' AND pid <> pg_backend_pid()");
            if (cut.toInt() > 0)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    RegisterSource source = fileSource("cut.db");
    ImportCounts counts;
    EXPECT_FALSE(reg.importCells(distinctCells(5, 500), source, counts));
    cutter.join();
    EXPECT_TRUE(reg.errorString().startsWith("связь с сервером журнала прервана")) << qPrintable(reg.errorString());
    hold.exec("ROLLBACK");

    EXPECT_EQ(holder.value("SELECT count(*) FROM measurements").toInt(), 10);
    EXPECT_EQ(holder.value("SELECT count(*) FROM sources").toInt(), 1);
    // Connected again by the next call.
    EXPECT_EQ(reg.measurements(MeasurementSelection::all()).size(), 10) << qPrintable(reg.errorString());
    RegisterSource again = fileSource("cut.db");
    ASSERT_TRUE(reg.importCells(distinctCells(5, 500), again, counts)) << qPrintable(reg.errorString());
    EXPECT_EQ(counts, (ImportCounts {495, 5, 0}));
}

// The server stops (as a crash would) while an addition waits half-way: the addition fails
// with the reason, the calls made while it is down say that it cannot be reached, and once
// it is back nothing of the addition is there and the next call connects again.
TEST(RegisterServer, AServerStoppedMidAdditionLeavesNothingAndIsReconnectedWhenBack)
{
    PrivateCluster cluster;
    if (!cluster.started())
        GTEST_SKIP() << "a PostgreSQL cluster of the test's own could not be started (pg-cluster.sh): "
                     << qPrintable(cluster.output());
    {
        RawConnection admin(cluster.uri(QStringLiteral("postgres")));
        QSqlQuery create(admin.db());
        ASSERT_TRUE(create.exec(QStringLiteral("CREATE DATABASE luvir"))) << qPrintable(create.lastError().text());
    }
    const QString uri = cluster.uri(QStringLiteral("luvir"));
    Register reg;
    ASSERT_EQ(reg.open(uri), Register::OpenStatus::Ok) << qPrintable(reg.errorString());
    reg.setBusyTimeout(60000);
    addOne(reg, 0);

    bool halted = false;
    {
        RawConnection holder(uri);
        QSqlQuery hold(holder.db());
        ASSERT_TRUE(hold.exec("BEGIN"));
        ASSERT_TRUE(hold.exec("LOCK TABLE measurement_sources IN EXCLUSIVE MODE"));
        std::thread stopper([&cluster, &halted, uri] {
            // Waits until the addition waits for the lock, then stops the server under it.
            {
                RawConnection watcher(uri);
                for (int tries = 0; tries < 600; ++tries) {
                    if (watcher.value("SELECT count(*) FROM pg_stat_activity WHERE datname = current_database() "
                                      "AND wait_event_type = 'Lock'")
                            .toInt()
                        > 0)
                        break;
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                }
            }
            halted = cluster.halt();
        });
        RegisterSource source = fileSource("stopped.db");
        ImportCounts counts;
        EXPECT_FALSE(reg.importCells(distinctCells(5, 500), source, counts));
        stopper.join();
        ASSERT_TRUE(halted) << qPrintable(cluster.output());
        EXPECT_TRUE(reg.errorString().startsWith("связь с сервером журнала прервана")) << qPrintable(reg.errorString());
    }

    // While it is down every call says so.
    EXPECT_TRUE(reg.measurements(MeasurementSelection::all()).isEmpty());
    EXPECT_TRUE(reg.errorString().startsWith("нет связи с сервером журнала 127.0.0.1:")) << qPrintable(reg.errorString());

    ASSERT_TRUE(cluster.resume()) << qPrintable(cluster.output());
    {
        RawConnection after(uri);
        EXPECT_EQ(after.value("SELECT count(*) FROM measurements").toInt(), 10);
        EXPECT_EQ(after.value("SELECT count(*) FROM sources").toInt(), 1);
    }
    EXPECT_EQ(reg.measurements(MeasurementSelection::all()).size(), 10) << qPrintable(reg.errorString());
    RegisterSource again = fileSource("stopped.db");
    ImportCounts counts;
    ASSERT_TRUE(reg.importCells(distinctCells(5, 500), again, counts)) << qPrintable(reg.errorString());
    EXPECT_EQ(counts, (ImportCounts {495, 5, 0}));
}

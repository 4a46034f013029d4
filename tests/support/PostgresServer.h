#pragma once
// The throwaway PostgreSQL server ctest starts once for the tests that need one (the fixture
// "postgres", tests/support/pg-cluster.sh), and a fresh database on it for each test.
// Header only: the tests that include it link Qt Sql.

#include <QFile>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QUuid>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace luvir::test {

// What pg-cluster.sh wrote into connection.env: PGHOST, PGPORT, PGUSER, PGPASSWORD.
inline QHash<QString, QString> serverSettings()
{
    QHash<QString, QString> settings;
    QFile file(QStringLiteral(LUVIR_PG_DIR "/connection.env"));
    if (file.open(QIODevice::ReadOnly))
        for (const QByteArray &line : file.readAll().split('\n'))
            if (const qsizetype eq = line.indexOf('='); eq > 0)
                settings.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
    return settings;
}

// A location "postgresql://USER@HOST:PORT/DATABASE" on the throwaway server.
inline QString serverUri(const QString &database, const QString &user = {})
{
    const auto settings = serverSettings();
    return QStringLiteral("postgresql://%1@%2:%3/%4")
        .arg(user.isEmpty() ? settings.value("PGUSER") : user, settings.value("PGHOST"), settings.value("PGPORT"),
            database);
}

// Runs `statements` as the server's superuser in `database`; false at the first that fails.
inline bool runOnServer(const QStringList &statements, const QString &database = QStringLiteral("postgres"))
{
    const auto settings = serverSettings();
    const QString name = QStringLiteral("server-admin-") + QUuid::createUuid().toString(QUuid::Id128);
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(settings.value("PGHOST"));
        db.setPort(settings.value("PGPORT").toInt());
        db.setUserName(settings.value("PGUSER"));
        db.setPassword(settings.value("PGPASSWORD"));
        db.setDatabaseName(database);
        ok = db.open();
        EXPECT_TRUE(ok) << "the test server (ctest fixture postgres) is not running: "
                        << qPrintable(db.lastError().text());
        for (const QString &statement : statements) {
            if (!ok)
                break;
            QSqlQuery query(db);
            ok = query.exec(statement);
            EXPECT_TRUE(ok) << qPrintable(statement) << ": " << qPrintable(query.lastError().text());
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// A new, empty database on the throwaway server for one test, dropped afterwards. The
// server's password is handed to libpq the way a user would (PGPASSWORD).
class ScratchDatabase
{
public:
    ScratchDatabase()
        : m_name(QStringLiteral("luvir_") + QUuid::createUuid().toString(QUuid::Id128))
    {
        qputenv("PGPASSWORD", serverSettings().value("PGPASSWORD").toUtf8());
        runOnServer({QStringLiteral("CREATE DATABASE ") + m_name});
    }
    ~ScratchDatabase() { runOnServer({QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_name)}); }
    ScratchDatabase(const ScratchDatabase &) = delete;
    ScratchDatabase &operator=(const ScratchDatabase &) = delete;

    QString name() const { return m_name; }
    QString uri() const { return serverUri(m_name); }
    bool run(const QStringList &statements) const { return runOnServer(statements, m_name); }

private:
    QString m_name;
};

// A local port nothing listens on: one the kernel hands out, closed again.
// A port where something listens and never answers, as a server that hangs: the connection
// is taken by the system and then nothing comes.
class SilentPort
{
public:
    SilentPort()
    {
        m_fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(m_fd, reinterpret_cast<sockaddr *>(&address), length);
        listen(m_fd, 16);
        getsockname(m_fd, reinterpret_cast<sockaddr *>(&address), &length);
        m_port = ntohs(address.sin_port);
    }
    ~SilentPort() { close(m_fd); }
    SilentPort(const SilentPort &) = delete;
    SilentPort &operator=(const SilentPort &) = delete;
    int port() const { return m_port; }

private:
    int m_fd = -1;
    int m_port = 0;
};

inline int closedPort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr *>(&address), length);
    getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

// A login role of its own for one test, with `password`; dropped with what it owns (declare
// it before the databases it owns, so they go first).
class ScratchRole
{
public:
    explicit ScratchRole(const QString &password)
        : m_name(QStringLiteral("engineer_") + QUuid::createUuid().toString(QUuid::Id128).left(12))
    {
        runOnServer({QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2'")
                .arg(m_name, QString(password).replace(u'\'', QStringLiteral("''")))});
    }
    ~ScratchRole() { runOnServer({QStringLiteral("DROP ROLE IF EXISTS %1").arg(m_name)}); }
    ScratchRole(const ScratchRole &) = delete;
    ScratchRole &operator=(const ScratchRole &) = delete;

    QString name() const { return m_name; }

private:
    QString m_name;
};

} // namespace luvir::test

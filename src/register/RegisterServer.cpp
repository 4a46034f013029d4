#include "RegisterServer.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>
#include <QVariant>

#include <libpq-fe.h>

#include <cerrno>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace luvir {

namespace {

const QStringList kSslModes = {QStringLiteral("disable"), QStringLiteral("allow"), QStringLiteral("prefer"),
    QStringLiteral("require"), QStringLiteral("verify-ca"), QStringLiteral("verify-full")};

// Seconds libpq waits for a server that does not answer.
constexpr int kConnectTimeoutSeconds = 10;

struct ConnectionCloser {
    void operator()(PGconn *connection) const { PQfinish(connection); }
};

// The location's libpq keywords and values, for `database` of its server.
class ConnectionParameters
{
public:
    ConnectionParameters(const ServerLocation &location, const QString &database)
    {
        add("host", location.host);
        add("port", QString::number(location.port));
        add("dbname", database);
        add("connect_timeout", QString::number(kConnectTimeoutSeconds));
        add("user", location.user);
        add("password", location.password);
        add("sslmode", location.sslMode);
        m_keys.push_back(nullptr);
        m_values.push_back(nullptr);
    }
    const char *const *keys() const { return m_keys.data(); }
    const char *const *values() const { return m_values.data(); }

private:
    void add(const char *key, const QString &value)
    {
        if (value.isEmpty())
            return;
        m_texts.push_back(std::make_unique<QByteArray>(value.toUtf8()));
        m_keys.push_back(key);
        m_values.push_back(m_texts.back()->constData());
    }
    std::vector<std::unique_ptr<QByteArray>> m_texts;
    std::vector<const char *> m_keys;
    std::vector<const char *> m_values;
};

// A connection made with libpq itself to `database` of the location's server.
std::unique_ptr<PGconn, ConnectionCloser> connectTo(const ServerLocation &location, const QString &database)
{
    const ConnectionParameters parameters(location, database);
    return std::unique_ptr<PGconn, ConnectionCloser>(PQconnectdbParams(parameters.keys(), parameters.values(), 0));
}

} // namespace

bool serverVersionSupported(const QString &versionNumber, QString &why)
{
    bool isNumber = false;
    const int number = versionNumber.trimmed().toInt(&isNumber);
    if (isNumber && number >= kOldestServerVersion)
        return true;
    // From 10 on the number is major * 10000 + minor; before, major * 10000 + second * 100 + minor.
    QString version;
    if (!isNumber || number <= 0)
        version = QStringLiteral("неизвестная версия PostgreSQL (\"%1\")").arg(versionNumber);
    else if (number >= 100000)
        version = QStringLiteral("PostgreSQL %1.%2").arg(number / 10000).arg(number % 10000);
    else
        version = QStringLiteral("PostgreSQL %1.%2.%3").arg(number / 10000).arg(number / 100 % 100).arg(number % 100);
    why = QStringLiteral("%1, а журнал работает с PostgreSQL %2 и новее").arg(version).arg(kOldestServerVersion / 10000);
    return false;
}

std::optional<ServerLocation> ServerLocation::parse(const QString &uri, QString &error)
{
    const QUrl url(uri, QUrl::StrictMode);
    if (!url.isValid() || !isServerLocation(uri)) {
        error = QStringLiteral("это не адрес сервера вида postgresql://пользователь@сервер:порт/база");
        return std::nullopt;
    }
    ServerLocation location;
    location.host = url.host();
    location.port = url.port(5432);
    location.database = url.path().mid(1);
    location.user = url.userName();
    location.password = url.password();
    const QUrlQuery query(url);
    for (const auto &[key, value] : query.queryItems(QUrl::FullyDecoded)) {
        if (key == QLatin1String("sslmode") && kSslModes.contains(value)) {
            location.sslMode = value;
        } else if (key == QLatin1String("host") && !value.isEmpty()) {
            location.host = value; // a socket folder, as libpq takes it
        } else if (key == QLatin1String("password")) {
            // Never shown back: a password is not written into a location.
            error = QStringLiteral("пароль в адресе не пишется: его берут из ~/.pgpass или PGPASSWORD, "
                                   "иначе программа спрашивает его");
            return std::nullopt;
        } else {
            error = QStringLiteral("неизвестный параметр адреса \"%1\"").arg(key);
            return std::nullopt;
        }
    }
    if (location.host.isEmpty() || location.database.isEmpty() || location.database.contains(u'/')) {
        error = QStringLiteral("в адресе нужны сервер и база данных: postgresql://пользователь@сервер:порт/база");
        return std::nullopt;
    }
    return location;
}

QString ServerLocation::uri() const
{
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setUserName(user);
    if (!host.startsWith(u'/'))
        url.setHost(host);
    url.setPort(port);
    url.setPath(u'/' + database);
    QUrlQuery query;
    if (host.startsWith(u'/'))
        query.addQueryItem(QStringLiteral("host"), host);
    if (!sslMode.isEmpty())
        query.addQueryItem(QStringLiteral("sslmode"), sslMode);
    url.setQuery(query);
    return url.toString(QUrl::FullyEncoded);
}

void ServerLocation::applyTo(QSqlDatabase &database) const
{
    database.setHostName(host);
    database.setPort(port);
    database.setDatabaseName(this->database);
    database.setUserName(user);
    database.setPassword(password);
    QStringList options {QStringLiteral("connect_timeout=%1").arg(kConnectTimeoutSeconds)};
    if (!sslMode.isEmpty())
        options << QStringLiteral("sslmode=") + sslMode;
    database.setConnectOptions(options.join(u';'));
}

bool isServerLocation(const QString &location)
{
    return location.startsWith(QLatin1String("postgresql://")) || location.startsWith(QLatin1String("postgres://"));
}

QString shownLocation(const QString &location)
{
    if (!isServerLocation(location))
        return location;
    QString error;
    const auto server = ServerLocation::parse(location, error);
    return server ? server->uri() : QUrl(location).toString(QUrl::RemovePassword);
}

namespace {

// Whether every address of `host` refuses a connection to `port` at once (nothing listens
// there), as against not answering at all.
bool portRefuses(const QString &host, int port)
{
    if (host.startsWith(u'/'))
        return false; // a socket folder
    addrinfo hints {};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (::getaddrinfo(host.toUtf8().constData(), QByteArray::number(port).constData(), &hints, &found) != 0)
        return false;
    bool refused = found != nullptr;
    for (addrinfo *address = found; address && refused; address = address->ai_next) {
        const int fd = ::socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            refused = false;
            break;
        }
        int error = 0;
        if (::connect(fd, address->ai_addr, address->ai_addrlen) != 0) {
            error = errno;
            if (error == EINPROGRESS) {
                pollfd wait {fd, POLLOUT, 0};
                error = ::poll(&wait, 1, 3000) == 1 ? 0 : ETIMEDOUT;
                socklen_t size = sizeof error;
                if (error == 0)
                    ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size);
            }
        }
        ::close(fd);
        refused = error == ECONNREFUSED;
    }
    ::freeaddrinfo(found);
    return refused;
}

} // namespace

void quietServerNotices(const QSqlDatabase &database)
{
    const QVariant handle = database.driver() ? database.driver()->handle() : QVariant();
    if (qstrcmp(handle.typeName(), "PGconn*") != 0)
        return;
    if (auto *connection = *static_cast<PGconn *const *>(handle.constData()))
        PQsetNoticeProcessor(connection, [](void *, const char *) {}, nullptr);
}

ServerRefusal diagnoseConnection(const ServerLocation &location)
{
    const auto connection = connectTo(location, location.database);
    if (PQstatus(connection.get()) == CONNECTION_OK)
        return ServerRefusal::Other; // it works now; whatever failed was passing
    if (PQconnectionNeedsPassword(connection.get()))
        return ServerRefusal::PasswordNeeded;
    const ConnectionParameters parameters(location, location.database);
    const PGPing ping = PQpingParams(parameters.keys(), parameters.values(), 0);
    if (ping == PQPING_NO_RESPONSE || ping == PQPING_NO_ATTEMPT)
        return portRefuses(location.host, location.port) ? ServerRefusal::PortClosed : ServerRefusal::Unreachable;
    // The same user into the server's own databases: let in there, so not into this one.
    for (const QString &other : {QStringLiteral("postgres"), QStringLiteral("template1")}) {
        if (other == location.database)
            continue;
        const auto probe = connectTo(location, other);
        if (PQstatus(probe.get()) == CONNECTION_OK)
            return ServerRefusal::NoDatabase;
    }
    return ServerRefusal::Authentication;
}

bool serverConnectionLost(const QSqlDatabase &database)
{
    if (!database.isOpen())
        return true; // the driver closes a connection the server dropped
    const QVariant handle = database.driver() ? database.driver()->handle() : QVariant();
    if (qstrcmp(handle.typeName(), "PGconn*") != 0)
        return false;
    auto *connection = *static_cast<PGconn *const *>(handle.data());
    return connection == nullptr || PQstatus(connection) == CONNECTION_BAD;
}

} // namespace luvir

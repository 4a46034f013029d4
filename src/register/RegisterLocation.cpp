#include "RegisterLocation.h"

#include "RegisterServer.h"

#include <QDir>
#include <QHash>
#include <QMutex>
#include <QSettings>
#include <QStandardPaths>

namespace luvir {

namespace {

const QString kFolder = QStringLiteral("luvir"); // the program's application name
const QString kKey = QStringLiteral("register/file");
const QString kDownloadsKey = QStringLiteral("register/addDownloads");

// Named explicitly, so the window and luvir-cli (another application name) share one.
QSettings settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, kFolder, kFolder);
}

struct SessionPasswords {
    QMutex mutex;
    QHash<QString, QString> byLocation; // the location without its password
};

SessionPasswords &sessionPasswords()
{
    static SessionPasswords passwords;
    return passwords;
}

} // namespace

QString defaultRegisterPath()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(data).filePath(kFolder + QStringLiteral("/register.sqlite"));
}

QString rememberedRegisterPath()
{
    const QString remembered = settings().value(kKey).toString();
    return remembered.isEmpty() ? defaultRegisterPath() : remembered;
}

void rememberRegisterPath(const QString &fileName)
{
    // A server's location is kept as it is, without a password; a file by its whole path.
    settings().setValue(
        kKey, isServerLocation(fileName) ? shownLocation(fileName) : QDir(fileName).absolutePath());
}

QString sessionPassword(const QString &location)
{
    SessionPasswords &passwords = sessionPasswords();
    const QMutexLocker lock(&passwords.mutex);
    return passwords.byLocation.value(shownLocation(location));
}

void keepSessionPassword(const QString &location, const QString &password)
{
    SessionPasswords &passwords = sessionPasswords();
    const QMutexLocker lock(&passwords.mutex);
    if (password.isEmpty())
        passwords.byLocation.remove(shownLocation(location));
    else
        passwords.byLocation.insert(shownLocation(location), password);
}

bool downloadsGoToRegister()
{
    return settings().value(kDownloadsKey, true).toBool();
}

void rememberDownloadsGoToRegister(bool on)
{
    settings().setValue(kDownloadsKey, on);
}

} // namespace luvir

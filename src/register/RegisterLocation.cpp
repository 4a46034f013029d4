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

// The choice of this run that could not be kept in the settings.
QString &choiceOfThisRun()
{
    static QString choice;
    return choice;
}

} // namespace

QString defaultRegisterPath()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(data).filePath(kFolder + QStringLiteral("/register.sqlite"));
}

QString rememberedRegisterPath()
{
    if (!choiceOfThisRun().isEmpty())
        return choiceOfThisRun();
    const QString remembered = settings().value(kKey).toString();
    return remembered.isEmpty() ? defaultRegisterPath() : remembered;
}

QString rememberRegisterPath(const QString &fileName)
{
    // A server's location is kept as it is, without a password; a file by its whole path.
    const QString value = isServerLocation(fileName) ? shownLocation(fileName) : QDir(fileName).absolutePath();
    QString why;
    if (qEnvironmentVariableIsEmpty("HOME") && qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME")) {
        why = QStringLiteral("не задана переменная окружения HOME, и программе негде хранить настройки");
    } else {
        QSettings kept = settings();
        kept.setValue(kKey, value);
        kept.sync();
        if (kept.status() != QSettings::NoError)
            why = QStringLiteral("файл настроек \"%1\" нельзя записать")
                      .arg(QDir::toNativeSeparators(kept.fileName()));
    }
    choiceOfThisRun() = why.isEmpty() ? QString() : value;
    if (why.isEmpty())
        return {};
    return QStringLiteral("Журнал \"%1\" будет использоваться до закрытия программы, но при следующем запуске "
                          "не откроется сам: %2.")
        .arg(isServerLocation(value) ? value : QDir::toNativeSeparators(value), why);
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

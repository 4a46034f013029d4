#include "RegisterLocation.h"

#include "RegisterServer.h"

#include <QDir>
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

bool downloadsGoToRegister()
{
    return settings().value(kDownloadsKey, true).toBool();
}

void rememberDownloadsGoToRegister(bool on)
{
    settings().setValue(kDownloadsKey, on);
}

} // namespace luvir

// The «Журнал» menu: the register window, whether downloads go into the register, adding
// archive files to it, and which register is in use (a file, or one on a server).
#include "Unit1.h"

#include "RegisterFiles.h"
#include "RegisterLocation.h"
#include "RegisterServer.h"
#include "RegisterServerDialog.h"
#include "UserDialogs.h"

#include <QDateTime>
#include <QFileInfo>

namespace {

// Measurements from the register are saved as archives of the protocol the meters speak.
constexpr luvir::ProtocolVersion kRegisterArchiveVersion {1, 0};

const QString kRegisterFilter = QStringLiteral("Журнал испытаний (*.sqlite);;Все файлы (*)");

} // namespace

void TForm1::openMeasurements(const QList<luvir::Measurement> &measurements)
{
    Q_ASSERT(measurements.size() <= luvir::CellArchive::Capacity);
    luvir::CellArchive &archive = m_session.archive;
    archive.Count = 0;
    for (const luvir::Measurement &measurement : measurements) {
        if (archive.Count == luvir::CellArchive::Capacity)
            break;
        archive.Cells[archive.Count++] = measurement.cell;
    }
    m_session.version = kRegisterArchiveVersion;
    DisplayArchive();
    setStatus(QStringLiteral("Готово"));
    raise();
    activateWindow();
}

void TForm1::setRegisterWindowOpener(std::function<void()> opener)
{
    m_registerWindowOpener = std::move(opener);
}

void TForm1::RegisterWindowClick()
{
    if (m_registerWindowOpener)
        m_registerWindowOpener();
}

void TForm1::AddDownloadsClick(bool on)
{
    setRegistersDownloads(on);
    luvir::rememberDownloadsGoToRegister(on);
}

void TForm1::AddArchivesToRegisterClick()
{
    luvir::FileDialogRequest request;
    request.filter = QStringLiteral("Архив (*.db);;Все файлы (*)");
    const QStringList files = luvir::dialogs().openFileNames(this, request);
    if (files.isEmpty())
        return;
    luvir::Register target;
    const QString location = luvir::rememberedRegisterPath();
    const luvir::Register::OpenStatus status = target.open(location, luvir::Register::Opening::CreateIfMissing);
    if (status == luvir::Register::OpenStatus::PasswordNeeded) {
        if (!connectRegisterServer(target, location, this))
            return; // the user cancelled
    } else if (status != luvir::Register::OpenStatus::Ok) {
        luvir::tellUser(this, this, QStringLiteral("Журнал: %1.").arg(target.errorString()));
        return;
    }
    QList<luvir::FileRefusal> refused;
    const luvir::ImportCounts total
        = luvir::addArchiveFiles(target, files, QDateTime::currentDateTime(), refused);
    QString text = luvir::additionSummary(total);
    if (const QString upgraded = luvir::upgradeNotice(target); !upgraded.isEmpty())
        text += u'\n' + upgraded;
    if (!refused.isEmpty()) {
        text += QStringLiteral("\n\nНе добавлены:");
        for (const luvir::FileRefusal &refusal : refused)
            text += QStringLiteral("\n%1: %2").arg(QFileInfo(refusal.fileName).fileName(), refusal.reason);
    }
    luvir::tellUser(this, this, text);
    emit registerChanged();
    emit registerAdded(luvir::additionSummary(total));
}

void TForm1::OpenRegisterClick()
{
    luvir::FileDialogRequest request;
    request.filter = kRegisterFilter;
    const QString fileName = luvir::dialogs().openFileName(this, request);
    if (fileName.isEmpty())
        return;
    if (!QFileInfo::exists(fileName)) {
        luvir::tellUser(this, this, QStringLiteral("Файл \"%1\" не найден.").arg(fileName));
        return;
    }
    useRegister(fileName, false);
}

void TForm1::CreateRegisterClick()
{
    luvir::FileDialogRequest request;
    request.filter = kRegisterFilter;
    request.defaultSuffix = QStringLiteral("sqlite");
    const QString fileName = luvir::dialogs().saveFileName(this, request);
    if (!fileName.isEmpty())
        useRegister(fileName, true); // one there already is opened, never replaced
}

void TForm1::BackupRegisterClick()
{
    const QString location = luvir::rememberedRegisterPath();
    if (luvir::isServerLocation(location)) {
        luvir::tellUser(this, this,
            QStringLiteral("Журнал \"%1\" хранится на сервере PostgreSQL; его копию делает pg_dump "
                           "(например, pg_dump -Fc -f register.dump ИМЯ_БАЗЫ).")
                .arg(luvir::shownLocation(location)));
        return;
    }
    luvir::FileDialogRequest request;
    request.filter = kRegisterFilter;
    request.defaultSuffix = QStringLiteral("sqlite");
    request.fileName = QStringLiteral("%1-%2.sqlite")
                           .arg(QFileInfo(location).completeBaseName(),
                               QDate::currentDate().toString(Qt::ISODate));
    const QString fileName = luvir::dialogs().saveFileName(this, request);
    if (fileName.isEmpty())
        return;
    luvir::Register source;
    if (source.open(location, luvir::Register::Opening::ExistingOnly) != luvir::Register::OpenStatus::Ok) {
        luvir::tellUser(this, this, source.errorString());
        return;
    }
    if (!source.backup(fileName)) {
        luvir::tellUser(this, this, QStringLiteral("Журнал: %1.").arg(source.errorString()));
        return;
    }
    setStatus(QStringLiteral("Копия журнала сохранена: %1").arg(QFileInfo(fileName).fileName()));
}

void TForm1::ConnectRegisterServerClick()
{
    luvir::Register target;
    if (connectRegisterServer(target, luvir::rememberedRegisterPath(), this))
        setStatus(QStringLiteral("Журнал: %1").arg(target.fileName()));
}

bool TForm1::connectRegisterServer(luvir::Register &target, const QString &location, QWidget *parent)
{
    luvir::RegisterServerDialog dialog(target, parent);
    if (luvir::isServerLocation(location))
        dialog.setLocation(location);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (const QString notKept = luvir::rememberRegisterPath(dialog.location()); !notKept.isEmpty())
        luvir::tellUser(parent, this, notKept);
    emit registerChanged();
    return true;
}

void TForm1::useRegister(const QString &fileName, bool create)
{
    luvir::Register target;
    if (target.open(fileName, create ? luvir::Register::Opening::CreateIfMissing : luvir::Register::Opening::ExistingOnly) != luvir::Register::OpenStatus::Ok) {
        luvir::tellUser(this, this, target.errorString());
        return;
    }
    if (const QString notKept = luvir::rememberRegisterPath(fileName); !notKept.isEmpty())
        luvir::tellUser(this, this, notKept);
    setStatus(QStringLiteral("Журнал: %1").arg(QFileInfo(fileName).fileName()));
    if (const QString upgraded = luvir::upgradeNotice(target); !upgraded.isEmpty())
        luvir::tellUser(this, this, upgraded);
    emit registerChanged();
}

QString TForm1::registerInUseText()
{
    const QString location = luvir::rememberedRegisterPath();
    return QStringLiteral("Журнал: %1").arg(
        luvir::isServerLocation(location) ? luvir::shownLocation(location) : QFileInfo(location).fileName());
}

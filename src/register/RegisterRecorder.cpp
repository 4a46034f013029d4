#include "RegisterRecorder.h"

#include "Register.h"
#include "RegisterLocation.h"
#include "RegisterServer.h"

#include <QDir>

namespace luvir {

DownloadRecord RegisterRecorder::recordDownload(const CompletedDownload &download)
{
    const QString fileName = m_fileName.isEmpty() ? rememberedRegisterPath() : m_fileName;
    const QString notAdded = QStringLiteral("Скачанные измерения не добавлены в журнал \"%1\": %2\n")
        + (m_savedFile.isEmpty()
                ? QStringLiteral("Архив принят полностью; его можно сохранить в файл и добавить в журнал позже.")
                : QStringLiteral("Архив сохранён в файле \"%1\"; его можно добавить в журнал позже "
                                 "(luvir-cli register add).")
                      .arg(QDir::toNativeSeparators(m_savedFile)));
    Register reg;
    if (m_busyMs >= 0)
        reg.setBusyTimeout(m_busyMs);
    // Every download opens it anew (the check costs the same whatever the register's size),
    // and makes it when there is none.
    Register::OpenStatus status = reg.open(fileName, Register::Opening::CreateIfMissing);
    // A server that wants a password no one typed yet: asked now, kept for the rest of the run.
    if (status == Register::OpenStatus::PasswordNeeded && m_connector) {
        if (!m_connector(reg, fileName))
            return {false, notAdded.arg(shownLocation(fileName), QStringLiteral("подключение к серверу отменено.")), {}};
        status = Register::OpenStatus::Ok;
    }
    if (status != Register::OpenStatus::Ok)
        return {false, notAdded.arg(QDir::toNativeSeparators(shownLocation(fileName)), reg.errorString()), {}};
    RegisterSource source;
    source.kind = RegisterSource::Kind::Download;
    source.addedAt = download.finishedAt;
    source.version = download.version;
    source.serialNumber = download.serialNumber;
    ImportCounts counts;
    if (!reg.importCells(cellsOf(download.archive), source, counts))
        return {false, notAdded.arg(QDir::toNativeSeparators(shownLocation(reg.fileName())), reg.errorString() + u'.'), {}};
    const QString summary = additionSummary(counts);
    const QString upgraded = upgradeNotice(reg);
    return {true, upgraded.isEmpty() ? summary : summary + u'\n' + upgraded, summary};
}

} // namespace luvir

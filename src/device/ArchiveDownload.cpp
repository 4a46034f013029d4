#include "ArchiveDownload.h"

#include "DeviceCommands.h"
#include "MeterDiscovery.h"

#include <algorithm>

namespace luvir {

bool ArchiveDownload::queryMeter(ProtocolVersion current)
{
    // A meter that does not answer leaves the version as it was.
    m_stagedVersion = current;

    DeviceCommands commands(m_link, m_reporter);
    if (!readVersion(commands))
        return false;
    m_reporter.showStatus(QStringLiteral("Читаю размер архива"));
    std::uint16_t size = 0;
    if (!commands.ReadArchiveSize(m_staged, size)) {
        m_reporter.reportFailure(QStringLiteral("Ошибка чтения размера архива"));
        return false;
    }
    m_reporter.showStatus(QStringLiteral("Считано успешно"));
    m_reporter.meterAnswered();
    return true;
}

bool ArchiveDownload::reconnect()
{
    if (!ConnectDevice(m_link, m_reporter))
        return false;
    // It may be another meter than the one asked when the download began.
    if (!m_stagedVersion)
        m_stagedVersion = ProtocolVersion {};
    DeviceCommands commands(m_link, m_reporter);
    return readVersion(commands);
}

bool ArchiveDownload::readVersion(DeviceCommands &commands)
{
    m_reporter.showStatus(QStringLiteral("Читаю версию протокола"));
    if (!commands.ReadProtocolVersion(*m_stagedVersion)) {
        m_reporter.reportFailure(QStringLiteral("Ошибка чтения версии протокола"));
        return false;
    }
    m_reporter.showStatus(QStringLiteral("Считано успешно"));
    return true;
}

bool ArchiveDownload::readArchive()
{
    if (!m_link.isOpen() && !reconnect())
        return false;
    m_reporter.showStatus(QStringLiteral("Читаю размер архива"));
    DeviceCommands commands(m_link, m_reporter);
    std::uint16_t size = 0;
    if (!commands.ReadArchiveSize(m_staged, size)) {
        m_reporter.reportFailure(QStringLiteral("Ошибка чтения размера архива"));
        return false;
    }
    if (size == 0)
        m_reporter.reportFailure(QStringLiteral("Записей нет"));
    if (size > CellArchive::Capacity)
        m_reporter.reportFailure(QStringLiteral("Слишком много записей")); // the first 999 cells are read
    const std::uint16_t cells = m_staged.Count;

    m_reporter.showStatus(QStringLiteral("Читаю архив:"));
    m_reporter.cellsToRead(cells);
    for (std::uint16_t index = 0; index < cells; ++index) {
        m_reporter.readingCell(index + 1);
        if (!commands.ReadCell(index, m_staged)) {
            m_reporter.reportFailure(QStringLiteral("Ошибка чтения ячейки%1").arg(index + 1));
            return false;
        }
    }
    return true;
}

void ArchiveDownload::commitTo(ArchiveSession &session) const
{
    session.archive.Count = m_staged.Count;
    std::copy_n(m_staged.Cells.begin(), m_staged.Count, session.archive.Cells.begin());
    if (m_stagedVersion)
        session.version = *m_stagedVersion;
    session.DownloadCompleted = true;
}

DownloadRecord ArchiveDownload::recordTo(DownloadRecorder &recorder) const
{
    const wchar_t *serial = m_link.firstListedSerial();
    const CompletedDownload download {m_staged, m_stagedVersion.value_or(ProtocolVersion {}),
        serial ? QString::fromWCharArray(serial) : QString(), QDateTime::currentDateTime()};
    return recorder.recordDownload(download);
}

} // namespace luvir

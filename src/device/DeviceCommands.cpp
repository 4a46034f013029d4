#include "DeviceCommands.h"

#include "ResponsePayload.h"

#include <algorithm>
#include <array>

namespace luvir {

bool DeviceCommands::exchange(DeviceCommand command, std::span<const std::uint8_t> payload)
{
    if (!m_link.isOpen()) {
        // The meter was lost in an earlier exchange; nothing can be sent until it is found again.
        m_reporter.reportFailure(QStringLiteral("Ошибка отправки"));
        return false;
    }
    m_link.discardPendingInput();
    buildRequest(m_link.sendBuffer(), command, payload);
    if (m_link.send() < 0) {
        m_reporter.reportFailure(QStringLiteral("Ошибка отправки"));
        return false;
    }
    const int received = m_link.receive(kAnswerTimeoutMs);
    if (received < 0) {
        m_reporter.reportFailure(QStringLiteral("Ошибка приема"));
        return false;
    }
    switch (checkResponse(m_link.receiveBuffer(), received, command)) {
    case ResponseCheck::Ok:
        return true;
    case ResponseCheck::ByteCountMismatch:
        m_reporter.reportFailure(QStringLiteral("Не соответствует число байт"));
        return false;
    case ResponseCheck::CrcMismatch:
        m_reporter.reportFailure(QStringLiteral("Ошибка CRC"));
        return false;
    case ResponseCheck::WrongReportId:
    case ResponseCheck::WrongLength:
    case ResponseCheck::WrongCommand:
        break; // refused without a word; the caller reports
    }
    return false;
}

bool DeviceCommands::ReadProtocolVersion(ProtocolVersion &version)
{
    if (!exchange(DeviceCommand::ProtocolVersion))
        return false;
    version = protocolVersionOf(m_link.receiveBuffer());
    m_reporter.showProtocolVersion(
        QStringLiteral("Версия протокола:%1.%2").arg(version.major).arg(version.minor));
    if (version == ProtocolVersion {1, 0})
        return true;
    m_reporter.showMessage(QStringLiteral("Не соответствует версия протокола"));
    return false;
}

bool DeviceCommands::ReadArchiveSize(CellArchive &archive, std::uint16_t &reportedSize)
{
    if (!exchange(DeviceCommand::ArchiveSize))
        return false;
    reportedSize = archiveSizeOf(m_link.receiveBuffer());
    archive.Count = std::min(reportedSize, CellArchive::Capacity);
    m_reporter.showArchiveSize(QStringLiteral("Размер архива: %1").arg(reportedSize));
    return true;
}

bool DeviceCommands::ReadCell(std::uint16_t index, CellArchive &archive)
{
    if (index >= CellArchive::Capacity)
        return false;
    const std::array<std::uint8_t, 2> payload {
        static_cast<std::uint8_t>(index & 0xFF), static_cast<std::uint8_t>(index >> 8)};
    if (!exchange(DeviceCommand::ReadCell, payload))
        return false;
    if (storeCell(m_link.receiveBuffer(), index, archive) == CellStore::Stored)
        return true;
    m_reporter.showMessage(QStringLiteral("Ошибка целостности ячейки %1").arg(index + 1));
    return false;
}

} // namespace luvir

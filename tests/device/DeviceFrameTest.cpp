#include "DeviceFrame.h"
#include "ResponsePayload.h"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>

using namespace luvir;

namespace {

DeviceFrame frameOf(std::initializer_list<int> head, std::uint8_t filler = 0)
{
    DeviceFrame f;
    f.bytes.fill(filler);
    std::size_t i = 0;
    for (int b : head)
        f.bytes[i++] = static_cast<std::uint8_t>(b);
    return f;
}

void requestCell(DeviceFrame &frame, std::uint16_t index)
{
    const std::array<std::uint8_t, 2> payload {
        static_cast<std::uint8_t>(index & 0xFF), static_cast<std::uint8_t>(index >> 8)};
    buildRequest(frame, DeviceCommand::ReadCell, payload);
}

} // namespace

TEST(DeviceFrame, RequestsOnTheWire)
{
    DeviceFrame frame;
    buildRequest(frame, DeviceCommand::ArchiveSize);
    EXPECT_EQ(frame.bytes, frameOf({0x3F, 0x03, 0x30, 0x58, 0x62}).bytes);

    DeviceFrame version;
    buildRequest(version, DeviceCommand::ProtocolVersion);
    EXPECT_EQ(version.bytes, frameOf({0x3F, 0x03, 0x14, 0x92, 0x40}).bytes);

    DeviceFrame cell;
    requestCell(cell, 5);
    EXPECT_EQ(cell.bytes, frameOf({0x3F, 0x05, 0x31, 0x05, 0x00, 0x3B, 0xA5}).bytes);
}

TEST(DeviceFrame, ShortRequestKeepsTheLongerOnesCrcInItsFiller)
{
    DeviceFrame frame;
    requestCell(frame, 0);
    EXPECT_EQ(frame.bytes, frameOf({0x3F, 0x05, 0x31, 0x00, 0x00, 0xD1, 0xD3}).bytes);
    buildRequest(frame, DeviceCommand::ArchiveSize);
    EXPECT_EQ(frame.bytes, frameOf({0x3F, 0x03, 0x30, 0x58, 0x62, 0xD1, 0xD3}).bytes);
}

TEST(DeviceFrame, AnswerOf300CellsPasses)
{
    const DeviceFrame answer = frameOf({0x3F, 0x05, 0x30, 0x2C, 0x01, 0xF8, 0x73});
    EXPECT_EQ(checkResponse(answer, 64, DeviceCommand::ArchiveSize), ResponseCheck::Ok);
    EXPECT_EQ(archiveSizeOf(answer), 300);
}

TEST(DeviceFrame, ChecksRunInOrderAndTheFirstFailureDecides)
{
    const struct {
        const char *what;
        std::initializer_list<int> head;
        int bytesRead;
        DeviceCommand command;
        ResponseCheck verdict;
    } cases[] = {
        {"good, filler ignored", {0x3F, 0x05, 0x30, 0x2C, 0x01, 0xF8, 0x73}, 64, DeviceCommand::ArchiveSize,
            ResponseCheck::Ok},
        {"63 bytes read", {0x3F, 0x05, 0x30, 0x2C, 0x01, 0xF8, 0x73}, 63, DeviceCommand::ArchiveSize,
            ResponseCheck::ByteCountMismatch},
        {"nothing read", {0x3F, 0x05, 0x30, 0x2C, 0x01, 0xF8, 0x73}, 0, DeviceCommand::ArchiveSize,
            ResponseCheck::ByteCountMismatch},
        {"short read of a bad frame", {0x00}, 10, DeviceCommand::ArchiveSize,
            ResponseCheck::ByteCountMismatch},
        {"report ID before length", {0x3E, 0x2E, 0x30}, 64, DeviceCommand::ArchiveSize,
            ResponseCheck::WrongReportId},
        {"46 where 5 is due", {0x3F, 0x2E, 0x30, 0x2C, 0x01, 0xF8, 0x73}, 64, DeviceCommand::ArchiveSize,
            ResponseCheck::WrongLength},
        {"5 where 46 is due", {0x3F, 0x05, 0x31, 0x2C, 0x01, 0xF8, 0x73}, 64, DeviceCommand::ReadCell,
            ResponseCheck::WrongLength},
        {"length 255 is not read past", {0x3F, 0xFF, 0x30}, 64, DeviceCommand::ArchiveSize,
            ResponseCheck::WrongLength},
        {"another command", {0x3F, 0x05, 0x14, 0x2C, 0x01, 0xF8, 0x73}, 64, DeviceCommand::ArchiveSize,
            ResponseCheck::WrongCommand},
        {"CRC low byte first", {0x3F, 0x05, 0x30, 0x2C, 0x01, 0x73, 0xF8}, 64, DeviceCommand::ArchiveSize,
            ResponseCheck::CrcMismatch},
        {"payload changed", {0x3F, 0x05, 0x30, 0x2D, 0x01, 0xF8, 0x73}, 64, DeviceCommand::ArchiveSize,
            ResponseCheck::CrcMismatch},
    };
    for (const auto &c : cases) {
        const DeviceFrame answer = frameOf(c.head, 0xA5);
        EXPECT_EQ(checkResponse(answer, c.bytesRead, c.command), c.verdict) << c.what;
    }
}

TEST(DeviceFrame, CellAnswerStoresItsBytesUnchangedUnlessDamagedOrOutOfRange)
{
    DeviceFrame answer;
    answer.bytes[CellStatus] = 0x00;
    for (std::size_t i = 0; i < kCellSize; ++i)
        answer.bytes[CellBytes + i] = static_cast<std::uint8_t>(0xC0 + i);
    CellArchive archive;
    ASSERT_EQ(storeCell(answer, 998, archive), CellStore::Stored);
    for (std::size_t i = 0; i < kCellSize; ++i)
        EXPECT_EQ(archive.Cells[998].bytes[i], 0xC0 + i);

    const CellArchive before = archive;
    EXPECT_EQ(storeCell(answer, 999, archive), CellStore::OutOfRange);
    answer.bytes[CellStatus] = kDamagedCellStatus;
    EXPECT_EQ(storeCell(answer, 0, archive), CellStore::Damaged);
    EXPECT_EQ(archive.Cells, before.Cells);
}

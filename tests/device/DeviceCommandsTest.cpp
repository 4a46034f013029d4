#include "DeviceCommands.h"
#include "ConnectDevice.h"
#include "LinkFaults.h"
#include "SimFixture.h"
#include "TestData.h"

#include <algorithm>

using namespace luvir;
using namespace luvir::test;
using sim::Fault;

namespace {

class DeviceCommandsTest : public SimTest
{
protected:
    void connect()
    {
        ASSERT_TRUE(ConnectDevice(link, nullptr, &status));
        dialogs.clear();
        log.events.clear();
        status.current.clear();
    }

    DeviceLink link;
    RecordingReporter reporter {status};
    DeviceCommands commands {link, reporter};
    CellArchive archive = sampleArchive(5);
};

TEST_F(DeviceCommandsTest, EachCommandReadsWhatTheMeterHolds)
{
    meter.generateCells(300);
    connect();

    ProtocolVersion version;
    EXPECT_TRUE(commands.ReadProtocolVersion(version));
    EXPECT_EQ(version, (ProtocolVersion {1, 0}));
    EXPECT_EQ(reporter.versionLabel, QStringLiteral("Версия протокола:1.0"));

    std::uint16_t size = 0;
    EXPECT_TRUE(commands.ReadArchiveSize(archive, size));
    EXPECT_EQ(size, 300);
    EXPECT_EQ(archive.Count, 300);
    EXPECT_EQ(reporter.sizeLabel, QStringLiteral("Размер архива: 300"));

    EXPECT_TRUE(commands.ReadCell(299, archive));
    EXPECT_EQ(archive.Cells[299], meter.cells()[299]);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_TRUE(status.current.isEmpty());
}

TEST_F(DeviceCommandsTest, EveryExchangeWritesTheWholeBufferAndWaitsASecondForTheAnswer)
{
    connect();
    ProtocolVersion version;
    ASSERT_TRUE(commands.ReadProtocolVersion(version));
    ASSERT_TRUE(commands.ReadCell(0, archive));
    std::uint16_t size = 0;
    ASSERT_TRUE(commands.ReadArchiveSize(archive, size));

    const std::vector<sim::Frame> expected = {
        frameOf({0x3F, 0x03, 0x14, 0x92, 0x40}),
        frameOf({0x3F, 0x05, 0x31, 0x00, 0x00, 0xD1, 0xD3}),
        frameOf({0x3F, 0x03, 0x30, 0x58, 0x62, 0xD1, 0xD3}),
    };
    EXPECT_EQ(meter.received(), expected);
    int answerReads = 0;
    for (const sim::ReadCall &read : meter.reads()) {
        EXPECT_EQ(read.length, 64u);
        EXPECT_TRUE(read.timeoutMs == 0 || read.timeoutMs == 1000) << read.timeoutMs;
        answerReads += read.timeoutMs == 1000;
    }
    EXPECT_EQ(answerReads, 3);
}

TEST_F(DeviceCommandsTest, VersionOtherThan10IsShownAndKeptButRefused)
{
    meter.setProtocolVersion(1, 1);
    connect();
    ProtocolVersion version;
    EXPECT_FALSE(commands.ReadProtocolVersion(version));
    EXPECT_EQ(version, (ProtocolVersion {1, 1}));
    EXPECT_EQ(reporter.versionLabel, QStringLiteral("Версия протокола:1.1"));
    EXPECT_EQ(dialogs.messages(), QStringList {QStringLiteral("Не соответствует версия протокола")});
    EXPECT_TRUE(status.current.isEmpty()); // a box alone
}

TEST_F(DeviceCommandsTest, SizesBeyondTheArchiveAreShownButCountStopsAt999)
{
    const struct {
        int cells;
        std::uint16_t count;
    } cases[] = {{0, 0}, {3, 3}, {999, 999}, {1000, 999}, {65535, 999}};
    connect();
    for (const auto &c : cases) {
        meter.generateCells(c.cells);
        std::uint16_t size = 1;
        EXPECT_TRUE(commands.ReadArchiveSize(archive, size)) << c.cells;
        EXPECT_EQ(size, c.cells);
        EXPECT_EQ(archive.Count, c.count) << c.cells;
        EXPECT_EQ(reporter.sizeLabel, QStringLiteral("Размер архива: %1").arg(c.cells));
    }
}

TEST_F(DeviceCommandsTest, NoCellIsAskedForOrStoredBeyondTheArchive)
{
    meter.generateCells(1200);
    connect();
    const CellArchive before = archive;
    EXPECT_FALSE(commands.ReadCell(999, archive));
    EXPECT_FALSE(commands.ReadCell(65535, archive));
    EXPECT_EQ(meter.exchanges(), 0);
    EXPECT_EQ(archive.Cells, before.Cells);
}

// Every fault the line can show, on a read-cell exchange: what the user is told, and that
// the archive keeps what it had.
TEST_F(DeviceCommandsTest, FaultsAreToldAsTheyShouldAndStoreNothing)
{
    // The one cell message the table does not spell out.
    EXPECT_EQ(linkFault(Fault::DamagedCell).commandMessagesAtCell(2),
        QStringList {QStringLiteral("Ошибка целостности ячейки 3")});
    for (const LinkFault &c : linkFaults()) {
        SCOPED_TRACE(static_cast<int>(c.fault));
        meter.reset();
        meter.addFault(sim::atCell(c.fault, 2));
        DeviceLink freshLink;
        DeviceCommands freshCommands {freshLink, reporter};
        ASSERT_TRUE(ConnectDevice(freshLink, nullptr, nullptr));
        dialogs.clear();
        status.current.clear();
        const CellArchive before = archive;

        EXPECT_FALSE(freshCommands.ReadCell(2, archive));
        EXPECT_EQ(dialogs.messages(), c.commandMessagesAtCell(2));
        EXPECT_EQ(status.current, c.toStatus ? c.message : QString()); // empty: not touched
        EXPECT_EQ(archive.Cells, before.Cells);
        EXPECT_EQ(freshLink.isOpen(), c.linkStaysOpen);
    }
}

TEST_F(DeviceCommandsTest, SilentMeterFailsAfterOneSecond)
{
    meter.addFault(sim::atExchange(Fault::NoAnswer, 0));
    connect();
    std::uint16_t size = 0;
    EXPECT_FALSE(commands.ReadArchiveSize(archive, size));
    EXPECT_EQ(meter.elapsed(), std::chrono::milliseconds(1000));
    EXPECT_EQ(log.events,
        (QStringList {QStringLiteral("box:Не соответствует число байт"),
            QStringLiteral("status:Не соответствует число байт")}));
}

TEST_F(DeviceCommandsTest, LateAnswerIsNotTakenForTheNextOne)
{
    meter.generateCells(300);
    meter.addFault(sim::atExchange(Fault::LateAnswer, 0));
    connect();
    ProtocolVersion version;
    EXPECT_FALSE(commands.ReadProtocolVersion(version));
    // The version answer now waits in the line; the size query must get its own.
    std::uint16_t size = 0;
    EXPECT_TRUE(commands.ReadArchiveSize(archive, size));
    EXPECT_EQ(size, 300);
    EXPECT_TRUE(commands.ReadCell(7, archive));
    EXPECT_EQ(archive.Cells[7], meter.cells()[7]);
}

// A device that never stops sending: the input waiting before a request is thrown away a few
// reports at most, then the request goes out. Its answer is taken when it is there at once;
// when it takes a moment an unrelated report comes first and is refused without a word.
TEST_F(DeviceCommandsTest, ChatteringDeviceHoldsNoRequestBack)
{
    meter.generateCells(300);
    meter.setChattering(true);
    connect();
    std::uint16_t size = 0;
    EXPECT_TRUE(commands.ReadArchiveSize(archive, size));
    EXPECT_EQ(size, 300);
    ASSERT_EQ(meter.exchanges(), 1);
    const auto drainReads = [&] {
        return std::count_if(meter.reads().begin(), meter.reads().end(),
            [](const sim::ReadCall &r) { return r.timeoutMs == 0; });
    };
    EXPECT_GT(drainReads(), 0);
    EXPECT_LE(drainReads(), 8);

    meter.clearRecords();
    meter.setLatency(std::chrono::milliseconds(2));
    EXPECT_FALSE(commands.ReadCell(7, archive));
    EXPECT_EQ(meter.exchanges(), 2);
    EXPECT_LE(drainReads(), 8);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_TRUE(link.isOpen());
}

// On a slow host every read of the chattering device takes 300 ms of real time: the drain
// stops after one second, when at most four reads (started at 0, 300, 600 and 900 ms) have
// been made, well before it has thrown away its count of eight. The request then goes out.
TEST_F(DeviceCommandsTest, ChatteringDeviceOnASlowHostIsDrainedForOneSecondAtMost)
{
    meter.generateCells(300);
    meter.setChattering(true);
    meter.setClock(sim::Clock::Real);
    meter.setReadDuration(std::chrono::milliseconds(300));
    connect();
    std::uint16_t size = 0;
    EXPECT_TRUE(commands.ReadArchiveSize(archive, size));
    EXPECT_EQ(size, 300);
    EXPECT_EQ(meter.exchanges(), 1);
    const auto drainReads = std::count_if(meter.reads().begin(), meter.reads().end(),
        [](const sim::ReadCall &r) { return r.timeoutMs == 0; });
    EXPECT_GE(drainReads, 1);
    EXPECT_LE(drainReads, 4) << "the drain ran past its second";
    EXPECT_GE(meter.elapsed(), std::chrono::milliseconds(1000));
}

TEST_F(DeviceCommandsTest, LostMeterIsNotWrittenToAgain)
{
    meter.addFault(sim::atExchange(Fault::ReadError, 0));
    connect();
    std::uint16_t size = 0;
    EXPECT_FALSE(commands.ReadArchiveSize(archive, size));
    EXPECT_EQ(meter.openHandles(), 0);
    EXPECT_FALSE(commands.ReadArchiveSize(archive, size));
    EXPECT_EQ(meter.exchanges(), 1);
    EXPECT_EQ(dialogs.messages(),
        (QStringList {QStringLiteral("Ошибка приема"), QStringLiteral("Ошибка отправки")}));
}

} // namespace

#include "ConnectDevice.h"
#include "DeviceCommands.h"
#include "SimFixture.h"

using namespace luvir;
using namespace luvir::test;

namespace {

const QString kConnected = QStringLiteral("Устройство ЛЮВИР-2.07 успешно подключено");
const QString kSeveral = QStringLiteral("Подключенно несколько устройств, данные будут приняты с устройства");

using ConnectDeviceTest = SimTest;

TEST_F(ConnectDeviceTest, HowManyMetersAreListedDecides)
{
    const QString tooMany = QStringLiteral("Подключено слишком много устройств(>16)");
    const QString none = QStringLiteral("Устройство не обнаружено");
    const struct {
        int devices;
        bool connected;
        QStringList boxes;
        QString status;
    } cases[] = {
        {0, false, {none}, none},
        {1, true, {}, kConnected},
        {2, true, {kSeveral + "SIM-0001"}, kConnected},
        {16, true, {kSeveral + "SIM-0001"}, kConnected},
        {17, false, {tooMany}, tooMany},
        {40, false, {tooMany}, tooMany},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.devices);
        meter.reset();
        meter.setDeviceCount(c.devices);
        dialogs.clear();
        status.current.clear();
        DeviceLink link;
        EXPECT_EQ(ConnectDevice(link, nullptr, &status), c.connected);
        EXPECT_EQ(link.isOpen(), c.connected);
        EXPECT_EQ(dialogs.messages(), c.boxes);
        EXPECT_EQ(status.current, c.status);
        EXPECT_EQ(meter.openHandles(), c.connected ? 1 : 0);
        if (c.connected) {
            EXPECT_EQ(meter.lastOpenedSerial(), sim::Serial(L"SIM-0001"));
            EXPECT_TRUE(meter.lastOpenedNonblocking());
        }
    }
}

TEST_F(ConnectDeviceTest, FirstOfSeveralIsNamedAndOpened)
{
    meter.setDevices({std::wstring(L"A"), std::wstring(L"B")});
    DeviceLink link;
    EXPECT_TRUE(ConnectDevice(link, nullptr, &status));
    EXPECT_EQ(dialogs.messages(), QStringList {kSeveral + "A"});
    EXPECT_TRUE(dialogs.messages().constFirst().endsWith(QStringLiteral("устройстваA")));
    EXPECT_EQ(meter.lastOpenedSerial(), sim::Serial(L"A"));
    // The box comes first; the status line then says only that the meter is connected.
    EXPECT_EQ(log.events, (QStringList {"box:" + kSeveral + "A", "status:" + kConnected}));
}

TEST_F(ConnectDeviceTest, FirstMeterWithoutSerialIsOpenedAndNamedByNothing)
{
    meter.setDevices({std::nullopt, std::wstring(L"B")});
    DeviceLink link;
    EXPECT_TRUE(ConnectDevice(link, nullptr, &status));
    EXPECT_EQ(dialogs.messages(), QStringList {kSeveral});
    EXPECT_EQ(meter.lastOpenedSerial(), sim::Serial());
}

TEST_F(ConnectDeviceTest, MeterThatCannotBeOpened)
{
    meter.setOpenFails(true);
    DeviceLink link;
    EXPECT_FALSE(ConnectDevice(link, nullptr, &status));
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(log.events, (QStringList {"box:Ошибка подключения", "status:Ошибка подключения"}));
    meter.setOpenFails(false);
    EXPECT_TRUE(ConnectDevice(link, nullptr, &status)); // looks again
}

TEST_F(ConnectDeviceTest, EachDiscoveryFreesTheListBeforeIt)
{
    meter.setDeviceCount(0);
    {
        DeviceLink link;
        EXPECT_FALSE(ConnectDevice(link, nullptr, &status));
        meter.setDeviceCount(3);
        EXPECT_TRUE(ConnectDevice(link, nullptr, &status));
        EXPECT_EQ(meter.liveDeviceLists(), 1);
    }
    EXPECT_EQ(meter.liveDeviceLists(), 0);
    EXPECT_EQ(meter.openHandles(), 0);
}

TEST_F(ConnectDeviceTest, OpenMeterIsUsedAgainWithoutLooking)
{
    DeviceLink link;
    ASSERT_TRUE(ConnectDevice(link, nullptr, &status));
    meter.setDeviceCount(5); // would bring the several-meters box
    dialogs.clear();
    status.current.clear();
    EXPECT_TRUE(ConnectDevice(link, nullptr, &status));
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(status.current, kConnected);
    EXPECT_EQ(meter.openHandles(), 1);
}

TEST_F(ConnectDeviceTest, MeterPulledOutAndPluggedBackIsFoundAgain)
{
    RecordingReporter reporter {status};
    DeviceLink link;
    DeviceCommands commands {link, reporter};
    CellArchive archive;
    std::uint16_t size = 0;
    ASSERT_TRUE(ConnectDevice(link, nullptr, &status));

    meter.unplug();
    EXPECT_FALSE(commands.ReadArchiveSize(archive, size));
    EXPECT_EQ(status.current, QStringLiteral("Ошибка отправки"));
    EXPECT_FALSE(link.isOpen());
    EXPECT_FALSE(ConnectDevice(link, nullptr, &status));
    EXPECT_EQ(status.current, QStringLiteral("Устройство не обнаружено"));

    meter.plugIn();
    EXPECT_TRUE(ConnectDevice(link, nullptr, &status));
    EXPECT_TRUE(commands.ReadArchiveSize(archive, size));
    EXPECT_EQ(size, meter.cells().size());
    EXPECT_EQ(meter.openHandles(), 1); // the dead handle was closed
}

} // namespace

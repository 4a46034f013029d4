#include "CliFixture.h"
#include "DeviceLink.h"
#include "LinkFaults.h"
#include "MeterSim.h"
#include "RegisterLocation.h"
#include "SmallFilesystem.h"
#include "TestData.h"

#include <QDir>

#include <cerrno>
#include <functional>
#include <vector>

using namespace luvir;
using namespace luvir::cli;
using namespace luvir::cli::test;
using luvir::sim::Fault;
using luvir::test::linkFault;
using luvir::test::linkFaults;
using luvir::test::testDataPath;

namespace {

class DownloadCommand : public CliTest
{
protected:
    DownloadCommand()
    {
        meter.reset();
        rememberRegisterPath(path("register.sqlite")); // each test adds to a register of its own
    }

    // Standard error without the progress lines: the messages, in order.
    QStringList messages() const
    {
        QStringList out;
        for (const QString &line : console.stderrText.split('\n', Qt::SkipEmptyParts))
            if (!line.startsWith(QStringLiteral("Читаю архив:")) && !line.startsWith('\r'))
                out << line;
        return out;
    }

    sim::Meter &meter = sim::meter();
};

TEST_F(DownloadCommand, CompleteDownloadIsTheMetersArchiveByteForByte)
{
    ASSERT_TRUE(meter.loadArchive(testDataPath("sample-300.db").toStdString()));
    const QString out = path("meter.db");
    EXPECT_EQ(run({"download", out}), kExitOk);
    EXPECT_EQ(readBytes(out), readBytes(testDataPath("sample-300.db")));
    EXPECT_EQ(console.stdoutText, QStringLiteral("version 1.0\ncells 300\nЖурнал: добавлено 300, уже были 0\n"));
    EXPECT_TRUE(messages().isEmpty()) << console.stderrText.toStdString();

    // Version, size, size again, then every cell once, in order.
    const std::vector<sim::Frame> &frames = meter.received();
    ASSERT_EQ(frames.size(), 303u);
    EXPECT_EQ(frames[0][2], 0x14);
    EXPECT_EQ(frames[1][2], 0x30);
    EXPECT_EQ(frames[2][2], 0x30);
    for (int i = 0; i < 300; ++i)
        EXPECT_EQ(frames[3 + i][3] | (frames[3 + i][4] << 8), i);

    // Without a terminal: a line per whole percent, ending at 100.
    const QStringList lines = console.stderrText.split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 101);
    EXPECT_EQ(lines.first(), QStringLiteral("Читаю архив: 0%"));
    EXPECT_EQ(lines.last(), QStringLiteral("Читаю архив: 100%"));
}

TEST_F(DownloadCommand, OnATerminalTheBarIsRedrawnInPlace)
{
    meter.generateCells(40);
    terminal = true;
    EXPECT_EQ(run({"download", path("t.db")}), kExitOk);
    EXPECT_EQ(console.stderrText.count('\n'), 1);
    EXPECT_EQ(console.stderrText.count('\r'), 41);
    EXPECT_TRUE(console.stderrText.endsWith(QStringLiteral("] 40/40 100%\n")))
        << console.stderrText.toStdString();

    // A failure ends the bar's line before its messages.
    meter.reset();
    meter.generateCells(40);
    meter.addFault(sim::atCell(Fault::BadCrc, 20));
    EXPECT_EQ(run({"download", path("f.db")}), kExitFailed);
    EXPECT_TRUE(
        console.stderrText.endsWith(QStringLiteral("20/40  50%\nОшибка CRC\nОшибка чтения ячейки21\n")))
        << console.stderrText.toStdString();
}

TEST_F(DownloadCommand, EveryFaultIsToldAsTheWindowTellsItAndWritesNothing)
{
    struct Case {
        std::function<void(sim::Meter &)> setUp;
        QStringList messages;
    };
    const auto strike = [](sim::FaultRule rule) { return [rule](sim::Meter &m) { m.addFault(rule); }; };
    std::vector<Case> cases = {
        {strike(sim::atExchange(Fault::NoAnswer, 0)),
            {"Не соответствует число байт", "Ошибка чтения версии протокола"}},
        {strike(sim::atExchange(Fault::WrongReportId, 0)), {"Ошибка чтения версии протокола"}},
        {strike(sim::atExchange(Fault::BadCrc, 1)), {"Ошибка CRC", "Ошибка чтения размера архива"}},
        {strike(sim::atExchange(Fault::ReadError, 2)), {"Ошибка приема", "Ошибка чтения размера архива"}},
        // A device streaming unrelated reports, its answers a moment late: each read meets one
        // of those first, and the version query fails without a word of its own.
        {[](sim::Meter &m) {
             m.setChattering(true);
             m.setLatency(std::chrono::milliseconds(2));
         },
            {"Ошибка чтения версии протокола"}},
    };
    // Every fault of the table at another of the twelve cells.
    const int cells[] = {9, 3, 11, 1, 1, 6, 0, 5, 2, 4, 8, 0};
    ASSERT_EQ(std::size(cells), linkFaults().size());
    for (std::size_t i = 0; i < linkFaults().size(); ++i)
        cases.push_back({strike(sim::atCell(linkFaults()[i].fault, cells[i])),
            linkFaults()[i].downloadMessagesAtCell(cells[i])});
    EXPECT_EQ(linkFault(Fault::DamagedCell).downloadMessagesAtCell(0),
        (QStringList {"Ошибка целостности ячейки 1", "Ошибка чтения ячейки1"}));

    const QByteArray earlier = readBytes(testDataPath("seven-cells.db"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.messages.join(" / ").toStdString());
        for (const bool existed : {false, true}) {
            meter.reset();
            meter.generateCells(12);
            c.setUp(meter);
            const QString out = path(existed ? "existing.db" : "new.db");
            QFile::remove(path("existing.db"));
            QFile::remove(path("new.db"));
            if (existed) {
                ASSERT_TRUE(writeBytes(out, earlier));
            }
            EXPECT_EQ(run({"download", out}), kExitFailed);
            EXPECT_EQ(messages(), c.messages);
            EXPECT_TRUE(console.stdoutText.isEmpty());
            if (existed) {
                EXPECT_EQ(readBytes(out), earlier);
            } else {
                EXPECT_FALSE(QFile::exists(out));
            }
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                existed ? QStringList {"existing.db"} : QStringList {})
                << "no partial file may remain";
        }
    }
}

TEST_F(DownloadCommand, ChatteringDeviceWhoseAnswersAreReadyIsReadWhole)
{
    ASSERT_TRUE(meter.loadArchive(testDataPath("sample-300.db").toStdString()));
    meter.setChattering(true);
    const QString out = path("chatter.db");
    EXPECT_EQ(run({"download", out}), kExitOk);
    EXPECT_TRUE(messages().isEmpty()) << console.stderrText.toStdString();
    EXPECT_EQ(readBytes(out), readBytes(testDataPath("sample-300.db")));
    EXPECT_GT(meter.chatterSent(), 0);
    // 303 exchanges, before each no more than a few unrelated reports thrown away.
    ASSERT_EQ(meter.exchanges(), 303);
    EXPECT_LE(static_cast<int>(meter.reads().size()), 303 * (kMaxDiscardedReports + 1));
}

TEST_F(DownloadCommand, MeterNotFoundOrNotOpened)
{
    const struct {
        std::function<void(sim::Meter &)> setUp;
        QStringList messages;
    } cases[] = {
        {[](sim::Meter &m) { m.setDeviceCount(0); }, {"Устройство не обнаружено"}},
        {[](sim::Meter &m) { m.setDeviceCount(17); }, {"Подключено слишком много устройств(>16)"}},
        {[](sim::Meter &m) { m.setOpenFails(true); }, {"Ошибка подключения"}},
        {[](sim::Meter &m) { m.setProtocolVersion(1, 1); },
            {"Не соответствует версия протокола", "Ошибка чтения версии протокола"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.messages.join(" / ").toStdString());
        meter.reset();
        c.setUp(meter);
        EXPECT_EQ(run({"download", path("none.db")}), kExitFailed);
        EXPECT_EQ(messages(), c.messages);
        EXPECT_FALSE(QFile::exists(path("none.db")));
    }
}

TEST_F(DownloadCommand, SeveralMetersAreToldOfAndTheFirstIsRead)
{
    meter.setDevices({std::wstring(L"A"), std::wstring(L"B")});
    meter.generateCells(3);
    EXPECT_EQ(run({"download", path("a.db")}), kExitOk);
    EXPECT_EQ(
        messages(), QStringList {"Подключенно несколько устройств, данные будут приняты с устройстваA"});
    EXPECT_EQ(meter.lastOpenedSerial(), std::optional<std::wstring>(L"A"));
}

TEST_F(DownloadCommand, EmptyAndOverfullArchivesCompleteWithTheirNotice)
{
    meter.generateCells(0);
    EXPECT_EQ(run({"download", path("empty.db")}), kExitOk);
    EXPECT_EQ(messages(), QStringList {"Записей нет"});
    EXPECT_EQ(readBytes(path("empty.db")), QByteArray::fromHex("01000000BFCC"));

    meter.reset();
    meter.generateCells(1000);
    EXPECT_EQ(run({"download", path("full.db")}), kExitOk);
    EXPECT_EQ(messages(), QStringList {"Слишком много записей"});
    ArchiveImage image;
    ArchiveReader reader;
    ASSERT_EQ(reader.read(path("full.db"), image), ArchiveReader::Status::Ok);
    EXPECT_EQ(image.archive.Count, 999);
    EXPECT_EQ(image.archive.Cells[998], meter.cells()[998]);
}

TEST_F(DownloadCommand, TargetThatCannotBeWrittenIsToldBeforeTheMeterIsAsked)
{
    meter.generateCells(5);
    for (const QString &out : {path("no/folder/x.db"), dir.path()}) {
        SCOPED_TRACE(out.toStdString());
        EXPECT_EQ(run({"download", out}), kExitFailed);
        EXPECT_EQ(console.stderrText.count('\n'), 1);
        EXPECT_EQ(meter.exchanges(), 0);
    }
}

TEST_F(DownloadCommand, ADiskThatFillsPartWayIsToldWithTheFileAndItsReason)
{
    luvir::test::SmallFilesystem disk;
    LUVIR_NEED_SMALL_FILESYSTEM(disk);
    const QString out = disk.filePath("meter.db");
    ASSERT_TRUE(writeBytes(out, "earlier archive"));
    ASSERT_TRUE(disk.leaveFree(8192));
    meter.generateCells(300); // 12,606 bytes

    EXPECT_EQ(run({"download", out}), kExitFailed);
    ASSERT_FALSE(messages().isEmpty());
    const QString told = messages().last();
    EXPECT_TRUE(told.startsWith("Файл \"" + out + "\": ")) << told.toStdString();
    EXPECT_TRUE(luvir::test::endsInSystemReason(told, ENOSPC)) << told.toStdString();
    EXPECT_EQ(readBytes(out), "earlier archive");
    EXPECT_EQ(disk.files(), QStringList {"meter.db"}) << "no partial file may remain";
}

} // namespace

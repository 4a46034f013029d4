#include "ConnectDevice.h"
#include "LinkFaults.h"
#include "SimFixture.h"
#include "TestData.h"
#include "Unit2.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QtTest/qtestspontaneevent.h>

using namespace luvir;
using namespace luvir::test;
using sim::Fault;

namespace {

// The main window as the dialog sees it; everything it is asked to do goes to the log.
class FakeArchiveView : public ArchiveView
{
public:
    explicit FakeArchiveView(EventLog &log)
        : m_log(log)
    {
    }
    ArchiveSession &session() override { return archiveSession; }
    void blankTableRows() override { m_log.events << QStringLiteral("blank"); }
    void DisplayArchive() override
    {
        m_log.events << QStringLiteral("display");
        shownCount = archiveSession.archive.Count;
    }
    void setStatus(const QString &text) override
    {
        current = text;
        m_log.events << QStringLiteral("status:") + text;
    }

    ArchiveSession archiveSession;
    QString current;
    int shownCount = -1;

private:
    EventLog &m_log;
};

class DownloadDialogTest : public SimTest
{
protected:
    DownloadDialogTest()
    {
        // An archive opened earlier, of another meter.
        view.archiveSession.archive = sampleArchive(7);
        view.archiveSession.version = {2, 3};
    }

    void connectAndShow()
    {
        ASSERT_TRUE(ConnectDevice(link, nullptr, &view));
        log.events.clear();
        form.FormShow();
    }

    // The archive and version are what they were before the dialog came up.
    void expectSessionUntouched() const
    {
        EXPECT_TRUE(view.archiveSession.archive.sameContents(sampleArchive(7)));
        EXPECT_EQ(view.archiveSession.version, (ProtocolVersion {2, 3}));
        EXPECT_FALSE(view.archiveSession.DownloadCompleted);
        EXPECT_FALSE(log.events.contains(QStringLiteral("display")));
    }

    std::vector<int> requestedCells() const
    {
        std::vector<int> cells;
        for (const sim::Frame &f : requestsFor(0x31))
            cells.push_back(f[3] | (f[4] << 8));
        return cells;
    }

    FakeArchiveView view {log};
    DeviceLink link;
    TForm2 form {link, view};
};

TEST(DownloadDialogLayout, ControlsStandWhereTheyBelong)
{
    EventLog log;
    FakeArchiveView view {log};
    DeviceLink link;
    TForm2 form {link, view};
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Прием данных"));
    EXPECT_EQ(form.size(), QSize(343, 206));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_EQ(form.ProgressBar1->geometry(), QRect(8, 43, 322, 17));
    EXPECT_EQ(form.Button1->geometry(), QRect(8, 169, 128, 25));
    EXPECT_EQ(form.Button2->geometry(), QRect(202, 169, 128, 25));
    EXPECT_EQ(form.Button1->text(), QStringLiteral("Скачать"));
    EXPECT_EQ(form.Button2->text(), QStringLiteral("Отмена"));
    const struct {
        QLabel *label;
        QPoint at;
        QString text;
    } labels[] = {
        {form.Label1, {8, 8}, QStringLiteral("Статус:")},
        {form.Label8, {81, 8}, {}},
        {form.Label2, {16, 80}, QStringLiteral("Тип прибора:")},
        {form.Label5, {89, 80}, {}},
        {form.Label3, {16, 112}, QStringLiteral("Версия:")},
        {form.Label6, {61, 112}, {}},
        {form.Label4, {16, 144}, QStringLiteral("Количество измерений:")},
        {form.Label7, {142, 144}, {}},
    };
    for (const auto &l : labels) {
        EXPECT_EQ(l.label->pos(), l.at) << l.text.toStdString();
        EXPECT_EQ(l.label->text(), l.text);
    }
    EXPECT_EQ(form.Label1->font().pixelSize(), 20);
    EXPECT_EQ(form.Label8->font().pixelSize(), 20);
}

TEST_F(DownloadDialogTest, ShowingAsksForVersionAndSizeAndBlanksTheRows)
{
    meter.generateCells(300);
    form.Label8->setText(QStringLiteral("Архив успешно принят")); // left from an earlier download
    form.ProgressBar1->setValue(40);
    connectAndShow();

    EXPECT_EQ(form.Label5->text(), QStringLiteral("ЛЮВИР-2.07"));
    EXPECT_EQ(form.Label6->text(), QStringLiteral("Версия протокола:1.0"));
    EXPECT_EQ(form.Label7->text(), QStringLiteral("Размер архива: 300"));
    EXPECT_EQ(form.Label8->text(), QStringLiteral("Прибор подключен"));
    EXPECT_EQ(form.ProgressBar1->value(), 0);
    EXPECT_EQ(log.events,
        (QStringList {"status:Читаю версию протокола", "status:Считано успешно", "status:Читаю размер архива",
            "status:Считано успешно", "blank"}));
    EXPECT_EQ(meter.received(),
        (std::vector<sim::Frame> {
            frameOf({0x3F, 0x03, 0x14, 0x92, 0x40}), frameOf({0x3F, 0x03, 0x30, 0x58, 0x62})}));
    expectSessionUntouched();
}

TEST_F(DownloadDialogTest, ShowingRunsOnEveryShow)
{
    ASSERT_TRUE(ConnectDevice(link, nullptr, &view));
    form.show();
    form.hide();
    form.show();
    EXPECT_EQ(requestsFor(0x14).size(), 2u);
    EXPECT_EQ(log.events.count(QStringLiteral("blank")), 2);
    form.hide();
}

TEST_F(DownloadDialogTest, MeterOfAnotherProtocolIsRefusedBeforeTheSize)
{
    meter.setProtocolVersion(1, 1);
    connectAndShow();
    EXPECT_EQ(dialogs.messages(),
        (QStringList {QStringLiteral("Не соответствует версия протокола"),
            QStringLiteral("Ошибка чтения версии протокола")}));
    EXPECT_EQ(view.current, QStringLiteral("Ошибка чтения версии протокола"));
    EXPECT_EQ(form.Label6->text(), QStringLiteral("Версия протокола:1.1"));
    EXPECT_TRUE(requestsFor(0x30).empty());
    EXPECT_FALSE(log.events.contains(QStringLiteral("blank")));
    expectSessionUntouched();
}

TEST_F(DownloadDialogTest, SizeFailureOnShowingLeavesTheTable)
{
    meter.addFault(sim::atExchange(Fault::NoAnswer, 1));
    connectAndShow();
    EXPECT_EQ(dialogs.messages(),
        (QStringList {
            QStringLiteral("Не соответствует число байт"), QStringLiteral("Ошибка чтения размера архива")}));
    EXPECT_EQ(view.current, QStringLiteral("Ошибка чтения размера архива"));
    EXPECT_FALSE(log.events.contains(QStringLiteral("blank")));
}

TEST_F(DownloadDialogTest, CompleteDownloadOfThreeCells)
{
    meter.generateCells(3);
    meter.setProtocolVersion(1, 0);
    connectAndShow();
    std::vector<int> progressAtRequest;
    meter.onRequest = [&](const sim::Frame &f) {
        if (f[2] == 0x31)
            progressAtRequest.push_back(form.ProgressBar1->value());
    };
    log.events.clear();
    form.Button1Click();

    EXPECT_EQ(form.ProgressBar1->maximum(), 3);
    EXPECT_EQ(requestedCells(), (std::vector<int> {0, 1, 2}));
    EXPECT_EQ(progressAtRequest, (std::vector<int> {1, 2, 3}));
    EXPECT_EQ(view.shownCount, 3);
    const ArchiveSession &session = view.archiveSession;
    EXPECT_EQ(session.archive.Count, 3);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(session.archive.Cells[i], meter.cells()[i]);
    EXPECT_EQ(session.version, (ProtocolVersion {1, 0}));
    EXPECT_TRUE(session.DownloadCompleted);
    EXPECT_EQ(form.Label8->text(), QStringLiteral("Архив успешно принят"));
    EXPECT_EQ(log.events,
        (QStringList {"status:Читаю размер архива", "status:Читаю архив:", "display", "status:Готово"}));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(DownloadDialogTest, EmptyArchiveCountsAsComplete)
{
    meter.generateCells(0);
    connectAndShow();
    log.events.clear();
    form.Button1Click();
    EXPECT_EQ(log.events,
        (QStringList {"status:Читаю размер архива", "box:Записей нет", "status:Записей нет",
            "status:Читаю архив:", "display", "status:Готово"}));
    EXPECT_EQ(view.shownCount, 0);
    EXPECT_EQ(view.archiveSession.archive.Count, 0);
    EXPECT_TRUE(view.archiveSession.DownloadCompleted);
    EXPECT_TRUE(requestedCells().empty());
}

TEST_F(DownloadDialogTest, MoreThan999CellsBringsAWarningAndTheFirst999)
{
    meter.generateCells(1000);
    connectAndShow();
    EXPECT_EQ(form.Label7->text(), QStringLiteral("Размер архива: 1000"));
    form.Button1Click();
    EXPECT_EQ(dialogs.messages(), QStringList {QStringLiteral("Слишком много записей")});
    const std::vector<int> cells = requestedCells();
    ASSERT_EQ(cells.size(), 999u);
    EXPECT_EQ(cells.back(), 998);
    EXPECT_EQ(view.archiveSession.archive.Count, 999);
    EXPECT_EQ(view.archiveSession.archive.Cells[998], meter.cells()[998]);
    EXPECT_EQ(form.ProgressBar1->value(), form.ProgressBar1->maximum());
    EXPECT_EQ(view.current, QStringLiteral("Готово"));
}

TEST_F(DownloadDialogTest, FailedCellIsToldTwiceAndTheOpenArchiveStays)
{
    // Each fault at another cell of twelve, the first and the last among them.
    const int cells[] = {9, 3, 11, 1, 1, 6, 0, 5, 2, 4, 8, 0};
    ASSERT_EQ(std::size(cells), linkFaults().size());
    EXPECT_EQ(linkFault(Fault::BadCrc).downloadMessagesAtCell(4),
        (QStringList {"Ошибка CRC", "Ошибка чтения ячейки5"})); // the texts as the user reads them
    for (std::size_t i = 0; i < linkFaults().size(); ++i) {
        const int cell = cells[i];
        const QStringList boxes = linkFaults()[i].downloadMessagesAtCell(cell);
        SCOPED_TRACE(boxes.join(" / ").toStdString());
        meter.reset();
        meter.generateCells(12);
        meter.addFault(sim::atCell(linkFaults()[i].fault, cell));
        EventLog caseLog;
        FakeArchiveView caseView {caseLog};
        caseView.archiveSession = view.archiveSession;
        DeviceLink caseLink;
        TForm2 caseForm {caseLink, caseView};
        ASSERT_TRUE(ConnectDevice(caseLink, nullptr, &caseView));
        caseForm.FormShow();
        dialogs.clear();

        caseForm.Button1Click();
        EXPECT_EQ(dialogs.messages(), boxes);
        EXPECT_EQ(caseView.current, boxes.back());
        EXPECT_TRUE(caseView.archiveSession.archive.sameContents(sampleArchive(7)));
        EXPECT_EQ(caseView.archiveSession.version, (ProtocolVersion {2, 3}));
        EXPECT_FALSE(caseView.archiveSession.DownloadCompleted);
        EXPECT_FALSE(caseLog.events.contains(QStringLiteral("display")));
    }
}

TEST_F(DownloadDialogTest, CancelAfterShowingChangesNothingButTheBlankRows)
{
    meter.generateCells(300);
    meter.setProtocolVersion(1, 0);
    form.show();
    ASSERT_TRUE(ConnectDevice(link, nullptr, &view));
    form.FormShow();
    form.Button2Click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(log.events.contains(QStringLiteral("blank")));
    expectSessionUntouched();
}

TEST_F(DownloadDialogTest, SecondPressStartsOverAndItsSizeRequestCarriesTheLastCellsCrc)
{
    meter.generateCells(3);
    connectAndShow();
    form.Button1Click();
    meter.clearRecords();
    form.Button1Click();
    const std::vector<sim::Frame> &frames = meter.received();
    ASSERT_EQ(frames.size(), 4u);
    // The CRC of the request for cell 2, left behind in bytes 5 and 6.
    EXPECT_EQ(frames[0], frameOf({0x3F, 0x03, 0x30, 0x58, 0x62, frames[3][5], frames[3][6]}));
    EXPECT_EQ(frames[1], frameOf({0x3F, 0x05, 0x31, 0x00, 0x00, 0xD1, 0xD3}));
    EXPECT_EQ(requestedCells(), (std::vector<int> {0, 1, 2}));
}

TEST_F(DownloadDialogTest, MeterPulledOutMidwayIsFoundAgainOnTheNextDownload)
{
    meter.generateCells(20);
    connectAndShow();
    meter.unplugAfter(meter.exchanges() + 6); // size query and five cells get through
    form.Button1Click();
    EXPECT_EQ(dialogs.messages(), (QStringList {"Ошибка отправки", "Ошибка чтения ячейки6"}));
    dialogs.clear();
    log.events.clear();
    const int writesBefore = meter.exchanges();
    form.Button1Click(); // still out: looked for, not found, nothing written
    EXPECT_EQ(dialogs.messages(), QStringList {"Устройство не обнаружено"});
    EXPECT_EQ(view.current, QStringLiteral("Устройство не обнаружено"));
    EXPECT_EQ(meter.exchanges(), writesBefore);
    expectSessionUntouched();

    // Plugged back in: the next press in the same dialog finds it and reads it whole.
    meter.plugIn();
    meter.unplugAfter(-1);
    dialogs.clear();
    log.events.clear();
    meter.clearRecords();
    form.Button1Click();
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.messages().join(" / ").toStdString();
    EXPECT_EQ(meter.openHandles(), 1);
    EXPECT_TRUE(meter.lastOpenedNonblocking());
    EXPECT_EQ(log.events.mid(0, 4),
        (QStringList {"status:Устройство ЛЮВИР-2.07 успешно подключено", "status:Читаю версию протокола",
            "status:Считано успешно", "status:Читаю размер архива"}));
    ASSERT_GE(meter.received().size(), 2u);
    // The version request with its CRC 92 40; bytes 5 and 6 are what the send buffer kept
    // from the last request before the fault, as on the wire always, so they are not checked.
    EXPECT_EQ(meter.received()[0],
        frameOf({0x3F, 0x03, 0x14, 0x92, 0x40, meter.received()[0][5], meter.received()[0][6]}));
    EXPECT_EQ(meter.received()[1][2], 0x30);
    EXPECT_EQ(view.archiveSession.archive.Count, 20);
    for (std::size_t i = 0; i < 20; ++i)
        EXPECT_EQ(view.archiveSession.archive.Cells[i], meter.cells()[i]) << i;
    EXPECT_EQ(view.archiveSession.version, (ProtocolVersion {1, 0}));
    EXPECT_TRUE(view.archiveSession.DownloadCompleted);
    EXPECT_EQ(view.current, QStringLiteral("Готово"));
}

TEST_F(DownloadDialogTest, AfterAPassingFaultTheNextPressDownloadsTheWholeArchive)
{
    // A fault that lets go of the meter, once, at the read of cell 4; the meter stays in, or
    // is pulled out and plugged back before the next press.
    for (const auto &[fault, replugged] : {std::pair {Fault::ReadError, false},
             std::pair {Fault::WriteError, false}, std::pair {Fault::ReadError, true}}) {
        SCOPED_TRACE(linkFault(fault).message.toStdString() + (replugged ? ", replugged" : ""));
        meter.reset();
        meter.setDevices({std::wstring(L"A"), std::wstring(L"B")});
        meter.generateCells(12);
        EventLog caseLog;
        FakeArchiveView caseView {caseLog};
        caseView.archiveSession = view.archiveSession;
        DeviceLink caseLink;
        TForm2 caseForm {caseLink, caseView};
        ASSERT_TRUE(ConnectDevice(caseLink, nullptr, &caseView));
        caseForm.FormShow();
        meter.addFault(sim::atExchange(fault, meter.exchanges() + 5)); // size query, cells 0 to 3
        dialogs.clear();
        caseForm.Button1Click();
        EXPECT_EQ(dialogs.messages(), linkFault(fault).downloadMessagesAtCell(4));
        EXPECT_FALSE(caseLink.isOpen());
        if (replugged) {
            meter.unplug();
            meter.plugIn();
        }

        dialogs.clear();
        caseForm.Button1Click();
        // Found again with the same rules as the download command: the first of two is named.
        EXPECT_EQ(dialogs.messages(),
            QStringList {"Подключенно несколько устройств, данные будут приняты с устройстваA"});
        EXPECT_EQ(meter.lastOpenedSerial(), sim::Serial(L"A"));
        EXPECT_EQ(meter.openHandles(), 1);
        const CellArchive &archive = caseView.archiveSession.archive;
        EXPECT_EQ(archive.Count, 12);
        for (std::size_t i = 0; i < 12; ++i)
            EXPECT_EQ(archive.Cells[i], meter.cells()[i]) << i;
        EXPECT_TRUE(caseView.archiveSession.DownloadCompleted);
        EXPECT_EQ(caseView.current, QStringLiteral("Готово"));
    }
}

TEST_F(DownloadDialogTest, MeterOfAnotherProtocolFoundOnThePressIsNotRead)
{
    meter.generateCells(5);
    connectAndShow();
    meter.unplug();
    form.Button1Click();
    meter.setProtocolVersion(1, 1);
    meter.plugIn();
    dialogs.clear();
    meter.clearRecords();
    form.Button1Click();
    EXPECT_EQ(dialogs.messages(),
        (QStringList {"Не соответствует версия протокола", "Ошибка чтения версии протокола"}));
    EXPECT_EQ(form.Label6->text(), QStringLiteral("Версия протокола:1.1"));
    EXPECT_TRUE(requestsFor(0x30).empty());
    expectSessionUntouched();
}

// A device that keeps sending unrelated reports: with its answers ready at once the archive
// comes through whole; with answers that take a moment, every exchange meets an unrelated
// report first and the download ends with the usual reports. Either way it ends.
TEST_F(DownloadDialogTest, ChatteringDeviceNeverHoldsTheDownloadUp)
{
    meter.generateCells(12);
    meter.setChattering(true);
    connectAndShow();
    form.Button1Click();
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.messages().join(" / ").toStdString();
    EXPECT_EQ(view.archiveSession.archive.Count, 12);
    for (std::size_t i = 0; i < 12; ++i)
        EXPECT_EQ(view.archiveSession.archive.Cells[i], meter.cells()[i]) << i;
    EXPECT_GT(meter.chatterSent(), 0);
    // Fifteen exchanges (version, size twice, twelve cells), and before each no more than
    // a few unrelated reports thrown away.
    ASSERT_EQ(meter.exchanges(), 15);
    EXPECT_LE(static_cast<int>(meter.reads().size()), 15 * (kMaxDiscardedReports + 1));

    meter.reset();
    meter.generateCells(12);
    meter.setChattering(true);
    meter.setLatency(std::chrono::milliseconds(2));
    EventLog slowLog;
    FakeArchiveView slowView {slowLog};
    slowView.archiveSession.archive = sampleArchive(7);
    DeviceLink slowLink;
    TForm2 slowForm {slowLink, slowView};
    ASSERT_TRUE(ConnectDevice(slowLink, nullptr, &slowView));
    dialogs.clear();
    slowForm.FormShow();
    slowForm.Button1Click();
    EXPECT_EQ(
        dialogs.messages(), (QStringList {"Ошибка чтения версии протокола", "Ошибка чтения размера архива"}));
    EXPECT_EQ(slowView.current, QStringLiteral("Ошибка чтения размера архива"));
    EXPECT_EQ(meter.exchanges(), 2);
    EXPECT_LE(static_cast<int>(meter.reads().size()), 2 * (kMaxDiscardedReports + 1));
    EXPECT_LE(meter.elapsed(), std::chrono::milliseconds(2 * kAnswerTimeoutMs));
    EXPECT_TRUE(slowView.archiveSession.archive.sameContents(sampleArchive(7)));
    EXPECT_FALSE(slowView.archiveSession.DownloadCompleted);
}

TEST_F(DownloadDialogTest, ShownAgainByTheWindowSystemItAsksNothing)
{
    ASSERT_TRUE(ConnectDevice(link, nullptr, &view));
    form.show();
    ASSERT_EQ(requestsFor(0x14).size(), 1u);
    // Restored after being minimised, say: the window system shows it once more.
    QShowEvent restored;
    QSpontaneKeyEvent::setSpontaneous(&restored);
    static_cast<QObject &>(form).event(&restored);
    EXPECT_EQ(requestsFor(0x14).size(), 1u);
    EXPECT_EQ(log.events.count(QStringLiteral("blank")), 1);
    form.hide();
}

} // namespace

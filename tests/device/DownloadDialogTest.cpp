#include "ConnectDevice.h"
#include "SimFixture.h"
#include "TestData.h"
#include "Unit2.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

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
    const struct {
        sim::FaultRule rule;
        QStringList boxes;
    } cases[] = {
        {sim::atCell(Fault::BadCrc, 4), {"Ошибка CRC", "Ошибка чтения ячейки5"}},
        {sim::atCell(Fault::DamagedCell, 0), {"Ошибка целостности ячейки 1", "Ошибка чтения ячейки1"}},
        {sim::atCell(Fault::WrongCommand, 2), {"Ошибка чтения ячейки3"}},
        {sim::atCell(Fault::NoAnswer, 9), {"Не соответствует число байт", "Ошибка чтения ячейки10"}},
        {sim::atCell(Fault::ReadError, 1), {"Ошибка приема", "Ошибка чтения ячейки2"}},
        {sim::atCell(Fault::WriteError, 1), {"Ошибка отправки", "Ошибка чтения ячейки2"}},
        {sim::atCell(Fault::Unplug, 6), {"Ошибка отправки", "Ошибка чтения ячейки7"}},
        {sim::atCell(Fault::LateAnswer, 3), {"Не соответствует число байт", "Ошибка чтения ячейки4"}},
        {sim::atCell(Fault::ShortRead, 11), {"Не соответствует число байт", "Ошибка чтения ячейки12"}},
        {sim::atCell(Fault::WrongReportId, 0), {"Ошибка чтения ячейки1"}},
        {sim::atCell(Fault::WrongLength, 5), {"Ошибка чтения ячейки6"}},
        {sim::atCell(Fault::CrcLowByteFirst, 8), {"Ошибка CRC", "Ошибка чтения ячейки9"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.boxes.join(" / ").toStdString());
        meter.reset();
        meter.generateCells(12);
        meter.addFault(c.rule);
        EventLog caseLog;
        FakeArchiveView caseView {caseLog};
        caseView.archiveSession = view.archiveSession;
        DeviceLink caseLink;
        TForm2 caseForm {caseLink, caseView};
        ASSERT_TRUE(ConnectDevice(caseLink, nullptr, &caseView));
        caseForm.FormShow();
        dialogs.clear();

        caseForm.Button1Click();
        EXPECT_EQ(dialogs.messages(), c.boxes);
        EXPECT_EQ(caseView.current, c.boxes.back());
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
    form.Button1Click(); // nothing to write to
    EXPECT_EQ(dialogs.messages(), (QStringList {"Ошибка отправки", "Ошибка чтения размера архива"}));
    expectSessionUntouched();

    meter.plugIn();
    meter.unplugAfter(-1);
    form.hide();
    ASSERT_TRUE(ConnectDevice(link, nullptr, &view));
    form.FormShow();
    form.Button1Click();
    EXPECT_EQ(view.archiveSession.archive.Count, 20);
    EXPECT_EQ(view.archiveSession.archive.Cells[19], meter.cells()[19]);
    EXPECT_TRUE(view.archiveSession.DownloadCompleted);
}

} // namespace

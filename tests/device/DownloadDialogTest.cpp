#include "DownloadDialogFixture.h"
#include "LinkFaults.h"

#include <QFontInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QtTest/qtestspontaneevent.h>

using namespace luvir;
using namespace luvir::test;
using sim::Fault;

namespace {

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
    // The large letters: 20 pixels in the design font, no larger in one in its place.
    EXPECT_EQ(form.Label8->font(), form.Label1->font());
    EXPECT_LE(form.Label8->font().pixelSize(), 20);
    if (QFontInfo(form.Label8->font()).family() == QStringLiteral("Tahoma")) {
        EXPECT_EQ(form.Label8->font().pixelSize(), 20);
    }
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
        const std::unique_ptr<CaseDialog> dialog = showCaseDialog();
        ASSERT_NE(dialog, nullptr);
        dialogs.clear();

        dialog->form.Button1Click();
        EXPECT_EQ(dialogs.messages(), boxes);
        EXPECT_EQ(dialog->view.current, boxes.back());
        EXPECT_TRUE(dialog->view.archiveSession.archive.sameContents(sampleArchive(7)));
        EXPECT_EQ(dialog->view.archiveSession.version, (ProtocolVersion {2, 3}));
        EXPECT_FALSE(dialog->view.archiveSession.DownloadCompleted);
        EXPECT_FALSE(dialog->log.events.contains(QStringLiteral("display")));
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

// The «Журнал» menu of the main window: its items, the switch of adding downloads, adding
// archive files (refused ones named, the others added), and choosing another register.
#include "MainWindowFixture.h"

#include "MeterSim.h"
#include "Register.h"
#include "RegisterLocation.h"
#include "Unit2.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>

using namespace luvir;
using luvir::test::MainWindowTest;
using luvir::test::sampleArchive;

namespace {

class RegisterMenuTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        rememberRegisterPath(registerFile());
        rememberDownloadsGoToRegister(true);
    }
    void TearDown() override
    {
        rememberRegisterPath(defaultRegisterPath());
        rememberDownloadsGoToRegister(true);
    }

    QString registerFile() const { return path("register.sqlite"); }

    QList<RegisterMeasurement> inRegister(const QString &fileName)
    {
        Register reg;
        EXPECT_EQ(reg.open(fileName), Register::OpenStatus::Ok) << qPrintable(reg.errorString());
        return reg.measurements(MeasurementSelection::all());
    }
};

} // namespace

TEST_F(RegisterMenuTest, TheMenuStandsBeforeHelpWithItsItems)
{
    QStringList titles;
    for (QAction *menu : window->menuBar()->actions())
        titles << menu->text();
    EXPECT_EQ(titles, (QStringList {"Файл", "Правка", "Данные", "Журнал", "Справка"}));

    QStringList items;
    for (QAction *item : window->RegisterItem->associatedObjects().isEmpty()
             ? QList<QAction *>()
             : qobject_cast<QMenu *>(window->RegisterItem->associatedObjects().first())->actions())
        if (!item->isSeparator())
            items << item->text();
    EXPECT_EQ(items,
        (QStringList {"Журнал испытаний", "Журнал: register.sqlite", "Добавлять скачанные в журнал",
            "Добавить архивы в журнал…", "Создать журнал…", "Открыть журнал…", "Подключиться к серверу…",
            "Сохранить копию журнала…"}));
    EXPECT_TRUE(window->AddDownloadsItem->isCheckable());
    EXPECT_TRUE(window->AddDownloadsItem->isChecked());
    EXPECT_EQ(window->RegisterButton->defaultAction(), window->RegisterItem);
}

TEST_F(RegisterMenuTest, TheWindowItemCallsTheOpenerStartUpGave)
{
    int opened = 0;
    window->setRegisterWindowOpener([&opened] { ++opened; });
    window->RegisterButton->click();
    window->RegisterItem->trigger();
    EXPECT_EQ(opened, 2);
}

// Turned off from the menu, a download leaves the register as it was, and the next start
// remembers the choice.
TEST_F(RegisterMenuTest, AddingDownloadsTurnedOffIsRememberedAndObeyed)
{
    window->AddDownloadsItem->trigger();
    EXPECT_FALSE(window->registersDownloads());
    EXPECT_FALSE(downloadsGoToRegister());

    sim::meter().reset();
    sim::meter().generateCells(20);
    QTimer::singleShot(0, [] {
        if (auto *dialog = qobject_cast<TForm2 *>(QApplication::activeModalWidget()))
            dialog->Button1->click();
    });
    window->N13->trigger();
    EXPECT_EQ(window->session().archive.Count, 20);
    EXPECT_TRUE(inRegister(registerFile()).isEmpty());

    TForm1 next;
    EXPECT_FALSE(next.registersDownloads());
    EXPECT_FALSE(next.AddDownloadsItem->isChecked());
}

TEST_F(RegisterMenuTest, AddingArchivesNamesTheRefusedFileAndAddsTheOthers)
{
    const QString seven = writeArchiveFile("seven.db", sampleArchive(7));
    const QString cut = writeBytes("cut.db", readBytes(writeArchiveFile("whole.db", sampleArchive(3))).left(100));
    const QString again = writeArchiveFile("again.db", sampleArchive(7));
    dialogs.fileAnswers << QStringList {seven, cut, again}.join(u'\n');
    QSignalSpy added(window.get(), &TForm1::registerAdded);
    window->AddArchivesItem->trigger();
    // The register window is told the action's total, not its last file's.
    ASSERT_EQ(added.size(), 1);
    EXPECT_EQ(added.first().first().toString(), "Журнал: добавлено 7, уже были 7");

    ASSERT_EQ(dialogs.messages().size(), 1);
    const QString text = dialogs.messages().first();
    EXPECT_TRUE(text.startsWith("Журнал: добавлено 7, уже были 7\n\nНе добавлены:\ncut.db: ")) << qPrintable(text);
    EXPECT_EQ(text.count(u'\n'), 3) << qPrintable(text); // one line for the one refused file
    EXPECT_EQ(inRegister(registerFile()).size(), 7);
}

// A file that is not a register is refused with the register's reason and stays byte for
// byte; the register in use stays the one it was. A new file becomes the register in use.
TEST_F(RegisterMenuTest, OpeningAnotherRegisterRefusesAForeignFileAndTakesANewOne)
{
    const QByteArray foreign = "just some notes, not a register\n";
    const QString notes = writeBytes("notes.sqlite", foreign);
    dialogs.fileAnswers << notes;
    window->OpenRegisterItem->trigger();
    ASSERT_EQ(dialogs.messages().size() + dialogs.errors().size(), 1);
    EXPECT_EQ(readBytes(notes), foreign);
    EXPECT_EQ(rememberedRegisterPath(), registerFile());

    // An empty file (a file dialog may leave one) is opened as nothing: only «Создать журнал…»
    // makes a register.
    dialogs.clear();
    const QString empty = writeBytes("empty.sqlite", {});
    dialogs.fileAnswers << empty;
    window->OpenRegisterItem->trigger();
    ASSERT_EQ(dialogs.messages().size() + dialogs.errors().size(), 1);
    EXPECT_TRUE((dialogs.messages() + dialogs.errors()).first().contains("пуст"));
    EXPECT_EQ(QFileInfo(empty).size(), 0);
    EXPECT_EQ(rememberedRegisterPath(), registerFile());

    dialogs.clear();
    const QString fresh = path("2026.sqlite");
    dialogs.fileAnswers << fresh;
    window->CreateRegisterItem->trigger();
    EXPECT_TRUE(dialogs.messages().isEmpty()) << qPrintable(dialogs.messages().join('|'));
    EXPECT_EQ(rememberedRegisterPath(), fresh);
    EXPECT_EQ(window->statusText(0), "Журнал: 2026.sqlite");
    EXPECT_TRUE(inRegister(fresh).isEmpty());
}

// "Открыть в таблице": the register's measurements become the open archive, and File > Save
// writes exactly their cells, in the order given.
TEST_F(RegisterMenuTest, MeasurementsFromTheRegisterOpenInTheTableAndSave)
{
    const CellArchive sample = sampleArchive(5);
    QList<Measurement> measurements;
    for (int i = 4; i >= 2; --i) { // three of them, in another order than the file's
        Measurement m;
        m.cell = sample.Cells[i];
        m.number = 5 - i;
        measurements << m;
    }
    window->openMeasurements(measurements);
    EXPECT_TRUE(tableShown());
    EXPECT_EQ(window->session().archive.Count, 3);
    EXPECT_EQ(window->statusText(0), "Готово");
    EXPECT_TRUE(window->N3->isEnabled());

    const QString saved = path("from-register.db");
    dialogs.fileAnswers << saved;
    window->N3->trigger();
    ArchiveImage image;
    ArchiveReader reader;
    ASSERT_EQ(reader.read(saved, image), ArchiveReader::Status::Ok) << qPrintable(reader.errorString());
    ASSERT_EQ(image.archive.Count, 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(image.archive.Cells[i], sample.Cells[4 - i]) << i;
}

// Without a home the settings have nowhere to go: the register made is used in this run, and
// the user is told it will not be opened by itself at the next start, and why.
TEST_F(RegisterMenuTest, WithoutAHomeTheChoiceIsUsedAndTheUserToldItIsNotKept)
{
    const QByteArray home = qgetenv("HOME");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    qunsetenv("HOME");
    qunsetenv("XDG_CONFIG_HOME");
    const QString fresh = path("2027.sqlite");
    dialogs.fileAnswers << fresh;
    window->CreateRegisterItem->trigger();
    const QStringList told = dialogs.messages() + dialogs.errors();
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", config);
    ASSERT_EQ(told.size(), 1);
    EXPECT_EQ(told.first(), "Журнал \"" + fresh + "\" будет использоваться до закрытия программы, но при следующем "
                                                    "запуске не откроется сам: не задана переменная окружения HOME, и "
                                                    "программе негде хранить настройки.");
    EXPECT_EQ(rememberedRegisterPath(), fresh);
    EXPECT_TRUE(QFileInfo::exists(fresh));
    // Kept again once there is a home: this run's choice gives way to the settings.
    EXPECT_EQ(rememberRegisterPath(registerFile()), QString());
    EXPECT_EQ(rememberedRegisterPath(), registerFile());
}

// Every completed download from the window goes into the register by itself; a register
// that cannot be written changes nothing of the download and is reported after it.
#include "MainWindowFixture.h"

#include "MeterSim.h"
#include "Register.h"
#include "RegisterLocation.h"
#include "Unit2.h"

#include <QSignalSpy>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimer>

using namespace luvir;
using luvir::test::MainWindowTest;

namespace {

class DownloadRegisterTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        sim::meter().reset();
        sim::meter().generateCells(300);
        rememberRegisterPath(registerFile());
    }
    void TearDown() override
    {
        rememberRegisterPath(defaultRegisterPath());
    }

    QString registerFile() const { return path("register.sqlite"); }

    // Данные › «Скачать архив», then «Скачать» in the dialog.
    void download()
    {
        QTimer::singleShot(0, [] {
            if (auto *dialog = qobject_cast<TForm2 *>(QApplication::activeModalWidget()))
                dialog->Button1->click();
        });
        window->N13->trigger();
    }

    int measurementsInRegister()
    {
        Register reg;
        EXPECT_EQ(reg.open(registerFile()), Register::OpenStatus::Ok) << qPrintable(reg.errorString());
        return static_cast<int>(reg.measurements(MeasurementSelection::all()).size());
    }
};

} // namespace

TEST_F(DownloadRegisterTest, ADownloadLandsInTheRegisterAndTheSameMeterAgainAddsNothing)
{
    QSignalSpy added(window.get(), &TForm1::registerAdded);
    download();
    EXPECT_EQ(window->statusText(0), "Готово");
    EXPECT_EQ(window->session().archive.Count, 300);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(measurementsInRegister(), 300);
    ASSERT_EQ(added.size(), 1); // what the register window then shows
    EXPECT_EQ(added.first().first().toString(), "Журнал: добавлено 300, уже были 0");

    download();
    EXPECT_EQ(window->statusText(0), "Готово");
    Register reg;
    ASSERT_EQ(reg.open(registerFile()), Register::OpenStatus::Ok);
    EXPECT_EQ(reg.measurements(MeasurementSelection::all()).size(), 300);
    EXPECT_EQ(reg.lastAddition(), (ImportCounts {0, 300, 0}));
    EXPECT_EQ(reg.sources().size(), 2);
}

TEST_F(DownloadRegisterTest, TurnedOffNothingIsAdded)
{
    window->setRegistersDownloads(false);
    download();
    EXPECT_EQ(window->session().archive.Count, 300);
    EXPECT_FALSE(QFile::exists(registerFile()));
}

TEST_F(DownloadRegisterTest, AHeldRegisterIsToldAfterTheDownloadWhichIsWhole)
{
    EXPECT_EQ(measurementsInRegister(), 0); // made before another program takes it
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
        other.setDatabaseName(registerFile());
        ASSERT_TRUE(other.open());
        QSqlQuery hold(other);
        ASSERT_TRUE(hold.exec("BEGIN IMMEDIATE"));
        download();
        hold.exec("ROLLBACK");
    }
    QSqlDatabase::removeDatabase(QStringLiteral("holder"));

    // The download's own texts, the table and the save work as always.
    EXPECT_EQ(window->statusText(0), "Готово");
    EXPECT_EQ(downloadDialog->Label8->text(), "Архив успешно принят");
    EXPECT_EQ(window->session().archive.Count, 300);
    EXPECT_EQ(window->table().rowCount(), 301);
    EXPECT_TRUE(window->N3->isEnabled());
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages().first(),
        "Скачанные измерения не добавлены в журнал \"" + registerFile()
            + "\": журнал занят другой программой дольше 5 с.\n"
              "Архив принят полностью; его можно сохранить в файл и добавить в журнал позже.");
    EXPECT_EQ(measurementsInRegister(), 0);

    dialogs.fileAnswers << path("kept.db");
    window->N3->trigger();
    EXPECT_EQ(QFile(path("kept.db")).size(), 42 * 300 + 6);
}

// calib fit|kc in-process: its usage errors, and what a refused file says. The figures
// themselves are checked against the reference by tests/calib (check_cli.py).
#include "CliFixture.h"

#include "Register.h"
#include "TestData.h"

#include <QProcess>
#include <QStandardPaths>

using namespace luvir::cli;
using namespace luvir;
using namespace luvir::cli::test;

namespace {

using CalibCommand = CliTest;

TEST_F(CalibCommand, UsageErrors)
{
    struct Case {
        QStringList arguments;
        QString message;
    };
    const Case cases[] = {
        {{"calib"}, "luvir-cli: calib needs fit or kc (see \"luvir-cli help calib\")\n"},
        {{"calib", "slope", "x.csv"},
            "luvir-cli: unknown calib command \"slope\" (fit or kc) (see \"luvir-cli help calib\")\n"},
        {{"calib", "fit"}, "luvir-cli: missing FILE.csv (see \"luvir-cli help calib\")\n"},
        {{"calib", "kc", "a.csv", "b.csv"},
            "luvir-cli: unexpected argument \"b.csv\" (see \"luvir-cli help calib\")\n"},
        {{"calib", "fit", "--values", "a.csv"},
            "luvir-cli: unknown option \"--values\" for calib (see \"luvir-cli help calib\")\n"},
        {{"stats", "--json", "a.db"},
            "luvir-cli: unknown option \"--json\" for stats (see \"luvir-cli help stats\")\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        EXPECT_EQ(run(c.arguments), kExitUsage);
        EXPECT_EQ(console.stderrText, c.message);
        EXPECT_EQ(console.stdoutText, QString());
    }
    EXPECT_EQ(run({"calib", "--help"}), kExitOk);
    EXPECT_EQ(console.stdoutText, calibHelpText());
}

// A computation's refusal names the file and the line of the site at fault; text and JSON
// alike print nothing on standard output.
TEST_F(CalibCommand, RefusalsNameTheFileAndLine)
{
    const QString file = path("sites.csv");
    ASSERT_TRUE(writeBytes(file, "Участок;H;R\n1;24,3;25,1\n\n3а;22,1;-0,5\n4;28,5;30,2\n"));
    for (const QString &command : {QStringLiteral("fit"), QStringLiteral("kc")}) {
        for (const bool json : {false, true}) {
            QStringList arguments {"calib", command, file};
            if (json)
                arguments.insert(2, "--json");
            EXPECT_EQ(run(arguments), kExitFailed);
            EXPECT_EQ(console.stderrText,
                file + ", line 4: Участок «3а»: прочность по прямому методу должна быть больше 0\n");
            EXPECT_EQ(console.stdoutText, QString());
        }
    }
    // Too few sites refuse a dependency but not Kc, which says how many more tests it wants.
    ASSERT_TRUE(writeBytes(file, "Участок;H;R\n1;24,3;25,1\n2;22,1;23,0\n"));
    EXPECT_EQ(run({"calib", "fit", file}), kExitFailed);
    EXPECT_EQ(console.stderrText, file + ": Для зависимости нужно не менее 3 участков, в наборе 2\n");
    EXPECT_EQ(run({"calib", "kc", file}), kExitOk);
    EXPECT_TRUE(console.stdoutText.endsWith(
        "Kc не установлен: учтено участков 2 из 2, нужно не менее 3; нужно ещё 1 прямое испытание\n"));
    EXPECT_EQ(run({"calib", "kc", "--json", file}), kExitOk);
    EXPECT_TRUE(console.stdoutText.startsWith("{\"established\":false,\"kc\":null,"));
}

} // namespace

namespace {

// register calib export: a set kept in the register, written as the file calib reads.
TEST_F(CalibCommand, RegisterExportWritesTheSetsSites)
{
    const QString registerFile = path("register.sqlite");
    {
        Register reg;
        ASSERT_EQ(reg.open(registerFile), Register::OpenStatus::Ok);
        ArchiveCell cell = luvir::test::sampleCell(3); // 25.3 MPa with Kc 1.05
        cell.setWord(ArchiveCell::Strength, 253);
        cell.bytes[ArchiveCell::Kc] = 105;
        RegisterSource source;
        source.addedAt = kReportMoment;
        source.version = {1, 0};
        source.fileName = QStringLiteral("a.db");
        ImportCounts counts;
        ASSERT_TRUE(reg.importCells({cell}, source, counts));
        const RegisterId measurement = reg.measurements(MeasurementSelection::all()).first().id;
        const RegisterId set = reg.addCalibrationSet({0, "Колонны", DirectMethod::PullOff, "", {}, "", 0});
        ASSERT_NE(
            reg.addCalibrationSite({0, set, 0, "ось 3; низ", 24.3, 25.1, {}, {}, {}, {}}, kReportMoment), 0);
        ASSERT_NE(
            reg.addCalibrationSite({0, set, measurement, "К-1", 0, 26.4, {}, {}, {}, {}}, kReportMoment), 0);
        reg.addCalibrationSet({0, "Плиты", DirectMethod::Cubes, "", {}, "", 0});
        reg.addCalibrationSet({0, "Плиты", DirectMethod::Cores, "", {}, "", 0});
    }
    const QString out = path("set.csv");
    EXPECT_EQ(run({"register", "--register", registerFile, "calib", "export", "Колонны", out}), kExitOk)
        << console.stderrText.toStdString();
    EXPECT_EQ(console.stdoutText, "Calibration set saved: " + out + ", sites: 2\n");
    // H of the measurement: 25.3 / 1.05 = 2530 / 105, in its shortest exact form.
    EXPECT_EQ(readBytes(out),
        QByteArray("\xEF\xBB\xBFУчасток;H, МПа;R прямой, МПа\r\n"
                   "\"ось 3; низ\";24,3;25,1\r\nК-1;24,095238095238095;26,4\r\n"));
    // A spreadsheet's kind of reader (Python's csv) splits it as written.
    QProcess python;
    python.start(QStandardPaths::findExecutable(QStringLiteral("python3")),
        {QStringLiteral("-c"),
            QStringLiteral(
                "import csv, sys\n"
                "for row in csv.reader(open(sys.argv[1], encoding='utf-8-sig', newline=''), delimiter=';'):\n"
                "    print('|'.join(row))\n"),
            out});
    ASSERT_TRUE(python.waitForFinished(30000));
    EXPECT_EQ(QString::fromUtf8(python.readAllStandardOutput()),
        QStringLiteral("Участок|H, МПа|R прямой, МПа\nось 3; низ|24,3|25,1\nК-1|24,095238095238095|26,4\n"));
    EXPECT_EQ(run({"calib", "kc", "--json", out}), kExitOk); // and calib reads it back
    EXPECT_TRUE(console.stdoutText.contains("\"site\":\"ось 3; низ\""));

    struct Case {
        QStringList arguments;
        int exitCode;
        QString message;
    };
    const Case cases[] = {
        {{"export", "Фундаменты", out}, kExitFailed,
            "luvir-cli: no calibration set \"Фундаменты\" in the register\n"},
        {{"export", "Плиты", out}, kExitFailed, "luvir-cli: several calibration sets are called \"Плиты\"\n"},
        {{"export", "Колонны"}, kExitUsage, "luvir-cli: missing OUT.csv (see \"luvir-cli help register\")\n"},
        {{"import", "Колонны", out}, kExitUsage,
            "luvir-cli: unknown register calib command \"import\" (export) (see \"luvir-cli help "
            "register\")\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        EXPECT_EQ(
            run(QStringList {"register", "--register", registerFile, "calib"} + c.arguments), c.exitCode);
        EXPECT_EQ(console.stderrText, c.message);
    }
}

} // namespace

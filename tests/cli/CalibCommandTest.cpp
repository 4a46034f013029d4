// calib fit|kc in-process: its usage errors, and what a refused file says. The figures
// themselves are checked against the reference by tests/calib (check_cli.py).
#include "CliFixture.h"

#include "AppliedDependencyText.h"
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
            "luvir-cli: unknown register calib command \"import\" (export, apply or remove-from) (see "
            "\"luvir-cli help register\")\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        EXPECT_EQ(
            run(QStringList {"register", "--register", registerFile, "calib"} + c.arguments), c.exitCode);
        EXPECT_EQ(console.stderrText, c.message);
    }
}

// register calib apply / remove-from, and register stats by the calibration. Three
// measurements of 20.0, 25.0 and 30.0 MPa at Kc 1.00 in "К-1"; the set's three typed sites
// (H 20, 25, 30; direct 22, 27, 33) give the ratios 1.10, 1.08 and 1.10, Kc = 3.28 / 3 =
// 1.0933…, typed 1.09: the strengths 21.8, 27.25 → 27.3 and 32.7; Rm = 81.8 / 3 = 27.27,
// Sm = 5.4501, Vm = 19.99 % (worked out with Python's fractions).
TEST_F(CalibCommand, RegisterApplyGivesAStructureTheSetsKc)
{
    const QString registerFile = path("register.sqlite");
    {
        Register reg;
        ASSERT_EQ(reg.open(registerFile), Register::OpenStatus::Ok);
        QList<ArchiveCell> cells;
        for (const int tenths : {200, 250, 300}) {
            ArchiveCell cell = luvir::test::sampleCell(tenths);
            cell.setWord(ArchiveCell::Strength, static_cast<std::uint16_t>(tenths));
            cell.bytes[ArchiveCell::Kc] = 100;
            cells << cell;
        }
        RegisterSource source;
        source.addedAt = kReportMoment;
        source.version = {1, 0};
        source.fileName = QStringLiteral("a.db");
        ImportCounts counts;
        ASSERT_TRUE(reg.importCells(cells, source, counts));
        QList<RegisterId> ids;
        for (const RegisterMeasurement &m : reg.measurements(MeasurementSelection::all()))
            ids << m.id;
        ASSERT_TRUE(reg.assignNamed(ids, "Дом", "К-1"));
        const RegisterId set = reg.addCalibrationSet({0, "Колонны", DirectMethod::PullOff, "", {}, "", 0});
        for (const auto &[h, direct] : {std::pair(20.0, 22.0), std::pair(25.0, 27.0), std::pair(30.0, 33.0)})
            ASSERT_NE(reg.addCalibrationSite({0, set, 0, QString::number(h), h, direct, {}, {}, {}, {}}, kReportMoment), 0);
    }
    const QStringList registerArgs {"register", "--register", registerFile};
    const QString named = "Коэффициент совпадения Kc = 1,09 по градуировочному набору «Колонны» (учтено участков: 3)";

    ASSERT_EQ(run(registerArgs + QStringList {"calib", "apply", "Колонны", "--object", "Дом", "--structure", "К-1",
                                      "--kind", "kc"}),
        kExitOk)
        << console.stderrText.toStdString();
    EXPECT_TRUE(console.stdoutText.startsWith(named + "\nПрямой метод: отрыв со скалыванием\n"))
        << console.stdoutText.toStdString();

    ASSERT_EQ(run(registerArgs + QStringList {"stats", "--object", "Дом", "--structure", "К-1"}), kExitOk);
    EXPECT_TRUE(console.stdoutText.contains("\nПо градуировке\t3\t21,8\t32,7\t27,3\t5,5\t20,0\n" + named + "\n"))
        << console.stdoutText.toStdString();
    EXPECT_TRUE(console.stdoutText.contains(kKcDirectMark));

    // An own dependency of three sites is not accepted: refused, and the Kc stays.
    EXPECT_EQ(run(registerArgs + QStringList {"calib", "apply", "Колонны", "--structure", "К-1", "--kind", "own"}),
        kExitFailed);
    EXPECT_EQ(console.stderrText,
        "Собственная зависимость не принята, её нельзя применить: после отбраковки 3 участка, нужно не менее 12\n");
    ASSERT_EQ(run(registerArgs + QStringList {"stats", "--structure", "К-1"}), kExitOk);
    EXPECT_TRUE(console.stdoutText.contains(named));

    ASSERT_EQ(run(registerArgs + QStringList {"calib", "remove-from", "--structure", "К-1"}), kExitOk)
        << console.stderrText.toStdString();
    ASSERT_EQ(run(registerArgs + QStringList {"stats", "--structure", "К-1"}), kExitOk);
    EXPECT_FALSE(console.stdoutText.contains("По градуировке"));

    struct Case {
        QStringList arguments;
        QString message;
    };
    const Case usage[] = {
        {{"apply", "Колонны", "--structure", "К-1"}, "register calib apply needs --kind own or --kind kc"},
        {{"apply", "Колонны", "--kind", "kc"}, "register calib apply needs --structure NAME"},
        {{"apply", "--structure", "К-1", "--kind", "kc"}, "missing SET"},
        {{"remove-from", "--structure", "К-1", "--newest"}, "register calib remove-from takes only --structure and --object"},
    };
    for (const Case &c : usage) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        EXPECT_EQ(run(registerArgs + QStringList {"calib"} + c.arguments), kExitUsage);
        EXPECT_EQ(console.stderrText, "luvir-cli: " + c.message + " (see \"luvir-cli help register\")\n");
    }
}

} // namespace

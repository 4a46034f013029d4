// luvir-cli stats: its arguments in-process, and the built tool against the reviewed
// figures of the sample archives (tests/stats/golden, worked out apart from the program).
#include "CliFixture.h"
#include "TestData.h"
#include "ToolRun.h"


using namespace luvir;
using namespace luvir::cli::test;
using luvir::test::testDataPath;

namespace {

QString golden(const QString &name)
{
    QFile file(QStringLiteral(LUVIR_STATS_GOLDEN_DIR "/") + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

class StatsCommand : public CliTest
{
};

TEST_F(StatsCommand, PrintsTheFiguresAndWhatEachGroupMixes)
{
    separator = ",";
    EXPECT_EQ(run({"stats", "--by-kind", testDataPath("seven-cells.db")}), 0);
    EXPECT_EQ(console.stdoutText, golden("seven-cells-by-kind.comma.out"));
    EXPECT_EQ(console.stderrText, golden("seven-cells-by-kind.comma.err"));

    separator = ".";
    EXPECT_EQ(run({"stats", testDataPath("one-cell.db")}), 0);
    EXPECT_EQ(console.stdoutText, golden("one-cell.out"));
    EXPECT_EQ(console.stderrText, QString());

    EXPECT_EQ(run({"stats", testDataPath("empty-v1.0.db")}), 0);
    EXPECT_EQ(console.stdoutText, golden("empty-v1.0.out"));
}

struct UsageCase {
    QStringList arguments;
    const char *reason; // the usage line, without "luvir-cli: " and the pointer to help
};

TEST_F(StatsCommand, WrongArgumentsAreUsageErrors)
{
    const QString seven = testDataPath("seven-cells.db");
    const QString empty = testDataPath("empty-v1.0.db");
    const UsageCase cases[] = {
        {{"stats"}, "missing FILE.db"},
        {{"stats", "--rows", "5", seven}, "--rows needs FROM-TO, two numbers such as 1-30"},
        {{"stats", "--rows=a-b", seven}, "--rows needs FROM-TO, two numbers such as 1-30"},
        {{"stats", seven, "--rows"}, "--rows needs a value"},
        {{"stats", "--rows", "6-3", seven}, "--rows 6-3 runs backwards"},
        {{"stats", "--rows", "0-3", seven}, "--rows 0-3 lies outside the measurements 1-7 of the archive"},
        {{"stats", "--rows", "0-0", seven}, "--rows 0-0 lies outside the measurements 1-7 of the archive"},
        {{"stats", "--rows", "2-8", seven}, "--rows 2-8 lies outside the measurements 1-7 of the archive"},
        {{"stats", "--rows", "1-1", empty}, "--rows 1-1: the archive holds no measurements"},
        {{"stats", "--values", seven}, "unknown option \"--values\" for stats"},
        {{"table", "--by-kind", seven}, "unknown option \"--by-kind\" for table"},
    };
    for (const UsageCase &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        EXPECT_EQ(run(c.arguments), 2);
        EXPECT_EQ(console.stdoutText, QString());
        const QString topic = c.arguments.first();
        EXPECT_EQ(console.stderrText,
            QStringLiteral("luvir-cli: %1 (see \"luvir-cli help %2\")\n")
                .arg(QString::fromUtf8(c.reason), topic));
    }
}

TEST_F(StatsCommand, ARefusedFileFailsLikeTheOtherCommands)
{
    EXPECT_EQ(run({"stats", luvir::test::testErrorsPath("crc-one-byte-changed.db")}), 1);
    EXPECT_EQ(console.stdoutText, QString());
    EXPECT_EQ(console.stderrText, "Ошибка файла CRC\n");
    // The range is checked against the archive only once the file is read.
    EXPECT_EQ(run({"stats", "--rows", "1-5", path("missing.db")}), 1);
}

TEST_F(StatsCommand, HelpNamesTheCommand)
{
    EXPECT_EQ(run({"help"}), 0);
    EXPECT_TRUE(console.stdoutText.contains("stats [--by-kind] [--rows FROM-TO] FILE.db"));
    EXPECT_EQ(run({"stats", "--help"}), 0);
    EXPECT_TRUE(
        console.stdoutText.startsWith("Usage: luvir-cli stats [--by-kind] [--rows FROM-TO] FILE.db\n"));
}

TEST(StatsExecutable, MatchesTheReviewedFiguresInBothLocales)
{
    struct Run {
        QStringList arguments;
        const char *golden;
        bool comma;
    };
    const Run runs[] = {
        {{"stats", "--by-kind", testDataPath("sample-300.db")}, "sample-300-by-kind", false},
        {{"stats", "--by-kind", testDataPath("full-999.db")}, "full-999-by-kind", false},
        {{"stats", "--by-kind", testDataPath("sample-300.db")}, "sample-300-by-kind.comma", true},
        {{"stats", "--rows", "10-39", "--by-kind", testDataPath("sample-300.db")},
            "sample-300-rows-10-39.comma", true},
    };
    const bool russian = luvir::test::localeInstalled(QStringLiteral("ru_RU.UTF-8"));
    for (const Run &r : runs) {
        SCOPED_TRACE(r.golden);
        if (r.comma && !russian)
            continue;
        const luvir::test::ToolRun result
            = luvir::test::runTool(QStringLiteral(LUVIR_CLI_PATH), r.arguments, r.comma ? "ru_RU.UTF-8" : "C");
        EXPECT_EQ(result.exitCode, 0);
        const QString name = QString::fromLatin1(r.golden);
        EXPECT_EQ(result.outText(), golden(name + ".out"));
        EXPECT_EQ(result.errText(), golden(name + ".err"));
    }
    if (!russian)
        GTEST_SKIP() << "the ru_RU.UTF-8 locale is not generated";
}

} // namespace

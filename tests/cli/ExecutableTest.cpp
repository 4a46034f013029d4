// The built tool itself, run as a user runs it.
#include "CliFixture.h"
#include "Golden.h"
#include "TestData.h"
#include "ToolRun.h"


using namespace luvir;
using namespace luvir::cli::test;
using luvir::test::testDataPath;
using luvir::test::testErrorsPath;
using luvir::test::ToolRun;
using luvir::test::localeInstalled;
using luvir::test::runTool;

namespace {

// The built tool under a locale (C.UTF-8 unless said).
ToolRun runCli(const QStringList &arguments, const QString &locale = QStringLiteral("C.UTF-8"),
    const QString &workingFolder = {})
{
    return runTool(QStringLiteral(LUVIR_CLI_PATH), arguments, locale, workingFolder);
}

// The tool under each locale prints what the in-process runs print: the same reviewed
// files.
TEST(Executable, InfoTableAndRefusalsUnderEachLocale)
{
    for (const GoldenLocale &l : kGoldenLocales) {
        SCOPED_TRACE(l.lcAll);
        if (!localeInstalled(l.lcAll)) {
            ADD_FAILURE() << "the " << l.lcAll << " locale is not generated";
            continue;
        }
        for (const char *sample : {"sample-300", "empty-v1.0"}) {
            const QString name = QString::fromLatin1(sample);
            const QString file = testDataPath(name + ".db");
            const ToolRun table = runCli({"table", "--values", file}, QString::fromLatin1(l.lcAll));
            EXPECT_EQ(table.exitCode, 0);
            EXPECT_TRUE(matchesGolden(table.out, testDataPath(name + ".table." + l.name + ".txt")));
            EXPECT_EQ(table.errText(), QString());

            const ToolRun info = runCli({"info", file}, QString::fromLatin1(l.lcAll));
            EXPECT_EQ(info.exitCode, 0);
            EXPECT_TRUE(matchesGolden(info.out, testDataPath(name + ".info.txt")));
        }
        // The report's title holds the moment of the export; everything below it is fixed.
        QTemporaryDir dir;
        const ToolRun exported = runCli(
            {"export", testDataPath("seven-cells.db"), dir.filePath("r.csv")}, QString::fromLatin1(l.lcAll));
        EXPECT_EQ(exported.exitCode, 0);
        EXPECT_EQ(exported.errText(), QString());
        const QByteArray csv = readBytes(dir.filePath("r.csv"));
        const QByteArray golden
            = readBytes(testDataPath(QStringLiteral("seven-cells.report.%1.csv").arg(l.name)));
        ASSERT_FALSE(golden.isEmpty());
        EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBF"
                                   "ЛЮВИР-2.07;"));
        EXPECT_EQ(csv.mid(csv.indexOf('\n')), golden.mid(golden.indexOf('\n')));

        for (const char *malformed : {"crc-truncated", "one-byte"}) {
            const QString name = QString::fromLatin1(malformed);
            const ToolRun refused
                = runCli({"table", name + ".db"}, QString::fromLatin1(l.lcAll), testErrorsPath({}));
            EXPECT_EQ(refused.exitCode, 1);
            EXPECT_EQ(refused.outText(), QString());
            EXPECT_TRUE(matchesGolden(refused.err, testErrorsPath(name + ".refusal.txt")));
        }
    }
}

TEST(Executable, VersionRefusalsAndUsageErrors)
{
    const ToolRun version = runCli({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.outText(), QStringLiteral("1.0.1.0\n"));

    const ToolRun refused = runCli({"info", luvir::test::testErrorsPath("crc-one-byte-changed.db")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.outText(), QString());
    EXPECT_EQ(refused.errText(), QStringLiteral("Ошибка файла CRC\n"));

    const ToolRun usage = runCli({"table", "--bogus", "x.db"});
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_EQ(usage.errText().count('\n'), 1);
}

TEST(Executable, ExportNeedsNoDisplay)
{
    QTemporaryDir dir;
    const ToolRun result = runCli({"export", testDataPath("seven-cells.db"), dir.filePath("r.pdf")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.errText(), QString());
    EXPECT_TRUE(readBytes(dir.filePath("r.pdf")).startsWith("%PDF"));
}

} // namespace

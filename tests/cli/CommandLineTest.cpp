#include "CommandLine.h"
#include "CliFixture.h"

using namespace luvir::cli;
using namespace luvir::cli::test;

namespace {

TEST(CommandLine, ArgumentsMakeTheirCommand)
{
    const struct {
        QStringList args;
        Command command;
        QStringList files;
        QString format;
        QString outDir;
        bool values;
    } cases[] = {
        {{"info", "a.db"}, Command::Info, {"a.db"}, {}, {}, false},
        {{"table", "--values", "a.db"}, Command::Table, {"a.db"}, {}, {}, true},
        {{"table", "a.db", "--values"}, Command::Table, {"a.db"}, {}, {}, true},
        {{"table", "--", "--values"}, Command::Table, {"--values"}, {}, {}, false},
        {{"export", "a.db", "r.PDF"}, Command::Export, {"a.db", "r.PDF"}, "pdf", {}, false},
        {{"export", "a.db", "r.xlsx"}, Command::Export, {"a.db", "r.xlsx"}, "xlsx", {}, false},
        {{"export", "--format", "CSV", "--out-dir", "o", "a.db", "b.db"}, Command::Export, {"a.db", "b.db"},
            "csv", "o", false},
        {{"export", "--out-dir=o", "a.db", "--format=pdf"}, Command::Export, {"a.db"}, "pdf", "o", false},
        {{"download", "out.db"}, Command::Download, {"out.db"}, {}, {}, false},
        {{"--version"}, Command::Version, {}, {}, {}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const Invocation invocation = parseCommandLine(c.args);
        EXPECT_EQ(invocation.error, QString());
        EXPECT_EQ(invocation.command, c.command);
        EXPECT_EQ(invocation.files, c.files);
        EXPECT_EQ(invocation.format, c.format);
        EXPECT_EQ(invocation.outDir, c.outDir);
        EXPECT_EQ(invocation.values, c.values);
    }
}

TEST(CommandLine, HelpForTheToolAndEachCommand)
{
    const struct {
        QStringList args;
        QString topic;
    } cases[] = {
        {{"--help"}, {}},
        {{"help"}, {}},
        {{"help", "export"}, "export"},
        {{"export", "--help"}, "export"},
        {{"table", "a.db", "--values", "-h"}, "table"},
        {{"download", "--help"}, "download"},
        {{"info", "--help", "--bogus"}, "info"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const Invocation invocation = parseCommandLine(c.args);
        EXPECT_EQ(invocation.error, QString());
        EXPECT_EQ(invocation.command, Command::Help);
        EXPECT_EQ(invocation.helpTopic, c.topic);
        EXPECT_FALSE(helpText(c.topic).isEmpty());
    }
    for (const char *command : {"info", "table", "export", "download"})
        EXPECT_TRUE(
            helpText(QString::fromUtf8(command)).startsWith(QStringLiteral("Usage: luvir-cli ") + command));
}

class UsageErrors : public CliTest
{
};

TEST_F(UsageErrors, ExitTwoWithOneLineOnStandardError)
{
    const struct {
        QStringList args;
        const char *reason;
    } cases[] = {
        {{}, "no command given"},
        {{"frob"}, "unknown command \"frob\""},
        {{"--frob"}, "unknown option \"--frob\""},
        {{"info"}, "missing FILE.db"},
        {{"info", "a.db", "b.db"}, "unexpected argument \"b.db\""},
        {{"info", "--values", "a.db"}, "unknown option \"--values\" for info"},
        {{"table"}, "missing FILE.db"},
        {{"export", "a.db"}, "missing FILE.db and OUT"},
        {{"export", "a.db", "r.txt"}, "OUT must end in .pdf, .xlsx or .csv"},
        {{"export", "a.db", "r"}, "OUT must end in .pdf, .xlsx or .csv"},
        {{"export", "--format", "pdf", "a.db"}, "--format needs --out-dir"},
        {{"export", "--out-dir", "o", "a.db"}, "--out-dir needs --format"},
        {{"export", "--out-dir", "o", "--format", "doc", "a.db"},
            "unknown format \"doc\" (pdf, xlsx or csv)"},
        {{"export", "--out-dir", "o", "--format", "pdf"}, "missing FILE.db"},
        {{"export", "a.db", "--out-dir"}, "--out-dir needs a value"},
        {{"export", "a.db", "--format="}, "--format needs a value"},
        {{"download"}, "missing OUT.db"},
        {{"help", "frob"}, "no command \"frob\""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        EXPECT_EQ(run(c.args), kExitUsage);
        EXPECT_TRUE(console.stdoutText.isEmpty());
        EXPECT_TRUE(
            console.stderrText.startsWith(QStringLiteral("luvir-cli: ") + QString::fromUtf8(c.reason)))
            << console.stderrText.toStdString();
        EXPECT_EQ(console.stderrText.count(u'\n'), 1);
        EXPECT_TRUE(console.stderrText.endsWith(u'\n'));
    }
}

TEST_F(UsageErrors, HelpAndVersionGoToStandardOutput)
{
    EXPECT_EQ(run({"--version"}), kExitOk);
    EXPECT_EQ(console.stdoutText, QStringLiteral("1.0.1.0\n"));
    EXPECT_EQ(run({"help", "table"}), kExitOk);
    EXPECT_EQ(console.stdoutText, helpText("table"));
    EXPECT_TRUE(console.stderrText.isEmpty());
}

} // namespace

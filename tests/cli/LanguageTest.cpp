// The built tool speaks the language of the user's locale: under ru_RU.UTF-8 its help,
// its usage errors and the system's reasons for a file error are Russian; under C they
// are what they always were.
#include "CliFixture.h"
#include "Golden.h"
#include "Register.h"
#include "TestData.h"
#include "ToolRun.h"

#include <QTemporaryDir>

using namespace luvir::cli;
using namespace luvir::cli::test;
using luvir::test::localeInstalled;
using luvir::test::runTool;
using luvir::test::testDataPath;
using luvir::test::ToolRun;

namespace {

const QString kRussian = QStringLiteral("ru_RU.UTF-8");
const QString kC = QStringLiteral("C.UTF-8");

ToolRun runCli(const QStringList &arguments, const QString &locale)
{
    return runTool(QStringLiteral(LUVIR_CLI_PATH), arguments, locale);
}

QString goldenPath(const QString &name)
{
    return QStringLiteral(LUVIR_CLI_GOLDEN_DIR "/") + name;
}

class Language : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!localeInstalled(kRussian))
            FAIL() << "the ru_RU.UTF-8 locale is not generated (scripts/setup.sh does it)";
    }
};

// The help of the tool and of each command: Russian under the Russian locale (reviewed
// files), the tool's English texts under C.
TEST_F(Language, HelpFollowsTheLocale)
{
    const QStringList topics = {{}, "info", "table", "export", "download", "stats", "register", "calib", "help"};
    for (const QString &topic : topics) {
        SCOPED_TRACE(topic.toStdString());
        const QStringList arguments = topic.isEmpty() ? QStringList {"--help"} : QStringList {"help", topic};
        const ToolRun russian = runCli(arguments, kRussian);
        EXPECT_EQ(russian.exitCode, kExitOk);
        const QString name = topic.isEmpty() ? QStringLiteral("help") : QStringLiteral("help-") + topic;
        EXPECT_TRUE(matchesGolden(russian.out, goldenPath(name + QStringLiteral(".ru_RU.txt"))));

        const ToolRun english = runCli(arguments, kC);
        EXPECT_EQ(english.exitCode, kExitOk);
        EXPECT_EQ(english.outText(), helpText(topic)); // no translation in this process
        EXPECT_TRUE(english.outText().startsWith(QStringLiteral("Usage: luvir-cli ")));
    }
}

// Messages on standard error, word for word in each language; what goes to standard output
// (the data) does not change with the language.
TEST_F(Language, MessagesFollowTheLocale)
{
    QTemporaryDir dir;
    const QString missingFolder = dir.filePath(QStringLiteral("missing"));
    const QString pdf = missingFolder + QStringLiteral("/x.pdf");
    const QString sample = testDataPath(QStringLiteral("seven-cells.db"));
    const QString notAFolder = dir.filePath(QStringLiteral("plain-file"));
    ASSERT_TRUE(writeBytes(notAFolder, "x"));
    {
        // The register the list below reads: read commands make none.
        luvir::Register made;
        ASSERT_EQ(made.open(dir.filePath(QStringLiteral("r.sqlite"))), luvir::Register::OpenStatus::Ok);
    }
    struct Case {
        QStringList arguments;
        int exitCode;
        QString english;
        QString russian;
    };
    const Case cases[] = {
        {{"table", "--bogus", "x.db"}, kExitUsage,
            "luvir-cli: unknown option \"--bogus\" for table (see \"luvir-cli help table\")\n",
            "luvir-cli: неизвестный параметр «--bogus» для table (см. «luvir-cli help table»)\n"},
        {{"frob"}, kExitUsage, "luvir-cli: unknown command \"frob\" (see \"luvir-cli help\")\n",
            "luvir-cli: неизвестная команда «frob» (см. «luvir-cli help»)\n"},
        {{"stats", "--rows", "5-2", sample}, kExitUsage,
            "luvir-cli: --rows 5-2 runs backwards (see \"luvir-cli help stats\")\n",
            "luvir-cli: --rows 5-2: начало больше конца (см. «luvir-cli help stats»)\n"},
        {{"stats", "--rows", "1-99", sample}, kExitUsage,
            "luvir-cli: --rows 1-99 lies outside the measurements 1-7 of the archive (see \"luvir-cli help stats\")\n",
            "luvir-cli: --rows 1-99 выходит за пределы измерений 1-7 архива (см. «luvir-cli help stats»)\n"},
        {{"export", sample}, kExitUsage, "luvir-cli: missing FILE.db and OUT (see \"luvir-cli help export\")\n",
            "luvir-cli: не хватает FILE.db и OUT (см. «luvir-cli help export»)\n"},
        {{"export", sample, "r.txt"}, kExitUsage,
            "luvir-cli: OUT must end in .pdf, .xlsx or .csv (see \"luvir-cli help export\")\n",
            "luvir-cli: OUT должен оканчиваться на .pdf, .xlsx или .csv (см. «luvir-cli help export»)\n"},
        // The system's reason for a file error: Qt's own text for the commonest errors
        // (translated by qtbase_ru.qm), the C library's under the user's locale for others.
        {{"export", sample, pdf}, kExitFailed, pdf + ": No such file or directory\n",
            pdf + ": Файл или каталог не существует\n"},
        {{"export", sample, notAFolder + "/x.csv"}, kExitFailed, notAFolder + "/x.csv: Not a directory\n",
            notAFolder + "/x.csv: Это не каталог\n"},
        {{"download", missingFolder + "/x.db"}, kExitFailed,
            "luvir-cli: no folder \"" + missingFolder + "\"\n", "luvir-cli: нет папки \"" + missingFolder + "\"\n"},
        {{"register", "--register", dir.filePath("r.sqlite"), "list", "--from", "10.13.2026"}, kExitUsage,
            "luvir-cli: --from needs a date such as 2026-12-10 or 10.12.2026, not \"10.13.2026\" (see \"luvir-cli help register\")\n",
            "luvir-cli: --from требует дату, например 2026-12-10 или 10.12.2026, а не «10.13.2026» (см. «luvir-cli help register»)\n"},
        {{"register", "--register", dir.filePath("r.sqlite"), "list", "--structure", "Колонна К-3"}, kExitFailed,
            "luvir-cli: no structure \"Колонна К-3\" in the register\n",
            "luvir-cli: в журнале нет конструкции «Колонна К-3»\n"},
        {{"register", "--register", dir.filePath("r.sqlite"), "protocol", "--structure", "К-1", "--out", "p.docx"},
            kExitUsage, "luvir-cli: --out must end in .pdf or .odt (see \"luvir-cli help register\")\n",
            "luvir-cli: --out должен оканчиваться на .pdf или .odt (см. «luvir-cli help register»)\n"},
        {{"download", dir.path()}, kExitFailed, "luvir-cli: \"" + dir.path() + "\" is a folder\n",
            "luvir-cli: \"" + dir.path() + "\" — это папка\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const ToolRun english = runCli(c.arguments, kC);
        EXPECT_EQ(english.exitCode, c.exitCode);
        EXPECT_EQ(english.errText(), c.english);
        EXPECT_EQ(english.outText(), QString());
        const ToolRun russian = runCli(c.arguments, kRussian);
        EXPECT_EQ(russian.exitCode, c.exitCode);
        EXPECT_EQ(russian.errText(), c.russian);
        EXPECT_EQ(russian.outText(), QString());
    }

    // The data stays as it is: the info lines are the same reviewed file in both languages.
    const ToolRun info = runCli({"info", sample}, kRussian);
    EXPECT_EQ(info.exitCode, kExitOk);
    EXPECT_TRUE(matchesGolden(info.out, testDataPath(QStringLiteral("seven-cells.info.txt"))));
}

} // namespace

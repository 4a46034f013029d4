// The built tool itself, run as a user runs it.
#include "CliFixture.h"
#include "Golden.h"
#include "TestData.h"

#include <QProcess>
#include <QProcessEnvironment>

using namespace luvir;
using namespace luvir::cli::test;
using luvir::test::testDataPath;
using luvir::test::testErrorsPath;

namespace {

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

Result runTool(const QStringList &arguments, const QString &locale = QStringLiteral("C.UTF-8"),
    const QString &workingFolder = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LANG", "LANGUAGE", "LC_NUMERIC", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("LC_ALL"), locale);
    QProcess process;
    process.setProcessEnvironment(environment);
    if (!workingFolder.isEmpty())
        process.setWorkingDirectory(workingFolder);
    process.start(QStringLiteral(LUVIR_CLI_PATH), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
        QString::fromUtf8(process.readAllStandardError())};
}

bool localeInstalled(const char *name)
{
    QProcess process;
    process.start(QStringLiteral("locale"), {QStringLiteral("-a")});
    process.waitForFinished(10000);
    const QString normalised = QString::fromLatin1(name).toLower().remove('-');
    return QString::fromLocal8Bit(process.readAllStandardOutput())
        .toLower()
        .remove('-')
        .split('\n')
        .contains(normalised);
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
            const Result table = runTool({"table", "--values", file}, QString::fromLatin1(l.lcAll));
            EXPECT_EQ(table.exitCode, 0);
            EXPECT_TRUE(matchesGolden(table.out.toUtf8(), testDataPath(name + ".table." + l.name + ".txt")));
            EXPECT_EQ(table.err, QString());

            const Result info = runTool({"info", file}, QString::fromLatin1(l.lcAll));
            EXPECT_EQ(info.exitCode, 0);
            EXPECT_TRUE(matchesGolden(info.out.toUtf8(), testDataPath(name + ".info.txt")));
        }
        // The report's title holds the moment of the export; everything below it is fixed.
        QTemporaryDir dir;
        const Result exported = runTool(
            {"export", testDataPath("seven-cells.db"), dir.filePath("r.csv")}, QString::fromLatin1(l.lcAll));
        EXPECT_EQ(exported.exitCode, 0);
        EXPECT_EQ(exported.err, QString());
        const QByteArray csv = readBytes(dir.filePath("r.csv"));
        const QByteArray golden
            = readBytes(testDataPath(QStringLiteral("seven-cells.report.%1.csv").arg(l.name)));
        ASSERT_FALSE(golden.isEmpty());
        EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBF"
                                   "ЛЮВИР-2.07;"));
        EXPECT_EQ(csv.mid(csv.indexOf('\n')), golden.mid(golden.indexOf('\n')));

        for (const char *malformed : {"crc-truncated", "one-byte"}) {
            const QString name = QString::fromLatin1(malformed);
            const Result refused
                = runTool({"table", name + ".db"}, QString::fromLatin1(l.lcAll), testErrorsPath({}));
            EXPECT_EQ(refused.exitCode, 1);
            EXPECT_EQ(refused.out, QString());
            EXPECT_TRUE(matchesGolden(refused.err.toUtf8(), testErrorsPath(name + ".refusal.txt")));
        }
    }
}

TEST(Executable, VersionRefusalsAndUsageErrors)
{
    const Result version = runTool({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QStringLiteral("1.0.1.0\n"));

    const Result refused = runTool({"info", luvir::test::testErrorsPath("crc-one-byte-changed.db")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, QString());
    EXPECT_EQ(refused.err, QStringLiteral("Ошибка файла CRC\n"));

    const Result usage = runTool({"table", "--bogus", "x.db"});
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_EQ(usage.err.count('\n'), 1);
}

TEST(Executable, ExportNeedsNoDisplay)
{
    QTemporaryDir dir;
    const Result result = runTool({"export", testDataPath("seven-cells.db"), dir.filePath("r.pdf")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, QString());
    EXPECT_TRUE(readBytes(dir.filePath("r.pdf")).startsWith("%PDF"));
}

} // namespace

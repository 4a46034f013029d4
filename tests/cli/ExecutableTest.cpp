// The built tool itself, run as a user runs it.
#include "CliFixture.h"
#include "MeasurementTable.h"
#include "TestData.h"

#include <QProcess>
#include <QProcessEnvironment>

using namespace luvir;
using namespace luvir::cli::test;
using luvir::test::testDataPath;

namespace {

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

Result runTool(const QStringList &arguments, const QString &locale = QStringLiteral("C.UTF-8"))
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LANG", "LANGUAGE", "LC_NUMERIC", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("LC_ALL"), locale);
    QProcess process;
    process.setProcessEnvironment(environment);
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

QString expectedTable(const QString &file, const QString &separator)
{
    ArchiveImage image;
    ArchiveReader reader;
    reader.read(file, image);
    QString text;
    for (const QStringList &row : buildMeasurementTable(image.archive, separator).rows)
        text += row.join('\t') + '\n';
    return text;
}

TEST(Executable, TableFollowsTheLocalesDecimalSeparator)
{
    const QString file = testDataPath("sample-300.db");
    const Result point = runTool({"table", file}, QStringLiteral("C"));
    EXPECT_EQ(point.exitCode, 0);
    EXPECT_EQ(point.out, expectedTable(file, "."));
    EXPECT_EQ(point.err, QString());

    if (!localeInstalled("ru_RU.utf8"))
        GTEST_SKIP() << "the ru_RU.UTF-8 locale is not generated";
    const Result comma = runTool({"table", file}, QStringLiteral("ru_RU.UTF-8"));
    EXPECT_EQ(comma.exitCode, 0);
    EXPECT_EQ(comma.out, expectedTable(file, ","));
    EXPECT_EQ(comma.err, QString());
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

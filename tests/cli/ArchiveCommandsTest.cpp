// info and table on every sample file, against the reviewed output kept beside it.
#include "CliFixture.h"
#include "Golden.h"
#include "TestData.h"

#include <QDir>

using namespace luvir;
using namespace luvir::cli;
using namespace luvir::cli::test;
using luvir::test::testDataPath;
using luvir::test::testErrorsPath;

namespace {

// The golden table without its last column: the table as `table` prints it without
// --values.
QByteArray withoutLastColumn(const QByteArray &table)
{
    QByteArray text;
    for (const QByteArray &line : table.split('\n')) {
        if (!line.isEmpty())
            text += line.left(line.lastIndexOf('\t')) + '\n';
    }
    return text;
}

// While it lives, relative names are taken from `folder`, so messages that name the file
// read the same on every machine.
class CurrentFolder
{
public:
    explicit CurrentFolder(const QString &folder)
        : m_earlier(QDir::currentPath())
    {
        QDir::setCurrent(folder);
    }
    ~CurrentFolder() { QDir::setCurrent(m_earlier); }

private:
    QString m_earlier;
};

class ArchiveCommands : public CliTest
{
};

TEST_F(ArchiveCommands, InfoAndTableOfEverySampleAreTheReviewedOutput)
{
    const QStringList samples = archiveNamesIn(testDataPath({}));
    ASSERT_FALSE(samples.isEmpty());
    for (const QString &name : samples) {
        SCOPED_TRACE(name.toStdString());
        const QString file = testDataPath(name + ".db");
        EXPECT_EQ(run({"info", file}), kExitOk);
        EXPECT_TRUE(matchesGolden(console.stdoutText.toUtf8(), testDataPath(name + ".info.txt")));
        EXPECT_EQ(console.stderrText, QString());

        for (const GoldenLocale &l : kGoldenLocales) {
            SCOPED_TRACE(l.name);
            separator = l.separator;
            const QString golden = testDataPath(name + ".table." + l.name + ".txt");
            EXPECT_EQ(run({"table", "--values", file}), kExitOk);
            EXPECT_TRUE(matchesGolden(console.stdoutText.toUtf8(), golden));
            EXPECT_EQ(console.stderrText, QString());

            EXPECT_EQ(run({"table", file}), kExitOk);
            EXPECT_EQ(console.stdoutText, QString::fromUtf8(withoutLastColumn(readBytes(golden))));
        }
    }
}

TEST_F(ArchiveCommands, EveryMalformedFileIsRefusedWithItsReviewedMessage)
{
    const CurrentFolder errors(testErrorsPath({}));
    const QStringList samples = archiveNamesIn(testErrorsPath({}));
    ASSERT_FALSE(samples.isEmpty());
    for (const QString &name : samples) {
        SCOPED_TRACE(name.toStdString());
        for (const char *command : {"info", "table"}) {
            EXPECT_EQ(run({command, name + ".db"}), kExitFailed) << command;
            EXPECT_TRUE(matchesGolden(console.stderrText.toUtf8(), testErrorsPath(name + ".refusal.txt")))
                << command;
            EXPECT_EQ(console.stdoutText, QString()) << command;
        }
    }
}

TEST_F(ArchiveCommands, AMissingFileOrAFolderIsRefusedByName)
{
    for (const QString &file : {path("missing.db"), dir.path()}) {
        SCOPED_TRACE(file.toStdString());
        for (const char *command : {"info", "table"}) {
            EXPECT_EQ(run({command, file}), kExitFailed);
            EXPECT_TRUE(console.stderrText.contains(file)) << console.stderrText.toStdString();
            EXPECT_TRUE(console.stderrText.endsWith('\n'));
            EXPECT_EQ(console.stdoutText, QString());
        }
    }
}

} // namespace

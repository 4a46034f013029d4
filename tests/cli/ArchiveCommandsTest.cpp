#include "CellText.h"
#include "CliFixture.h"
#include "MeasurementTable.h"
#include "TestData.h"

#include <QDir>

using namespace luvir;
using namespace luvir::cli;
using namespace luvir::cli::test;
using luvir::test::testDataPath;
using luvir::test::testErrorsPath;

namespace {

QStringList archivesIn(const QString &folder)
{
    QStringList paths;
    for (const QString &name : QDir(folder).entryList({"*.db"}, QDir::Files, QDir::Name))
        paths << QDir(folder).filePath(name);
    return paths;
}

// The table as the window fills it, in the tool's layout.
QString expectedTable(const CellArchive &archive, const QString &separator, bool values)
{
    const MeasurementTable table = buildMeasurementTable(archive, separator);
    QString text;
    for (int r = 0; r < table.rowCount(); ++r) {
        QStringList fields = table.rows.at(r);
        if (values)
            fields << (r == 0 ? QString() : intermediateValuesLine(archive.Cells[r - 1], separator));
        text += fields.join('\t') + '\n';
    }
    return text;
}

class ArchiveCommands : public CliTest
{
};

TEST_F(ArchiveCommands, InfoOfEveryGoodFile)
{
    const QStringList files = archivesIn(testDataPath({}));
    ASSERT_FALSE(files.isEmpty());
    for (const QString &file : files) {
        SCOPED_TRACE(file.toStdString());
        ArchiveImage image;
        ArchiveReader reader;
        ASSERT_EQ(reader.read(file, image), ArchiveReader::Status::Ok);
        EXPECT_EQ(run({"info", file}), kExitOk);
        EXPECT_EQ(console.stdoutText,
            QStringLiteral("version %1.%2\ncells %3\n")
                .arg(image.version.major)
                .arg(image.version.minor)
                .arg(image.archive.Count));
        EXPECT_TRUE(console.stderrText.isEmpty());
    }
}

TEST_F(ArchiveCommands, EveryRefusedFileGivesTheWindowsMessage)
{
    const QStringList files = archivesIn(testErrorsPath({}));
    ASSERT_FALSE(files.isEmpty());
    for (const QString &file : files + QStringList {path("missing.db"), dir.path()}) {
        SCOPED_TRACE(file.toStdString());
        ArchiveImage image;
        ArchiveReader reader;
        ASSERT_NE(reader.read(file, image), ArchiveReader::Status::Ok);
        for (const char *command : {"info", "table"}) {
            EXPECT_EQ(run({command, file}), kExitFailed);
            EXPECT_EQ(console.stderrText, reader.errorString() + '\n');
            EXPECT_TRUE(console.stdoutText.isEmpty());
        }
    }
    // The messages File > Open shows, word for word.
    EXPECT_EQ(run({"info", testErrorsPath("crc-one-byte-changed.db")}), kExitFailed);
    EXPECT_EQ(console.stderrText, QStringLiteral("Ошибка файла CRC\n"));
    EXPECT_EQ(run({"info", testErrorsPath("stage0-ffff.db")}), kExitFailed);
    EXPECT_EQ(console.stderrText, QStringLiteral("Ошибка размера файла стадия 0\n"));
    EXPECT_EQ(run({"info", testErrorsPath("stage1-count-lowered.db")}), kExitFailed);
    EXPECT_EQ(console.stderrText, QStringLiteral("Ошибка размера файла стадия 1\n"));
}

TEST_F(ArchiveCommands, TableIsTheWindowsTableForEitherSeparator)
{
    for (const QString &file : archivesIn(testDataPath({}))) {
        ArchiveImage image;
        ArchiveReader reader;
        ASSERT_EQ(reader.read(file, image), ArchiveReader::Status::Ok);
        for (const QString &sep : {QStringLiteral(","), QStringLiteral(".")}) {
            for (const bool values : {false, true}) {
                SCOPED_TRACE((file + " " + sep + (values ? " values" : "")).toStdString());
                separator = sep;
                QStringList args {"table", file};
                if (values)
                    args.insert(1, "--values");
                EXPECT_EQ(run(args), kExitOk);
                EXPECT_EQ(console.stdoutText, expectedTable(image.archive, sep, values));
                EXPECT_TRUE(console.stderrText.isEmpty());
            }
        }
    }
}

TEST_F(ArchiveCommands, TableLinesHaveSevenOrEightFields)
{
    separator = ".";
    ASSERT_EQ(run({"table", "--values", testDataPath("seven-cells.db")}), kExitOk);
    const QStringList lines = console.stdoutText.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[0], MeasurementTableHeader.join('\t') + '\t');
    for (const QString &line : lines)
        EXPECT_EQ(line.split('\t').size(), 8) << line.toStdString();
    EXPECT_TRUE(lines[1].split('\t')[7].startsWith(QStringLiteral("Промежуточные значения: ")));

    ASSERT_EQ(run({"table", testDataPath("empty-v1.0.db")}), kExitOk);
    EXPECT_EQ(console.stdoutText, MeasurementTableHeader.join('\t') + '\n');
}

} // namespace

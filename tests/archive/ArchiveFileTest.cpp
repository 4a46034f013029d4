#include "ArchiveFile.h"
#include "Crc.h"
#include "FileSizeLimit.h"
#include "SmallFilesystem.h"
#include "TestData.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>

#include <gtest/gtest.h>

using namespace luvir;
using Status = ArchiveReader::Status;

namespace {

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values)
        bytes.append(static_cast<char>(v));
    return bytes;
}

QByteArray fileOf(int cells, ProtocolVersion version = {1, 0})
{
    return ArchiveWriter::toBytes(test::sampleArchive(cells), version);
}

} // namespace

TEST(ArchiveFile, EmptyArchiveOfAVersion10Meter)
{
    EXPECT_EQ(ArchiveWriter::toBytes(CellArchive {}, {1, 0}), bytesOf({0x01, 0x00, 0x00, 0x00, 0xBF, 0xCC}));
}

TEST(ArchiveFile, SizesFollowTheCellCount)
{
    EXPECT_EQ(fileOf(1).size(), 48);
    EXPECT_EQ(fileOf(999).size(), 41964);
}

TEST(ArchiveFile, RoundTripKeepsCellsCountAndVersion)
{
    for (int cells : {0, 1, 300, 999}) {
        const QByteArray bytes = fileOf(cells, {3, 7});
        ArchiveImage image;
        ArchiveReader reader;
        ASSERT_EQ(reader.read(bytes, image), Status::Ok) << cells;
        EXPECT_TRUE(image.archive.sameContents(test::sampleArchive(cells)));
        EXPECT_EQ(image.version, (ProtocolVersion {3, 7}));
        EXPECT_EQ(ArchiveWriter::toBytes(image.archive, image.version), bytes);
    }
}

TEST(ArchiveFile, MalformedFilesAreRefusedInTheFixedOrder)
{
    // Two cases have no file: a header whose count does not fit, and a file longer than
    // any header can describe (2.7 MB).
    const struct {
        const char *what; // a file of tests/errors, or what the bytes are
        QByteArray bytes;
        Status status;
        const char *message;
    } cases[] = {
        {"empty-file.db", test::testErrorsBytes("empty-file.db"), Status::ReadError, nullptr},
        {"one-byte.db", test::testErrorsBytes("one-byte.db"), Status::ReadError, nullptr},
        {"stage0-ffff.db", test::testErrorsBytes("stage0-ffff.db"), Status::SizeStage0,
            "Ошибка размера файла стадия 0"},
        {"stage0-byte-and-crc.db", test::testErrorsBytes("stage0-byte-and-crc.db"), Status::SizeStage0,
            "Ошибка размера файла стадия 0"},
        {"crc-one-byte-changed.db", test::testErrorsBytes("crc-one-byte-changed.db"), Status::CrcMismatch,
            "Ошибка файла CRC"},
        {"crc-truncated.db", test::testErrorsBytes("crc-truncated.db"), Status::CrcMismatch,
            "Ошибка файла CRC"},
        {"crc-lengthened.db", test::testErrorsBytes("crc-lengthened.db"), Status::CrcMismatch,
            "Ошибка файла CRC"},
        {"stage1-count-lowered.db", test::testErrorsBytes("stage1-count-lowered.db"), Status::SizeStage1,
            "Ошибка размера файла стадия 1"},
        {"header only with CRC", test::withCrc(bytesOf({1, 0, 1, 0})), Status::SizeStage1,
            "Ошибка размера файла стадия 1"},
        {"too-many-cells-1000.db", test::testErrorsBytes("too-many-cells-1000.db"), Status::TooManyCells,
            nullptr},
        {"longer than any header", QByteArray(kMaxArchiveFileSize + 1, '\0'), Status::CrcMismatch,
            "Ошибка файла CRC"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(!QByteArray(c.what).endsWith(".db") || QFile::exists(test::testErrorsPath(c.what)));
        ArchiveImage image;
        image.archive.Count = 77;
        image.version = {9, 9};
        ArchiveReader reader;
        EXPECT_EQ(reader.read(c.bytes, image), c.status);
        if (c.message) {
            EXPECT_EQ(reader.errorString(), c.message);
        }
        EXPECT_FALSE(reader.errorString().isEmpty());
        EXPECT_EQ(image.archive.Count, 77) << "nothing may be written on failure";
        EXPECT_EQ(image.version, (ProtocolVersion {9, 9}));
    }
}

TEST(ArchiveFile, VersionBytesAreNotTested)
{
    ArchiveImage image;
    ArchiveReader reader;
    ASSERT_EQ(reader.read(fileOf(0, {2, 5}), image), Status::Ok);
    EXPECT_EQ(image.version, (ProtocolVersion {2, 5}));
}

TEST(ArchiveFile, FilesOnDisk)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("a.db");
    const CellArchive archive = test::sampleArchive(5);

    ArchiveWriter writer;
    ASSERT_TRUE(writer.write(path, archive, {1, 0})) << writer.errorString().toStdString();
    ArchiveImage image;
    ArchiveReader reader;
    ASSERT_EQ(reader.read(path, image), Status::Ok);
    EXPECT_TRUE(image.archive.sameContents(archive));

    // Replacing an existing file, then the same archive again: identical bytes.
    ASSERT_TRUE(writer.write(path, test::sampleArchive(2), {1, 0}));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), fileOf(2));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList {"a.db"});

    EXPECT_EQ(reader.read(dir.filePath("missing.db"), image), Status::ReadError);
    EXPECT_TRUE(reader.errorString().contains("missing.db"));
    EXPECT_EQ(reader.read(dir.path(), image), Status::ReadError);
    EXPECT_FALSE(writer.write(dir.path(), archive, {1, 0}));
    EXPECT_FALSE(writer.write(dir.filePath("no/such/folder/a.db"), archive, {1, 0}));
    EXPECT_TRUE(writer.errorString().contains("a.db"));
}

namespace {

// A device that accepts `limit` bytes and then fails.
class FailingDevice : public QIODevice
{
public:
    explicit FailingDevice(qint64 limit)
        : m_limit(limit)
    {
        open(QIODevice::WriteOnly);
    }
    QByteArray written;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 len) override
    {
        const qint64 room = m_limit - written.size();
        if (room <= 0) {
            setErrorString("No space left on device");
            return -1;
        }
        const qint64 n = std::min(room, len);
        written.append(data, n);
        return n;
    }

private:
    qint64 m_limit;
};

} // namespace

TEST(ArchiveFile, WriteFailureIsReported)
{
    FailingDevice device(10);
    ArchiveWriter writer;
    EXPECT_FALSE(writer.write(device, test::sampleArchive(3), {1, 0}));
    EXPECT_FALSE(writer.errorString().isEmpty());
}

TEST(ArchiveFile, SampleFilesOpenAndMalformedOnesAreRefusedByKind)
{
    const QDir data(test::testDataPath(QString()));
    const QStringList good = data.entryList({"*.db"}, QDir::Files);
    ASSERT_FALSE(good.isEmpty());
    for (const QString &name : good) {
        ArchiveImage image;
        ArchiveReader reader;
        EXPECT_EQ(reader.read(data.filePath(name), image), Status::Ok) << name.toStdString();
    }

    const struct {
        const char *prefix;
        Status status;
    } kinds[] = {{"crc-", Status::CrcMismatch}, {"stage0-", Status::SizeStage0},
        {"stage1-", Status::SizeStage1}, {"too-many-", Status::TooManyCells},
        {"empty-file", Status::ReadError}, {"one-byte", Status::ReadError}};
    const QDir errors(test::testErrorsPath(QString()));
    const QStringList bad = errors.entryList({"*.db"}, QDir::Files);
    ASSERT_FALSE(bad.isEmpty());
    for (const QString &name : bad) {
        const auto kind = std::find_if(
            std::begin(kinds), std::end(kinds), [&](const auto &k) { return name.startsWith(k.prefix); });
        ASSERT_NE(kind, std::end(kinds)) << "name the kind of fault: " << name.toStdString();
        ArchiveImage image;
        ArchiveReader reader;
        EXPECT_EQ(reader.read(errors.filePath(name), image), kind->status) << name.toStdString();
    }
}

TEST(ArchiveFile, AWriteThatFailsHalfWayKeepsTheEarlierFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.db");
    ArchiveWriter writer;
    ASSERT_TRUE(writer.write(path, test::sampleArchive(2), {1, 0}));
    const QByteArray before = fileOf(2);

    const qint64 full = fileOf(300).size();
    for (qint64 limit : {qint64(0), qint64(1), full / 2, full - 1}) {
        bool written = true;
        {
            test::FileSizeLimit guard(static_cast<rlim_t>(limit));
            written = writer.write(path, test::sampleArchive(300), {1, 0});
        }
        EXPECT_FALSE(written) << limit;
        // Past the limit a write stores what fits; the next one is refused with the reason.
        EXPECT_TRUE(writer.errorString().startsWith("Файл \"" + QDir::toNativeSeparators(path) + "\": "))
            << writer.errorString().toStdString();
        EXPECT_TRUE(test::endsInSystemReason(writer.errorString(), EFBIG)) << writer.errorString().toStdString();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), before) << "the earlier file must survive, limit " << limit;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList {"a.db"})
            << "no partial file may remain, limit " << limit;
    }
}

TEST(ArchiveFile, ADiskThatFillsPartWayIsToldWithTheFileAndItsReason)
{
    test::SmallFilesystem disk;
    LUVIR_NEED_SMALL_FILESYSTEM(disk);
    const QString path = disk.filePath("old.db");
    ArchiveWriter writer;
    ASSERT_TRUE(writer.write(path, test::sampleArchive(2), {1, 0}));
    ASSERT_TRUE(disk.leaveFree(8192)); // 300 cells take 12,606 bytes

    EXPECT_FALSE(writer.write(path, test::sampleArchive(300), {1, 0}));
    EXPECT_TRUE(writer.errorString().startsWith("Файл \"" + QDir::toNativeSeparators(path) + "\": "))
        << writer.errorString().toStdString();
    EXPECT_TRUE(test::endsInSystemReason(writer.errorString(), ENOSPC)) << writer.errorString().toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), fileOf(2)) << "the earlier file must survive";
    EXPECT_EQ(disk.files(), QStringList {"old.db"}) << "no partial file may remain";
}

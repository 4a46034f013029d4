// A file that another program is still writing is refused, even when the bytes read
// happen to form a valid archive, so its CRC says nothing against it.
#include "GrowingFile.h"
#include "ArchiveFile.h"
#include "TestData.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace luvir;
using namespace luvir::test;

TEST(GrowingArchiveFile, IsRefusedThoughItsCrcChecksOut)
{
    // A complete archive, and the archive with one more cell that its file grows into.
    const QByteArray complete = ArchiveWriter::toBytes(sampleArchive(3), {1, 0});
    const QByteArray whole = ArchiveWriter::toBytes(sampleArchive(4), {1, 0});
    const struct {
        const char *what;
        QByteArray onDisk; // when the reader opens the file
        QByteArray tail; // what is appended while it reads
        GrowthMoment moment;
        ArchiveReader::Status afterwards; // of reading the file once it has grown
    } cases[] = {
        // The writer has written the first half when the reader takes the size; by the
        // read the rest is there, and what is read is a whole, valid archive.
        {"grows between the size and the read", whole.left(whole.size() / 2), whole.mid(whole.size() / 2),
            GrowthMoment::BeforeTheFirstRead, ArchiveReader::Status::Ok},
        // What was read is a valid archive, but the file goes on growing behind it.
        {"grows once read", complete, QByteArray(42, '\x11'), GrowthMoment::AfterTheEnd,
            ArchiveReader::Status::CrcMismatch},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString path = dir.filePath("growing.db");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(c.onDisk), c.onDisk.size());
        file.close();

        ArchiveImage image;
        image.archive.Count = 77;
        image.version = {9, 9};
        ArchiveReader reader;
        ArchiveReader::Status status;
        {
            const GrowingFile growing(path, c.tail, c.moment);
            status = reader.read(path, image);
            ASSERT_TRUE(growing.grown()) << "the file did not grow while it was read";
        }
        EXPECT_EQ(status, ArchiveReader::Status::ReadError);
        EXPECT_TRUE(reader.errorString().contains("growing.db")) << reader.errorString().toStdString();
        EXPECT_EQ(image.archive.Count, 77) << "nothing may be taken from a refused file";
        EXPECT_EQ(image.version, (ProtocolVersion {9, 9}));

        // Read again once it has grown, the file is judged by its bytes alone.
        EXPECT_EQ(reader.read(path, image), c.afterwards);
    }
}

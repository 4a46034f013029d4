// Files that are not what the user meant: opening never hangs and never changes the
// archive; saving onto a disk that fills up never loses the earlier file.
#include "FileSizeLimit.h"
#include "MainWindowFixture.h"
#include "SmallFilesystem.h"

#include <QAction>
#include <QDir>

#include <atomic>
#include <cerrno>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace luvir;
using luvir::test::MainWindowTest;
using luvir::test::sampleArchive;

namespace {

class OddFilesTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        openSample(3);
        window->selectRow(2);
        before = window->session().archive;
        tableBefore = window->table();
        panel1 = window->statusText(1);
        dialogs.clear();
    }

    // Opening `fileName` ended in exactly one error box naming the file, and nothing changed.
    void expectRefusedWithError(const QString &fileName)
    {
        window->setStatus("до");
        open(fileName);
        const QStringList errors = dialogs.errors();
        ASSERT_EQ(errors.size(), 1) << fileName.toStdString();
        EXPECT_TRUE(errors[0].contains(QFileInfo(fileName).fileName())) << errors[0].toStdString();
        EXPECT_TRUE(window->session().archive.sameContents(before));
        EXPECT_EQ(window->table(), tableBefore);
        EXPECT_EQ(window->currentRow(), 2);
        EXPECT_EQ(window->statusText(0), "до");
        EXPECT_EQ(window->statusText(1), panel1);
        dialogs.clear();
    }

    CellArchive before;
    MeasurementTable tableBefore;
    QString panel1;
};

} // namespace

TEST_F(OddFilesTest, FolderFifoMissingAndUnreadableFiles)
{
    expectRefusedWithError(dir.path());

    const QString fifo = path("pipe.db");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    expectRefusedWithError(fifo); // opening a FIFO for reading would wait for a writer forever

    expectRefusedWithError(path("gone.db")); // chosen in the dialog, deleted before the read

    if (::geteuid() != 0) { // root reads anyway
        const QString locked = writeArchiveFile("locked.db", sampleArchive(2));
        QFile::setPermissions(locked, QFileDevice::WriteOwner);
        expectRefusedWithError(locked);
    }
}

TEST_F(OddFilesTest, AFileThatGrowsWhileBeingReadIsRefused)
{
    const QString growing = writeArchiveFile("growing.db", sampleArchive(200));
    std::atomic<bool> stop{false};
    std::atomic<bool> writerDone{false};
    std::thread writer([&] {
        QFile file(growing);
        if (file.open(QIODevice::Append)) {
        const QByteArray chunk(4096, '\x55');
        while (!stop && file.size() < 64 * 1024 * 1024) {
                if (file.write(chunk) != chunk.size() || !file.flush())
                    break; // the disk is full: the file grows no more
        }
        }
        writerDone = true;
    });
    // Wait until the file has grown well past its archive, or the writer has given up.
    while (QFileInfo(growing).size() < 100 * 1024 && !writerDone)
        std::this_thread::yield();
    if (QFileInfo(growing).size() < 100 * 1024) {
        writer.join();
        FAIL() << "the writer could not make the file grow";
    }
    window->setStatus("до");
    open(growing);
    stop = true;
    writer.join();
    EXPECT_EQ(dialogs.shown.size(), 2) << "the open dialog and one box";
    EXPECT_TRUE(window->session().archive.sameContents(before));
    EXPECT_EQ(window->table(), tableBefore);
}

TEST_F(OddFilesTest, ASaveInterruptedAtEveryByteKeepsTheEarlierFile)
{
    openSample(50);
    const QString target = writeArchiveFile("target.db", sampleArchive(7), {1, 0});
    const QByteArray earlier = readBytes(target);
    const qint64 length = ArchiveWriter::toBytes(window->session().archive, window->session().version).size();

    int lost = 0;
    int untold = 0; // error boxes without the file's full path and the system's reason
    for (qint64 k = 0; k < length; ++k) {
        dialogs.clear();
        dialogs.fileAnswers << target;
        {
            test::FileSizeLimit limit(static_cast<rlim_t>(k));
            window->N3->trigger();
        }
        if (readBytes(target) != earlier || dialogs.errors().size() != 1
            || QDir(dir.path()).entryList({"target.db*", ".target.db*"}, QDir::Files | QDir::Hidden).size()
                != 1)
            ++lost;
        // Past the limit a write stores what fits; the next one is refused with the reason.
        const QString error = dialogs.errors().value(0);
        if (!error.startsWith("Файл \"" + QDir::toNativeSeparators(target) + "\": ")
            || !test::endsInSystemReason(error, EFBIG))
            ++untold;
    }
    EXPECT_EQ(lost, 0) << "of " << length << " interrupted saves";
    EXPECT_EQ(untold, 0) << "of " << length << " interrupted saves";

    dialogs.clear();
    dialogs.fileAnswers << target;
    window->N3->trigger(); // with room on the disk the save goes through
    EXPECT_TRUE(dialogs.errors().isEmpty());
    EXPECT_EQ(readBytes(target).size(), length);
}

TEST_F(OddFilesTest, ASaveOntoADiskThatFillsPartWayTellsTheFileAndTheReason)
{
    test::SmallFilesystem disk;
    LUVIR_NEED_SMALL_FILESYSTEM(disk);
    openSample(300); // 12,606 bytes
    const QString target = disk.filePath("old.db");
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(ArchiveWriter::toBytes(sampleArchive(7), {1, 0}));
    old.close();
    const QByteArray earlier = readBytes(target);
    ASSERT_TRUE(disk.leaveFree(8192));

    dialogs.clear();
    dialogs.fileAnswers << target;
    window->N3->trigger();
    ASSERT_EQ(dialogs.errors().size(), 1);
    const QString error = dialogs.errors().first();
    EXPECT_TRUE(error.startsWith("Файл \"" + QDir::toNativeSeparators(target) + "\": ")) << error.toStdString();
    EXPECT_TRUE(test::endsInSystemReason(error, ENOSPC)) << error.toStdString();
    EXPECT_EQ(readBytes(target), earlier);
    EXPECT_EQ(disk.files(), QStringList {"old.db"}) << "no partial file may remain";
}

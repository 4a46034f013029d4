// The protocol's files: written whole under their name, or an error naming the full path
// and the system's reason with an earlier file left as it was.
#include "CellText.h"
#include "ProtocolTestData.h"
#include "ProtocolWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace luvir;
using namespace luvir::test;

namespace {

using Writer = bool (*)(const ProtocolContent &, const QString &, QString *, const QString &);
const struct {
    const char *suffix;
    Writer write;
    QByteArray start; // the first bytes of a complete file
} kWriters[] = {
    {"pdf", &writeProtocolPdf, "%PDF-"},
    {"odt", &writeProtocolOdt, "PK"},
};

ProtocolContent smallProtocol()
{
    ProtocolContent content;
    content.header = plainHeader();
    content.structures << mixedStructure();
    return content;
}

TEST(ProtocolFile, WrittenWholeUnderItsName)
{
    QTemporaryDir dir;
    for (const auto &w : kWriters) {
        SCOPED_TRACE(w.suffix);
        const QString file = dir.filePath(QStringLiteral("протокол.%1").arg(w.suffix));
        QString error;
        ASSERT_TRUE(w.write(smallProtocol(), file, &error, {})) << error.toStdString();
        EXPECT_TRUE(error.isEmpty());
        QFile written(file);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_TRUE(written.readAll().startsWith(w.start));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2) << "no temporary file is left";
}

TEST(ProtocolFile, FailureNamesTheFullPathAndKeepsTheEarlierFile)
{
    QTemporaryDir dir;
    const QString folderInTheWay = dir.filePath("папка");
    ASSERT_TRUE(QDir().mkdir(folderInTheWay));
    for (const auto &w : kWriters) {
        SCOPED_TRACE(w.suffix);
        const QString missing = dir.filePath(QStringLiteral("нет/протокол.%1").arg(w.suffix));
        QString error;
        EXPECT_FALSE(w.write(smallProtocol(), missing, &error, {}));
        const QString prefix = QStringLiteral("Не удалось сохранить файл \"%1\": ").arg(QDir::toNativeSeparators(missing));
        EXPECT_TRUE(error.startsWith(prefix)) << error.toStdString();
        EXPECT_GT(error.size(), prefix.size()) << "the system's reason follows";

        EXPECT_FALSE(w.write(smallProtocol(), folderInTheWay, &error, {}));
        EXPECT_EQ(error, QStringLiteral("Не удалось сохранить файл \"%1\": это папка")
                             .arg(QDir::toNativeSeparators(folderInTheWay)));

        // A relative name is told with the folder it was meant for.
        const QString current = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir.path()));
        EXPECT_FALSE(w.write(smallProtocol(), QStringLiteral("нет/p.%1").arg(w.suffix), &error, {}));
        EXPECT_TRUE(error.contains(QDir::toNativeSeparators(dir.filePath("нет/p."))) ) << error.toStdString();
        QDir::setCurrent(current);
    }
}

// A read-only folder (as any user but root): the earlier file stays.
TEST(ProtocolFile, ReadOnlyFolderKeepsTheEarlierFile)
{
    QTemporaryDir dir;
    const QString locked = dir.filePath("только-чтение");
    ASSERT_TRUE(QDir().mkdir(locked));
    const QString earlier = locked + "/p.pdf";
    QFile file(earlier);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("earlier");
    file.close();
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    QString error;
    const bool written = writeProtocolPdf(smallProtocol(), earlier, &error);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (written)
        GTEST_SKIP() << "running as root: a read-only folder does not stop the write";
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "earlier");
}

} // namespace

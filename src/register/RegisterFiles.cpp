#include "RegisterFiles.h"

#include "ArchiveFile.h"

#include <QFileInfo>

#include <memory>

namespace luvir {

ImportCounts addArchiveFiles(
    Register &target, const QStringList &fileNames, const QDateTime &addedAt, QList<FileRefusal> &refused)
{
    ImportCounts total;
    for (const QString &fileName : fileNames) {
        auto image = std::make_unique<ArchiveImage>();
        ArchiveReader reader;
        if (reader.read(fileName, *image) != ArchiveReader::Status::Ok) {
            refused.append({fileName, reader.errorString()});
            continue;
        }
        RegisterSource source;
        source.kind = RegisterSource::Kind::File;
        source.addedAt = addedAt;
        source.version = image->version;
        source.fileName = QFileInfo(fileName).absoluteFilePath();
        ImportCounts counts;
        if (!target.importCells(cellsOf(image->archive), source, counts)) {
            refused.append({fileName, QStringLiteral("Журнал: %1.").arg(target.errorString())});
            continue;
        }
        total += counts;
    }
    return total;
}

} // namespace luvir

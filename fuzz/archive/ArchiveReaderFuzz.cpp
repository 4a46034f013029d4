// Any bytes given to the archive reader: no crash, no read outside the input, and a
// file it accepts must be written back byte for byte.
#include "ArchiveFile.h"

#include <QByteArray>

#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    auto image = std::make_unique<luvir::ArchiveImage>();
    luvir::ArchiveReader reader;
    if (reader.read(bytes, *image) == luvir::ArchiveReader::Status::Ok) {
        if (luvir::ArchiveWriter::toBytes(image->archive, image->version) != bytes)
            std::abort();
        if (image->archive.Count > luvir::CellArchive::Capacity)
            std::abort();
    } else if (reader.errorString().isEmpty()) {
        std::abort(); // every refusal names its reason
    }
    return 0;
}

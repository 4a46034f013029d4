// The commands on archive files: info and table.
#include "Commands.h"

#include "CellText.h"
#include "MeasurementTable.h"

namespace luvir::cli {

std::unique_ptr<ArchiveImage> readArchiveFile(const QString &fileName, QString &error)
{
    auto image = std::make_unique<ArchiveImage>();
    ArchiveReader reader;
    if (reader.read(fileName, *image) == ArchiveReader::Status::Ok)
        return image;
    error = reader.errorString();
    return nullptr;
}

std::unique_ptr<ArchiveImage> readArchiveFileOrTell(const QString &fileName, CliContext &context)
{
    QString error;
    auto image = readArchiveFile(fileName, error);
    if (!image)
        context.console.err(error + u'\n');
    return image;
}

QString archiveSummary(ProtocolVersion version, int cells)
{
    return QStringLiteral("version %1.%2\ncells %3\n").arg(version.major).arg(version.minor).arg(cells);
}

QString tableText(const CellArchive &archive, const QString &separator, bool values)
{
    const MeasurementTable table = buildMeasurementTable(archive, separator);
    QString text;
    for (int row = 0; row < table.rowCount(); ++row) {
        QStringList fields = table.rows.at(row);
        if (values)
            fields << (row == 0
                    ? QString()
                    : intermediateValuesLine(archive.Cells[static_cast<std::size_t>(row - 1)], separator));
        text += fields.join(u'\t') + u'\n';
    }
    return text;
}

int runInfo(const Invocation &invocation, CliContext &context)
{
    const auto image = readArchiveFileOrTell(invocation.files.first(), context);
    if (!image)
        return kExitFailed;
    context.console.out(archiveSummary(image->version, image->archive.Count));
    return kExitOk;
}

int runTable(const Invocation &invocation, CliContext &context)
{
    const auto image = readArchiveFileOrTell(invocation.files.first(), context);
    if (!image)
        return kExitFailed;
    context.console.out(tableText(image->archive, context.decimalSeparator, invocation.values));
    return kExitOk;
}

} // namespace luvir::cli

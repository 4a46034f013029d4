#pragma once
// What else happens to a completed download besides the table: the hook the register of
// measurements hangs on. The download dialog and the command line hand every completed
// download to the recorder they are given (none when the user turned the adding off).

#include "CellArchive.h"

#include <QDateTime>
#include <QString>

namespace luvir {

struct CompletedDownload {
    const CellArchive &archive; // the cells just downloaded
    ProtocolVersion version; // the meter's protocol version
    QString serialNumber; // the meter's, where the link reports one; else empty
    QDateTime finishedAt;
};

// What the recorder did, for the user once the download has ended.
struct DownloadRecord {
    bool complete = true; // every cell was kept
    QString text; // complete: a summary ("Журнал: добавлено N, уже были M") and what else to tell; else what was not kept and why
    QString summary; // complete: the summary alone, for a status line; else empty
};

class DownloadRecorder
{
public:
    virtual ~DownloadRecorder() = default;
    // Never throws and never undoes the download: a failure only comes back as the record.
    virtual DownloadRecord recordDownload(const CompletedDownload &download) = 0;
};

} // namespace luvir

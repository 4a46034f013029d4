#pragma once
// What the download dialog needs of the main window: the open archive, the status line,
// blanking the table's rows, rebuilding the table from the archive, and the recorder that
// keeps every completed download.

#include "CellArchive.h"
#include "DownloadRecorder.h"
#include "UserDialogs.h"

namespace luvir {

class ArchiveView : public StatusLine
{
public:
    // The program-wide archive, its protocol version and the DownloadCompleted flag.
    virtual ArchiveSession &session() = 0;
    // Empties the texts of every table row but the header; the row count stays.
    virtual void blankTableRows() = 0;
    // Rebuilds the table from session().archive, shows it, enables the archive commands
    // and closes the download dialog.
    virtual void DisplayArchive() = 0;
    // Where a completed download goes besides the table (the register of measurements);
    // null when nowhere, as when the user turned the adding off.
    virtual DownloadRecorder *downloadRecorder() { return nullptr; }
    // What the recorder made of the completed download.
    virtual void downloadRecorded(const DownloadRecord &) { }
};

} // namespace luvir

#pragma once
// One transfer of the meter's archive, without any window: the version and size queries,
// then every cell in turn into an archive of its own. The open archive changes only when
// the caller commits a completed download.

#include "CellArchive.h"
#include "CommandReporter.h"
#include "DeviceLink.h"
#include "DownloadRecorder.h"

#include <optional>

namespace luvir {

class DeviceCommands;

// What a download shows as it goes, besides the commands' own messages. The download's
// own reports ("Ошибка чтения ячейки5", "Записей нет", …) go through reportFailure():
// a message box, then the same text in the status line.
class DownloadReporter : public CommandReporter
{
public:
    // The meter answered both queries: it is connected and its archive may be read.
    virtual void meterAnswered() = 0;
    // Reading the cells begins; `cells` of them will be asked for (0 for an empty archive).
    virtual void cellsToRead(int cells) = 0;
    // Cell number `number` (1 .. cells) is about to be asked for.
    virtual void readingCell(int number) = 0;
};

class ArchiveDownload
{
public:
    ArchiveDownload(DeviceLink &link, DownloadReporter &reporter)
        : m_link(link)
        , m_reporter(reporter)
    {
    }

    // Asks for the protocol version, then the archive size. `current` is the version kept
    // when the meter does not answer. True when both answered and the version is 1.0.
    bool queryMeter(ProtocolVersion current);
    // Asks for the size again and reads cells 0 .. size - 1 (no more than 999) into the
    // staged archive. True when every cell arrived. A meter lost in an earlier exchange is
    // looked for again first, as the download command does, and asked for its version.
    bool readArchive();
    // Puts the staged archive and the version the last query received into `session` and
    // marks the download completed. Only after readArchive() returned true.
    void commitTo(ArchiveSession &session) const;

    // Hands the download commitTo() took in to `recorder` (the register), with the meter's
    // version and serial number and the moment; returns what it did.
    DownloadRecord recordTo(DownloadRecorder &recorder) const;

private:
    // Finds and opens the meter again and checks that it speaks protocol 1.0.
    bool reconnect();
    // Asks the meter for its protocol version into m_stagedVersion, telling the steps.
    bool readVersion(DeviceCommands &commands);

    DeviceLink &m_link;
    DownloadReporter &m_reporter;
    CellArchive m_staged;
    std::optional<ProtocolVersion> m_stagedVersion; // unknown until a query asks
};

} // namespace luvir

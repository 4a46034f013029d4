#pragma once
// A simulated meter that stands in for the HID library: it implements the hid_* functions
// the program calls and answers the meter's protocol from an archive it holds. Tests drive
// it through meter(); a preloaded copy reads its settings from LUVIR_SIM_* variables.

#include "ArchiveCell.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#define LUVIR_SIM_API __attribute__((visibility("default")))

namespace luvir::sim {

using Frame = std::array<std::uint8_t, 64>;
using Serial = std::optional<std::wstring>; // a device may have no serial number

enum class Fault {
    NoAnswer, // the request is never answered: the read times out
    LateAnswer, // the read times out; the answer is waiting for the next read
    ShortRead, // the read delivers 40 of the 64 bytes
    ReadError, // the read fails (returns -1)
    WriteError, // the write fails (returns -1); the meter sees nothing
    WrongReportId, // the answer starts with 0x3E
    WrongLength, // the length byte of the other answer size (5 <-> 46)
    WrongCommand, // the answer names another command
    BadCrc, // the CRC's low byte is off by one
    CrcLowByteFirst, // the CRC is stored low byte first
    DamagedCell, // a read-cell answer with status 0xDE
    Unplug, // the meter is pulled out before this exchange (see plugIn())
};

// Where a fault strikes: exchange n (the n-th call of hid_write since reset(), from 0),
// or every read-cell request for one cell index.
struct FaultRule {
    Fault fault;
    int exchange = -1;
    int cell = -1;
};
inline FaultRule atExchange(Fault fault, int exchange)
{
    return {fault, exchange, -1};
}
inline FaultRule atCell(Fault fault, int cell)
{
    return {fault, -1, cell};
}

enum class Clock {
    Virtual, // nothing really waits; time-outs and latency only advance elapsed()
    Real, // time-outs and latency are waited for
};

// One call of hid_read_timeout (or hid_read, with -1 or 0 for its time-out).
struct ReadCall {
    std::size_t length;
    int timeoutMs;
    int result;
};

class LUVIR_SIM_API Meter
{
public:
    Meter();
    ~Meter();

    // Test defaults: one meter with serial "SIM-0001", protocol 1.0, 10 generated cells,
    // no latency, the virtual clock, no faults, nothing recorded, plugged in.
    void reset();

    // The meters listed by hid_enumerate, in order; each serves the same archive.
    void setDevices(std::vector<Serial> serials);
    // `count` meters with serials "SIM-0001", "SIM-0002", ...
    void setDeviceCount(int count);
    // hid_open fails although meters are listed.
    void setOpenFails(bool fails);

    void setProtocolVersion(std::uint8_t major, std::uint8_t minor);
    // The archive the meter serves; its size is what the size command reports.
    void setCells(std::vector<ArchiveCell> cells);
    // `count` realistic measurements (up to 65535).
    void generateCells(int count);
    // Serves the cells and the version of an archive file; false when it cannot be read.
    bool loadArchive(const std::string &path);
    const std::vector<ArchiveCell> &cells() const;

    void setLatency(std::chrono::microseconds perExchange);
    // Every read takes this long before it returns, even one that finds a report waiting
    // (a slow host): on the real clock the time passes for the caller too.
    void setReadDuration(std::chrono::microseconds perRead);
    void setClock(Clock clock);
    // Time passed since reset(), simulated or real.
    std::chrono::microseconds elapsed() const;

    void addFault(FaultRule rule);
    void clearFaults();

    // A chattering device: besides its answers it keeps sending unrelated 64-byte reports
    // (report ID 0x01), so a read that finds no answer ready gets one of those at once
    // instead of waiting or coming back empty.
    void setChattering(bool chattering);
    // How many unrelated reports it has sent since reset().
    int chatterSent() const;

    // Pulling the meter out: open handles fail from then on and nothing is listed.
    void unplug();
    // Pulls the meter out once `exchanges` exchanges have been made.
    void unplugAfter(int exchanges);
    // Plugging it back in: it is listed again; handles opened before stay dead.
    void plugIn();
    bool pluggedIn() const;

    // What the program did.
    const std::vector<Frame> &received() const; // every frame written, in order
    int exchanges() const; // calls of hid_write since reset()
    const std::vector<ReadCall> &reads() const;
    int openHandles() const; // opened and not yet closed
    int liveDeviceLists() const; // enumerated and not yet freed
    Serial lastOpenedSerial() const;
    bool lastOpenedNonblocking() const;
    void clearRecords(); // forgets received() and reads()

    // Called for each request as it arrives, before it is answered.
    std::function<void(const Frame &)> onRequest;

    // The meter's inside, for the HID entry points of this library alone.
    struct State;
    State &state() { return *m_state; }

private:
    std::unique_ptr<State> m_state;
};

// The one simulated meter of the process.
LUVIR_SIM_API Meter &meter();

// The realistic measurements generateCells() serves.
LUVIR_SIM_API std::vector<ArchiveCell> generatedCells(int count);

} // namespace luvir::sim

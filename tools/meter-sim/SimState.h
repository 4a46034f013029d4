#pragma once
// The simulated meter's state, shared by its API, its protocol and its HID entry points.

#include "MeterSim.h"

#include <chrono>
#include <deque>
#include <set>

struct hid_device_info;

// An open handle; hidapi leaves the type to the implementation.
struct hid_device_ {
    int generation = 0; // the plug-in it was opened in; dead once the meter is pulled out
    bool nonblocking = false;
    luvir::sim::Serial serial;
    hid_device_info *info = nullptr;
};

namespace luvir::sim {

using Micros = std::chrono::microseconds;

// An answer waiting to be read.
struct PendingAnswer {
    Frame bytes {};
    Micros readyAt {0};
    bool late = false; // the first read after the request misses it
    bool shortRead = false; // delivered in part
    bool readError = false; // the read that would take it fails
};

struct Meter::State {
    // What the meter is.
    std::vector<Serial> devices;
    bool openFails = false;
    std::uint8_t major = 1;
    std::uint8_t minor = 0;
    std::vector<ArchiveCell> cells;
    Micros latency {0};
    Micros readDuration {0}; // every read takes this long, whatever it finds
    Clock clock = Clock::Virtual;
    std::vector<FaultRule> faults;
    bool plugged = true;
    int unplugAfter = -1;
    int generation = 0;
    std::optional<Micros> replugAfter; // plugged back in this long after being pulled out
    Micros unpluggedAt {0};
    bool trace = false; // frames to stderr
    bool chattering = false; // unrelated reports fill every read that finds no answer
    int chatterSent = 0;

    // Time.
    Micros virtualNow {0};
    std::chrono::steady_clock::time_point realStart = std::chrono::steady_clock::now();
    Micros now() const;
    void waitUntil(Micros when);

    // The line.
    std::deque<PendingAnswer> pending;

    // Records.
    std::vector<Frame> received;
    int exchanges = 0;
    std::vector<ReadCall> reads;
    std::set<hid_device_ *> handles;
    std::set<hid_device_ *> orphans; // left open across reset(): dead, freed by hid_close
    std::set<hid_device_info *> lists;
    Serial lastOpened;
    bool lastNonblocking = false;

    void unplug();
    void plugIn();
    void replugIfDue();
    // The fault that strikes exchange `exchange` carrying `request`, if any.
    std::optional<Fault> faultFor(int exchange, const Frame &request) const;
    // Takes one written request and queues the meter's answer, if it gives one.
    void takeRequest(const Frame &request, std::optional<Fault> fault);
};

// The meter's answer to a request, or nothing for a request it does not understand.
std::optional<Frame> answerTo(const Frame &request, const Meter::State &state, std::optional<Fault> fault);

// Settings from the LUVIR_SIM_* variables, applied over the defaults.
void applyEnvironment(Meter &meter);

} // namespace luvir::sim

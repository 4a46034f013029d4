// The simulated meter's settings, records, clock and request handling.
#include "SimState.h"

#include "ArchiveFile.h"

#include <QString>

#include <cstdio>
#include <sys/prctl.h>
#include <thread>

namespace luvir::sim {

namespace {

bool isCellRequest(const Frame &request)
{
    return request[0] == 0x3F && request[1] == 5 && request[2] == 0x31;
}

void traceFrame(const char *direction, const Frame &frame)
{
    std::fprintf(stderr, "meter-sim %s", direction);
    for (std::uint8_t b : frame)
        std::fprintf(stderr, " %02X", b);
    std::fprintf(stderr, "\n");
}

} // namespace

// ---- time -------------------------------------------------------------------------------

Micros Meter::State::now() const
{
    if (clock == Clock::Virtual)
        return virtualNow;
    return std::chrono::duration_cast<Micros>(std::chrono::steady_clock::now() - realStart);
}

void Meter::State::waitUntil(Micros when)
{
    if (clock == Clock::Virtual) {
        virtualNow = std::max(virtualNow, when);
        return;
    }
    // Sleep most of the way, then spin: a plain sleep overshoots by tens of microseconds,
    // fifty of them being the thread's default timer slack.
    static const bool precise = prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0) == 0;
    (void)precise;
    const auto deadline = realStart + when;
    const auto early = deadline - std::chrono::microseconds(200);
    if (std::chrono::steady_clock::now() < early)
        std::this_thread::sleep_until(early);
    while (std::chrono::steady_clock::now() < deadline) { }
}

// ---- plugging ---------------------------------------------------------------------------

void Meter::State::unplug()
{
    if (!plugged)
        return;
    plugged = false;
    unpluggedAt = now();
    pending.clear();
}

void Meter::State::plugIn()
{
    if (plugged)
        return;
    plugged = true;
    ++generation; // handles of the earlier plug-in stay dead
}

void Meter::State::replugIfDue()
{
    if (!plugged && replugAfter && now() >= unpluggedAt + *replugAfter)
        plugIn();
}

// ---- requests ---------------------------------------------------------------------------

std::optional<Fault> Meter::State::faultFor(int exchange, const Frame &request) const
{
    const int cell = isCellRequest(request) ? request[3] | (request[4] << 8) : -1;
    for (const FaultRule &rule : faults) {
        if (rule.exchange >= 0 && rule.exchange == exchange)
            return rule.fault;
        if (rule.cell >= 0 && rule.cell == cell)
            return rule.fault;
    }
    return std::nullopt;
}

void Meter::State::takeRequest(const Frame &request, std::optional<Fault> fault)
{
    if (trace)
        traceFrame("<-", request);
    if (fault == Fault::NoAnswer)
        return;
    const std::optional<Frame> answer = answerTo(request, *this, fault);
    if (!answer)
        return;
    if (trace)
        traceFrame("->", *answer);
    PendingAnswer pendingAnswer;
    pendingAnswer.bytes = *answer;
    pendingAnswer.readyAt = now() + latency;
    pendingAnswer.late = fault == Fault::LateAnswer;
    pendingAnswer.shortRead = fault == Fault::ShortRead;
    pendingAnswer.readError = fault == Fault::ReadError;
    pending.push_back(pendingAnswer);
}

// ---- the API ----------------------------------------------------------------------------

Meter::Meter()
    : m_state(std::make_unique<State>())
{
    m_state->devices = {std::wstring(L"SIM-0001")};
    m_state->cells = generatedCells(25);
    m_state->clock = Clock::Real;
    m_state->latency = Micros(2000);
    applyEnvironment(*this);
}

Meter::~Meter() = default;

void Meter::reset()
{
    State &s = *m_state;
    // Handles and device lists the program still holds stay valid until it lets them go,
    // but the handles are no longer served.
    std::set<hid_device_ *> orphans = std::move(s.orphans);
    for (hid_device_ *handle : s.handles) {
        handle->generation = -1;
        orphans.insert(handle);
    }
    std::set<hid_device_info *> lists = std::move(s.lists);
    s = State {};
    s.orphans = std::move(orphans);
    s.lists = std::move(lists);
    s.devices = {std::wstring(L"SIM-0001")};
    s.cells = generatedCells(10);
    onRequest = nullptr;
}

void Meter::setDevices(std::vector<Serial> serials)
{
    m_state->devices = std::move(serials);
}

void Meter::setDeviceCount(int count)
{
    std::vector<Serial> serials;
    for (int i = 1; i <= count; ++i) {
        wchar_t text[16];
        std::swprintf(text, 16, L"SIM-%04d", i);
        serials.emplace_back(std::wstring(text));
    }
    setDevices(std::move(serials));
}

void Meter::setOpenFails(bool fails)
{
    m_state->openFails = fails;
}

void Meter::setProtocolVersion(std::uint8_t major, std::uint8_t minor)
{
    m_state->major = major;
    m_state->minor = minor;
}

void Meter::setCells(std::vector<ArchiveCell> cells)
{
    m_state->cells = std::move(cells);
}
void Meter::generateCells(int count)
{
    m_state->cells = generatedCells(count);
}

bool Meter::loadArchive(const std::string &path)
{
    ArchiveImage image;
    ArchiveReader reader;
    if (reader.read(QString::fromStdString(path), image) != ArchiveReader::Status::Ok)
        return false;
    const auto &cells = image.archive.Cells;
    m_state->cells.assign(cells.begin(), cells.begin() + image.archive.Count);
    setProtocolVersion(image.version.major, image.version.minor);
    return true;
}

const std::vector<ArchiveCell> &Meter::cells() const
{
    return m_state->cells;
}

void Meter::setLatency(std::chrono::microseconds perExchange)
{
    m_state->latency = perExchange;
}

void Meter::setReadDuration(std::chrono::microseconds perRead)
{
    m_state->readDuration = perRead;
}

void Meter::setClock(Clock clock)
{
    m_state->clock = clock;
    m_state->virtualNow = Micros(0);
    m_state->realStart = std::chrono::steady_clock::now();
}

std::chrono::microseconds Meter::elapsed() const
{
    return m_state->now();
}

void Meter::addFault(FaultRule rule)
{
    m_state->faults.push_back(rule);
}
void Meter::clearFaults()
{
    m_state->faults.clear();
}

void Meter::setChattering(bool chattering)
{
    m_state->chattering = chattering;
}
int Meter::chatterSent() const
{
    return m_state->chatterSent;
}

void Meter::unplug()
{
    m_state->unplug();
}
void Meter::unplugAfter(int exchanges)
{
    m_state->unplugAfter = exchanges;
}
void Meter::plugIn()
{
    m_state->plugIn();
}
bool Meter::pluggedIn() const
{
    return m_state->plugged;
}

const std::vector<Frame> &Meter::received() const
{
    return m_state->received;
}
int Meter::exchanges() const
{
    return m_state->exchanges;
}
const std::vector<ReadCall> &Meter::reads() const
{
    return m_state->reads;
}
int Meter::openHandles() const
{
    return static_cast<int>(m_state->handles.size());
}
int Meter::liveDeviceLists() const
{
    return static_cast<int>(m_state->lists.size());
}
Serial Meter::lastOpenedSerial() const
{
    return m_state->lastOpened;
}
bool Meter::lastOpenedNonblocking() const
{
    return m_state->lastNonblocking;
}

void Meter::clearRecords()
{
    m_state->received.clear();
    m_state->reads.clear();
}

Meter &meter()
{
    static Meter instance;
    return instance;
}

} // namespace luvir::sim

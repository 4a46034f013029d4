// The simulated meter's settings from LUVIR_SIM_* variables (see README.md).
#include "SimState.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>

namespace luvir::sim {

namespace {

const char *variable(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value ? value : nullptr;
}

std::vector<std::string> split(const std::string &text, char separator)
{
    std::vector<std::string> parts;
    std::stringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);)
        if (!part.empty())
            parts.push_back(part);
    return parts;
}

bool isNumber(const std::string &text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

void warn(const std::string &text)
{
    std::fprintf(stderr, "meter-sim: %s\n", text.c_str());
}

void applyDevices(Meter &meter, const std::string &value)
{
    if (isNumber(value)) {
        meter.setDeviceCount(std::stoi(value));
        return;
    }
    std::vector<Serial> serials;
    for (const std::string &serial : split(value, ','))
        serials.emplace_back(std::wstring(serial.begin(), serial.end()));
    meter.setDevices(std::move(serials));
}

void applyFaults(Meter &meter, const std::string &value)
{
    static const std::map<std::string, Fault> kinds = {
        {"timeout", Fault::NoAnswer},
        {"late", Fault::LateAnswer},
        {"short", Fault::ShortRead},
        {"readerror", Fault::ReadError},
        {"writeerror", Fault::WriteError},
        {"reportid", Fault::WrongReportId},
        {"length", Fault::WrongLength},
        {"command", Fault::WrongCommand},
        {"crc", Fault::BadCrc},
        {"crcswap", Fault::CrcLowByteFirst},
        {"damaged", Fault::DamagedCell},
        {"unplug", Fault::Unplug},
    };
    for (const std::string &item : split(value, ',')) {
        const auto at = item.find('@');
        const auto kind = kinds.find(item.substr(0, at));
        std::string where = at == std::string::npos ? std::string() : item.substr(at + 1);
        const bool cell = where.rfind("cell", 0) == 0;
        if (cell)
            where = where.substr(4);
        if (kind == kinds.end() || !isNumber(where)) {
            warn("ignoring fault \"" + item + "\"");
            continue;
        }
        const int n = std::stoi(where);
        meter.addFault(cell ? atCell(kind->second, n) : atExchange(kind->second, n));
    }
}

} // namespace

void applyEnvironment(Meter &meter)
{
    Meter::State &s = meter.state();
    if (const char *value = variable("LUVIR_SIM_DEVICES"))
        applyDevices(meter, value);
    if (const char *value = variable("LUVIR_SIM_ARCHIVE"); value && !meter.loadArchive(value))
        warn(std::string("cannot read the archive ") + value);
    if (const char *value = variable("LUVIR_SIM_CELLS"))
        meter.generateCells(std::atoi(value));
    if (const char *value = variable("LUVIR_SIM_VERSION")) {
        unsigned major = 1, minor = 0;
        if (std::sscanf(value, "%u.%u", &major, &minor) == 2)
            meter.setProtocolVersion(static_cast<std::uint8_t>(major), static_cast<std::uint8_t>(minor));
    }
    if (const char *value = variable("LUVIR_SIM_LATENCY_US"))
        meter.setLatency(Micros(std::atol(value)));
    if (const char *value = variable("LUVIR_SIM_CLOCK"))
        meter.setClock(std::string(value) == "virtual" ? Clock::Virtual : Clock::Real);
    if (const char *value = variable("LUVIR_SIM_FAULT"))
        applyFaults(meter, value);
    if (const char *value = variable("LUVIR_SIM_OPEN_FAILS"))
        meter.setOpenFails(std::string(value) == "1");
    if (const char *value = variable("LUVIR_SIM_REPLUG_MS"))
        s.replugAfter = std::chrono::milliseconds(std::atol(value));
    if (const char *value = variable("LUVIR_SIM_CHATTER"))
        meter.setChattering(std::string(value) == "1");
    s.trace = variable("LUVIR_SIM_TRACE") != nullptr;
}

} // namespace luvir::sim

// The meter's side of the protocol: reading a request and building its answer.
#include "SimState.h"

#include "Crc.h"

#include <algorithm>

namespace luvir::sim {

namespace {

constexpr std::uint8_t kReportId = 0x3F;
constexpr std::uint8_t kFiller = 0x55; // the meter leaves its buffer's old bytes behind

void sealCrc(Frame &frame)
{
    const std::size_t length = frame[1];
    const std::uint16_t crc = CrcBlock(kCrcInitial, frame.data() + 2, length - 2);
    frame[length] = static_cast<std::uint8_t>(crc >> 8);
    frame[length + 1] = static_cast<std::uint8_t>(crc & 0xFF);
}

Frame frameWith(std::uint8_t command, const std::vector<std::uint8_t> &payload)
{
    Frame frame;
    frame.fill(kFiller);
    frame[0] = kReportId;
    frame[1] = static_cast<std::uint8_t>(payload.size() + 3);
    frame[2] = command;
    std::copy(payload.begin(), payload.end(), frame.begin() + 3);
    sealCrc(frame);
    return frame;
}

bool wellFormed(const Frame &request)
{
    const std::size_t length = request[1];
    if (request[0] != kReportId || length < 3 || length > 62)
        return false;
    const std::uint16_t crc = CrcBlock(kCrcInitial, request.data() + 2, length - 2);
    return request[length] == (crc >> 8) && request[length + 1] == (crc & 0xFF);
}

void spoil(Frame &answer, Fault fault)
{
    const std::size_t length = answer[1];
    switch (fault) {
    case Fault::WrongReportId:
        answer[0] = 0x3E;
        break;
    case Fault::WrongLength:
        answer[1] = length == 5 ? 46 : 5;
        break;
    case Fault::WrongCommand:
        answer[2] ^= 0x01;
        sealCrc(answer);
        break;
    case Fault::BadCrc:
        ++answer[length + 1];
        break;
    case Fault::CrcLowByteFirst:
        std::swap(answer[length], answer[length + 1]);
        break;
    case Fault::DamagedCell:
        if (answer[2] == 0x31) {
            answer[3] = 0xDE;
            sealCrc(answer);
        }
        break;
    default:
        break;
    }
}

} // namespace

std::optional<Frame> answerTo(const Frame &request, const Meter::State &state, std::optional<Fault> fault)
{
    if (!wellFormed(request))
        return std::nullopt;
    std::optional<Frame> answer;
    switch (request[2]) {
    case 0x14:
        answer = frameWith(0x14, {state.major, state.minor});
        break;
    case 0x30: {
        const auto size = static_cast<std::uint16_t>(std::min<std::size_t>(state.cells.size(), 0xFFFF));
        answer
            = frameWith(0x30, {static_cast<std::uint8_t>(size & 0xFF), static_cast<std::uint8_t>(size >> 8)});
        break;
    }
    case 0x31: {
        if (request[1] != 5)
            return std::nullopt;
        const std::size_t index = request[3] | (request[4] << 8);
        std::vector<std::uint8_t> payload(1 + kCellSize, 0);
        if (index < state.cells.size())
            std::copy_n(state.cells[index].bytes.begin(), kCellSize, payload.begin() + 1);
        else
            payload[0] = 0xDE; // there is no such cell
        answer = frameWith(0x31, payload);
        break;
    }
    default:
        return std::nullopt;
    }
    if (fault)
        spoil(*answer, *fault);
    return answer;
}

} // namespace luvir::sim

#include "Crc.h"

#include <array>

namespace luvir {

namespace {

constexpr std::uint8_t reverseBits(std::uint8_t b)
{
    std::uint8_t r = 0;
    for (int i = 0; i < 8; ++i)
        if (b & (1u << i))
            r |= static_cast<std::uint8_t>(0x80u >> i);
    return r;
}

constexpr std::uint16_t bitwiseUpdate(std::uint16_t crc, std::uint8_t value)
{
    crc = static_cast<std::uint16_t>(crc ^ (value << 8));
    for (int i = 0; i < 8; ++i)
        crc = (crc & 0x8000) ? static_cast<std::uint16_t>((crc << 1) ^ 0x1021)
                             : static_cast<std::uint16_t>(crc << 1);
    return crc;
}

// Whole-byte steps: a byte followed by the zero step equals two table look-ups,
// and the bit reversal is folded into the first table's index.
struct Tables {
    std::array<std::uint16_t, 256> step {}; // CrcUpdate from (hi << 8) with value 0
    std::array<std::uint8_t, 256> reversed {};
};

constexpr Tables makeTables()
{
    Tables t;
    for (int i = 0; i < 256; ++i) {
        t.step[i] = bitwiseUpdate(static_cast<std::uint16_t>(i << 8), 0);
        t.reversed[i] = reverseBits(static_cast<std::uint8_t>(i));
    }
    return t;
}

constexpr Tables kTables = makeTables();

inline std::uint16_t tableUpdate(std::uint16_t crc, std::uint8_t value)
{
    const std::uint8_t index = static_cast<std::uint8_t>((crc >> 8) ^ value);
    return static_cast<std::uint16_t>((crc << 8) ^ kTables.step[index]);
}

} // namespace

std::uint16_t CrcUpdate(std::uint16_t crc, std::uint8_t value)
{
    return bitwiseUpdate(crc, value);
}

std::uint16_t CrcBlock(std::uint16_t initial, const std::uint8_t *data, std::size_t length)
{
    std::uint16_t crc = initial;
    for (std::size_t i = 0; i < length; ++i) {
        crc = tableUpdate(crc, kTables.reversed[data[i]]);
        crc = tableUpdate(crc, 0);
    }
    return crc;
}

} // namespace luvir

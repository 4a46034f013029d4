#pragma once
// The 16-bit CRC that guards the meter's frames and the archive files.

#include <cstddef>
#include <cstdint>

namespace luvir {

// One MSB-first step of the CRC with polynomial 0x1021 over one byte.
std::uint16_t CrcUpdate(std::uint16_t crc, std::uint8_t value);

// The CRC of `length` bytes at `data`, continuing from `initial`. Every byte is
// bit-reversed and followed by a zero step; no final XOR. Feeding a block in pieces,
// each result passed on as the next initial value, gives the result of one pass.
std::uint16_t CrcBlock(std::uint16_t initial, const std::uint8_t *data, std::size_t length);

inline constexpr std::uint16_t kCrcInitial = 0xFFFF;

} // namespace luvir

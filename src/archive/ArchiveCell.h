#pragma once
// One measurement as the meter stores it: 42 bytes, little-endian fields.

#include <array>
#include <cstddef>
#include <cstdint>

namespace luvir {

inline constexpr std::size_t kCellSize = 42;
inline constexpr int kImpactCount = 15;
inline constexpr std::uint16_t MarkedValueBit = 0x8000;

// ArchiveCell: one measurement record, copied unchanged between the meter, memory and files.
struct ArchiveCell {
    std::array<std::uint8_t, kCellSize> bytes{};

    // Byte offsets of the fields.
    enum Offset : std::size_t {
        ImpactValues = 0, // 15 words
        Strength = 30,    // word, tenths of MPa
        Direction = 32,
        ElementKind = 33,
        Dependency = 34,
        Kc = 35, // hundredths
        Second = 36,
        Minute = 37,
        Hour = 38,
        Day = 39,
        Month = 40,
        Year = 41, // minus 2000
    };

    std::uint16_t word(std::size_t offset) const
    {
        return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
    }
    void setWord(std::size_t offset, std::uint16_t value)
    {
        bytes[offset] = static_cast<std::uint8_t>(value & 0xFF);
        bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
    }

    // Impact position j (0..14) is impact number j + 1.
    std::uint16_t impactWord(int j) const { return word(ImpactValues + 2 * static_cast<std::size_t>(j)); }
    std::uint16_t strengthWord() const { return word(Strength); }
    std::uint8_t byte(Offset field) const { return bytes[field]; }

    friend bool operator==(const ArchiveCell &, const ArchiveCell &) = default;
};

static_assert(sizeof(ArchiveCell) == kCellSize);

// The value in MPa of an intermediate word; 0 means "no value at this position".
constexpr bool isMarkedValue(std::uint16_t word) { return word > MarkedValueBit; }
constexpr double impactValue(std::uint16_t word)
{
    return (isMarkedValue(word) ? word - MarkedValueBit : word) / 10.0;
}

} // namespace luvir

#include "Crc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using luvir::CrcBlock;
using luvir::CrcUpdate;

namespace {

std::uint16_t crcOf(const std::vector<std::uint8_t> &bytes)
{
    return CrcBlock(0xFFFF, bytes.data(), bytes.size());
}

std::vector<std::uint8_t> ascii(const std::string &text)
{
    return {text.begin(), text.end()};
}

} // namespace

TEST(Crc, KnownResultsFromFFFF)
{
    const struct {
        std::vector<std::uint8_t> input;
        std::uint16_t crc;
    } cases[] = {
        {{}, 0xFFFF},
        {{0x30}, 0x5862},
        {{0x14}, 0x9240},
        {{0x31, 0x00, 0x00}, 0xD1D3},
        {{0x31, 0x05, 0x00}, 0x3BA5},
        {ascii("123456789"), 0x8350},
        {ascii("abc"), 0xA226},
    };
    for (const auto &c : cases)
        EXPECT_EQ(crcOf(c.input), c.crc) << "input of " << c.input.size() << " bytes";
}

TEST(Crc, SingleStepsOfTheWorkedExample)
{
    EXPECT_EQ(CrcUpdate(0xFFFF, 0x0C), 0x207C);
    EXPECT_EQ(CrcUpdate(0x207C, 0x00), 0x5862);
}

TEST(Crc, TableDrivenBlockMatchesTheBitwiseDefinition)
{
    auto reverse = [](std::uint8_t b) {
        std::uint8_t r = 0;
        for (int i = 0; i < 8; ++i)
            if (b & (1 << i))
                r = static_cast<std::uint8_t>(r | (0x80 >> i));
        return r;
    };
    std::vector<std::uint8_t> all(256);
    for (int i = 0; i < 256; ++i)
        all[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    std::uint16_t expected = 0xFFFF;
    for (std::uint8_t b : all)
        expected = CrcUpdate(CrcUpdate(expected, reverse(b)), 0);
    EXPECT_EQ(crcOf(all), expected);
}

TEST(Crc, PiecesGiveTheSameResultAsOnePass)
{
    const std::vector<std::uint8_t> data = ascii("The quick brown fox jumps over the lazy dog");
    for (std::size_t split = 0; split <= data.size(); ++split) {
        const std::uint16_t first = CrcBlock(0xFFFF, data.data(), split);
        EXPECT_EQ(CrcBlock(first, data.data() + split, data.size() - split), crcOf(data)) << split;
    }
}

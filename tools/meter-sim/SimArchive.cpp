// Realistic measurements for the simulated meter to serve.
#include "MeterSim.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>

namespace luvir::sim {

namespace {

void setWord(ArchiveCell &cell, std::size_t offset, std::uint16_t value)
{
    cell.bytes[offset] = static_cast<std::uint8_t>(value & 0xFF);
    cell.bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

} // namespace

std::vector<ArchiveCell> generatedCells(int count)
{
    using namespace std::chrono;
    std::mt19937 random(207);
    std::normal_distribution<double> scatter(0.0, 0.06);
    std::uniform_int_distribution<int> strength(100, 600); // 10.0 .. 60.0 MPa
    std::uniform_int_distribution<int> kc(80, 120);
    std::uniform_int_distribution<int> pause(2, 25); // minutes between measurements
    std::uniform_int_distribution<int> second(0, 59);
    std::bernoulli_distribution outlier(0.08);

    // A working day of measurements from 8:00 to 18:00, then the next morning.
    sys_seconds when = sys_days {year {2026} / March / 2} + hours {8} + minutes {12};

    std::vector<ArchiveCell> cells(static_cast<std::size_t>(std::max(count, 0)));
    for (std::size_t i = 0; i < cells.size(); ++i) {
        ArchiveCell &cell = cells[i];
        const int r = strength(random);
        for (int j = 0; j < kImpactCount; ++j) {
            double value = r * (1.0 + scatter(random));
            const bool marked = outlier(random); // an impact the meter left out of R
            if (marked)
                value *= (j % 2 ? 1.3 : 0.7);
            auto word = static_cast<std::uint16_t>(std::clamp(std::lround(value), 1L, 0x7FFFL));
            if (marked)
                word |= MarkedValueBit;
            setWord(cell, ArchiveCell::ImpactValues + 2 * static_cast<std::size_t>(j), word);
        }
        setWord(cell, ArchiveCell::Strength, static_cast<std::uint16_t>(r));
        // Strides prime to each table's size: every direction, kind and dependency occurs.
        cell.bytes[ArchiveCell::Direction] = static_cast<std::uint8_t>((i * 2) % 5);
        cell.bytes[ArchiveCell::ElementKind] = static_cast<std::uint8_t>((i * 5) % 12);
        cell.bytes[ArchiveCell::Dependency] = static_cast<std::uint8_t>((i * 3) % 10);
        cell.bytes[ArchiveCell::Kc] = static_cast<std::uint8_t>(kc(random));

        when = floor<minutes>(when) + minutes {pause(random)} + seconds {second(random)};
        const sys_days day = floor<days>(when);
        if (hh_mm_ss time {when - day}; time.hours().count() >= 18)
            when = day + days {1} + hours {8} + minutes {pause(random)};
        const sys_days today = floor<days>(when);
        const year_month_day date {today};
        const hh_mm_ss time {when - today};
        cell.bytes[ArchiveCell::Second] = static_cast<std::uint8_t>(time.seconds().count());
        cell.bytes[ArchiveCell::Minute] = static_cast<std::uint8_t>(time.minutes().count());
        cell.bytes[ArchiveCell::Hour] = static_cast<std::uint8_t>(time.hours().count());
        cell.bytes[ArchiveCell::Day] = static_cast<std::uint8_t>(static_cast<unsigned>(date.day()));
        cell.bytes[ArchiveCell::Month] = static_cast<std::uint8_t>(static_cast<unsigned>(date.month()));
        cell.bytes[ArchiveCell::Year] = static_cast<std::uint8_t>(static_cast<int>(date.year()) - 2000);
    }
    return cells;
}

} // namespace luvir::sim

#include "ChartContent.h"

#include "CellText.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace luvir {

namespace {

const QString kPointLabel = QStringLiteral(" ");
const QString kStrengthAxisTitle = QStringLiteral("R, МПа");

QString averageTitle(const QString &value)
{
    return QStringLiteral("Среднее (") + value + u')';
}

// A whole number of tenths with exactly one decimal.
QString tenthsText(std::uint64_t tenths, const QString &separator)
{
    return QString::number(tenths / 10) + separator + QString::number(tenths % 10);
}

} // namespace

ChartContent intermediateChartContent(const ArchiveCell &cell, int row, const QString &dateTimeText,
                                      const QString &separator)
{
    ChartContent content;
    content.caption = kIntermediateChartCaption;
    content.xAxisTitle = QStringLiteral("№ Удара");
    content.yAxisTitle = kStrengthAxisTitle;

    const double strength = cell.strengthWord() / 10.0;
    for (int j = 0; j < kImpactCount; ++j) {
        const std::uint16_t word = cell.impactWord(j);
        if (word == 0)
            continue;
        content.line.append({j + 1, strength, kLineColor, kPointLabel});
        content.bars.append({j + 1, impactValue(word),
                             isMarkedValue(word) ? kMarkedValueColor : kPlainValueColor, kPointLabel});
    }

    content.lineTitle = averageTitle(strengthFixedText(cell, separator));
    content.title = QStringLiteral("Промежуточные значения  Измерение №") + QString::number(row)
        + QStringLiteral(" Дата ") + dateTimeText;
    return content;
}

ChartContent measurementsChartContent(const MeasurementTable &table, const CellArchive &archive,
                                      const QString &separator)
{
    ChartContent content;
    content.caption = kMeasurementsChartCaption;
    content.title = kMeasurementsChartCaption;
    content.xAxisTitle = QStringLiteral("№ Измерения");
    content.yAxisTitle = kStrengthAxisTitle;

    const int rows = std::min({table.dataRowCount(), static_cast<int>(archive.Count),
                               static_cast<int>(CellArchive::Capacity)});
    std::uint64_t sumOfTenths = 0;
    for (int r = 1; r <= rows; ++r) {
        const std::uint16_t tenths = archive.Cells[static_cast<std::size_t>(r - 1)].strengthWord();
        sumOfTenths += tenths;
        content.bars.append({r, tenths / 10.0, kPlainValueColor, kPointLabel});
    }
    if (rows == 0)
        return content;

    // The mean in tenths, rounded half up, so the legend shows what the line's height rounds to.
    const auto count = static_cast<std::uint64_t>(rows);
    const std::uint64_t meanTenths = (2 * sumOfTenths + count) / (2 * count);
    const double mean = static_cast<double>(sumOfTenths) / static_cast<double>(count) / 10.0;
    for (const ChartPoint &bar : std::as_const(content.bars))
        content.line.append({bar.x, mean, kLineColor, kPointLabel});
    content.lineTitle = averageTitle(tenthsText(meanTenths, separator));
    return content;
}

} // namespace luvir

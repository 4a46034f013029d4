#include "ChartContent.h"

#include "CellText.h"

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

ChartContent measurementsChartContent(const QList<Measurement> &measurements, const QString &separator)
{
    ChartContent content;
    content.caption = kMeasurementsChartCaption;
    content.title = kMeasurementsChartCaption;
    content.xAxisTitle = QStringLiteral("№ Измерения");
    content.yAxisTitle = kStrengthAxisTitle;

    int position = 0;
    for (const Measurement &m : measurements)
        content.bars.append({++position, m.cell.strengthWord() / 10.0, kPlainValueColor, kPointLabel});
    const std::optional<double> mean = meanStrength(measurements);
    if (!mean)
        return content;

    for (const ChartPoint &bar : std::as_const(content.bars))
        content.line.append({bar.x, *mean, kLineColor, kPointLabel});
    // The legend shows what the line's height rounds to.
    const auto meanTenths = static_cast<std::uint64_t>(*meanStrengthTenths(measurements));
    content.lineTitle = averageTitle(tenthsText(meanTenths, separator));
    return content;
}

} // namespace luvir

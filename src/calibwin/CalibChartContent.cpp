#include "CalibChartContent.h"

#include <algorithm>
#include <cmath>

namespace luvir {

CalibChartContent calibChartContent(const CalibOutcome &outcome, const QString &separator)
{
    CalibChartContent content;
    const bool own = outcome.kind == DependencyKind::Own;
    // Short, so that the legend fits a chart a third of the window wide.
    content.keptName = own ? QStringLiteral("Участки") : QStringLiteral("Учтены");
    content.culledName = own ? QStringLiteral("Отбракованы") : QStringLiteral("Не учтены");
    if (!outcome.computed()) {
        for (const CalibSite &site : outcome.input)
            content.kept << QPointF(site.indirect, site.direct);
        return content;
    }
    double hMin = 0, hMax = 0;
    bool any = false;
    for (int i = 0; i < outcome.input.size(); ++i) {
        const CalibSite &site = outcome.input.at(i);
        const bool kept = own ? outcome.fit.cullRound.value(i) == 0
                              : outcome.factor.sites.value(i).standing == RatioStanding::Counted;
        (kept ? content.kept : content.culled) << QPointF(site.indirect, site.direct);
        if (kept) {
            hMin = any ? std::min(hMin, site.indirect) : site.indirect;
            hMax = any ? std::max(hMax, site.indirect) : site.indirect;
            any = true;
        }
    }
    if (own) {
        content.title = equationText(outcome.fit, separator);
        content.line = QLineF(outcome.fit.hMin, outcome.fit.strengthAt(outcome.fit.hMin), outcome.fit.hMax,
            outcome.fit.strengthAt(outcome.fit.hMax));
        content.lineName = QStringLiteral("Зависимость");
    } else if (outcome.factor.kc) {
        // Kc as the engineer types it into the meter: two decimals.
        const double kc = std::round(*outcome.factor.kc * 100) / 100;
        content.title = QStringLiteral("R = %1·H").arg(calibNumber(kc, 2, separator));
        content.line = QLineF(hMin, kc * hMin, hMax, kc * hMax);
        content.lineName = QStringLiteral("Kc = %1").arg(calibNumber(kc, 2, separator));
    }
    return content;
}

} // namespace luvir

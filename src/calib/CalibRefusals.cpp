#include "CalibRefusals.h"

namespace luvir {

CalibRefusal refuseNonPositive(const CalibSites &sites)
{
    for (qsizetype i = 0; i < sites.size(); ++i) {
        const CalibSite &site = sites.at(i);
        if (!(site.direct > 0))
            return {QStringLiteral("Участок %1: прочность по прямому методу должна быть больше 0")
                        .arg(calibSiteName(sites, i)),
                i};
        if (!(site.indirect > 0))
            return {QStringLiteral("Участок %1: косвенное значение H должно быть больше 0")
                        .arg(calibSiteName(sites, i)),
                i};
    }
    return {};
}

} // namespace luvir

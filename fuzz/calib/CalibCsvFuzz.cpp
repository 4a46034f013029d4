// Any bytes given as a calibration file: no crash, no read outside the input; a refusal
// names its reason and line; sites read are written back and read again to the same
// numbers; the figures of what is read keep their bounds, whatever the values.
#include "CalibCsv.h"
#include "CalibText.h"

#include <QByteArray>

#include <cmath>
#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const luvir::CalibCsv csv = luvir::readCalibCsv(bytes);
    if (!csv.ok()) {
        require(csv.sites.isEmpty());
        return 0;
    }
    require(csv.lines.size() == csv.sites.size());

    const luvir::CalibCsv again = luvir::readCalibCsv(luvir::writeCalibCsv(csv.sites, QStringLiteral(",")));
    require(again.ok() && again.sites.size() == csv.sites.size());
    for (qsizetype i = 0; i < csv.sites.size(); ++i)
        require(again.sites.at(i).indirect == csv.sites.at(i).indirect
            && again.sites.at(i).direct == csv.sites.at(i).direct);

    const luvir::OwnDependency fit = luvir::ownDependency(csv.sites);
    if (fit.refusal.refused()) {
        require(fit.refusal.site < csv.sites.size());
    } else {
        require(fit.sitesKept >= luvir::kFitLeastSites && fit.sitesKept <= fit.sitesBefore);
        require(fit.r >= 0 && fit.r <= 1);
        require(fit.hMin <= fit.hMax);
        require(!(fit.s < 0));
        require(fit.accepted() == fit.failures.isEmpty());
        luvir::ownDependencyLines(csv.sites, fit, QStringLiteral(","));
    }

    const luvir::CoincidenceFactor kc = luvir::coincidenceFactor(csv.sites);
    if (!kc.refusal.refused()) {
        require(kc.sites.size() == csv.sites.size());
        if (kc.kc)
            require(kc.counted >= luvir::kKcLeastSites && *kc.kc >= luvir::kKcRatioLow - 1e-12
                && *kc.kc <= luvir::kKcRatioHigh + 1e-12);
        else
            require(kc.moreTestsNeeded() > 0);
        luvir::coincidenceFactorLines(csv.sites, kc, QStringLiteral("."));
    }
    return 0;
}

#pragma once
// One site of a calibration set: where the meter's indirect value and a direct test's
// strength were both obtained.

#include <QDate>
#include <QList>
#include <QString>

namespace luvir {

struct CalibSite {
    QString label; // the site's name as the engineer knows it
    double indirect = 0; // H: the meter's strength before its Kc, MPa
    double direct = 0; // the strength the direct method gave, MPa
    QDate date; // of the direct test; null when not known
};

using CalibSites = QList<CalibSite>;

// "«7»", or "№ 7" (its place, from 1) for a site without a label.
inline QString calibSiteName(const CalibSites &sites, qsizetype index)
{
    const QString &label = sites.at(index).label;
    return label.isEmpty() ? QStringLiteral("№ %1").arg(index + 1) : QStringLiteral("«%1»").arg(label);
}

// Why a set cannot be computed at all, and which site is at fault (-1: the set as a whole).
struct CalibRefusal {
    QString message; // Russian, naming the cause; empty when nothing is refused
    qsizetype site = -1;

    bool refused() const { return !message.isEmpty(); }
};

} // namespace luvir

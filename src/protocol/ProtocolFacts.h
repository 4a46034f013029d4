#pragma once
// What the program itself puts into a protocol, worked out from the measurements: the
// dates of testing, each structure's age at testing, the calibrations used, and per
// structure the table of its sites, its statistics and the note on mixed calibrations.
// The texts are those of the main table and of the statistics window.

#include "ProtocolContent.h"
#include "SeriesGroups.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace luvir {

// "№ п/п", "Участок", "Дата и время", "Направление", "Зависимость", "Kc", "R, МПа"; R with
// one decimal ("58,0"), as the figures line writes every strength.
extern const QStringList ProtocolSiteColumns;
// The column a structure with an applied calibration gains after "R, МПа": its strength by
// it, in brackets when H lies outside the dependency's range.
extern const QString ProtocolDependencyColumn;
// The columns of a dependency's sites in the section «Градуировочная зависимость».
extern const QStringList ProtocolDependencySiteColumns;

// "с единичными значениями": each site's intermediate values, on a line of their own under the
// site's row, "№ 5 — единичные значения, МПа: 25,0; 26,1; …".
QString valuesLine(const QString &number, const QString &values);

// The span of days the measurements were taken on; cells without a valid date are left out.
struct TestingDays {
    std::optional<QDate> first;
    std::optional<QDate> last;
    void add(const QDate &day);
    // "05.03.2026" for one day, "05.03.2026 – 12.03.2026" for several, empty for none.
    QString text() const;
};

struct StructureFacts {
    QList<QStringList> siteRows; // one row per site, the columns of ProtocolSiteColumns
                                 // (and its intermediate values after them when asked)
    SeriesGroup group; // the structure's figures, as the statistics window has them
    TestingDays days;
    QString ageText; // days from concreting to testing: "28" or "28–30"; empty if unknown;
                     // "—" when the concreting date lies after the first test
    QString ageNote; // "Примечание: дата бетонирования … позже …"; empty unless the age is "—"
    QString statisticsLine; // "n = 30; Rmin = 20,1 МПа; … Vm = 11,7 %", strengths with one decimal
    QString mixedNote; // "Примечание: смешаны …"; empty unless the structure mixes
    // With an applied calibration: the site rows gain ProtocolDependencyColumn (before the
    // intermediate values), the group's figures and the statistics line are those by it, and
    // these lines name it and say whether the conditions of its use are met.
    bool byDependency = false;
    QStringList dependencyLines;
};

// One calibration of the section «Градуировочная зависимость»: the structures it was
// applied to, its description and its sites (№, label, H, R_direct, counted or culled).
struct DependencyFacts {
    AppliedDependency dependency;
    QStringList structures;
    QStringList lines;
    QList<QStringList> siteRows;
};

struct ProtocolFacts {
    TestingDays days; // over every structure
    QStringList calibrations; // "БАЗОВАЯ, Kc = 1,00", each pair once, in order of first use
    QList<StructureFacts> structures; // one per structure of the content, in its order
    QList<DependencyFacts> dependencies; // each applied calibration once, in order of first use
};

// The day a cell was measured on; none for a cell whose date is not a calendar day.
std::optional<QDate> measurementDay(const ArchiveCell &cell);

ProtocolFacts protocolFacts(const ProtocolContent &content, const QString &separator);

} // namespace luvir

#pragma once
// The measurement report: its template, the settings the print command makes before each
// run, and the values it hands the engine from the measurement table.

#include "MeasurementTable.h"
#include "PreparedReport.h"
#include "ReportEngine.h"
#include "ReportTemplate.h"
#include "UserDataSet.h"

#include <QDateTime>
#include <QLocale>
#include <QVariant>

namespace luvir {

// The model name printed in the title.
inline const QString kReportModelName = QStringLiteral("ЛЮВИР-2.07");

// The template: Page1 (A4 portrait, 10 mm margins), ReportTitle1 with Memo1 and Memo9,
// MasterData1 over "StringDS" with Memo2 .. Memo8 ("[Cell1]" .. "[Cell7]"), PageFooter1.
ReportTemplate measurementReportTemplate();

// The fonts the template asks for: Arial, else the metric-compatible Liberation Sans,
// else DejaVu Sans, which also draws every direction arrow.
QFont reportFont(int pixelSize, bool bold = false);

// The date and time of the title: the short date, a blank and the long time of `locale`
// (without a time-zone name); only the date at exactly midnight.
QString reportDateTimeText(const QDateTime &moment, const QLocale &locale = QLocale::system());

// The measurement report component: the template, the data set and the value callback.
class MeasurementReport
{
public:
    MeasurementReport();

    // The print command's settings: Memo1 := the model name, Memo9 := the date and time
    // of `now`, StringDS's range := the table's row count, header row included.
    // The table must outlive every later prepare() and frxReport1GetValue().
    void setUp(
        const MeasurementTable &table, const QDateTime &now, const QLocale &locale = QLocale::system());

    PreparedReport prepare();

    // "Cell1" .. "Cell7" (letters A-Z in any case) get the text of column k - 1 in the
    // table row StringDS is on (row 0, the header, for record 0); other names leave
    // `Value` untouched.
    void frxReport1GetValue(const QString &VarName, QVariant &Value) const;

    ReportTemplate frxReport1; // the report's template
    UserDataSet StringDS {QStringLiteral("StringDS")}; // the data set the rows are printed over

private:
    const MeasurementTable *m_table = nullptr;
};

// setUp and prepare in one, for callers without a window.
PreparedReport prepareMeasurementReport(
    const MeasurementTable &table, const QDateTime &now, const QLocale &locale = QLocale::system());

// The report set up as setUp does, laid out for any page asked for; the table must outlive
// it. The template's own page is measurementReportTemplate().pageLayout().
ReportLayout measurementReportLayout(
    const MeasurementTable &table, const QDateTime &now, const QLocale &locale = QLocale::system());

} // namespace luvir

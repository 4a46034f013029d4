#include "ReportTestData.h"

#include "TestData.h"

namespace luvir::test {

MeasurementTable sampleTable(int rows)
{
    return buildMeasurementTable(sampleArchive(rows), QStringLiteral(","));
}

MeasurementTable tableOf(const QList<QStringList> &rows)
{
    MeasurementTable table;
    table.rows.append(MeasurementTableHeader);
    table.rows.append(rows);
    return table;
}

} // namespace luvir::test

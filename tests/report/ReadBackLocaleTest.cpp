// Numbers written with a decimal point while the C library of this process runs under a
// comma-decimal locale, as the application object sets it from the environment.
#include "CNumericLocale.h"
#include "MeasurementReport.h"
#include "MeasurementTable.h"
#include "ReadBackSupport.h"
#include "XlsxExporter.h"

#include <clocale>
#include <cstdio>
#include <string>

using namespace luvir;
using namespace luvir::test;

namespace {

// The C library of this process under a locale, as the application object sets it from
// the environment; the earlier locale comes back at the end.
class ProcessLocale
{
public:
    explicit ProcessLocale(const char *name)
        : m_previous(std::setlocale(LC_ALL, nullptr))
        , m_set(std::setlocale(LC_ALL, name) != nullptr)
    {
    }
    ~ProcessLocale() { std::setlocale(LC_ALL, m_previous.c_str()); }
    bool isSet() const { return m_set; }

private:
    std::string m_previous;
    bool m_set;
};

QString printed(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return QString::fromLatin1(text);
}

TEST(CNumericLocaleTest, PointInsideCommaOutside)
{
    const ProcessLocale russian("ru_RU.UTF-8");
    if (!russian.isSet())
        GTEST_SKIP() << "the locale ru_RU.UTF-8 is not installed";
    ASSERT_EQ(printed(0.5), "0,5");
    {
        const CNumericLocale point;
        EXPECT_EQ(printed(0.5), "0.5");
        {
            const CNumericLocale nested;
            EXPECT_EQ(printed(2.25), "2.25");
        }
        EXPECT_EQ(printed(0.5), "0.5");
    }
    EXPECT_EQ(printed(0.5), "0,5");
}

// The preview exports in the program's own process, whose C library runs under the
// user's locale.
TEST_F(ReadBack, SpreadsheetFromACommaDecimalProcess)
{
    const ProcessLocale russian("ru_RU.UTF-8");
    if (!russian.isSet())
        GTEST_SKIP() << "the locale ru_RU.UTF-8 is not installed";
    QList<QStringList> rows;
    for (int r = 0; r < kHandMade.Count; ++r)
        rows << kHandMadeTexts.at(r);
    MeasurementTable table;
    table.rows = QList<QStringList> {kColumnTitles} + rows;
    XlsxExporter exporter;
    ASSERT_TRUE(exporter.save(prepareMeasurementReport(table, QDateTime(QDate(2026, 12, 10), QTime(14, 5, 9)),
                                  QLocale(QLocale::Russian)),
        path("preview.xlsx")))
        << exporter.errorString().toStdString();
    const QJsonArray sheet = readBack("xlsx", path("preview.xlsx"));
    ASSERT_EQ(sheet.size(), 2 + kHandMade.Count);
    expectTitleAndColumnTitles(sheet);
    for (int r = 0; r < kHandMade.Count; ++r)
        expectRow(sheet.at(2 + r).toArray(), kHandMadeSheetRows.at(r), QStringLiteral("row %1").arg(r + 1));
}

} // namespace

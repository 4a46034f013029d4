#include "SpreadsheetNumber.h"

#include <gtest/gtest.h>

using namespace luvir;

TEST(SpreadsheetNumber, TextsThatAreNumbersAndTextsThatStayTexts)
{
    const struct {
        QString text;
        bool number;
        double value;
        const char *format;
    } cases[] = {
        {"0", true, 0, "0"},
        {"999", true, 999, "0"},
        {"25,3", true, 25.3, "0.0"},
        {"25.3", true, 25.3, "0.0"},
        {"0,5", true, 0.5, "0.0"},
        {"6553,5", true, 6553.5, "0.0"},
        {"0,00", true, 0, "0.00"},
        {"1,05", true, 1.05, "0.00"},
        {"2.55", true, 2.55, "0.00"},
        {QStringLiteral("12\u066B25"), true, 12.25, "0.00"},
        {"123456789012345", true, 123456789012345.0, "0"},
        {"1234567890,12345", true, 1234567890.12345, "0.00000"},
        {"1234567890123456", false, 0, ""}, // 16 digits
        {"", false, 0, ""},
        {"№", false, 0, ""},
        {"Kc", false, 0, ""},
        {"07", false, 0, ""}, // shown as 7
        {"00,5", false, 0, ""},
        {"-1", false, 0, ""},
        {"+1", false, 0, ""},
        {"1,", false, 0, ""},
        {",5", false, 0, ""},
        {"1,2,3", false, 0, ""},
        {"1:30", false, 0, ""},
        {"1-5", false, 0, ""},
        {"1 000", false, 0, ""},
        {" 1", false, 0, ""},
        {"1e5", false, 0, ""},
        {QStringLiteral("\u0661"), false, 0, ""}, // an Arabic-Indic digit
        {"03.12.2013 14:05:09", false, 0, ""},
    };
    for (const auto &c : cases) {
        const std::optional<SpreadsheetNumber> number = spreadsheetNumber(c.text);
        ASSERT_EQ(number.has_value(), c.number) << c.text.toStdString();
        if (!number)
            continue;
        EXPECT_EQ(number->value, c.value) << c.text.toStdString();
        EXPECT_EQ(number->numberFormat, QByteArray(c.format)) << c.text.toStdString();
    }
}

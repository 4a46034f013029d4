// The CSV of a calibration set: what a spreadsheet saves (a decimal comma or point, a byte
// order mark, CR LF, fields in quotes) is read; a wrong line is refused with its number.
#include "CalibCsv.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace luvir;

namespace {

TEST(CalibCsv, ReadsWhatSpreadsheetsWrite)
{
    struct Case {
        const char *name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"decimal point", "Участок;H;R\n1;24.3;25.1\n\"ось 3; низ\";22;21.4\n"},
        {"decimal comma", "Участок;H;R\n1;24,3;25,1\n\"ось 3; низ\";22;21,4\n"},
        {"byte order mark, CR LF, no last line end",
            "\xEF\xBB\xBFУчасток;H;R\r\n1;24,3;25,1\r\n\"ось 3; низ\";22,0;21,4"},
        {"blank lines, spaces, empty trailing fields",
            "Участок;H;R;;\n\n 1 ; 24,3 ;25,1;\n\n\"ось 3; низ\";22;21,4;;\n\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const CalibCsv csv = readCalibCsv(c.bytes);
        ASSERT_TRUE(csv.ok()) << csv.error.toStdString();
        ASSERT_EQ(csv.sites.size(), 2);
        EXPECT_EQ(csv.sites.at(0).label, QStringLiteral("1"));
        EXPECT_EQ(csv.sites.at(0).indirect, 24.3);
        EXPECT_EQ(csv.sites.at(0).direct, 25.1);
        EXPECT_EQ(csv.sites.at(1).label, QStringLiteral("ось 3; низ"));
        EXPECT_EQ(csv.sites.at(1).indirect, 22.0);
        EXPECT_EQ(csv.sites.at(1).direct, 21.4);
    }
    const CalibCsv blankLines = readCalibCsv(cases[3].bytes);
    EXPECT_EQ(blankLines.lines, (QList<int> {3, 5}));
}

TEST(CalibCsv, RefusesAWrongLineWithItsNumber)
{
    struct Case {
        QByteArray bytes;
        int line;
        QString error;
    };
    const Case cases[] = {
        {"Участок;H;R\n1;24,3;25,1\n\n2;2O,5;21,4\n", 4, "косвенное значение «2O,5» не число"},
        {"Участок;H;R\n1;24,3;25,1\n2;24,3;\n", 3, "прочность «» не число"},
        {"Участок;H;R\n1;1.234,5;25,1\n", 2, "косвенное значение «1.234,5» не число"},
        {"Участок;H;R\n1;24,3;nan\n", 2, "прочность «nan» не число"},
        {"Участок;H;R\n1;inf;25\n", 2, "косвенное значение «inf» не число"},
        {"Участок;H;R\n1;24,3;1,5e300\n", 2, "значение «1,5e300» вне пределов ±1000 МПа"},
        {"Участок;H;R\n1;-1000,1;25\n", 2, "значение «-1000,1» вне пределов ±1000 МПа"},
        {"Участок;H;R\n1;24,3\n", 2, "нужно 3 поля «участок;H;R», а их 2"},
        {"Участок;H;R\n1;24,3;25,1;7\n", 2, "нужно 3 поля «участок;H;R», а их 4"},
        {"Участок;H;R\n\"1;24,3;25,1\n", 2, "кавычка не закрыта"},
        {"1;24,3;25,1\n2;26,8;27,9\n", 1, "первая строка должна быть заголовком, а в ней числа"},
        {"\xEF\xBB\xBF\n\n", 0, "файл пуст: нет даже заголовка"},
        {"Участок;H;R\n1;24,3;25,1\n\xFF;1;2\n", 0, "файл не в кодировке UTF-8"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        const CalibCsv csv = readCalibCsv(c.bytes);
        EXPECT_EQ(csv.error, c.error);
        EXPECT_EQ(csv.errorLine, c.line);
        EXPECT_TRUE(csv.sites.isEmpty());
    }
    // A header alone is a set without sites, not a refusal.
    const CalibCsv headerOnly = readCalibCsv("Участок;H;R\n");
    EXPECT_TRUE(headerOnly.ok());
    EXPECT_TRUE(headerOnly.sites.isEmpty());
}

TEST(CalibCsv, WritesTheShapeItReads)
{
    const CalibSites sites = {
        {QStringLiteral("1"), 24.3, 25.1, {}}, {QStringLiteral("ось \"3\"; низ\nслева"), 22.0 / 3, 21.4, {}}};
    const QByteArray bytes = writeCalibCsv(sites, QStringLiteral(","));
    EXPECT_EQ(bytes,
        QByteArray("\xEF\xBB\xBFУчасток;H, МПа;R прямой, МПа\r\n1;24,3;25,1\r\n"
                   "\"ось \"\"3\"\"; низ слева\";7,333333333333333;21,4\r\n"));
    const CalibCsv back = readCalibCsv(bytes);
    ASSERT_TRUE(back.ok()) << back.error.toStdString();
    ASSERT_EQ(back.sites.size(), 2);
    EXPECT_EQ(back.sites.at(1).label, QStringLiteral("ось \"3\"; низ слева"));
    EXPECT_EQ(back.sites.at(1).indirect, 22.0 / 3); // the shortest exact form reads back bit for bit
    EXPECT_EQ(writeCalibCsv(sites, QStringLiteral(".")).count("7.333333333333333"), 1);
}

} // namespace

// The natural order of names and site labels, and site labels filled down in steps: tables
// of cases written out by hand. Run under both locales by ctest: neither may depend on it.
#include "NaturalOrder.h"
#include "SiteSeries.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>

using namespace luvir;

TEST(NaturalOrder, NumbersCompareAsNumbersAndTextLetterByLetter)
{
    struct Case {
        const char *before;
        const char *after;
    };
    const Case cases[] = {
        {"2", "2а"}, // the shorter first
        {"2а", "2б"},
        {"2б", "10"}, // 2 < 10 before the letters count
        {"9", "10"},
        {"С-2", "С-10"},
        {"С-10", "С-100"},
        {"С-100", "С-110"},
        {"К-3", "П-1"}, // letters first, whatever the numbers
        {"", "1"},
        {"1", "а"}, // a number before a letter
        {"Дом 5", "дом 7"}, // without regard to case
        {"Плита", "плита 2"},
        {"12345678901234567890", "12345678901234567891"}, // beyond any integer type
        {"007", "8"}, // leading zeros do not make a number larger
        {"Колонна К-3, ось 5/Б", "Колонна К-3, ось 12/А"},
    };
    for (const Case &c : cases) {
        const QString a = QString::fromUtf8(c.before);
        const QString b = QString::fromUtf8(c.after);
        EXPECT_LT(naturalCompare(a, b), 0) << c.before << " | " << c.after;
        EXPECT_GT(naturalCompare(b, a), 0) << c.after << " | " << c.before;
    }
    EXPECT_EQ(naturalCompare("С-2", "С-2"), 0);
    // Equal but for case or zeros: still a fixed order, never "equal".
    EXPECT_NE(naturalCompare("a", "A"), 0);
    EXPECT_NE(naturalCompare("02", "2"), 0);

    QStringList tree = {"С-110", "С-10", "С-2", "С-100", "С-1"};
    std::sort(tree.begin(), tree.end(), naturalLess);
    EXPECT_EQ(tree, (QStringList {"С-1", "С-2", "С-10", "С-100", "С-110"}));
    QStringList sites = {"10", "2а", "1", "2", "2б", ""};
    std::sort(sites.begin(), sites.end(), naturalLess);
    EXPECT_EQ(sites, (QStringList {"", "1", "2", "2а", "2б", "10"}));
}

TEST(SiteSeries, CountsOnTheLastNumberOrLetter)
{
    struct Case {
        const char *first;
        int count;
        QStringList expected;
    };
    const Case cases[] = {
        {"1", 3, {"1", "2", "3"}},
        {"9", 3, {"9", "10", "11"}},
        {"2а", 4, {"2а", "2б", "2в", "2г"}},
        {"ди", 3, {"ди", "дк", "дл"}}, // й left out
        {"У-7", 3, {"У-7", "У-8", "У-9"}},
        {"А", 2, {"А", "Б"}},
        {"1a", 3, {"1a", "1b", "1c"}},
        {"09", 2, {"09", "10"}},
        {"99", 2, {"99", "100"}},
        {"3щ", 3, {"3щ", "3э", "3ю"}}, // ъ ы ь left out
        {"5я", 2, {"5я", "5я"}}, // nothing after я: repeats
        {"(1)", 2, {"(1)", "(1)"}},
        {"", 2, {"", ""}},
        {"7", 0, {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(siteSeries(QString::fromUtf8(c.first), c.count), c.expected) << c.first;
}

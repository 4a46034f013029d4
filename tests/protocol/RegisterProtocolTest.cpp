// The protocol made from the register: its structures and sites as the register holds
// them, the header fields kept for the next protocol, the refusals; and the header fields
// read from "key=value" lines.
#include "ProtocolFields.h"
#include "ProtocolTestData.h"
#include "RegisterProtocol.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace luvir;
using namespace luvir::test;

namespace {

class RegisterProtocol : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(reg.open(dir.filePath("register.sqlite")), Register::OpenStatus::Ok);
        filled = fillRegister(reg);
    }

    QTemporaryDir dir;
    Register reg;
    FilledRegister filled;
    const QDate today {2026, 3, 10};
};

TEST_F(RegisterProtocol, HoldsTheStructuresSitesAndTheKeptFields)
{
    QString error;
    const auto content = protocolFromRegister(reg, filled.structures, today, error);
    ASSERT_TRUE(content) << qPrintable(error);
    ASSERT_EQ(content->structures.size(), 2);
    for (int s = 0; s < 2; ++s) {
        const ProtocolStructure &made = content->structures.at(s);
        const ProtocolStructure &expected = filled.expected.at(s);
        SCOPED_TRACE(expected.name.toStdString());
        EXPECT_EQ(made.name, expected.name);
        EXPECT_EQ(made.designClass, expected.designClass);
        EXPECT_EQ(made.concreted, expected.concreted);
        ASSERT_EQ(made.sites.size(), expected.sites.size());
        for (qsizetype i = 0; i < made.sites.size(); ++i) {
            EXPECT_EQ(made.sites.at(i).label, expected.sites.at(i).label) << i;
            EXPECT_EQ(made.sites.at(i).cell.bytes, expected.sites.at(i).cell.bytes) << i;
        }
    }
    // The column's kind is the structure's own; the slab has none and takes its measurements'.
    EXPECT_EQ(content->structures.at(0).elementKind, "колонна");
    EXPECT_EQ(content->structures.at(1).elementKind, "плита");

    ProtocolHeader expected = plainHeader();
    expected.number = "17/26";
    expected.date = today;
    expected.conditions.clear(); // typed for each protocol
    expected.conclusion.clear();
    for (const QString &key : protocolFieldKeys())
        EXPECT_EQ(protocolField(content->header, key), protocolField(expected, key)) << qPrintable(key);
}

TEST_F(RegisterProtocol, TypedFieldsAreKeptForTheNextProtocol)
{
    QString error;
    ProtocolHeader typed = protocolFromRegister(reg, filled.structures, today, error)->header;
    typed.laboratoryName = "ИЛ «Бетон»\nотдел 2";
    typed.customer = "ООО \"Заказчик\"";
    typed.objectAddress = "ул. Новая, 1";
    typed.verificationNumber = "С-9";
    typed.standards = QStringList {"ГОСТ 22690-2015"};
    typed.conditions = "t = +3 °C";
    ASSERT_TRUE(keepProtocolFields(reg, filled.objectId, typed, error)) << qPrintable(error);

    reg.close();
    ASSERT_EQ(reg.open(dir.filePath("register.sqlite")), Register::OpenStatus::Ok);
    const ProtocolHeader next = protocolFromRegister(reg, {filled.structures.at(1)}, today.addDays(1), error)->header;
    EXPECT_EQ(next.number, "18/26");
    EXPECT_EQ(next.date, today.addDays(1));
    EXPECT_EQ(next.laboratoryName, typed.laboratoryName);
    EXPECT_EQ(next.customer, typed.customer);
    EXPECT_EQ(next.objectAddress, typed.objectAddress);
    EXPECT_EQ(next.verificationNumber, "С-9");
    EXPECT_EQ(next.standards, typed.standards);
    EXPECT_TRUE(next.conditions.isEmpty());
    EXPECT_EQ(reg.objects().first().customer, typed.customer);
    // "с единичными значениями" is kept by the window's call with the protocol's content, and
    // the command line's call with the header alone leaves it as it was.
    EXPECT_FALSE(protocolFromRegister(reg, filled.structures, today, error)->withValues);
    ProtocolContent withValues = *protocolFromRegister(reg, filled.structures, today, error);
    withValues.withValues = true;
    ASSERT_TRUE(keepProtocolFields(reg, filled.objectId, withValues, error)) << qPrintable(error);
    ASSERT_TRUE(keepProtocolFields(reg, filled.objectId, withValues.header, error)) << qPrintable(error);
    EXPECT_TRUE(protocolFromRegister(reg, filled.structures, today, error)->withValues);
    // Another meter's verification is its own.
    EXPECT_TRUE(reg.protocolFields(Register::instrumentScope("0816")).isEmpty());
}

// The series of numbers: kept "16/26"; a protocol numbered by hand in another form is its
// own and the series goes on; the first protocol of a new year starts at 1 with its digits.
TEST_F(RegisterProtocol, TheSeriesGoesOnPastAHandTypedNumberAndStartsAgainEachYear)
{
    const auto offered = [&](const QDate &date) {
        QString error;
        const auto content = protocolFromRegister(reg, filled.structures, date, error);
        EXPECT_TRUE(content) << qPrintable(error);
        return content ? content->header : ProtocolHeader {};
    };
    const auto keep = [&](ProtocolHeader header, const QString &number) {
        header.number = number;
        QString error;
        EXPECT_TRUE(keepProtocolFields(reg, filled.objectId, header, error)) << qPrintable(error);
    };
    ProtocolHeader header = offered(today);
    EXPECT_EQ(header.number, "17/26");
    keep(header, "17/26");
    keep(offered(today), "1/26-К"); // by hand, in another form
    EXPECT_EQ(offered(today).number, "18/26");
    keep(offered(today), ""); // left to be written in by hand
    EXPECT_EQ(offered(today).number, "18/26");
    keep(offered(today), "18/26");
    EXPECT_EQ(offered(QDate(2026, 12, 31)).number, "19/26");
    EXPECT_EQ(offered(QDate(2027, 1, 2)).number, "1/27");
    keep(offered(QDate(2027, 1, 2)), "1/27");
    EXPECT_EQ(offered(QDate(2027, 1, 3)).number, "2/27");
    EXPECT_EQ(reg.protocolFields().value("number"), "1/27");
}

TEST_F(RegisterProtocol, IsRefusedForNoneUnknownOrSeveralObjectsStructures)
{
    const struct {
        const char *name;
        QList<RegisterId> ids;
        QString error;
    } cases[] = {
        {"none", {}, "не выбрано ни одной конструкции"},
        {"unknown", {filled.structures.at(0), 9999}, "нет такой конструкции"},
        {"two objects", {filled.structures.at(0), filled.elsewhere}, "конструкции относятся к разным объектам"},
    };
    for (const auto &c : cases) {
        QString error;
        EXPECT_FALSE(protocolFromRegister(reg, c.ids, today, error)) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
    }
    EXPECT_EQ(objectOfStructures(reg, {filled.structures.at(0), filled.elsewhere}), 0);
    EXPECT_EQ(objectOfStructures(reg, filled.structures), filled.objectId);
}

TEST(ProtocolFields, KeyValueLinesFillTheHeader)
{
    ProtocolHeader header;
    QString error;
    ASSERT_TRUE(readProtocolFields(header,
        "# поля протокола\r\n"
        "number = 5/26\r\n"
        "\n"
        "laboratory=ИЛ \"Бетон\"\\nотдел 2\n"
        "date=11.03.2026\n"
        "verification_date=2026-02-01\n"
        "standards=ГОСТ 22690-2015; СП 63.13330\n"
        "conclusion=C:\\\\data\\x = a=b\n",
        error))
        << qPrintable(error);
    EXPECT_EQ(header.number, "5/26");
    EXPECT_EQ(header.laboratoryName, "ИЛ \"Бетон\"\nотдел 2");
    EXPECT_EQ(header.date, QDate(2026, 3, 11));
    EXPECT_EQ(header.verificationDate, QDate(2026, 2, 1));
    EXPECT_EQ(header.standards, (QStringList {"ГОСТ 22690-2015", "СП 63.13330"}));
    EXPECT_EQ(header.conclusion, "C:\\data\\x = a=b");

    const struct {
        const char *text;
        QString error;
    } refusals[] = {
        {"number=1\ncolour=red\n", "строка 2: неизвестное поле \"colour\""},
        {"\n\ndate=31.02.2026", "строка 3: \"31.02.2026\" не является датой ДД.ММ.ГГГГ"},
        {"number 12", "строка 1: нет знака \"=\""},
    };
    for (const auto &r : refusals) {
        EXPECT_FALSE(readProtocolFields(header, r.text, error)) << r.text;
        EXPECT_EQ(error, r.error);
    }
}

TEST(ProtocolFields, TheNextNumberCountsUpTheFirstRunOfDigits)
{
    const struct {
        QString last, next;
    } cases[] = {{"", ""}, {"12", "13"}, {"12/2026", "13/2026"}, {"П-007", "П-008"}, {"П-099", "П-100"},
        {"без номера", "без номера"}, {"99999999999999999999999", "99999999999999999999999"}};
    for (const auto &c : cases)
        EXPECT_EQ(nextProtocolNumber(c.last), c.next) << qPrintable(c.last);
}

// The year's series: N/YY (or N/YYYY) of an earlier year than the protocol's date starts
// again at 1; the date's own year, a later one or another form count up as ever.
TEST(ProtocolFields, TheNextNumberStartsAgainInANewYear)
{
    const struct {
        QString last;
        QDate date;
        QString next;
    } cases[] = {
        {"57/26", QDate(2026, 12, 31), "58/26"}, {"57/26", QDate(2027, 1, 1), "1/27"},
        {"57/26", QDate(2030, 6, 1), "1/30"},    {"9/2026", QDate(2027, 1, 1), "1/2027"},
        {"57/27", QDate(2026, 12, 1), "58/27"},  {"57/26-К", QDate(2027, 1, 1), "58/26-К"},
        {"П-007", QDate(2027, 1, 1), "П-008"},   {"", QDate(2026, 3, 10), "1/26"},
        {"", QDate(2109, 3, 10), "1/09"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(nextProtocolNumber(c.last, c.date), c.next) << qPrintable(c.last) << " " << qPrintable(c.date.toString());

    const struct {
        QString series, number;
        bool continues;
    } series[] = {{"4/26", "5/26", true}, {"57/26", "1/27", true}, {"4/26", "1/26-К", false}, {"4/26", "", false},
                  {"П-007", "П-012", true}, {"", "1/26-К", true}, {"4/26", "4/2026", true}};
    for (const auto &c : series)
        EXPECT_EQ(continuesSeries(c.series, c.number), c.continues) << qPrintable(c.series + " " + c.number);
}

} // namespace

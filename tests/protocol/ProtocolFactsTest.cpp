// What the program works out for a protocol: the site rows, dates, ages, calibrations,
// statistics and the note on mixed calibrations, checked against hand-worked texts.
#include "ProtocolDocument.h"
#include "ProtocolFacts.h"
#include "ProtocolTestData.h"
#include "TestData.h"

#include <gtest/gtest.h>

using namespace luvir;
using namespace luvir::test;

namespace {

// Worked by hand: 25.3, 30.1 and 28.7 MPa; Rm = 84.1 / 3 = 28.03; Σ(R − Rm)² = 12.187,
// Sm = √(12.187 / 2) = 2.47; Vm = 2.47 / 28.03 = 8.8 %. Concreted 15.01.2026, measured on
// 05.03.2026 (49 days later) and 07.03.2026 (51 days).
TEST(ProtocolFacts, MixedStructureHandWorked)
{
    ProtocolContent content;
    content.structures << mixedStructure();
    content.withValues = true;
    const ProtocolFacts facts = protocolFacts(content, ",");
    ASSERT_EQ(facts.structures.size(), 1);
    const StructureFacts &s = facts.structures.first();
    const QList<QStringList> rows = {
        {"1", "1", "05.03.2026 09:30:07", "→", "БАЗОВАЯ", "1,00", "25,3", "25,0; 25,1; 25,5"},
        {"2", "2а", "05.03.2026 09:30:07", "→", "ИНДИВИД.<1>", "1,00", "30,1", "25,0; 25,1; 25,5"},
        {"3", "2б", "07.03.2026 09:30:07", "→", "БАЗОВАЯ", "1,05", "28,7", "25,0; 25,1; 25,5"},
    };
    EXPECT_EQ(s.siteRows, rows);
    EXPECT_EQ(s.days.text(), "05.03.2026 – 07.03.2026");
    EXPECT_EQ(s.ageText, "49–51");
    EXPECT_EQ(s.statisticsLine, "n = 3; Rmin = 25,3 МПа; Rmax = 30,1 МПа; Rm = 28,0 МПа; Sm = 2,5 МПа; Vm = 8,8 %");
    EXPECT_EQ(s.mixedNote, "Примечание: смешаны зависимости (БАЗОВАЯ; ИНДИВИД.<1>) и Kc (1,00; 1,05): "
                           "прочность вычислена по разным градуировкам.");
    EXPECT_EQ(facts.calibrations,
              QStringList({"БАЗОВАЯ, Kc = 1,00", "ИНДИВИД.<1>, Kc = 1,00", "БАЗОВАЯ, Kc = 1,05"}));
    EXPECT_EQ(facts.days.text(), "05.03.2026 – 07.03.2026");
}

// The edge cases of a structure: no sites, one site, a site without a calendar date, no
// date of concreting; and the protocol's days over several structures.
TEST(ProtocolFacts, SmallAndDatelessStructures)
{
    ProtocolStructure empty;
    empty.name = "пустая";
    ProtocolStructure one = mixedStructure();
    one.sites.resize(1);
    one.concreted = QDate();
    ProtocolStructure undated = mixedStructure();
    undated.sites.resize(2);
    undated.sites[1].cell.bytes[ArchiveCell::Day] = 0; // 00.03.2026: no such day
    undated.sites[0].cell.bytes[ArchiveCell::Day] = 9;
    ProtocolContent content;
    content.structures = {empty, one, undated};
    const ProtocolFacts facts = protocolFacts(content, ".");

    const StructureFacts &e = facts.structures.at(0);
    EXPECT_TRUE(e.siteRows.isEmpty());
    EXPECT_EQ(e.statisticsLine, "n = 0; Rmin = —; Rmax = —; Rm = —; Sm = —; Vm = —");
    EXPECT_EQ(e.days.text(), "");
    EXPECT_EQ(e.ageText, "");
    EXPECT_EQ(e.mixedNote, "");

    const StructureFacts &o = facts.structures.at(1);
    EXPECT_EQ(o.statisticsLine, "n = 1; Rmin = 25.3 МПа; Rmax = 25.3 МПа; Rm = 25.3 МПа; Sm = —; Vm = —");
    EXPECT_EQ(o.days.text(), "05.03.2026");
    EXPECT_EQ(o.ageText, "");

    const StructureFacts &u = facts.structures.at(2);
    EXPECT_EQ(u.siteRows.at(1).at(2), "00.03.2026 09:30:07"); // shown as the table shows it
    EXPECT_EQ(u.days.text(), "09.03.2026");
    EXPECT_EQ(u.ageText, "53"); // 15.01 to 09.03.2026
    EXPECT_EQ(u.mixedNote, "Примечание: смешаны зависимости (БАЗОВАЯ; ИНДИВИД.<1>): "
                           "прочность вычислена по разным градуировкам.");

    EXPECT_EQ(facts.days.text(), "05.03.2026 – 09.03.2026");
    EXPECT_EQ(facts.calibrations, QStringList({"БАЗОВАЯ, Kc = 1.00", "ИНДИВИД.<1>, Kc = 1.00"}));
}

// The age in days, worked out by hand from the calendar: a date of concreting 28 days
// before the tests is 28, tests over several days a range; one after the first test is no
// age ("—") and the note says why. Strengths of whole MPa keep their decimal ("58,0").
TEST(ProtocolFacts, AgeIsNeverNegativeAndStrengthsHaveOneDecimal)
{
    const auto site = [](std::uint16_t strength, std::uint8_t day, std::uint8_t month) {
        return ProtocolSite {makeCell({.impacts = {300}, .strength = strength, .direction = 2, .elementKind = 2,
                                       .dependency = 0, .kc = 100, .second = 0, .minute = 0, .hour = 10,
                                       .day = day, .month = month, .year = 26}),
                             "1"};
    };
    const struct {
        QDate concreted;
        QList<ProtocolSite> sites;
        QString age, note;
    } cases[] = {
        {QDate(2026, 2, 2), {site(580, 2, 3)}, "28", ""}, // 2 February + 28 days = 2 March
        {QDate(2026, 2, 2), {site(580, 2, 3), site(300, 5, 3)}, "28–31", ""},
        {QDate(2026, 3, 2), {site(580, 2, 3)}, "0", ""}, // tested the day it was cast
        {QDate(2026, 10, 15), {site(580, 2, 3), site(300, 5, 3)}, "—",
         "Примечание: дата бетонирования 15.10.2026 позже первого испытания 02.03.2026; возраст бетона не "
         "определён."},
        {QDate(2026, 3, 4), {site(580, 2, 3), site(300, 5, 3)}, "—",
         "Примечание: дата бетонирования 04.03.2026 позже первого испытания 02.03.2026; возраст бетона не "
         "определён."},
    };
    for (const auto &c : cases) {
        ProtocolContent content;
        content.structures << ProtocolStructure {"Колонна", "колонна", "B25", c.concreted, c.sites, {}};
        const StructureFacts facts = protocolFacts(content, ",").structures.first();
        SCOPED_TRACE(c.concreted.toString().toStdString());
        EXPECT_EQ(facts.ageText, c.age);
        EXPECT_EQ(facts.ageNote, c.note);
        EXPECT_EQ(facts.siteRows.first().at(6), "58,0");
    }
    ProtocolContent two;
    two.structures << ProtocolStructure {"Колонна", "колонна", "B25", {}, {site(580, 2, 3), site(300, 5, 3)}, {}};
    EXPECT_EQ(protocolFacts(two, ",").structures.first().statisticsLine,
              "n = 2; Rmin = 30,0 МПа; Rmax = 58,0 МПа; Rm = 44,0 МПа; Sm = 19,8 МПа; Vm = 45,0 %");
}

TEST(ProtocolDocument, TypedTextsKeepLinesAndLoseControlCharacters)
{
    const QString ls(QChar::LineSeparator);
    const struct {
        QString typed, held;
    } cases[] = {
        {"Объект \"А\" & <Б>", "Объект \"А\" & <Б>"},
        {"a\r\nb\rc\nd", "a" + ls + "b" + ls + "c" + ls + "d"},
        {QString("t\x01=\x1f+5\x7f°C\tвлажность"), "t=+5°C\tвлажность"},
        {QString("x") + QChar(0x0085) + QChar(QChar::ParagraphSeparator) + "y", "xy"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(documentText(c.typed), c.held) << c.typed.toStdString();

    ProtocolHeader header = plainHeader();
    header.number = "12\n/3";
    EXPECT_EQ(protocolTitleLine(header), "Протокол испытаний № 12 /3 от 10.03.2026");
    header.date = QDate();
    EXPECT_EQ(protocolTitleLine(header), "Протокол испытаний № 12 /3");
}

} // namespace

// A listing read a page at a time, on both engines: the pages, each started after the last
// one's (time, id), join to exactly the listing's measurements in time order (the order
// added between equal times), filters and several structures included, and its count
// agrees. What each listing holds is worked out here from the cells' own bytes.
#include "RegisterFixture.h"

#include <algorithm>
#include <functional>
#include <tuple>

using namespace luvir;
using namespace luvir::test;

namespace {

class RegisterPagesTest : public RegisterTest
{
};

std::tuple<int, int, int, int, int, int> timeOf(const ArchiveCell &cell)
{
    return {cell.byte(ArchiveCell::Year), cell.byte(ArchiveCell::Month), cell.byte(ArchiveCell::Day),
        cell.byte(ArchiveCell::Hour), cell.byte(ArchiveCell::Minute), cell.byte(ArchiveCell::Second)};
}

} // namespace

TEST_P(RegisterPagesTest, PagesJoinToTheListingInTimeOrder)
{
    // 600 sample cells: their times repeat every 420, so ties cross pages.
    add(distinctCells(0, 600));
    const RegisterId object = reg.addObject({0, "Дом 5", {}, {}, {}});
    const RegisterId a = reg.addStructure({0, object, "К-1", -1, {}, {}, {}});
    const RegisterId b = reg.addStructure({0, object, "К-2", -1, {}, {}, {}});
    const RegisterId none = reg.addStructure({0, object, "К-3", -1, {}, {}, {}});
    QList<RegisterMeasurement> all = reg.measurements(MeasurementSelection::all());
    ASSERT_EQ(all.size(), 600);
    // Every third to A, every third but one to B, the rest in none.
    QList<RegisterId> toA, toB;
    QHash<RegisterId, RegisterId> structureOf;
    for (const RegisterMeasurement &m : all) {
        if (m.id % 3 == 0) {
            toA << m.id;
            structureOf.insert(m.id, a);
        } else if (m.id % 3 == 1) {
            toB << m.id;
            structureOf.insert(m.id, b);
        }
    }
    ASSERT_TRUE(reg.assign(toA, a));
    ASSERT_TRUE(reg.assign(toB, b));

    const auto kindOf = [](const ArchiveCell &c) { return int(c.byte(ArchiveCell::ElementKind)); };
    const auto dayOf = [](const ArchiveCell &c) {
        return QDate(2000 + c.byte(ArchiveCell::Year), c.byte(ArchiveCell::Month), c.byte(ArchiveCell::Day));
    };
    struct Case {
        const char *name;
        MeasurementListing listing;
        int pageSize;
        std::function<bool(RegisterId, const ArchiveCell &)> holds;
    };
    MeasurementSelection unassignedOfKind3 = MeasurementSelection::unassigned();
    unassignedOfKind3.elementKind = 3;
    MeasurementSelection springOfAll = MeasurementSelection::all();
    springOfAll.from = QDate(2026, 3, 10);
    springOfAll.to = QDate(2026, 5, 20);
    MeasurementSelection structuresOfKind5 = MeasurementSelection::ofStructure(0);
    structuresOfKind5.elementKind = 5;
    const Case cases[] = {
        {"unassigned of one kind", {unassignedOfKind3, {}}, 4,
            [&](RegisterId id, const ArchiveCell &c) { return !structureOf.contains(id) && kindOf(c) == 3; }},
        {"every one, by dates", {springOfAll, {}}, 9,
            [&](RegisterId, const ArchiveCell &c) {
                return dayOf(c) >= QDate(2026, 3, 10) && dayOf(c) <= QDate(2026, 5, 20);
            }},
        {"one structure, pages of one", {MeasurementSelection::ofStructure(0), {b}}, 1,
            [&](RegisterId id, const ArchiveCell &) { return structureOf.value(id) == b; }},
        {"several structures of one kind", {structuresOfKind5, {none, b, a}}, 3,
            [&](RegisterId id, const ArchiveCell &c) { return structureOf.contains(id) && kindOf(c) == 5; }},
        {"several structures, one page", {MeasurementSelection::ofStructure(0), {a, b}}, 1000,
            [&](RegisterId id, const ArchiveCell &) { return structureOf.contains(id); }},
        {"a structure without any", {MeasurementSelection::ofStructure(0), {none}}, 5,
            [](RegisterId, const ArchiveCell &) { return false; }},
        {"no structure given", {MeasurementSelection::ofStructure(0), {}}, 5,
            [](RegisterId, const ArchiveCell &) { return false; }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QList<RegisterMeasurement> held = all;
        held.removeIf([&](const RegisterMeasurement &m) { return !c.holds(m.id, m.cell); });
        std::sort(held.begin(), held.end(), [](const RegisterMeasurement &x, const RegisterMeasurement &y) {
            return std::pair(timeOf(x.cell), x.id) < std::pair(timeOf(y.cell), y.id);
        });
        QList<RegisterId> expected;
        for (const RegisterMeasurement &m : held)
            expected << m.id;
        EXPECT_EQ(reg.measurementCount(c.listing), expected.size());

        QList<RegisterId> read;
        MeasurementKey after;
        for (int pages = 0;; ++pages) {
            ASSERT_LE(pages, expected.size()) << "never ends";
            const MeasurementPage page = reg.measurementPage(c.listing, after, c.pageSize);
            ASSERT_EQ(reg.errorString(), "");
            for (const RegisterMeasurement &m : page.measurements)
                read << m.id;
            if (page.measurements.size() < c.pageSize)
                break;
            after = page.last;
        }
        EXPECT_EQ(read, expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Engines, RegisterPagesTest, ::testing::Values(Engine::Sqlite, Engine::Postgres), engineName);

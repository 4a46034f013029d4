// The concreting date a structure's record may hold: on or before its first test, checked
// over the register's measurements (the earliest day, whatever order they were added in).
#include "RegisterStructureDates.h"
#include "Register.h"
#include "TestData.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace luvir;
using luvir::test::sampleCell;

namespace {

ArchiveCell cellOn(int n, int day, int month, int year)
{
    ArchiveCell cell = sampleCell(n);
    cell.bytes[ArchiveCell::Day] = static_cast<std::uint8_t>(day);
    cell.bytes[ArchiveCell::Month] = static_cast<std::uint8_t>(month);
    cell.bytes[ArchiveCell::Year] = static_cast<std::uint8_t>(year - 2000);
    return cell;
}

TEST(RegisterStructureDates, AConcretingDateAfterTheFirstTestIsRefusedNamingBothDates)
{
    QTemporaryDir dir;
    Register reg;
    ASSERT_EQ(reg.open(dir.filePath("register.sqlite")), Register::OpenStatus::Ok);
    const RegisterId object = reg.addObject({0, "Мост", {}, {}, {}});
    const RegisterId tested = reg.addStructure({0, object, "Опора 1", -1, {}, {}, {}});
    const RegisterId untested = reg.addStructure({0, object, "Опора 2", -1, {}, {}, {}});
    // Added out of time order; a cell with no calendar date (day 0) counts for nothing.
    RegisterSource source;
    ImportCounts counts;
    ASSERT_TRUE(reg.importCells(
        {cellOn(1, 9, 3, 2026), cellOn(2, 2, 3, 2026), cellOn(3, 0, 1, 2026)}, source, counts));
    QList<RegisterId> ids;
    for (const RegisterMeasurement &m : reg.measurements(MeasurementSelection::all()))
        ids << m.id;
    ASSERT_TRUE(reg.assign(ids, tested));

    EXPECT_EQ(firstTestDay(reg, tested), QDate(2026, 3, 2));
    EXPECT_EQ(firstTestDay(reg, untested), std::nullopt);

    const struct {
        RegisterId structure;
        QDate concreted;
        QString refusal;
    } cases[] = {
        {tested, QDate(2026, 10, 15),
            "Дата бетонирования 15.10.2026 позже первого испытания конструкции 02.03.2026."},
        {tested, QDate(2026, 3, 3),
            "Дата бетонирования 03.03.2026 позже первого испытания конструкции 02.03.2026."},
        {tested, QDate(2026, 3, 2), ""}, // cast and tested the same day
        {tested, QDate(2026, 2, 2), ""}, {tested, QDate(), ""}, // not known
        {untested, QDate(2030, 1, 1), ""}, // nothing tested yet
    };
    for (const auto &c : cases)
        EXPECT_EQ(concretingDateRefusal(reg, c.structure, c.concreted), c.refusal)
            << c.concreted.toString().toStdString();
}

} // namespace

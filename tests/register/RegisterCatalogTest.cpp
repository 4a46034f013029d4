// Objects, structures, sites, and listing measurements by a selection.
#include "RegisterFixture.h"

using namespace luvir;
using namespace luvir::test;

namespace {

// A measurement of the given day and element kind; `n` tells cells of one day apart.
ArchiveCell cellOn(int day, int month, int kind, int n)
{
    ArchiveCell cell = distinctCell(n);
    cell.bytes[ArchiveCell::Day] = static_cast<std::uint8_t>(day);
    cell.bytes[ArchiveCell::Month] = static_cast<std::uint8_t>(month);
    cell.bytes[ArchiveCell::Year] = 26;
    cell.bytes[ArchiveCell::Hour] = static_cast<std::uint8_t>(8 + n);
    cell.bytes[ArchiveCell::ElementKind] = static_cast<std::uint8_t>(kind);
    return cell;
}

class RegisterCatalogTest : public RegisterTest
{
protected:
    void SetUp() override
    {
        RegisterTest::SetUp();
        // Added out of time order; listed in time order.
        add({cellOn(5, 3, 2, 0), cellOn(1, 3, 1, 1), cellOn(31, 3, 2, 2), cellOn(1, 4, 1, 3),
            cellOn(28, 2, 2, 4)});
        for (const RegisterMeasurement &m : reg.measurements(MeasurementSelection::all()))
            byDay << m.id; // 28.02, 01.03, 05.03, 31.03, 01.04
        house = reg.addObject({0, "Дом 5", "ул. Ленина, 1", "ООО «Стройка»", ""});
        column = reg.addStructure({0, house, "Колонна К-3, ось 5/Б", 1, "B25", QDate(2026, 2, 1), ""});
        slab = reg.addStructure({0, house, "Плита П-1", 2, "B30", {}, ""});
        ASSERT_NE(column, 0);
        ASSERT_NE(slab, 0);
    }

    QList<RegisterId> byDay;
    RegisterId house = 0, column = 0, slab = 0;
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Engines, RegisterCatalogTest, ::testing::Values(Engine::Sqlite, Engine::Postgres), engineName);

TEST_P(RegisterCatalogTest, SelectionsListTheirMeasurementsInTimeOrder)
{
    ASSERT_TRUE(reg.assign({byDay[1], byDay[3]}, column, QStringLiteral("2а")));
    ASSERT_TRUE(reg.assign({byDay[2]}, slab));

    struct Case {
        const char *what;
        MeasurementSelection selection;
        QList<int> days; // indexes into byDay
    };
    auto with = [](MeasurementSelection s, QDate from, QDate to, int kind = -1) {
        s.from = from;
        s.to = to;
        s.elementKind = kind;
        return s;
    };
    const Case cases[] = {
        {"all", MeasurementSelection::all(), {0, 1, 2, 3, 4}},
        {"unassigned", MeasurementSelection::unassigned(), {0, 4}},
        {"one structure", MeasurementSelection::ofStructure(column), {1, 3}},
        {"March, both ends included",
            with(MeasurementSelection::all(), QDate(2026, 3, 1), QDate(2026, 3, 31)), {1, 2, 3}},
        {"from a day on", with(MeasurementSelection::all(), QDate(2026, 3, 5), {}), {2, 3, 4}},
        {"up to a day", with(MeasurementSelection::all(), {}, QDate(2026, 3, 1)), {0, 1}},
        {"one day", with(MeasurementSelection::all(), QDate(2026, 3, 31), QDate(2026, 3, 31)), {3}},
        {"element kind", with(MeasurementSelection::all(), {}, {}, 1), {1, 4}},
        {"unassigned in a range", with(MeasurementSelection::unassigned(), QDate(2026, 3, 1), {}), {4}},
        {"structure and kind", with(MeasurementSelection::ofStructure(column), {}, {}, 2), {3}},
        {"nothing", with(MeasurementSelection::all(), QDate(2027, 1, 1), {}), {}},
    };
    for (const Case &c : cases) {
        QList<RegisterId> expected;
        for (int day : c.days)
            expected << byDay[day];
        EXPECT_EQ(ids(c.selection), expected) << c.what;
    }

    const auto m = reg.measurement(byDay[1]);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->site, "2а");
    EXPECT_EQ(m->structureName, "Колонна К-3, ось 5/Б");
    EXPECT_EQ(m->objectName, "Дом 5");
}

TEST_P(RegisterCatalogTest, AssignIsAllOrNothingAndUnassignClearsTheSite)
{
    // One id the register does not hold: nothing is assigned.
    EXPECT_FALSE(reg.assign({byDay[0], 9999}, column, QStringLiteral("1")));
    EXPECT_EQ(reg.errorString(), "в журнале нет измерения 9999");
    EXPECT_TRUE(ids(MeasurementSelection::ofStructure(column)).isEmpty());
    EXPECT_FALSE(reg.assign({byDay[0]}, 4242));

    ASSERT_TRUE(reg.assign({byDay[0], byDay[1]}, column, QStringLiteral("1")));
    ASSERT_TRUE(reg.assign({byDay[1]}, slab)); // moved, site kept
    EXPECT_EQ(reg.measurement(byDay[1])->site, "1");
    ASSERT_TRUE(reg.setSite(byDay[1], QStringLiteral("3б")));
    EXPECT_EQ(reg.measurement(byDay[1])->site, "3б");
    ASSERT_TRUE(reg.unassign({byDay[0]}));
    EXPECT_EQ(reg.measurement(byDay[0])->structureId, 0);
    EXPECT_EQ(reg.measurement(byDay[0])->site, "");

    QList<StructureCount> counts = reg.measurementCounts();
    ASSERT_EQ(counts.size(), 2);
    EXPECT_EQ(counts[0].structureId, 0);
    EXPECT_EQ(counts[0].measurements, 4);
    EXPECT_EQ(counts[1].structureId, slab);
    EXPECT_EQ(counts[1].measurements, 1);
}

// A site with the character of code 0 (a file register would keep it, a server's driver
// refuses it with its own text): refused alike on both engines, and nothing changes.
TEST_P(RegisterCatalogTest, ASiteWithTheCharacterOfCodeZeroIsRefusedAlike)
{
    ASSERT_TRUE(reg.assign({byDay[0]}, column, QStringLiteral("1")));
    const QString zero = QStringLiteral("2") + QChar(u'\0') + QStringLiteral("а");
    EXPECT_FALSE(reg.assign({byDay[0], byDay[1]}, slab, zero));
    EXPECT_EQ(reg.errorString(), "Участок не может содержать символ с кодом 0");
    EXPECT_FALSE(reg.setSite(byDay[0], zero));
    EXPECT_EQ(reg.errorString(), "Участок не может содержать символ с кодом 0");
    EXPECT_EQ(reg.measurement(byDay[0])->structureId, column);
    EXPECT_EQ(reg.measurement(byDay[0])->site, "1");
    EXPECT_EQ(reg.measurement(byDay[1])->structureId, 0);
}

TEST_P(RegisterCatalogTest, DeletingAStructureOrObjectKeepsEveryMeasurement)
{
    ASSERT_TRUE(reg.assign({byDay[0], byDay[1]}, column, QStringLiteral("1")));
    ASSERT_TRUE(reg.assign({byDay[2]}, slab, QStringLiteral("2")));
    ASSERT_TRUE(reg.removeStructure(column));
    EXPECT_EQ(ids(MeasurementSelection::unassigned()),
        (QList<RegisterId> {byDay[0], byDay[1], byDay[3], byDay[4]}));
    EXPECT_EQ(reg.measurement(byDay[0])->site, "");
    EXPECT_FALSE(reg.structure(column));

    ASSERT_TRUE(reg.removeObject(house));
    EXPECT_TRUE(reg.structures().isEmpty());
    EXPECT_EQ(ids(MeasurementSelection::unassigned()).size(), 5);
    EXPECT_EQ(reg.measurement(byDay[2])->site, "");
    EXPECT_FALSE(reg.removeObject(house));
}

TEST_P(RegisterCatalogTest, ObjectsAndStructuresAreEditedAndFoundByName)
{
    RegisterStructure changed = *reg.structure(slab);
    changed.name = "Плита П-2";
    changed.concretedOn = QDate(2026, 1, 15);
    changed.notes = "после ремонта";
    ASSERT_TRUE(reg.updateStructure(changed));
    ++changed.revision;
    EXPECT_EQ(*reg.structure(slab), changed);
    EXPECT_EQ(reg.structures(house).size(), 2);

    const RegisterId other = reg.addObject({0, "Склад", {}, {}, {}});
    reg.addStructure({0, other, "Плита П-2", -1, {}, {}, {}});
    EXPECT_EQ(reg.findStructures("Плита П-2").size(), 2);
    ASSERT_EQ(reg.findStructures("Плита П-2", "Дом 5").size(), 1);
    EXPECT_EQ(reg.findStructures("Плита П-2", "Дом 5").first().id, slab);
    EXPECT_TRUE(reg.findStructures("Плита П-1").isEmpty());

    RegisterObject renamed = reg.findObjects("Склад").first();
    renamed.name = "Склад №2";
    ASSERT_TRUE(reg.updateObject(renamed));
    EXPECT_EQ(reg.objects().size(), 2);
    EXPECT_EQ(reg.objects().last().name, "Склад №2");
}

// Every text goes into the database as a bound value: none of these can change a
// statement, and each comes back as it went in.
TEST_P(RegisterTest, NamesOfEveryKindAreStoredExactly)
{
    QString cyrillic;
    for (char16_t c = u'А'; c <= u'я'; ++c)
        cyrillic += QChar(c);
    cyrillic += QStringLiteral("Ёё");
    const QString names[] = {
        "O'Brien's \"house\"",
        "'); DROP TABLE measurements; --",
        "a; b; c;",
        "C:\\objects\\new\\x00\\",
        QString(200, u'Ж'), // the longest name
        QStringLiteral("«кавычки» и\u00a0неразрывный пробел"),
        cyrillic,
        "%1 %2 ? :name @p $1",
        "",
    };
    // The character 0 is a text's end to a server, which keeps no such text: refused there
    // whole (and on both engines alike, see ASiteWithTheCharacterOfCodeZeroIsRefusedAlike).
    const QString withNul = QStringLiteral("nul") + QChar(u'\0') + "end";
    add(distinctCells(0, 1));
    const RegisterId measurement = ids(MeasurementSelection::all()).first();
    const QList<QString> stored(std::begin(names), std::end(names));
    EXPECT_EQ(reg.addObject({0, withNul, {}, {}, {}}), 0);
    EXPECT_EQ(reg.errorString(), "Название не может содержать символ с кодом 0");
    EXPECT_TRUE(reg.objects().isEmpty());
    EXPECT_FALSE(reg.setProtocolFields({}, {{"laboratory", withNul}}));
    EXPECT_TRUE(reg.protocolFields().isEmpty());
    // A control character would break the lists and take over a terminal; refused alike.
    EXPECT_EQ(reg.addObject({0, QStringLiteral("Дом\x1b[2J"), {}, {}, {}}), 0);
    EXPECT_EQ(reg.errorString(), "Название не может содержать символ с кодом 27");
    EXPECT_EQ(reg.addObject({0, QString(201, u'Ж'), {}, {}, {}}), 0);
    EXPECT_EQ(reg.errorString(), "Название не может быть длиннее 200 знаков");
    EXPECT_TRUE(reg.objects().isEmpty());
    for (const QString &name : stored) {
        const RegisterId object = reg.addObject({0, name, name, name, name});
        ASSERT_NE(object, 0) << qPrintable(reg.errorString());
        const RegisterId structure = reg.addStructure({0, object, name, 3, name, {}, name});
        ASSERT_NE(structure, 0);
        ASSERT_TRUE(reg.assign({measurement}, structure, name));

        EXPECT_EQ(reg.findObjects(name).size(), 1) << qPrintable(name.left(40));
        EXPECT_EQ(
            *reg.structure(structure), (RegisterStructure {structure, object, name, 3, name, {}, name}));
        ASSERT_EQ(reg.findStructures(name, name).size(), 1);
        const auto m = reg.measurement(measurement);
        EXPECT_EQ(m->site, name);
        EXPECT_EQ(m->structureName, name);
        EXPECT_EQ(m->objectName, name);
        ASSERT_TRUE(reg.removeObject(object));

        const QString scope = Register::instrumentScope(name);
        ASSERT_TRUE(reg.setProtocolFields(scope, {{name, name}})) << qPrintable(reg.errorString());
        EXPECT_EQ(reg.protocolFields(scope), (QMap<QString, QString> {{name, name}}));
    }
    EXPECT_EQ(reg.measurements(MeasurementSelection::all()).size(), 1);
    EXPECT_EQ(cyrillic.size(), 66);
}

// The protocol's texts are kept per scope; keeping some again replaces those and no others.
TEST_P(RegisterTest, ProtocolFieldsAreKeptPerScopeAndReplacedByName)
{
    EXPECT_TRUE(reg.protocolFields().isEmpty());
    ASSERT_TRUE(reg.setProtocolFields({}, {{"laboratory", "ИЛ «Бетон»"}, {"executor", "Иванов И. И."}}));
    ASSERT_TRUE(reg.setProtocolFields(Register::instrumentScope("1234"), {{"verification", "С-1/2026"}}));
    ASSERT_TRUE(reg.setProtocolFields({}, {{"executor", "Петров П. П."}}));

    EXPECT_EQ(reg.protocolFields(), (QMap<QString, QString> {{"laboratory", "ИЛ «Бетон»"}, {"executor", "Петров П. П."}}));
    EXPECT_EQ(reg.protocolFields(Register::instrumentScope("1234")), (QMap<QString, QString> {{"verification", "С-1/2026"}}));
    EXPECT_TRUE(reg.protocolFields(Register::instrumentScope("5678")).isEmpty());
    reg.close();
    ASSERT_EQ(reg.open(scratch.location()), Register::OpenStatus::Ok);
    EXPECT_EQ(reg.protocolFields().value("executor"), "Петров П. П.");
}

// Two windows or programs on one register: what one changes the other sees, and an edit
// made from what was read before another's change fails instead of overwriting it. And a
// register of the first schema is brought forward with everything in it.
#include "RegisterFixture.h"

#include "RegisterSchema.h"

#include <QSqlQuery>

using namespace luvir;
using namespace luvir::test;

namespace {

class RegisterSessionsTest : public RegisterTest
{
protected:
    void SetUp() override
    {
        RegisterTest::SetUp();
        ASSERT_EQ(other.open(registerPath()), Register::OpenStatus::Ok) << qPrintable(other.errorString());
        add(distinctCells(0, 3));
        house = reg.addObject({0, "Дом 5", {}, {}, {}});
        column = reg.addStructure({0, house, "Колонна К-3", 1, "B25", {}, {}});
        slab = reg.addStructure({0, house, "Плита П-1", 2, "B30", {}, {}});
    }

    Register other; // the second engineer
    RegisterId house = 0, column = 0, slab = 0;
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Engines, RegisterSessionsTest, ::testing::Values(Engine::Sqlite, Engine::Postgres), engineName);

TEST_P(RegisterSessionsTest, TheSecondOfTwoRenamesIsToldTheRecordChanged)
{
    // Both read the structure and the object, both rename them.
    RegisterStructure mine = *reg.structure(column);
    RegisterStructure theirs = *other.structure(column);
    RegisterObject myObject = reg.objects().first();
    RegisterObject theirObject = other.objects().first();
    mine.name = "Колонна К-3а";
    theirs.name = "Колонна К-3б";
    myObject.name = "Дом 5а";
    theirObject.name = "Дом 5б";
    ASSERT_TRUE(reg.updateStructure(mine)) << qPrintable(reg.errorString());
    ASSERT_TRUE(reg.updateObject(myObject)) << qPrintable(reg.errorString());
    EXPECT_FALSE(other.updateStructure(theirs));
    EXPECT_TRUE(other.errorString().startsWith("запись изменена в другом окне или другой программой"))
        << qPrintable(other.errorString());
    EXPECT_FALSE(other.updateObject(theirObject));
    EXPECT_TRUE(other.errorString().startsWith("запись изменена")) << qPrintable(other.errorString());

    // The second sees the first one's names, and may rename from them.
    RegisterStructure current = *other.structure(column);
    EXPECT_EQ(current.name, "Колонна К-3а");
    EXPECT_EQ(other.objects().first().name, "Дом 5а");
    current.name = "Колонна К-3б";
    ASSERT_TRUE(other.updateStructure(current)) << qPrintable(other.errorString());
    EXPECT_EQ(reg.structure(column)->name, "Колонна К-3б");

    // A structure deleted meanwhile is missing, not changed.
    ASSERT_TRUE(reg.removeStructure(slab));
    RegisterStructure gone = *other.structure(column);
    gone.id = slab;
    EXPECT_FALSE(other.updateStructure(gone));
    EXPECT_EQ(other.errorString(), "нет такой конструкции");
}

TEST_P(RegisterSessionsTest, TheSecondOfTwoAssignmentsOfOneMeasurementIsToldItChanged)
{
    const QList<RegisterMeasurement> mine = reg.measurements(MeasurementSelection::all());
    const QList<RegisterMeasurement> theirs = other.measurements(MeasurementSelection::all());
    ASSERT_EQ(theirs.size(), 3);
    ASSERT_TRUE(reg.assignAsRead({mine[1]}, column, QStringLiteral("1"))) << qPrintable(reg.errorString());

    // All or nothing: the untouched first one is not assigned either.
    EXPECT_FALSE(other.assignAsRead({theirs[0], theirs[1]}, slab, QStringLiteral("2")));
    EXPECT_TRUE(other.errorString().startsWith("запись изменена")) << qPrintable(other.errorString());
    EXPECT_EQ(other.measurement(theirs[1].id)->structureId, column);
    EXPECT_EQ(other.measurement(theirs[1].id)->site, "1");
    EXPECT_EQ(other.measurement(theirs[0].id)->structureId, 0);

    // Read again, the same assignment goes through; a site set meanwhile counts as a change too.
    const QList<RegisterMeasurement> again = other.measurements(MeasurementSelection::all());
    ASSERT_TRUE(reg.setSite(mine[2].id, QStringLiteral("3")));
    EXPECT_FALSE(other.assignAsRead({again[2]}, slab));
    ASSERT_TRUE(other.assignAsRead({again[0], again[1]}, slab)) << qPrintable(other.errorString());
    EXPECT_EQ(reg.measurement(mine[1].id)->structureId, slab);

    // Removed by the other meanwhile: a changed record, as any other edit says it.
    const RegisterMeasurement before = *reg.measurement(mine[0].id);
    ASSERT_TRUE(other.markRemoved({mine[0].id}));
    EXPECT_FALSE(reg.assignAsRead({before}, column));
    EXPECT_TRUE(reg.errorString().startsWith("запись изменена")) << qPrintable(reg.errorString());
}

// A register written by the program's first schema (no revisions) opens, is brought forward,
// and keeps every measurement, object and structure.
TEST_P(RegisterTest, ARegisterOfTheFirstSchemaIsBroughtForward)
{
    reg.close();
    ScratchRegister old(engine());
    {
        const SqlDialect dialect(engine());
        RawConnection raw(old.location());
        QStringList statements = schemaStep(0, dialect) + dialect.writeVersion(1);
        statements << "INSERT INTO objects (name) VALUES ('Дом 5')"
                   << "INSERT INTO structures (object_id, name) VALUES (1, 'Плита П-1')";
        for (const QString &statement : statements) {
            QSqlQuery query(raw.db());
            ASSERT_TRUE(query.exec(statement)) << qPrintable(statement) << qPrintable(query.lastError().text());
        }
    }
    ASSERT_EQ(reg.open(old.location()), Register::OpenStatus::Ok) << qPrintable(reg.errorString());
    add(distinctCells(0, 2));
    ASSERT_EQ(reg.structures().size(), 1);
    RegisterStructure slab = reg.structures().first();
    EXPECT_EQ(slab.name, "Плита П-1");
    EXPECT_EQ(slab.revision, 0);
    slab.name = "Плита П-2";
    ASSERT_TRUE(reg.updateStructure(slab)) << qPrintable(reg.errorString());
    ASSERT_TRUE(reg.assign({reg.measurements(MeasurementSelection::all()).first().id}, slab.id));
    ASSERT_TRUE(reg.setProtocolFields({}, {{"laboratory", "ИЛ"}})) << qPrintable(reg.errorString());
    reg.close();
    RawConnection raw(old.location());
    EXPECT_EQ(raw.value(SqlDialect(engine()).readVersion()).toInt(), kRegisterSchemaVersion);
}

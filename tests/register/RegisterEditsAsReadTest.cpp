// Edits made from what was read, on both engines: each made after another connection changed
// a record it touches is refused with "запись изменена …" and leaves the register exactly as
// the other left it; made from a fresh reading, it is done.
#include "RegisterFixture.h"

#include <functional>

using namespace luvir;
using namespace luvir::test;

namespace {

class RegisterEditsAsReadTest : public RegisterTest
{
protected:
    void SetUp() override
    {
        RegisterTest::SetUp();
        ASSERT_EQ(other.open(registerPath()), Register::OpenStatus::Ok) << qPrintable(other.errorString());
        add(distinctCells(1, 4));
        object = reg.addObject({0, "Дом 5", {}, {}, {}});
        structure = reg.addStructure({0, object, "К-3", -1, {}, {}, {}});
        target = reg.addStructure({0, object, "П-1", -1, {}, {}, {}});
        ASSERT_TRUE(reg.assign(ids(MeasurementSelection::all()).mid(0, 2), structure, QString("1")));
    }

    // A structure of its own holding two new measurements labelled "1".
    RegisterId freshStructure(int n)
    {
        add(distinctCells(100 + 2 * n, 2), QString("f%1.db").arg(n));
        const RegisterId id = reg.addStructure({0, object, QString("С-%1").arg(n), -1, {}, {}, {}});
        EXPECT_TRUE(reg.assign(ids(MeasurementSelection::unassigned()).mid(0, 2), id, QString("1")));
        return id;
    }

    // Everything an edit could change, as text.
    QStringList snapshot()
    {
        QStringList lines;
        for (const RegisterObject &o : other.objects())
            lines << QString("o %1 %2 %3").arg(o.id).arg(o.name).arg(o.revision);
        for (const RegisterStructure &s : other.structures())
            lines << QString("s %1 %2 %3 %4").arg(s.id).arg(s.objectId).arg(s.name).arg(s.revision);
        for (const RegisterMeasurement &m : other.measurements(MeasurementSelection::all()))
            lines << QString("m %1 %2 %3 %4").arg(m.id).arg(m.structureId).arg(m.site).arg(m.revision);
        return lines;
    }

    Register other; // a second connection, as another program
    RegisterId object = 0;
    RegisterId structure = 0;
    RegisterId target = 0;
};

struct EditCase {
    const char *name;
    // What the other connection changes between the reading and the edit.
    std::function<void(Register &other, RegisterId structure, const QList<RegisterMeasurement> &held)>
        meanwhile;
};

} // namespace

TEST_P(RegisterEditsAsReadTest, AnEditFromAStaleReadingIsRefusedAndChangesNothing)
{
    using Held = QList<RegisterMeasurement>;
    const EditCase changes[] = {
        {"a site",
            [](Register &o, RegisterId, const Held &held) { ASSERT_TRUE(o.setSite(held[0].id, "2б")); }},
        {"removed",
            [](Register &o, RegisterId, const Held &held) { ASSERT_TRUE(o.markRemoved({held[1].id})); }},
        {"unassigned",
            [](Register &o, RegisterId, const Held &held) { ASSERT_TRUE(o.unassign({held[0].id})); }},
    };
    using Edit = std::function<bool(Register &, RegisterId, RegisterId, const Held &)>;
    const std::pair<const char *, Edit> edits[] = {
        {"unassignAsRead",
            [](Register &r, RegisterId, RegisterId, const Held &held) { return r.unassignAsRead(held); }},
        {"setSitesAsRead",
            [](Register &r, RegisterId, RegisterId, const Held &held) {
                return r.setSitesAsRead(held, {"5", "6"});
            }},
        {"markRemovedAsRead",
            [](Register &r, RegisterId, RegisterId, const Held &held) { return r.markRemovedAsRead(held); }},
        {"assignAsRead",
            [](Register &r, RegisterId, RegisterId to, const Held &held) {
                return r.assignAsRead(held, to);
            }},
        {"removeStructureAsRead",
            [](Register &r, RegisterId s, RegisterId, const Held &held) {
                return r.removeStructureAsRead(*r.structure(s), held);
            }},
    };
    int n = 0;
    for (const auto &[editName, edit] : edits)
        for (const EditCase &change : changes) {
            SCOPED_TRACE(std::string(editName) + " after " + change.name);
            const RegisterId fresh = freshStructure(++n);
            const Held held = reg.measurements(MeasurementSelection::ofStructure(fresh));
            ASSERT_EQ(held.size(), 2);
            change.meanwhile(other, fresh, held);
            const QStringList before = snapshot();
            EXPECT_FALSE(edit(reg, fresh, target, held));
            // A measurement removed meanwhile is a changed record too, for every edit.
            EXPECT_TRUE(reg.errorString().contains("запись изменена")) << qPrintable(reg.errorString());
            EXPECT_EQ(snapshot(), before);
        }
}

// The same edits from a fresh reading are done, each counting one change in the revision.
TEST_P(RegisterEditsAsReadTest, AnEditFromAFreshReadingIsDone)
{
    QList<RegisterMeasurement> held = reg.measurements(MeasurementSelection::ofStructure(structure));
    ASSERT_TRUE(reg.setSitesAsRead(held, {"2а", "2б"})) << qPrintable(reg.errorString());
    const QList<RegisterMeasurement> labelled
        = other.measurements(MeasurementSelection::ofStructure(structure));
    ASSERT_EQ(labelled.size(), 2);
    EXPECT_EQ(labelled[0].site, "2а");
    EXPECT_EQ(labelled[1].site, "2б");
    EXPECT_EQ(labelled[0].revision, held[0].revision + 1);

    EXPECT_FALSE(reg.setSitesAsRead(labelled, {"1"})); // one label for two
    EXPECT_FALSE(reg.setSitesAsRead(labelled, {"1", QString(QChar(0))}));
    EXPECT_EQ(other.measurements(MeasurementSelection::ofStructure(structure))[0].site, "2а");

    ASSERT_TRUE(reg.unassignAsRead({labelled[0]}));
    ASSERT_TRUE(reg.markRemovedAsRead({*reg.measurement(labelled[0].id)}));
    EXPECT_FALSE(other.measurement(labelled[0].id).has_value());

    held = reg.measurements(MeasurementSelection::ofStructure(structure));
    ASSERT_TRUE(reg.removeStructureAsRead(*reg.structure(structure), held)) << qPrintable(reg.errorString());
    EXPECT_FALSE(other.structure(structure).has_value());
    const auto back = other.measurement(held[0].id);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->structureId, 0);
    EXPECT_EQ(back->site, "");
}

// Deleting a structure or an object compares what it holds as well: a measurement assigned
// to it meanwhile, a structure added or renamed, stop the deletion.
TEST_P(RegisterEditsAsReadTest, ADeletionStopsAtAnythingAddedOrChangedMeanwhile)
{
    const RegisterStructure read = *reg.structure(structure);
    const QList<RegisterMeasurement> held = reg.measurements(MeasurementSelection::ofStructure(structure));
    const RegisterObject readObject = *reg.object(object);
    const QList<RegisterStructure> readStructures = reg.structures(object);
    ASSERT_EQ(readStructures.size(), 2);

    ASSERT_TRUE(other.assign({ids(MeasurementSelection::unassigned()).first()}, structure));
    EXPECT_FALSE(reg.removeStructureAsRead(read, held));
    EXPECT_TRUE(reg.errorString().contains("запись изменена"));
    EXPECT_FALSE(reg.removeObjectAsRead(readObject, readStructures, held));
    EXPECT_TRUE(other.structure(structure).has_value());
    EXPECT_EQ(other.measurements(MeasurementSelection::ofStructure(structure)).size(), 3);

    const QList<RegisterMeasurement> heldNow = reg.measurements(MeasurementSelection::ofStructure(structure));
    ASSERT_TRUE(other.addStructure({0, object, "Б-1", -1, {}, {}, {}}) != 0);
    EXPECT_FALSE(reg.removeObjectAsRead(readObject, readStructures, heldNow));
    EXPECT_TRUE(other.object(object).has_value());

    RegisterStructure renamed = *other.structure(structure);
    renamed.name = "К-4";
    ASSERT_TRUE(other.updateStructure(renamed));
    EXPECT_FALSE(reg.removeStructureAsRead(read, heldNow));
    EXPECT_EQ(other.structure(structure)->name, "К-4");

    ASSERT_TRUE(reg.removeObjectAsRead(*reg.object(object), reg.structures(object), heldNow))
        << qPrintable(reg.errorString());
    EXPECT_FALSE(other.object(object).has_value());
    EXPECT_TRUE(other.structures(object).isEmpty());
    EXPECT_EQ(other.measurements(MeasurementSelection::unassigned()).size(), 4);
}

INSTANTIATE_TEST_SUITE_P(
    Engines, RegisterEditsAsReadTest, ::testing::Values(Engine::Sqlite, Engine::Postgres), engineName);

// The dependency applied to a structure, on a file and on a server: kept with its figures
// and sites exactly, replaced and removed only from the structure as read, kept when its set
// goes, gone with its structure; the schema step that brings a register of the version before
// forward; a set read for the calibration, with its measurements' meter dependencies.
#include "RegisterFixture.h"

#include "RegisterSchema.h"

#include "QtPrinters.h"

using namespace luvir;
using namespace luvir::test;

namespace {

const QDateTime kAdded(QDate(2026, 12, 11), QTime(9, 30, 0));

// An own dependency with figures no rounding keeps by chance (thirds, sevenths).
AppliedDependency ownDependencyOf(RegisterId set)
{
    AppliedDependency d;
    d.kind = DependencyKind::Own;
    d.a = 1.0 / 3;
    d.b = -2.0 / 7;
    d.s = 1.2345678901234567;
    d.r = 0.9876543210987654;
    d.hMin = 18.25;
    d.hMax = 41.0 / 3;
    d.sitesKept = 14;
    d.sitesBefore = 15;
    d.accepted = true;
    d.setId = set;
    d.setName = QStringLiteral("Колонны 2026");
    d.methodName = QStringLiteral("отрыв со скалыванием");
    d.appliedOn = QDate(2026, 12, 11);
    d.sites
        = {{QStringLiteral("1"), 20.0 / 3, 25.1, true}, {QStringLiteral("ось 3; низ"), 24.35, 40.7, false}};
    return d;
}

class RegisterDependencyTest : public RegisterTest
{
protected:
    void SetUp() override
    {
        RegisterTest::SetUp();
        const RegisterId house = reg.addObject({0, "Дом 5", "", "", ""});
        structureId = reg.addStructure({0, house, "Колонна К-3", 1, "B25", {}, ""});
        set = reg.addCalibrationSet({0, "Колонны 2026", DirectMethod::PullOff, "", {}, "", 0});
        ASSERT_NE(set, 0) << qPrintable(reg.errorString());
    }
    RegisterStructure structure() { return reg.structure(structureId).value_or(RegisterStructure {}); }

    RegisterId structureId = 0, set = 0;
};

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Engines, RegisterDependencyTest, ::testing::Values(Engine::Sqlite, Engine::Postgres), engineName);

TEST_P(RegisterDependencyTest, KeptExactlyReplacedAndRemovedFromTheStructureAsRead)
{
    EXPECT_FALSE(reg.structureDependency(structureId));
    EXPECT_TRUE(reg.errorString().isEmpty()) << qPrintable(reg.errorString());

    const RegisterStructure read = structure();
    const AppliedDependency own = ownDependencyOf(set);
    ASSERT_TRUE(reg.setStructureDependency(read, own)) << qPrintable(reg.errorString());
    EXPECT_EQ(reg.structureDependency(structureId), own); // every double to the last bit
    EXPECT_EQ(structure().revision, read.revision + 1);
    // Read with every structure's at once (as the window's list does): the same figures, the
    // sites left out.
    const QHash<RegisterId, AppliedDependency> all = reg.structureDependencies();
    ASSERT_EQ(all.size(), 1);
    AppliedDependency figuresOnly = own;
    figuresOnly.sites.clear();
    EXPECT_EQ(all.value(structureId), figuresOnly);

    // Made from the structure as read before that change: refused, the dependency stays.
    AppliedDependency kc;
    kc.kind = DependencyKind::Kc;
    kc.kc = 1.0849;
    kc.kcSites = 4;
    kc.setId = set;
    kc.setName = QStringLiteral("Колонны 2026");
    EXPECT_FALSE(reg.setStructureDependency(read, kc));
    EXPECT_TRUE(reg.errorString().contains(QStringLiteral("запись изменена")))
        << qPrintable(reg.errorString());
    EXPECT_FALSE(reg.removeStructureDependency(read));
    EXPECT_TRUE(reg.errorString().contains(QStringLiteral("запись изменена")));
    EXPECT_EQ(reg.structureDependency(structureId), own);

    // From the structure as it is now: replaced whole (no site of the old one is left).
    ASSERT_TRUE(reg.setStructureDependency(structure(), kc)) << qPrintable(reg.errorString());
    EXPECT_EQ(reg.structureDependency(structureId), kc);
    ASSERT_TRUE(reg.removeStructureDependency(structure())) << qPrintable(reg.errorString());
    EXPECT_FALSE(reg.structureDependency(structureId));

    // What may not be applied: an own dependency not accepted, a Kc of 0.
    AppliedDependency notAccepted = own;
    notAccepted.accepted = false;
    EXPECT_FALSE(reg.setStructureDependency(structure(), notAccepted));
    EXPECT_EQ(reg.errorString(), QStringLiteral("Собственная зависимость не принята, её нельзя применить"));
    kc.kc = 0;
    EXPECT_FALSE(reg.setStructureDependency(structure(), kc));
    EXPECT_EQ(reg.errorString(), QStringLiteral("Kc не установлен, его нельзя применить"));
    EXPECT_FALSE(reg.structureDependency(structureId));

    // A set the register does not hold, and a structure it does not hold.
    AppliedDependency stray = own;
    stray.setId = set + 100;
    EXPECT_FALSE(reg.setStructureDependency(structure(), stray));
    EXPECT_TRUE(reg.errorString().contains(QStringLiteral("нет этого градуировочного набора")));
    RegisterStructure missing = structure();
    missing.id += 100;
    EXPECT_FALSE(reg.setStructureDependency(missing, own));
    EXPECT_TRUE(reg.errorString().contains(QStringLiteral("нет такой конструкции")));
}

TEST_P(RegisterDependencyTest, ARemovedSetLeavesItsFiguresAndARemovedStructureTakesThemAlong)
{
    const AppliedDependency own = ownDependencyOf(set);
    ASSERT_TRUE(reg.setStructureDependency(structure(), own)) << qPrintable(reg.errorString());
    ASSERT_TRUE(reg.removeCalibrationSet(set)) << qPrintable(reg.errorString());
    AppliedDependency unlinked = own;
    unlinked.setId = 0;
    EXPECT_EQ(reg.structureDependency(structureId), unlinked);

    ASSERT_TRUE(reg.removeStructure(structureId));
    RawConnection raw(registerPath());
    EXPECT_EQ(raw.value(QStringLiteral("SELECT COUNT(*) FROM structure_dependencies")).toInt(), 0);
    EXPECT_EQ(raw.value(QStringLiteral("SELECT COUNT(*) FROM structure_dependency_sites")).toInt(), 0);
}

// A register of the version before is brought forward: what it held stays, and a structure
// can then be given a dependency.
TEST_P(RegisterDependencyTest, TheStepFromTheVersionBeforeKeepsWhatWasThere)
{
    reg.close();
    ScratchRegister old(engine());
    {
        const SqlDialect dialect(engine());
        RawConnection raw(old.location());
        QStringList statements;
        for (int from = 0; from < kRegisterSchemaVersion - 1; ++from)
            statements += schemaStep(from, dialect) + dialect.writeVersion(from + 1);
        statements << "INSERT INTO objects (name) VALUES ('Дом 5')"
                   << "INSERT INTO structures (object_id, name) VALUES (1, 'К-3')"
                   << "INSERT INTO calibration_sets (name, direct_method) VALUES ('Колонны', 0)"
                   << "INSERT INTO calibration_sites (set_id, label, indirect, direct, added_at) "
                      "VALUES (1, 'а', 24.5, 25.1, '2026-12-01 10:00:00')";
        for (const QString &statement : statements) {
            QSqlQuery query(raw.db());
            ASSERT_TRUE(query.exec(statement))
                << qPrintable(statement) << qPrintable(query.lastError().text());
        }
    }
    ASSERT_EQ(reg.open(old.location()), Register::OpenStatus::Ok) << qPrintable(reg.errorString());
    {
        RawConnection raw(old.location());
        EXPECT_EQ(raw.value(SqlDialect(engine()).readVersion()).toInt(), kRegisterSchemaVersion);
    }
    EXPECT_EQ(reg.calibrationSites(1).size(), 1);
    EXPECT_FALSE(reg.structureDependency(1));
    const auto structure = reg.structure(1);
    ASSERT_TRUE(structure);
    ASSERT_TRUE(reg.setStructureDependency(*structure, ownDependencyOf(1))) << qPrintable(reg.errorString());
    EXPECT_EQ(reg.structureDependency(1), ownDependencyOf(1));
}

TEST_P(RegisterDependencyTest, ASetIsReadForTheCalibrationWithItsMeterDependencies)
{
    // 25.3 MPa at Kc 1.05 under the base dependency, 30.0 at Kc 1.00 under ИНДИВИД.<2>.
    ArchiveCell base = distinctCell(1);
    base.setWord(ArchiveCell::Strength, 253);
    base.bytes[ArchiveCell::Kc] = 105;
    base.bytes[ArchiveCell::Dependency] = 0;
    ArchiveCell individual = distinctCell(2);
    individual.setWord(ArchiveCell::Strength, 300);
    individual.bytes[ArchiveCell::Kc] = 100;
    individual.bytes[ArchiveCell::Dependency] = 2;
    add({base, individual});
    RegisterId baseId = 0, individualId = 0;
    for (const RegisterMeasurement &m : reg.measurements(MeasurementSelection::all()))
        (m.cell.byte(ArchiveCell::Kc) == 105 ? baseId : individualId) = m.id;
    ASSERT_NE(
        reg.addCalibrationSite({0, set, 0, "бумага", 24.35, 25.1, QDate(2025, 6, 30), {}, {}, {}}, kAdded),
        0);
    ASSERT_NE(
        reg.addCalibrationSite({0, set, baseId, "б", 0, 26.1, QDate(2026, 12, 3), {}, {}, {}}, kAdded), 0);
    ASSERT_NE(
        reg.addCalibrationSite({0, set, individualId, "и", 0, 31.0, QDate(2026, 12, 4), {}, {}, {}}, kAdded),
        0);

    QString error;
    const std::optional<DependencySource> source = dependencySource(reg, set, SiteChoice::All, error);
    ASSERT_TRUE(source) << qPrintable(error);
    EXPECT_EQ(source->setName, QStringLiteral("Колонны 2026"));
    EXPECT_EQ(source->methodName, QStringLiteral("отрыв со скалыванием"));
    ASSERT_EQ(source->sites.size(), 3);
    EXPECT_EQ(source->sites.at(1).indirect, 2530.0 / 105);
    EXPECT_EQ(source->sites.at(2).indirect, 30.0);
    EXPECT_EQ(source->dependencies, (QStringList {QString(), "БАЗОВАЯ", "ИНДИВИД.<2>"}));
    // The typed site's dependency is not known: the set mixes two, and names the one apart.
    const DependencyMix mix = dependencyMix(*source, DependencyKind::Kc);
    EXPECT_TRUE(mix.refused);
    EXPECT_EQ(mix.differing, QList<qsizetype>({2}));

    // Three sites: all of them are the newest twenty.
    EXPECT_EQ(dependencySource(reg, set, SiteChoice::Newest, error)->dependencies, source->dependencies);
    EXPECT_FALSE(dependencySource(reg, set + 100, SiteChoice::All, error));
    EXPECT_EQ(error, QStringLiteral("в журнале нет этого градуировочного набора"));

    // A measurement's strength by Kc 1.10: H = 2530 / 105 = 24.0952…, 1.10 · H = 26.50476…
    AppliedDependency kc;
    kc.kind = DependencyKind::Kc;
    kc.kc = 1.1;
    const std::optional<DependencyStrength> byKc = strengthByDependency(kc, base);
    ASSERT_TRUE(byKc);
    EXPECT_NEAR(byKc->strength, 1.1 * 2530 / 105, 1e-12);
    EXPECT_EQ(strengthTenths(byKc->strength), 265);
    ArchiveCell noKc = base;
    noKc.bytes[ArchiveCell::Kc] = 0;
    EXPECT_FALSE(strengthByDependency(kc, noKc));
}

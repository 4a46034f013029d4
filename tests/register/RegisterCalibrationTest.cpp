// Calibration sets and their sites in the register, on a file and on a server: kept and
// read back whole, H of a measurement-backed site from its cell, and every refusal.
#include "RegisterFixture.h"

#include "QtPrinters.h"

using namespace luvir;
using namespace luvir::test;

namespace {

const QDateTime kAdded(QDate(2026, 12, 11), QTime(9, 30, 0));

class RegisterCalibrationTest : public RegisterTest
{
protected:
    void SetUp() override
    {
        RegisterTest::SetUp();
        ArchiveCell base = distinctCell(1); // 25.3 MPa with Kc 1.05
        base.setWord(ArchiveCell::Strength, 253);
        base.bytes[ArchiveCell::Kc] = 105;
        ArchiveCell noKc = distinctCell(2);
        noKc.bytes[ArchiveCell::Kc] = 0;
        add({base, noKc});
        const QList<RegisterMeasurement> listed = reg.measurements(MeasurementSelection::all());
        ASSERT_EQ(listed.size(), 2);
        for (const RegisterMeasurement &m : listed)
            (m.cell.byte(ArchiveCell::Kc) == 0 ? withoutKc : measured) = m.id;
        const RegisterId house = reg.addObject({0, "Дом 5", "", "", ""});
        const RegisterId column = reg.addStructure({0, house, "Колонна К-3", 1, "B25", {}, ""});
        ASSERT_TRUE(reg.assign({measured}, column, QStringLiteral("2а")));
        set = reg.addCalibrationSet(
            {0, "Колонны 2026", DirectMethod::PullOff, "B25 на гранитном щебне", QDate(2026, 12, 1), "", 0});
        ASSERT_NE(set, 0) << qPrintable(reg.errorString());
    }

    RegisterId measured = 0, withoutKc = 0, set = 0;
};

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Engines, RegisterCalibrationTest, ::testing::Values(Engine::Sqlite, Engine::Postgres), engineName);

TEST_P(RegisterCalibrationTest, ASetIsKeptChangedAndRemovedWithItsSites)
{
    std::optional<CalibrationSet> read = reg.calibrationSet(set);
    ASSERT_TRUE(read);
    EXPECT_EQ(*read,
        (CalibrationSet {set, "Колонны 2026", DirectMethod::PullOff, "B25 на гранитном щебне",
            QDate(2026, 12, 1), "", 0}));
    EXPECT_EQ(reg.findCalibrationSets(QStringLiteral("Колонны 2026")), QList<CalibrationSet> {*read});
    EXPECT_TRUE(reg.findCalibrationSets(QStringLiteral("Плиты")).isEmpty());

    CalibrationSet edited = *read;
    edited.method = DirectMethod::Cores;
    edited.notes = QStringLiteral("керны Ø 100");
    ASSERT_TRUE(reg.updateCalibrationSet(edited)) << qPrintable(reg.errorString());
    EXPECT_EQ(reg.calibrationSet(set)->method, DirectMethod::Cores);
    EXPECT_EQ(reg.calibrationSet(set)->revision, 1);
    // An edit made from what was read before that change is refused, not written over it.
    EXPECT_FALSE(reg.updateCalibrationSet(*read));
    EXPECT_TRUE(reg.errorString().contains(QStringLiteral("запись изменена")));

    ASSERT_NE(
        reg.addCalibrationSite({0, set, measured, "", 0, 26.1, QDate(2026, 12, 3), {}, {}, {}}, kAdded), 0);
    const RegisterId other = reg.addCalibrationSet({0, "Плиты", DirectMethod::Cubes, "", {}, "", 0});
    ASSERT_NE(reg.addCalibrationSite({0, other, measured, "", 0, 27.0, {}, {}, {}, {}}, kAdded), 0);
    ASSERT_TRUE(reg.removeCalibrationSet(set));
    EXPECT_FALSE(reg.calibrationSet(set));
    EXPECT_TRUE(reg.calibrationSites(set).isEmpty());
    EXPECT_EQ(reg.calibrationSites(other).size(), 1); // the other set's site stays
    EXPECT_TRUE(reg.measurement(measured)); // and so does the measurement
    EXPECT_FALSE(reg.removeCalibrationSet(set));
    EXPECT_EQ(reg.calibrationSets().size(), 1);
}

TEST_P(RegisterCalibrationTest, SitesReadBackWithTheirIndirectValues)
{
    const RegisterId typed = reg.addCalibrationSite(
        {0, set, 0, "ось 3; низ", 24.35, 25.1, QDate(2025, 6, 30), {}, {}, {}}, kAdded);
    const RegisterId fromMeasurement = reg.addCalibrationSite(
        {0, set, measured, "", 0, 26.1, QDate(2026, 12, 3), {}, {}, {}}, kAdded.addSecs(60));
    ASSERT_NE(typed, 0) << qPrintable(reg.errorString());
    ASSERT_NE(fromMeasurement, 0) << qPrintable(reg.errorString());

    const QList<CalibrationSite> sites = reg.calibrationSites(set);
    ASSERT_EQ(sites.size(), 2);
    EXPECT_EQ(sites.at(0).id, typed);
    EXPECT_EQ(sites.at(0).label, QStringLiteral("ось 3; низ"));
    EXPECT_EQ(sites.at(0).indirect, 24.35);
    EXPECT_EQ(sites.at(0).direct, 25.1);
    EXPECT_EQ(sites.at(0).testedOn, QDate(2025, 6, 30));
    EXPECT_EQ(sites.at(0).addedAt, kAdded);
    EXPECT_EQ(sites.at(0).measurementId, 0);
    EXPECT_EQ(sites.at(0).dependency, QString());

    // H = 25.3 MPa / 1.05 = 2530 / 105; the label is the measurement's site.
    EXPECT_EQ(sites.at(1).measurementId, measured);
    EXPECT_EQ(sites.at(1).indirect, 2530.0 / 105);
    EXPECT_EQ(sites.at(1).label, QStringLiteral("2а"));
    EXPECT_EQ(sites.at(1).direct, 26.1);
    EXPECT_EQ(sites.at(1).addedAt, kAdded.addSecs(60));
    EXPECT_FALSE(sites.at(1).dependency.isEmpty());
    EXPECT_EQ(sites.at(1).unusable, QString());

    ASSERT_TRUE(reg.removeCalibrationSite(typed));
    EXPECT_EQ(reg.calibrationSites(set).size(), 1);
    EXPECT_FALSE(reg.removeCalibrationSite(typed));
}

TEST_P(RegisterCalibrationTest, RefusalsSayWhy)
{
    struct Case {
        CalibrationSite site;
        QString message;
    };
    const QString nul = QStringLiteral("а") + QChar(0);
    const Case cases[] = {
        {{0, set, 0, "1", 24.3, 0, {}, {}, {}, {}}, "Прочность по прямому методу должна быть больше 0"},
        {{0, set, measured, "", 0, -2, {}, {}, {}, {}}, "Прочность по прямому методу должна быть больше 0"},
        {{0, set, 0, " ", 24.3, 25, {}, {}, {}, {}}, "У участка без измерения должна быть метка"},
        {{0, set, 0, "1", 0, 25, {}, {}, {}, {}}, "Косвенное значение H должно быть больше 0"},
        {{0, set, 0, nul, 24.3, 25, {}, {}, {}, {}}, "Участок не может содержать символ с кодом 0"},
        {{0, set, 999, "", 0, 25, {}, {}, {}, {}}, "в журнале нет измерения 999"},
        {{0, set, withoutKc, "", 0, 25, {}, {}, {}, {}},
            QStringLiteral(
                "Измерение %1 нельзя использовать: Kc измерения равен 0: косвенное значение H = R / Kc "
                "не определено")
                .arg(withoutKc)},
        {{0, set + 100, 0, "1", 24.3, 25, {}, {}, {}, {}}, "в журнале нет этого градуировочного набора"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        EXPECT_EQ(reg.addCalibrationSite(c.site, kAdded), 0);
        EXPECT_TRUE(reg.errorString().contains(c.message)) << qPrintable(reg.errorString());
    }
    EXPECT_TRUE(reg.calibrationSites(set).isEmpty());

    EXPECT_EQ(reg.addCalibrationSet({0, " ", DirectMethod::Cubes, "", {}, "", 0}), 0);
    EXPECT_TRUE(reg.errorString().contains(QStringLiteral("У градуировочного набора должно быть название")));
    EXPECT_EQ(reg.addCalibrationSet({0, "x", DirectMethod(7), "", {}, "", 0}), 0);
    EXPECT_EQ(reg.calibrationSets().size(), 1);
}

// Sites added together are one change: a refused one, wherever it stands, leaves none of the
// others added, and the refusal says why.
TEST_P(RegisterCalibrationTest, SeveralSitesAreAddedWholeOrNotAtAll)
{
    const CalibrationSite typed {0, set, 0, "ось 3", 24.35, 25.1, QDate(2025, 6, 30), {}, {}, {}};
    const CalibrationSite fromMeasurement {0, set, measured, "", 0, 26.1, QDate(2026, 12, 3), {}, {}, {}};
    struct Case {
        const char *name;
        CalibrationSite refused;
        QString message;
    };
    const Case cases[] = {
        {"no direct strength", {0, set, 0, "2", 24.3, 0, {}, {}, {}, {}},
            "Прочность по прямому методу должна быть больше 0"},
        {"no such measurement", {0, set, 999, "", 0, 25, {}, {}, {}, {}}, "в журнале нет измерения 999"},
        {"Kc of 0", {0, set, withoutKc, "", 0, 25, {}, {}, {}, {}},
            QStringLiteral("Измерение %1 нельзя использовать").arg(withoutKc)},
        {"no such set", {0, set + 100, 0, "2", 24.3, 25, {}, {}, {}, {}},
            "в журнале нет этого градуировочного набора"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QList<RegisterId> ids {77};
        EXPECT_FALSE(reg.addCalibrationSites({typed, c.refused, fromMeasurement}, kAdded, &ids));
        EXPECT_TRUE(reg.errorString().contains(c.message)) << qPrintable(reg.errorString());
        EXPECT_EQ(ids, QList<RegisterId> {77}); // not touched
        EXPECT_TRUE(reg.calibrationSites(set).isEmpty());
    }

    // A measurement removed from the register after it was listed is refused in the change.
    ArchiveCell later = distinctCell(3);
    add({later}, "b.db");
    RegisterId removed = 0;
    for (const RegisterMeasurement &m : reg.measurements(MeasurementSelection::unassigned()))
        if (m.id != withoutKc)
            removed = m.id;
    ASSERT_NE(removed, 0);
    ASSERT_TRUE(reg.markRemoved({removed}));
    EXPECT_FALSE(reg.addCalibrationSites({typed, {0, set, removed, "", 0, 25, {}, {}, {}, {}}}, kAdded));
    EXPECT_TRUE(reg.errorString().contains(QStringLiteral("в журнале нет измерения %1").arg(removed)));
    EXPECT_TRUE(reg.calibrationSites(set).isEmpty());

    QList<RegisterId> ids;
    ASSERT_TRUE(reg.addCalibrationSites({typed, fromMeasurement}, kAdded, &ids))
        << qPrintable(reg.errorString());
    const QList<CalibrationSite> sites = reg.calibrationSites(set);
    ASSERT_EQ(sites.size(), 2);
    EXPECT_EQ(ids, (QList<RegisterId> {sites.at(0).id, sites.at(1).id}));
    EXPECT_EQ(sites.at(0).label, QStringLiteral("ось 3"));
    EXPECT_EQ(sites.at(1).measurementId, measured);
    EXPECT_EQ(sites.at(1).label, QStringLiteral("2а"));
}

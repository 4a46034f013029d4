// One name, one thing: an object's name is unique in the register and a structure's within its
// object, on both engines; twins an older register holds are renamed once, nothing lost; and a
// change the user makes at once (find or make, then assign; the protocol's texts) is one.
#include "RegisterFixture.h"

#include "RegisterSchema.h"

using namespace luvir;
using namespace luvir::test;

namespace {

class RegisterNamesTest : public RegisterTest
{
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Engines, RegisterNamesTest, ::testing::Values(Engine::Sqlite, Engine::Postgres), engineName);

TEST_P(RegisterNamesTest, ANameTakenIsRefusedForAddingAndRenaming)
{
    const RegisterId house = reg.addObject({0, "Дом 5", {}, {}, {}});
    const RegisterId store = reg.addObject({0, "Склад", {}, {}, {}});
    ASSERT_NE(house, 0);
    const RegisterId column = reg.addStructure({0, house, "К-3", -1, {}, {}, {}});
    const RegisterId slab = reg.addStructure({0, house, "П-1", -1, {}, {}, {}});
    ASSERT_NE(slab, 0);
    // The same structure name in another object is another structure.
    EXPECT_NE(reg.addStructure({0, store, "К-3", -1, {}, {}, {}}), 0) << qPrintable(reg.errorString());

    RegisterObject storeRenamed = *reg.object(store);
    storeRenamed.name = "Дом 5";
    RegisterStructure slabRenamed = *reg.structure(slab);
    slabRenamed.name = "К-3";
    struct Case {
        const char *what;
        std::function<bool()> change;
        QString told;
    };
    const Case cases[] = {
        {"a second object", [&] { return reg.addObject({0, "Дом 5", "ул. Мира", {}, {}}) != 0; },
            "в журнале уже есть объект \"Дом 5\""},
        {"a second structure", [&] { return reg.addStructure({0, house, "К-3", 1, "B25", {}, {}}) != 0; },
            "у объекта уже есть конструкция \"К-3\""},
        {"an object renamed", [&] { return reg.updateObject(storeRenamed); },
            "в журнале уже есть объект \"Дом 5\""},
        {"a structure renamed", [&] { return reg.updateStructure(slabRenamed); },
            "у объекта уже есть конструкция \"К-3\""},
    };
    for (const Case &c : cases) {
        EXPECT_FALSE(c.change()) << c.what;
        EXPECT_EQ(reg.errorString(), c.told) << c.what;
    }
    EXPECT_EQ(reg.objects().size(), 2);
    EXPECT_EQ(reg.object(store)->name, "Склад");
    EXPECT_EQ(reg.structure(slab)->name, "П-1");
    EXPECT_EQ(reg.structures(house).size(), 2);
    EXPECT_EQ(reg.structure(column)->name, "К-3");

    // The database itself keeps the rule, whatever program writes to it.
    RawConnection raw(registerPath());
    QSqlQuery query(raw.db());
    EXPECT_FALSE(query.exec("INSERT INTO objects (name) VALUES ('Дом 5')"));
    EXPECT_FALSE(query.exec(QStringLiteral("INSERT INTO structures (object_id, name) VALUES (%1, 'К-3')").arg(house)));
}

// Assigning to a structure named with its object makes both when missing and uses them
// when there, in the same change.
TEST_P(RegisterNamesTest, AssigningByNameMakesTheStructureOnceAndUsesIt)
{
    add(distinctCells(0, 3));
    const QList<RegisterId> measured = ids(MeasurementSelection::all());
    RegisterStructure first, second, third;
    ASSERT_TRUE(reg.assignNamed({measured[0]}, "Объект 3", "К-3", QStringLiteral("1"), &first))
        << qPrintable(reg.errorString());
    ASSERT_TRUE(reg.assignNamed({measured[1]}, "Объект 3", "К-3", {}, &second));
    ASSERT_TRUE(reg.assignNamed({measured[2]}, "Объект 4", "К-3", {}, &third));
    EXPECT_NE(first.id, 0);
    EXPECT_EQ(second.id, first.id);
    EXPECT_EQ(second.objectId, first.objectId);
    EXPECT_NE(third.objectId, first.objectId);
    EXPECT_EQ(reg.objects().size(), 2);
    EXPECT_EQ(ids(MeasurementSelection::ofStructure(first.id)), measured.mid(0, 2));
    EXPECT_EQ(reg.measurement(measured[0])->site, "1");

    // A refused assignment makes nothing either.
    EXPECT_FALSE(reg.assignNamed({measured[0], 999999}, "Объект 5", "К-1"));
    EXPECT_EQ(reg.errorString(), "в журнале нет измерения 999999");
    EXPECT_TRUE(reg.findObjects("Объект 5").isEmpty());
    EXPECT_EQ(reg.measurement(measured[0])->structureId, first.id);
}

// The protocol's texts of every scope and the object's customer and address are kept as
// one change: a failure keeps none.
TEST_P(RegisterNamesTest, TheProtocolsTextsAreKeptWholeOrNotAtAll)
{
    const RegisterId house = reg.addObject({0, "Дом 5", {}, {}, {}});
    const QMap<QString, QMap<QString, QString>> texts {
        {QString(), {{"laboratory", "ИЛ «Бетон»"}}},
        {Register::instrumentScope("1234"), {{"verification", "С-1/26"}}},
    };
    EXPECT_FALSE(reg.keepProtocolTexts(texts, {house + 100, "ООО «Стройка»", "ул. Мира, 1"}));
    EXPECT_TRUE(reg.protocolFields().isEmpty());
    EXPECT_TRUE(reg.protocolFields(Register::instrumentScope("1234")).isEmpty());

    ASSERT_TRUE(reg.keepProtocolTexts(texts, {house, "ООО «Стройка»", "ул. Мира, 1"})) << qPrintable(reg.errorString());
    EXPECT_EQ(reg.protocolFields().value("laboratory"), "ИЛ «Бетон»");
    EXPECT_EQ(reg.protocolFields(Register::instrumentScope("1234")).value("verification"), "С-1/26");
    EXPECT_EQ(reg.object(house)->customer, "ООО «Стройка»");
    EXPECT_EQ(reg.object(house)->address, "ул. Мира, 1");
    const int revision = reg.object(house)->revision;
    // The same texts again change nothing in the object.
    ASSERT_TRUE(reg.keepProtocolTexts(texts, {house, "ООО «Стройка»", "ул. Мира, 1"}));
    EXPECT_EQ(reg.object(house)->revision, revision);
}

// A register of the schema before names were unique, holding twins, is brought forward: the
// later twins get a name of their own, every structure stays in its object (and so every
// measurement where it was), and the user is
// told once which names changed.
TEST_P(RegisterNamesTest, TwinsOfAnOlderRegisterAreRenamedOnceAndNothingIsLost)
{
    reg.close();
    ScratchRegister old(engine());
    {
        const SqlDialect dialect(engine());
        RawConnection raw(old.location());
        QStringList statements;
        for (int from = 0; from < 3; ++from)
            statements += schemaStep(from, dialect) + dialect.writeVersion(from + 1);
        statements << "INSERT INTO objects (name) VALUES ('Объект 3')" // 1
                   << "INSERT INTO objects (name) VALUES ('Объект 3')" // 2
                   << "INSERT INTO objects (name) VALUES ('Объект 3 (2)')" // 3: the first free suffix is (3)
                   << "INSERT INTO structures (object_id, name) VALUES (1, 'К-3')" // 1
                   << "INSERT INTO structures (object_id, name) VALUES (1, 'К-3')" // 2
                   << "INSERT INTO structures (object_id, name) VALUES (1, 'К-3')" // 3
                   << "INSERT INTO structures (object_id, name) VALUES (2, 'К-3')"; // 4: another object's
        for (const QString &statement : statements) {
            QSqlQuery query(raw.db());
            ASSERT_TRUE(query.exec(statement)) << qPrintable(statement) << qPrintable(query.lastError().text());
        }
    }
    ASSERT_EQ(reg.open(old.location()), Register::OpenStatus::Ok) << qPrintable(reg.errorString());
    EXPECT_EQ(reg.renamedOnUpgrade(),
        (QStringList {
            "объект \"Объект 3\" переименован в \"Объект 3 (3)\": так уже назывался другой объект",
            "конструкция \"К-3\" объекта \"Объект 3\" переименована в \"К-3 (2)\": так уже называлась "
            "другая конструкция этого объекта",
            "конструкция \"К-3\" объекта \"Объект 3\" переименована в \"К-3 (3)\": так уже называлась "
            "другая конструкция этого объекта",
        }));
    EXPECT_TRUE(upgradeNotice(reg).startsWith("В журнале были одинаковые названия"));
    EXPECT_EQ(reg.object(2)->name, "Объект 3 (3)");
    EXPECT_EQ(reg.object(3)->name, "Объект 3 (2)");
    QStringList structures;
    for (const RegisterStructure &s : reg.structures())
        structures << QStringLiteral("%1:%2:%3").arg(s.id).arg(s.objectId).arg(s.name);
    structures.sort();
    EXPECT_EQ(structures, (QStringList {"1:1:К-3", "2:1:К-3 (2)", "3:1:К-3 (3)", "4:2:К-3"}));

    // Told once: the next opening finds nothing to change.
    reg.close();
    ASSERT_EQ(reg.open(old.location()), Register::OpenStatus::Ok);
    EXPECT_TRUE(reg.renamedOnUpgrade().isEmpty());
    EXPECT_TRUE(upgradeNotice(reg).isEmpty());
}

// luvir-cli register properties: a structure's and an object's fields set from a script and
// printed as "key: value" lines; a date of concreting after the structure's first test is
// refused as in the window (exit 1, nothing kept); the protocol made next prints the age,
// read back by poppler.
#include "CliFixture.h"
#include "ProtocolReadBack.h"
#include "ProtocolTestData.h"
#include "Register.h"

using namespace luvir;
using namespace luvir::cli;
using namespace luvir::cli::test;

namespace {

const QString kColumn = QStringLiteral("Колонна К-3, ось 5/Б");
const QString kHouse = QStringLiteral("Жилой дом № 3");

// The register of fillRegister(): the column, tested on 5 and 6 March 2026, concreted on
// 6 February; the house's address and customer those of plainHeader().
class RegisterPropertiesCommand : public CliTest
{
protected:
    void SetUp() override
    {
        Register reg;
        ASSERT_EQ(reg.open(registerFile()), Register::OpenStatus::Ok);
        filled = luvir::test::fillRegister(reg);
    }
    QString registerFile() const { return path("register.sqlite"); }
    QStringList properties(const QStringList &options) const
    {
        return QStringList {"register", "--register", registerFile(), "properties"} + options;
    }
    RegisterStructure columnRecord() const
    {
        Register reg;
        reg.open(registerFile());
        return reg.structure(filled.structures.at(0)).value_or(RegisterStructure {});
    }

    luvir::test::FilledRegister filled;
};

TEST_F(RegisterPropertiesCommand, SetAndPrintedAsKeyValueLines)
{
    const QStringList column {"--structure", kColumn, "--object", kHouse};
    ASSERT_EQ(run(properties(column)), kExitOk) << console.stderrText.toStdString();
    EXPECT_EQ(console.stdoutText,
        "object: Жилой дом № 3\nstructure: Колонна К-3, ось 5/Б\nkind: колонна\n"
        "class: B25\nconcreted: 06.02.2026\nnotes:\n");

    ASSERT_EQ(run(properties(column
                  + QStringList {"--kind", "Ригель", "--class", " B30 ", "--concreted", "2026-02-05",
                      "--notes", "ось 5\\Б\nвторой этаж"})),
        kExitOk)
        << console.stderrText.toStdString();
    EXPECT_EQ(console.stdoutText, "");
    ASSERT_EQ(run(properties(column)), kExitOk);
    EXPECT_EQ(console.stdoutText,
        "object: Жилой дом № 3\nstructure: Колонна К-3, ось 5/Б\nkind: ригель\n"
        "class: B30\nconcreted: 05.02.2026\nnotes: ось 5\\\\Б\\nвторой этаж\n");

    // Cleared: none, and an empty text.
    ASSERT_EQ(
        run(properties(column + QStringList {"--kind", "none", "--concreted", "none", "--class="})), kExitOk);
    const RegisterStructure cleared = columnRecord();
    EXPECT_EQ(cleared.elementKind, -1);
    EXPECT_EQ(cleared.concretedOn, QDate());
    EXPECT_EQ(cleared.designClass, "");
    EXPECT_EQ(cleared.notes, "ось 5\\Б\nвторой этаж");

    const QStringList house {"--object", kHouse};
    ASSERT_EQ(
        run(properties(house + QStringList {"--customer", "ООО «Заказчик»", "--address", ""})), kExitOk);
    ASSERT_EQ(run(properties(house)), kExitOk);
    EXPECT_EQ(console.stdoutText, "object: Жилой дом № 3\naddress:\ncustomer: ООО «Заказчик»\nnotes:\n");
}

// The date a protocol's age is counted from: after the first test refused, nothing of the
// call kept; 28 days before it, the protocol shows 28 (to 29 for the tests of the next day).
TEST_F(RegisterPropertiesCommand, AConcretingDateAfterTheTestsIsRefusedAndOneBeforeGivesTheAge)
{
    const QStringList column {"--structure", kColumn, "--object", kHouse};
    const RegisterStructure before = columnRecord();
    for (const char *date : {"2026-03-06", "15.10.2026"}) {
        EXPECT_EQ(run(properties(column + QStringList {"--class", "B40", "--concreted", date})), kExitFailed);
        EXPECT_EQ(console.stderrText,
            QStringLiteral("Дата бетонирования %1 позже первого испытания конструкции "
                           "05.03.2026.\n")
                .arg(QDate::fromString(date, Qt::ISODate).isValid() ? "06.03.2026" : date));
        EXPECT_EQ(columnRecord(), before);
    }

    ASSERT_EQ(run(properties(column + QStringList {"--concreted", "05.02.2026"})), kExitOk)
        << console.stderrText.toStdString();
    const QString pdf = path("p.pdf");
    ASSERT_EQ(run({"register", "--register", registerFile(), "protocol", "--structure", kColumn, "--object",
                  kHouse, "--out", pdf}),
        kExitOk)
        << console.stderrText.toStdString();
    const QString text = luvir::test::pdfPages(pdf, "C.UTF-8").join(' ').simplified();
    EXPECT_TRUE(text.contains("Дата бетонирования 05.02.2026")) << text.toStdString();
    EXPECT_TRUE(text.contains(QString("Возраст бетона на дату испытаний, 28–29 сут"))
        || text.contains(QString("Возраст бетона на дату испытаний, сут 28–29")))
        << text.toStdString();
}

TEST_F(RegisterPropertiesCommand, WrongUsageIsExplainedInOneLine)
{
    struct Case {
        QStringList arguments;
        QString error;
    };
    const Case cases[] = {
        {properties({"--structure", kColumn}),
            "register properties needs --object NAME (and --structure NAME for a structure)"},
        {properties({"--object", kHouse, "--kind", "колонна"}),
            "--kind is a structure's: give --structure NAME"},
        {properties({"--object", kHouse, "--structure", kColumn, "--customer", "X"}),
            "--customer is an object's: give --object without --structure"},
        {properties({"--object", kHouse, "--structure", kColumn, "--concreted", "31.02.2026"}),
            "--concreted needs a date such as 2026-12-10 or 10.12.2026, or none, not \"31.02.2026\""},
        {properties({"--object", kHouse, "--structure", kColumn, "--kind", "мост"}),
            "--kind needs one of: изделие, фунд. блок, колонна, балка, ригель, плита, внутр.стена, "
            "наруж.стена, "
            "стяжка, ферма, свая, полы; or none"},
        {properties({"--object", kHouse, "--notes"}), "--notes needs a value"},
        {properties({"--object", kHouse, "extra"}), "unexpected argument \"extra\""},
        {{"register", "list", "--class", "B25"}, "--class is for register properties"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        EXPECT_EQ(run(c.arguments), kExitUsage);
        EXPECT_EQ(console.stderrText, usageMessage(c.error, "register") + '\n');
    }
    // No such structure or object: told, exit 1.
    EXPECT_EQ(run(properties({"--object", "Нет"})), kExitFailed);
    EXPECT_EQ(console.stderrText, "luvir-cli: no object \"Нет\" in the register\n");
    EXPECT_EQ(run(properties({"--object", "Склад", "--structure", "Нет"})), kExitFailed);
    EXPECT_EQ(
        console.stderrText, "luvir-cli: no structure \"Нет\" of the object \"Склад\" in the register\n");
}

} // namespace

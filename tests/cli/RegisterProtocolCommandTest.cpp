// luvir-cli register protocol: the built tool makes the protocol of two structures of an
// object as PDF and ODT, read back by poppler and LibreOffice under C and ru_RU.UTF-8
// (the rows and figures worked out by protocol_reference.py); its refusals, in-process,
// word for word, each leaving the kept header fields as they were.
#include "CliFixture.h"
#include "ProtocolReadBack.h"
#include "ProtocolTestData.h"
#include "Register.h"
#include "ToolRun.h"

#include <QDir>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>

using namespace luvir;
using namespace luvir::cli;
using namespace luvir::cli::test;
using luvir::test::ExpectedStructure;
using luvir::test::FilledRegister;
using luvir::test::ToolRun;

namespace {

const QString kColumn = QStringLiteral("Колонна К-3, ось 5/Б");
const QString kSlab = QStringLiteral("Плита П-1");
const QString kHouse = QStringLiteral("Жилой дом № 3");

// The register of fillRegister(): the column (30 sites) and the slab (mixed) of the house,
// a column of that name in "Склад" too, and the protocol number "16/26" kept; besides,
// "Балка Б-1" in "Склад" and "Стена С-2" of the house, without measurements.
class RegisterProtocolCommand : public CliTest
{
protected:
    void SetUp() override
    {
        Register reg;
        ASSERT_EQ(reg.open(registerFile()), Register::OpenStatus::Ok);
        filled = luvir::test::fillRegister(reg);
        const RegisterId store = reg.findObjects("Склад").value(0).id;
        ASSERT_NE(reg.addStructure({0, store, "Балка Б-1", -1, {}, {}, {}}), 0);
        ASSERT_NE(reg.addStructure({0, filled.objectId, "Стена С-2", -1, {}, {}, {}}), 0);
    }

    QString registerFile() const { return path("register.sqlite"); }
    QStringList protocol(const QStringList &options) const
    {
        return QStringList {"register", "--register", registerFile(), "protocol"} + options;
    }
    // The protocol number the register keeps, the last one written.
    QString keptNumber() const
    {
        Register reg;
        reg.open(registerFile());
        return reg.protocolFields().value("number");
    }

    FilledRegister filled;
};

// The built tool under `locale`.
ToolRun runBuiltCli(const QStringList &arguments, const char *locale)
{
    return luvir::test::runTool(QStringLiteral(LUVIR_CLI_PATH), arguments, QString::fromLatin1(locale));
}

// A protocol's text, for a reader, with each line's spaces collapsed.
QStringList collapsedLines(const QString &text)
{
    QStringList lines;
    for (const QString &line : text.split('\n'))
        lines << line.simplified();
    return lines;
}

} // namespace

TEST_F(RegisterProtocolCommand, WritesPdfAndOdtThatReadBackWithEverySiteAndTheFigures)
{
    const QStringList structures {"--structure", kColumn, "--structure", kSlab, "--object", kHouse};
    QStringList odts;
    QList<const luvir::test::ReadLocale *> odtLocales;
    int number = 16;
    for (const luvir::test::ReadLocale &locale : luvir::test::kReadLocales) {
        SCOPED_TRACE(locale.name);
        const bool russian = locale.separator == ",";
        QList<ExpectedStructure> expected;
        for (const ProtocolStructure &structure : filled.expected)
            expected << luvir::test::expectedStructure(structure, locale.separator, dir.path());

        // The PDF: each site's row whole on one line, each structure's figures, the pages
        // numbered; the protocol numbered after the last one kept.
        // The ODT in the same run: the same protocol, the same number.
        const QString pdf = path(QStringLiteral("протокол-%1.PDF").arg(locale.name));
        const QString odt = path(QStringLiteral("protocol-%1.odt").arg(locale.name));
        const ToolRun made = runBuiltCli(
            protocol(structures + QStringList {"--date", "2026-03-10", "--out", pdf, "--out", odt}), locale.name);
        ASSERT_EQ(made.exitCode, kExitOk) << made.problem.toStdString();
        const QString saved = russian ? "Протокол сохранён: " : "Protocol saved: ";
        EXPECT_EQ(made.outText(), saved + QDir::cleanPath(pdf) + '\n' + saved + QDir::cleanPath(odt) + '\n');
        EXPECT_EQ(made.errText(), QString());
        const QStringList pages = luvir::test::pdfPages(pdf, locale.name);
        ASSERT_GE(pages.size(), 2);
        QStringList lines;
        for (qsizetype p = 0; p < pages.size(); ++p) {
            lines << collapsedLines(pages.at(p));
            EXPECT_EQ(pages.at(p).simplified().count(
                          QStringLiteral("Страница %1 из %2").arg(p + 1).arg(pages.size())),
                1)
                << "page " << p + 1;
        }
        const QString all = lines.join(' ');
        EXPECT_TRUE(all.contains(QStringLiteral("Протокол испытаний № %1/26 от 10.03.2026").arg(++number)));
        for (const ExpectedStructure &structure : expected) {
            for (const QStringList &row : structure.rows) {
                const QString text = row.join(' ');
                EXPECT_EQ(
                    std::count_if(lines.cbegin(), lines.cend(),
                        [&](const QString &line) { return line == text || line.startsWith(text + ' '); }),
                    1)
                    << text.toStdString();
            }
            EXPECT_EQ(all.count(structure.statisticsLine), 1) << structure.statisticsLine.toStdString();
        }

        odts << odt;
        odtLocales << &locale;
    }
    EXPECT_EQ(keptNumber(), QStringLiteral("%1/26").arg(number));

    // LibreOffice shows each cell of a table on a line of its own.
    for (qsizetype i = 0; i < odts.size(); ++i) {
        const luvir::test::ReadLocale &locale = *odtLocales.at(i);
        SCOPED_TRACE(locale.name);
        const QStringList texts = luvir::test::libreOfficeTexts({odts.at(i)}, dir.path(), locale.name);
        if (texts.isEmpty())
            GTEST_SKIP() << "LibreOffice (soffice) is not installed: the ODT was not read back";
        ASSERT_FALSE(texts.first().isEmpty()) << "LibreOffice could not open the document";
        QStringList lines;
        for (const QString &line : texts.first().split('\n'))
            lines << line.trimmed();
        const QString shown = '\n' + lines.join('\n') + '\n';
        EXPECT_TRUE(shown.contains(QStringLiteral("№ %1/26\n").arg(17 + i)))
            << shown.left(400).toStdString();
        for (const ProtocolStructure &structure : filled.expected) {
            const ExpectedStructure expected
                = luvir::test::expectedStructure(structure, locale.separator, dir.path());
            for (const QStringList &row : expected.rows)
                EXPECT_EQ(shown.count('\n' + row.join('\n') + '\n'), 1) << row.join(' ').toStdString();
            EXPECT_EQ(shown.count('\n' + expected.statisticsLine + '\n'), 1)
                << expected.statisticsLine.toStdString();
        }
    }
}

// --fields FILE over the kept fields, --values, and the fields kept for the next protocol.
TEST_F(RegisterProtocolCommand, FieldsFromAFileAreShownAndKept)
{
    const QString fields = path("fields.txt");
    ASSERT_TRUE(writeBytes(fields,
        "\xEF\xBB\xBFnumber = П-007\n" // saved by an editor that marks UTF-8
        "# протокол для заказчика\n"
        "laboratory=ИЛ \"Бетон\"\\nотдел 2\n"
        "customer=ООО «Заказчик»\n"
        "date=01.04.2026\n"
        "conclusion=Прочность соответствует проекту.\n"));
    const QString pdf = path("p.pdf");
    ASSERT_EQ(run(protocol({"--structure", kSlab, "--values", "--fields", fields, "--out", pdf})), kExitOk)
        << console.stderrText.toStdString();
    const QString text = luvir::test::pdfPages(pdf, "C.UTF-8").join(' ').simplified();
    for (const char *shown : {"ПРОТОКОЛ ИСПЫТАНИЙ № П-007 от 01.04.2026", "ИЛ \"Бетон\" отдел 2",
             "ООО «Заказчик»", "Прочность соответствует проекту."})
        EXPECT_TRUE(text.contains(QString::fromUtf8(shown))) << shown;
    // With --values each site's intermediate values follow its row: the slab's are 25.0, 25.1
    // and 25.5 MPa at every site, in the command's separator (the fixture's comma) whatever
    // the locale the test runs under.
    EXPECT_TRUE(text.contains("№ 1 — единичные значения, МПа: "));
    EXPECT_EQ(text.count("25,0; 25,1; 25,5"), 3) << text.toStdString();

    Register reg;
    ASSERT_EQ(reg.open(registerFile()), Register::OpenStatus::Ok);
    EXPECT_EQ(reg.protocolFields().value("number"), "16/26"); // "П-007" is of another form: its own
    EXPECT_EQ(reg.protocolFields().value("laboratory"), "ИЛ \"Бетон\"\nотдел 2");
    EXPECT_EQ(reg.findObjects(kHouse).value(0).customer, "ООО «Заказчик»");

    // --date wins over the file's date; a structure without measurements gets an empty table.
    ASSERT_EQ(run(protocol({"--structure", "Стена С-2", "--fields", fields, "--date", "02.04.2026", "--out",
                  path("wall.pdf")})),
        kExitOk)
        << console.stderrText.toStdString();
    const QString wall = luvir::test::pdfPages(path("wall.pdf"), "C.UTF-8").join(' ').simplified();
    EXPECT_TRUE(wall.contains("ПРОТОКОЛ ИСПЫТАНИЙ № П-007 от 02.04.2026")) << wall.toStdString();
    EXPECT_TRUE(wall.contains("Стена С-2")) << wall.toStdString();
    EXPECT_TRUE(wall.contains("n = 0")) << wall.toStdString();
}

// The number of each run: the series after a number given in another form, --number, and
// the new year's first protocol, dated with --date; the number read back from the PDF.
TEST_F(RegisterProtocolCommand, EachRunIsOneNumberOfTheSeries)
{
    const struct {
        QStringList options;
        QString shown, kept;
    } runs[] = {
        {{"--date", "2026-03-10"}, "17/26", "17/26"},
        {{"--date", "2026-03-10", "--number", "1/26-К"}, "1/26-К", "17/26"}, // that protocol's alone
        {{"--date", "2026-03-11"}, "18/26", "18/26"},
        {{"--date", "2026-03-11", "--number", "40/26"}, "40/26", "40/26"}, // the series goes on from it
        {{"--date", "31.12.2026"}, "41/26", "41/26"},
        {{"--date", "2027-01-04"}, "1/27", "1/27"},
        {{"--date", "2027-01-05"}, "2/27", "2/27"},
    };
    int n = 0;
    for (const auto &r : runs) {
        SCOPED_TRACE(r.options.join(' ').toStdString());
        const QString pdf = path(QStringLiteral("p%1.pdf").arg(++n));
        ASSERT_EQ(run(protocol(QStringList {"--structure", kSlab, "--out", pdf} + r.options)), kExitOk)
            << console.stderrText.toStdString();
        const QString text = luvir::test::pdfPages(pdf, "C.UTF-8").join(' ').simplified();
        EXPECT_TRUE(text.contains("ПРОТОКОЛ ИСПЫТАНИЙ № " + r.shown + " от")) << text.left(300).toStdString();
        EXPECT_EQ(keptNumber(), r.kept);
    }
}

// One of two files that cannot be written: the other is the protocol, its number is used.
TEST_F(RegisterProtocolCommand, APdfWrittenBesideAFailedOdtUsesTheNumber)
{
    const QString pdf = path("p.pdf");
    const QString odt = path("missing/p.odt");
    EXPECT_EQ(run(protocol({"--structure", kSlab, "--date", "2026-03-10", "--out", odt, "--out", pdf})), kExitFailed);
    EXPECT_TRUE(console.stderrText.startsWith("Не удалось сохранить файл \"" + odt + "\": "))
        << console.stderrText.toStdString();
    EXPECT_EQ(console.stdoutText, "Protocol saved: " + pdf + '\n');
    EXPECT_EQ(keptNumber(), "17/26");
}

// Every refusal: its exit status and message, no file written and nothing kept.
TEST_F(RegisterProtocolCommand, RefusalsSayWhyAndKeepNothing)
{
    const QString badFields = path("bad-fields.txt");
    ASSERT_TRUE(writeBytes(badFields, "number=5\n\ncolour=red\n"));
    const QString missingFields = path("no-fields.txt");
    const QString missingFolder = path("missing");
    struct Case {
        QStringList options;
        int exit;
        QString err;
    };
    const Case cases[] = {
        {{"--structure", "Нет такой"}, kExitFailed,
            "luvir-cli: no structure \"Нет такой\" in the register\n"},
        {{"--structure", kColumn}, kExitFailed,
            "luvir-cli: several structures are called \"" + kColumn
                + "\" (objects \"Жилой дом № 3\", \"Склад\"); name the object with --object\n"},
        {{"--structure", kSlab, "--structure", "Балка Б-1"}, kExitFailed,
            "luvir-cli: the structures belong to different objects (\"Жилой дом № 3\", \"Склад\"); a "
            "protocol is "
            "made for one object\n"},
        {{"--structure", kSlab, "--object", "Склад"}, kExitFailed,
            "luvir-cli: no structure \"" + kSlab + "\" of the object \"Склад\" in the register\n"},
        {{"--structure", kSlab, "--fields", badFields}, kExitFailed,
            badFields + ": строка 3: неизвестное поле \"colour\"\n"},
        {{"--structure", kSlab, "--fields", missingFields}, kExitFailed,
            "luvir-cli: cannot read \"" + missingFields + "\": No such file or directory\n"},
        {{"--structure", kSlab, "--fields", dir.path()}, kExitFailed,
            "luvir-cli: cannot read \"" + dir.path() + "\": file to open is a directory\n"},
    };
    for (const Case &c : cases) {
        const QString out = path("p.pdf");
        SCOPED_TRACE(c.options.join(' ').toStdString());
        EXPECT_EQ(run(protocol(c.options + QStringList {"--out", out})), c.exit);
        EXPECT_EQ(console.stderrText, c.err) << console.stderrText.toStdString();
        EXPECT_EQ(console.stdoutText, QString());
        EXPECT_FALSE(QFile::exists(out));
    }
    // A file that cannot be written: the writer's message with the full path.
    for (const QString &out : {missingFolder + "/p.odt", missingFolder + "/p.pdf"}) {
        EXPECT_EQ(run(protocol({"--structure", kSlab, "--out", out})), kExitFailed);
        EXPECT_TRUE(console.stderrText.startsWith("Не удалось сохранить файл \"" + out + "\": "))
            << console.stderrText.toStdString();
        EXPECT_EQ(console.stdoutText, QString());
    }
    EXPECT_FALSE(QFile::exists(missingFolder));
    EXPECT_EQ(keptNumber(), "16/26");
}

// A register that cannot keep the fields once the file is written: the protocol stays, the
// failure is told and the exit status says so (the next protocol would repeat the number).
TEST_F(RegisterProtocolCommand, FieldsThatCannotBeKeptAfterTheWriteAreTold)
{
    const QString odt = path("p.odt");
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
        other.setDatabaseName(registerFile());
        ASSERT_TRUE(other.open());
        QSqlQuery hold(other);
        ASSERT_TRUE(hold.exec("BEGIN IMMEDIATE"));
        EXPECT_EQ(run(protocol({"--structure", kSlab, "--out", odt})), kExitFailed);
        hold.exec("ROLLBACK");
    }
    QSqlDatabase::removeDatabase(QStringLiteral("holder"));
    EXPECT_EQ(console.stdoutText, "Protocol saved: " + odt + '\n');
    EXPECT_TRUE(
        console.stderrText.startsWith("luvir-cli: the protocol's fields were not kept in the register: "))
        << console.stderrText.toStdString();
    EXPECT_TRUE(console.stderrText.contains("журнал занят другой программой"))
        << console.stderrText.toStdString();
    EXPECT_TRUE(readBytes(odt).startsWith("PK"));
    EXPECT_EQ(keptNumber(), "16/26");
}

TEST_F(RegisterProtocolCommand, WrongUsageIsExplainedInOneLine)
{
    struct Case {
        QStringList arguments;
        const char *error;
    };
    const Case cases[] = {
        {protocol({"--out", "p.pdf"}), "register protocol needs --structure NAME"},
        {protocol({"--structure", "S"}), "register protocol needs --out FILE.pdf or FILE.odt"},
        {protocol({"--structure", "S", "--out", "p.docx"}), "--out must end in .pdf or .odt"},
        {protocol({"--structure", "S", "--out", "pdf"}), "--out must end in .pdf or .odt"},
        {protocol({"--structure", "S", "--out", "a.pdf", "--out", "b.PDF"}),
            "--out is given at most twice: once .pdf and once .odt"},
        {protocol({"--structure", "S", "--out", "a.pdf", "--out", "b.odt", "--out", "c.odt"}),
            "--out is given at most twice: once .pdf and once .odt"},
        {protocol({"--structure", "S", "--number", "", "--out", "p.pdf"}), "--number needs a value"},
        {{"register", "list", "--number", "5"}, "--number is for register protocol"},
        {protocol({"--structure", "S", "--out", "p.pdf", "extra"}), "unexpected argument \"extra\""},
        {protocol({"--structure", "S", "--unassigned", "--out", "p.pdf"}),
            "register protocol takes --structure and --object, not --unassigned, --from or --to"},
        {protocol({"--structure", "S", "--date", "31.02.2026", "--out", "p.pdf"}),
            "--date needs a date such as 2026-12-10 or 10.12.2026, not \"31.02.2026\""},
        {protocol({"--structure", "S", "--fields", "", "--out", "p.pdf"}), "--fields needs a value"},
        {{"register", "list", "--values"}, "--values is for register protocol"},
        {{"register", "export", "--structure", "S", "--out", "x.pdf", "x.db"},
            "--out is for register protocol"},
        {{"register", "list", "--structure", "A", "--structure", "B"},
            "--structure is given more than once; only register protocol takes several"},
        {{"download", "--date", "2026-03-10", "out.db"},
            "download takes only --no-register or --register FILE"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        EXPECT_EQ(run(c.arguments), kExitUsage);
        EXPECT_EQ(console.stderrText, usageMessage(QString::fromUtf8(c.error), c.arguments.first()) + '\n');
    }
    // The suffix in any case.
    EXPECT_EQ(parseCommandLine(protocol({"--structure", "S", "--out", "P.OdT"})).formats, QStringList {"odt"});
}

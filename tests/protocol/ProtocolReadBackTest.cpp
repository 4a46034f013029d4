// The protocol's PDF read back by poppler and its ODT by LibreOffice: every site's row, the
// statistics of each structure, the header fields as typed, and in the PDF the page
// numbers, the running header and no row cut between pages. The expected rows and figures
// come from protocol_reference.py, apart from the program.
#include "ProtocolReadBack.h"
#include "ProtocolPages.h"
#include "ProtocolTestData.h"
#include "ProtocolWriter.h"
#include "RegisterProtocol.h"
#include "ToolRun.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace luvir;
using namespace luvir::test;

namespace {

struct Case {
    QString name;
    ProtocolContent content;
};

// Two structures of an object as the register makes their protocol.
ProtocolContent fromRegister()
{
    static const ProtocolContent content = [] {
        QTemporaryDir dir;
        Register reg;
        reg.open(dir.filePath("register.sqlite"));
        QString error;
        const auto made = protocolFromRegister(reg, fillRegister(reg).structures, QDate(2026, 3, 10), error);
        EXPECT_TRUE(made) << qPrintable(error);
        return made.value_or(ProtocolContent());
    }();
    return content;
}

QList<Case> cases()
{
    ProtocolContent one;
    one.header = plainHeader();
    one.structures << generatedStructure("Колонна К-1", 1);

    ProtocolContent thirty;
    thirty.header = plainHeader();
    thirty.structures << generatedStructure("Колонна К-3, ось 5/Б", 30, 100) << mixedStructure();

    ProtocolContent thousand;
    thousand.header = plainHeader();
    thousand.structures << generatedStructure("Плита перекрытия П-7", 1000, 7);

    ProtocolContent awkward;
    awkward.header = awkwardHeader();
    awkward.structures << generatedStructure(
        "Стена \"С-1\" «по оси 3» " + QString("очень длинное название конструкции ").repeated(5), 3, 40);
    awkward.withValues = true;

    // Rows made tall by their intermediate values, over several pages.
    ProtocolContent values;
    values.header = plainHeader();
    values.structures << generatedStructure("Колонна К-1", 60, 300);
    values.withValues = true;
    return {{"values-sixty", values}, {"one-site", one}, {"thirty-and-mixed", thirty}, {"thousand", thousand}, {"awkward", awkward},
        {"from-register", fromRegister()}};
}

// The header fields of awkwardHeader() as a reader must show them, line by line.
const QStringList kAwkwardTexts = {"Лаборатория \"Контроль\" & <Качество>", "отдел № 2", "Объект 'А'",
                                   "корпус 1", "секция 2", "t = +5 °C; влажность 80 %",
                                   "Первая строка.", "Вторая строка «в кавычках»."};

// Page geometry of the PDF in points: the text lies between these; the running header
// above, the page number below.
constexpr double kPointsPerMm = 72 / 25.4;
constexpr double kBodyTop = 19 * kPointsPerMm;
constexpr double kBodyBottom = 278 * kPointsPerMm;

QString normalized(const QString &text)
{
    return text.simplified();
}

// The running header a case's pages after the first carry.
QString runningHeader(const Case &c)
{
    return c.name == "awkward" ? "Протокол испытаний № \"42\"/«Б» от 10.03.2026"
                               : "Протокол испытаний № 17/26 от 10.03.2026";
}

// "Страница N из M" once on every page; the running header once on every page but the first.
void expectNumberedAndHeaded(const QStringList &pages, const QString &header)
{
    for (int p = 0; p < pages.size(); ++p) {
        const QString page = normalized(pages.at(p));
        EXPECT_EQ(page.count(QStringLiteral("Страница %1 из %2").arg(p + 1).arg(pages.size())), 1)
            << "page " << p + 1;
        EXPECT_EQ(page.count(header), p == 0 ? 0 : 1) << "page " << p + 1;
    }
}

class ProtocolReadBack : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        for (const ReadLocale &locale : kReadLocales)
            for (const Case &c : cases()) {
                const ProtocolPages pages(c.content, locale.separator);
                QFile pdf(file(c.name, locale, "pdf"));
                ASSERT_TRUE(pdf.open(QIODevice::WriteOnly));
                ASSERT_TRUE(writeProtocolPdf(pages, pdf));
                QFile odt(file(c.name, locale, "odt"));
                ASSERT_TRUE(odt.open(QIODevice::WriteOnly));
                ASSERT_TRUE(writeProtocolOdt(c.content, locale.separator, odt));
            }
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }

    static QString file(const QString &name, const ReadLocale &locale, const char *suffix)
    {
        return s_dir->filePath(QStringLiteral("%1-%2.%3").arg(name, locale.name, suffix));
    }

    static QStringList odtFiles(const ReadLocale &locale)
    {
        QStringList odts;
        for (const Case &c : cases())
            odts << file(c.name, locale, "odt");
        return odts;
    }

    static QTemporaryDir *s_dir;
};

QTemporaryDir *ProtocolReadBack::s_dir = nullptr;

TEST_F(ProtocolReadBack, PdfShowsEverySiteInItsRowAndTheFigures)
{
    for (const ReadLocale &locale : kReadLocales) {
        for (const Case &c : cases()) {
            SCOPED_TRACE(c.name.toStdString() + " " + locale.name);
            const QStringList pages = pdfPages(file(c.name, locale, "pdf"), locale.name);
            ASSERT_FALSE(pages.isEmpty());
            QList<QStringList> lines; // per page, each line with its spaces collapsed
            for (const QString &page : pages) {
                QStringList l;
                for (const QString &line : page.split('\n'))
                    l << normalized(line);
                lines << l;
            }
            const QString all = normalized(pages.join(' '));

            for (const ProtocolStructure &structure : c.content.structures) {
                const ExpectedStructure expected = expectedStructure(structure, locale.separator, s_dir->path());
                ASSERT_EQ(expected.rows.size(), structure.sites.size());
                for (const QStringList &row : expected.rows) {
                    // Each site once, whole on one line of one page, under the table's titles.
                    const QString text = row.join(' ');
                    int found = 0;
                    for (int p = 0; p < lines.size(); ++p)
                        for (const QString &line : lines.at(p))
                            if (line == text || line.startsWith(text + ' ')) {
                                ++found;
                                EXPECT_TRUE(lines.at(p).join(' ').contains("№ п/п Участок Дата и время"))
                                    << "page " << p + 1 << " has no column titles";
                            }
                    EXPECT_EQ(found, 1) << text.toStdString();
                }
                EXPECT_EQ(all.count(expected.statisticsLine), 1) << expected.statisticsLine.toStdString();
                // "С единичными значениями": each site's values once, on a line naming the site.
                for (qsizetype n = 1; n <= structure.sites.size(); ++n)
                    EXPECT_EQ(all.count(QStringLiteral("№ %1 — единичные значения, МПа: ").arg(n)),
                        c.content.withValues ? 1 : 0) << n;
            }
            const QString sep = locale.separator;
            const QString note = "Примечание: смешаны зависимости (БАЗОВАЯ; ИНДИВИД.<1>) и Kc (1" + sep + "00; 1"
                + sep + "05): прочность вычислена по разным градуировкам.";
            const bool mixed = c.name == "thirty-and-mixed" || c.name == "from-register";
            EXPECT_EQ(all.count(note), mixed ? 1 : 0);
            EXPECT_EQ(all.contains("Примечание"), mixed);
            for (const QString &text : c.name == "awkward" ? kAwkwardTexts : QStringList())
                EXPECT_TRUE(all.contains(text)) << text.toStdString();
        }
    }
}

TEST_F(ProtocolReadBack, PdfPagesNumberedHeadedAndNoLineCut)
{
    for (const ReadLocale &locale : kReadLocales) {
        for (const Case &c : cases()) {
            SCOPED_TRACE(c.name.toStdString() + " " + locale.name);
            const QString pdf = file(c.name, locale, "pdf");
            const QStringList pages = pdfPages(pdf, locale.name);
            const auto count = pages.size();
            if (c.name == "thousand") {
                EXPECT_GE(count, 20);
            }
            expectNumberedAndHeaded(pages, runningHeader(c));

            // Every word lies inside the text's area, or wholly in the bands: the page
            // number below, the running header above on the later pages. A line cut at
            // the page's end would stand across the edge (and be found on both pages).
            QList<int> footWords(count + 1, 0);
            for (const PdfWord &w : pdfWords(pdf, locale.name)) {
                const std::string where = "page " + std::to_string(w.page) + " word " + w.text.toStdString();
                if (w.yMax <= kBodyBottom + 0.5 && w.yMin >= kBodyTop - 0.5)
                    continue;
                if (w.yMin >= kBodyBottom) {
                    ++footWords[w.page];
                    continue;
                }
                EXPECT_LE(w.yMax, kBodyTop) << where << " stands across an edge of the text's area";
                EXPECT_GT(w.page, 1) << where << ": the first page has no running header";
            }
            for (int p = 1; p <= count; ++p)
                EXPECT_EQ(footWords.at(p), 4) << "page " << p << ": \"Страница N из M\" below the text";
        }
    }
}

// A row is never cut between pages: below the column titles every page goes on with a whole
// site row (its number, site and time) or a whole line of a site's values (naming its site),
// never with the rest of a row begun on the page before.
TEST_F(ProtocolReadBack, PdfPagesGoOnWithWholeRows)
{
    const QRegularExpression siteRow(QStringLiteral(
        "^\\d+ .*\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d|^№ \\d+ — единичные значения, МПа: "));
    const QRegularExpression digit(QStringLiteral("\\d"));
    for (const ReadLocale &locale : kReadLocales) {
        for (const Case &c : cases()) {
            SCOPED_TRACE(c.name.toStdString() + " " + locale.name);
            const QStringList pages = pdfPages(file(c.name, locale, "pdf"), locale.name);
            for (int p = 1; p < pages.size(); ++p) {
                const QStringList lines = pages.at(p).split('\n');
                qsizetype i = 0;
                while (i < lines.size() && !lines.at(i).contains("Участок"))
                    ++i;
                while (++i < lines.size() && !lines.at(i).contains(digit)) {
                }
                if (i < lines.size()) {
                    EXPECT_TRUE(normalized(lines.at(i)).contains(siteRow))
                        << "page " << p + 1 << " goes on with: " << normalized(lines.at(i)).toStdString();
                }
            }
        }
    }
}

TEST_F(ProtocolReadBack, OdtOpensInLibreOfficeWithEverySiteAndTheFigures)
{
    for (const ReadLocale &locale : kReadLocales) {
        SCOPED_TRACE(locale.name);
        const QStringList texts = libreOfficeTexts(odtFiles(locale), s_dir->path(), locale.name);
        if (texts.isEmpty())
            GTEST_SKIP() << "LibreOffice (soffice) is not installed: the ODT was not read back";
        for (int i = 0; i < cases().size(); ++i) {
            const Case c = cases().at(i);
            SCOPED_TRACE(c.name.toStdString());
            ASSERT_FALSE(texts.at(i).isEmpty()) << "LibreOffice could not open the document";
            // Table cells come one per line; a line break typed in a field is a line too.
            QStringList lines;
            for (const QString &line : texts.at(i).split('\n'))
                lines << line.trimmed();
            const QString shown = '\n' + lines.join('\n') + '\n';
            for (const ProtocolStructure &structure : c.content.structures) {
                const ExpectedStructure expected = expectedStructure(structure, locale.separator, s_dir->path());
                for (const QStringList &row : expected.rows)
                    EXPECT_EQ(shown.count('\n' + row.join('\n') + '\n'), 1) << row.join(' ').toStdString();
                EXPECT_EQ(shown.count('\n' + expected.statisticsLine + '\n'), 1) << expected.statisticsLine.toStdString();
                for (qsizetype n = 1; n <= structure.sites.size(); ++n)
                    EXPECT_EQ(shown.count(QStringLiteral("\n№ %1 — единичные значения, МПа: ").arg(n)),
                        c.content.withValues ? 1 : 0) << n;
            }
            for (const QString &text : c.name == "awkward" ? kAwkwardTexts : QStringList {"ГОСТ 22690-2015", "ГОСТ 18105-2018"})
                EXPECT_TRUE(shown.contains('\n' + text + '\n')) << text.toStdString();
            EXPECT_EQ(shown.contains("Примечание: смешаны зависимости (БАЗОВАЯ; ИНДИВИД.<1>)"),
                      c.name == "thirty-and-mixed" || c.name == "from-register");
        }
    }
}

// The ODT's pages as LibreOffice lays them out: A4, the page number and count as fields at
// the foot of every page, the running header from the second page on.
TEST_F(ProtocolReadBack, OdtPagesNumberedByLibreOffice)
{
    const ReadLocale &locale = kReadLocales[1];
    const QStringList pdfs = libreOfficePdfs(odtFiles(locale), s_dir->path(), locale.name);
    if (pdfs.isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed: the ODT's pages were not read back";
    for (int i = 0; i < cases().size(); ++i) {
        const Case c = cases().at(i);
        SCOPED_TRACE(c.name.toStdString());
        const ToolRun info = runTool("pdfinfo", {pdfs.at(i)}, "C.UTF-8");
        ASSERT_TRUE(info.ok()) << info.problem.toStdString();
        EXPECT_TRUE(info.outText().contains("(A4)"));
        const QStringList pages = pdfPages(pdfs.at(i), locale.name);
        ASSERT_FALSE(pages.isEmpty());
        if (c.name == "thousand") {
            EXPECT_GE(pages.size(), 20);
        }
        expectNumberedAndHeaded(pages, runningHeader(c));
    }
}

} // namespace

namespace {

// The ages and the empty fields as poppler reads the PDF and LibreOffice the ODT: a date of
// concreting 28 days before the tests (05.02 to 05.03.2026, worked out on the calendar) shows
// 28; one after the tests shows no age but "—" and the note; fields the protocol must hold
// are lines to fill in, the others are left out with their labels.
TEST(ProtocolReadBackFields, AgeFromTheCalendarAndEmptyFieldsToFillIn)
{
    QTemporaryDir dir;
    ProtocolContent aged;
    aged.header = plainHeader();
    aged.structures << generatedStructure("Колонна К-1", 1, 5); // tested on 05.03.2026
    aged.structures.first().concreted = QDate(2026, 2, 5);

    ProtocolContent blank = aged;
    blank.header = ProtocolHeader {};
    blank.structures.first().concreted = QDate(2026, 10, 15);
    blank.structures.first().designClass.clear();

    const QString agedPdf = dir.filePath("aged.pdf");
    const QString blankPdf = dir.filePath("blank.pdf");
    ASSERT_TRUE(writeProtocolPdf(aged, agedPdf));
    ASSERT_TRUE(writeProtocolPdf(blank, blankPdf));
    ASSERT_TRUE(writeProtocolOdt(aged, dir.filePath("aged.odt")));
    ASSERT_TRUE(writeProtocolOdt(blank, dir.filePath("blank.odt")));

    // The rows of the field tables as poppler lays them out: a label and its value on a line.
    const QString agedText = normalized(pdfPages(agedPdf, "C.UTF-8").join(' '));
    const QString blankText = normalized(pdfPages(blankPdf, "C.UTF-8").join(' '));
    static const QRegularExpression age("Возраст бетона на дату\\s+испытаний,?\\s+(\\S+)");
    EXPECT_EQ(age.match(agedText).captured(1), "28") << agedText.toStdString();
    EXPECT_EQ(age.match(blankText).captured(1), "—") << blankText.toStdString();
    EXPECT_TRUE(blankText.contains("Примечание: дата бетонирования 15.10.2026 позже первого испытания 05.03.2026; "
                                   "возраст бетона не определён."))
        << blankText.toStdString();
    EXPECT_FALSE(agedText.contains("Примечание"));
    for (const char *shown : {"ПРОТОКОЛ ИСПЫТАНИЙ № ________ от ________", "Свидетельство о поверке № ________ от ________",
                              "заводской № ________", "Проектный класс бетона ____________________",
                              "Заказчик ____________________"})
        EXPECT_TRUE(blankText.contains(QString::fromUtf8(shown))) << shown;
    for (const char *gone : {"Аттестат аккредитации", "Адрес объекта", "Условия проведения испытаний"}) {
        EXPECT_FALSE(blankText.contains(QString::fromUtf8(gone))) << gone;
        EXPECT_TRUE(agedText.contains(QString::fromUtf8(gone))) << gone;
    }

    const QStringList odts = libreOfficeTexts({dir.filePath("aged.odt"), dir.filePath("blank.odt")}, dir.path(),
                                              "ru_RU.UTF-8");
    if (odts.isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed: the ODT was not read back";
    // LibreOffice gives each table cell a line of its own.
    const QString agedOdt = '\n' + odts.at(0).split('\n').replaceInStrings(QRegularExpression("^\\s+|\\s+$"), "").join('\n') + '\n';
    const QString blankOdt = '\n' + odts.at(1).split('\n').replaceInStrings(QRegularExpression("^\\s+|\\s+$"), "").join('\n') + '\n';
    EXPECT_TRUE(agedOdt.contains("\nВозраст бетона на дату испытаний, сут\n28\n")) << agedOdt.toStdString();
    EXPECT_TRUE(blankOdt.contains("\nВозраст бетона на дату испытаний, сут\n—\n")) << blankOdt.toStdString();
    EXPECT_TRUE(blankOdt.contains("\nСвидетельство о поверке\n№ ________ от ________\n")) << blankOdt.toStdString();
    EXPECT_FALSE(blankOdt.contains("Аттестат аккредитации"));
}

} // namespace

namespace {

// The ODT's pages as LibreOffice lays them out: each site's date and time whole on its row's
// line (the columns have the PDF's widths), and each site's values on the page of its row.
TEST_F(ProtocolReadBack, OdtPagesKeepDatesWholeAndValuesWithTheirSite)
{
    const ReadLocale &locale = kReadLocales[1];
    const QStringList names {"values-sixty", "thirty-and-mixed"};
    QStringList odts;
    for (const QString &name : names)
        odts << file(name, locale, "odt");
    const QStringList pdfs = libreOfficePdfs(odts, s_dir->path(), locale.name);
    if (pdfs.isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed: the ODT's pages were not read back";
    static const QRegularExpression siteRow(R"(^\s*(\d+)\s+\S+\s+(\d\d\.\d\d\.\d{4}) (\d\d:\d\d:\d\d)\s)");
    static const QRegularExpression valuesLine(R"(№ (\d+) — единичные значения)");
    for (qsizetype i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names.at(i).toStdString());
        const QList<Case> all = cases();
        const Case c = *std::find_if(all.cbegin(), all.cend(), [&](const Case &k) { return k.name == names.at(i); });
        qsizetype sites = 0;
        for (const ProtocolStructure &structure : c.content.structures)
            sites += structure.sites.size();
        const QStringList pages = pdfPages(pdfs.at(i), locale.name);
        QMap<int, int> sitePage, valuesPage; // № -> page, for the first structure's sites
        qsizetype wholeDates = 0;
        for (qsizetype p = 0; p < pages.size(); ++p) {
            for (const QString &line : pages.at(p).split('\n')) {
                if (const auto m = siteRow.match(line); m.hasMatch()) {
                    ++wholeDates;
                    sitePage.insert(m.captured(1).toInt(), static_cast<int>(p));
                } else if (const auto v = valuesLine.match(line); v.hasMatch()) {
                    valuesPage.insert(v.captured(1).toInt(), static_cast<int>(p));
                }
            }
        }
        EXPECT_EQ(wholeDates, sites) << "a date and time wrapped in its cell";
        EXPECT_EQ(valuesPage.size(), c.content.withValues ? c.content.structures.first().sites.size() : 0);
        for (auto it = valuesPage.cbegin(); it != valuesPage.cend(); ++it)
            EXPECT_EQ(sitePage.value(it.key(), -1), it.value()) << "the values of site " << it.key() << " are parted from its row";
    }
}

} // namespace

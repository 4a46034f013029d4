// The preview's page set-up and print: a change of paper, orientation or margins lays the
// report out again, so the preview, the print and the exports carry every row; a print to
// a file that cannot be completed is told and leaves no broken file.
#include "CsvExporter.h"
#include "FileSizeLimit.h"
#include "MeasurementReport.h"
#include "ReportPreview.h"
#include "ReportTestData.h"
#include "ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

using namespace luvir;
using luvir::test::kPrintMoment;
using luvir::test::kRussianLocale;
using luvir::test::sampleTable;
using luvir::test::ShownDialog;

namespace {

constexpr int kRows = 300;

// A PDF file as poppler reads it.
struct PdfText {
    QStringList pageSizes; // "842 x 595", one per page, in points
    QList<int> rowNumbers; // the № of every table row printed, in page order
    int pages = 0;
};

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

PdfText readPdf(const QString &file)
{
    PdfText pdf;
    const QString text = run("pdftotext", {"-layout", "-enc", "UTF-8", file, "-"});
    static const QRegularExpression row(QStringLiteral("^\\s*(\\d+)\\s+\\d\\d\\.\\d\\d\\.\\d{4}"));
    for (const QString &line : text.split(u'\n')) {
        const QRegularExpressionMatch match = row.match(line);
        if (match.hasMatch())
            pdf.rowNumbers << match.captured(1).toInt();
    }
    const QString info = run("pdfinfo", {"-f", "1", "-l", "999", file});
    static const QRegularExpression size(QStringLiteral("Page +\\d+ size: +([\\d.]+) x ([\\d.]+) pts"));
    for (auto it = size.globalMatch(info); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        pdf.pageSizes << QStringLiteral("%1 x %2")
                             .arg(qRound(match.captured(1).toDouble()))
                             .arg(qRound(match.captured(2).toDouble()));
    }
    pdf.pages = static_cast<int>(pdf.pageSizes.size());
    return pdf;
}

QList<int> oneToN(int n)
{
    QList<int> numbers;
    for (int i = 1; i <= n; ++i)
        numbers << i;
    return numbers;
}

class PreviewPage : public ::testing::Test
{
protected:
    PreviewPage()
        : table(sampleTable(kRows))
        , preview(measurementReportLayout(table, kPrintMoment, kRussianLocale),
              measurementReportTemplate().pageLayout())
    {
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    // Prints every page to `file` through the print dialog, as the user does.
    void printTo(const QString &file)
    {
        dialogs.printerAnswers = {true};
        dialogs.printerChoice = [file](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(file);
        };
        preview.printReport();
        dialogs.printerChoice = nullptr;
    }

    test::ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const MeasurementTable table;
    ReportPreview preview;
};

} // namespace

TEST_F(PreviewPage, EveryRowIsPrintedOnThePageSetUp)
{
    // Pages worked out by hand: the table's bands are 5 mm high, the title 10 mm (page 1
    // only), the footer 6 mm; 301 bands with the header row.
    const struct {
        const char *name;
        QPageSize paper;
        QPageLayout::Orientation orientation;
        double margin; // mm, all four
        int pages;
        const char *pageSize; // points, as pdfinfo gives it
    } cases[] = {
        // 297 - 20 - 6 = 271 mm: 52 bands on page 1, then 54 a page.
        {"A4 portrait", QPageSize(QPageSize::A4), QPageLayout::Portrait, 10, 6, "595 x 842"},
        // 210 - 20 - 6 = 184 mm: 34 bands on page 1, then 36 a page.
        {"A4 landscape", QPageSize(QPageSize::A4), QPageLayout::Landscape, 10, 9, "842 x 595"},
        // 297 - 50 - 6 = 241 mm: 46 bands on page 1, then 48 a page.
        {"A4 portrait, 25 mm margins", QPageSize(QPageSize::A4), QPageLayout::Portrait, 25, 7, "595 x 842"},
        // 215.9 - 30 - 6 = 179.9 mm: 33 bands on page 1, then 35 a page.
        {"Letter landscape, 15 mm", QPageSize(QPageSize::Letter), QPageLayout::Landscape, 15, 9, "792 x 612"},
    };
    for (const auto &c : cases) {
        // Set up in «Параметры страницы», as the user does.
        dialogs.printerAnswers = {true};
        dialogs.printerChoice = [&c](QPrinter &printer) {
            printer.setPageLayout(QPageLayout(c.paper, c.orientation,
                QMarginsF(c.margin, c.margin, c.margin, c.margin), QPageLayout::Millimeter));
        };
        preview.setUpPage();
        dialogs.printerChoice = nullptr;

        // The preview shows the pages that will print.
        EXPECT_EQ(preview.report().pageCount(), c.pages) << c.name;
        EXPECT_EQ(preview.laidOutFor().orientation(), c.orientation) << c.name;

        const QString file = path(QString::fromLatin1(c.name) + ".pdf");
        printTo(file);
        ASSERT_TRUE(dialogs.errors().isEmpty()) << c.name << ": " << dialogs.errors().join(' ').toStdString();
        const PdfText printed = readPdf(file);
        EXPECT_EQ(printed.rowNumbers, oneToN(kRows)) << c.name << ": every row, once, in order";
        EXPECT_EQ(printed.pages, c.pages) << c.name;
        EXPECT_EQ(printed.pageSizes.value(0), c.pageSize) << c.name;

        // The PDF export carries the same pages, the CSV export every row.
        const QString exported = path(QString::fromLatin1(c.name) + " export.pdf");
        dialogs.fileAnswers = {exported};
        preview.exportReport(0);
        const PdfText pdf = readPdf(exported);
        EXPECT_EQ(pdf.rowNumbers, oneToN(kRows)) << c.name;
        EXPECT_EQ(pdf.pages, c.pages) << c.name;
        EXPECT_EQ(pdf.pageSizes.value(0), c.pageSize) << c.name;
        const QString csv = path(QString::fromLatin1(c.name) + ".csv");
        dialogs.fileAnswers = {csv};
        preview.exportReport(2);
        QFile csvFile(csv);
        ASSERT_TRUE(csvFile.open(QIODevice::ReadOnly)) << c.name;
        EXPECT_EQ(csvFile.readAll().count("\r\n"), kRows + 2) << c.name << ": title, header, rows";
    }
}

TEST_F(PreviewPage, ThePrintDialogsPageIsPrintedToo)
{
    // Landscape chosen in the print dialog itself.
    const QString file = path("landscape.pdf");
    dialogs.printerAnswers = {true};
    dialogs.printerChoice = [file](QPrinter &printer) {
        printer.setPageOrientation(QPageLayout::Landscape);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
    };
    preview.printReport();
    ASSERT_TRUE(dialogs.errors().isEmpty());
    const PdfText printed = readPdf(file);
    EXPECT_EQ(printed.rowNumbers, oneToN(kRows));
    EXPECT_EQ(printed.pageSizes.value(0), "842 x 595");
    EXPECT_EQ(preview.report().pageCount(), printed.pages) << "the preview shows what was printed";
}

TEST_F(PreviewPage, APrintToFileThatCannotBeCompletedIsToldAndLeavesNoBrokenFile)
{
    // An earlier file stays as it was; no file at all where there was none.
    QFile earlier(path("earlier.pdf"));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("the earlier file");
    earlier.close();

    for (const QString &name : {QStringLiteral("earlier.pdf"), QStringLiteral("new.pdf")}) {
        dialogs.clear();
        const QString file = path(name);
        {
            const test::FileSizeLimit diskFull(8192); // the disk fills part-way
            printTo(file);
        }
        ASSERT_EQ(dialogs.errors().size(), 1) << name.toStdString();
        const QString error = dialogs.errors().first();
        const QString quoted = "\"" + QDir::toNativeSeparators(file) + "\": ";
        EXPECT_TRUE(error.startsWith("Не удалось напечатать в файл " + quoted)) << error.toStdString();
        EXPECT_GT(error.size(), error.indexOf(quoted) + quoted.size()) << "with the system's reason";
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList {"earlier.pdf"}) << name.toStdString();
    }
    QFile kept(path("earlier.pdf"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "the earlier file");

    // With room, the same print goes through.
    dialogs.clear();
    printTo(path("new.pdf"));
    EXPECT_TRUE(dialogs.errors().isEmpty());
    EXPECT_EQ(readPdf(path("new.pdf")).rowNumbers, oneToN(kRows));
}

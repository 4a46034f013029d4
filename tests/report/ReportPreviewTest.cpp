#include "ReportPreview.h"
#include "CsvExporter.h"
#include "MeasurementReport.h"
#include "PrintCommand.h"
#include "ReportTestData.h"
#include "ScriptedDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace luvir;
using luvir::test::kPrintMoment;
using luvir::test::kRussianLocale;
using luvir::test::sampleTable;

namespace {

class Preview : public ::testing::Test
{
protected:
    explicit Preview(int rows = 120)
        : table(sampleTable(rows))
        , report(prepareMeasurementReport(table, kPrintMoment, kRussianLocale))
        , preview(measurementReportLayout(table, kPrintMoment, kRussianLocale),
              measurementReportTemplate().pageLayout())
    {
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    test::ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const MeasurementTable table;
    PreparedReport report; // as laid out for the template's page
    ReportPreview preview;
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST_F(Preview, PagesAndZoom)
{
    EXPECT_EQ(preview.currentPage(), 0);
    EXPECT_DOUBLE_EQ(preview.zoom(), 1.0);
    const struct {
        void (ReportPreview::*command)();
        int page;
    } steps[] = {
        {&ReportPreview::previousPage, 0},
        {&ReportPreview::nextPage, 1},
        {&ReportPreview::nextPage, 2},
        {&ReportPreview::nextPage, 2},
        {&ReportPreview::firstPage, 0},
        {&ReportPreview::lastPage, 2},
        {&ReportPreview::previousPage, 1},
    };
    for (const auto &step : steps) {
        (preview.*step.command)();
        EXPECT_EQ(preview.currentPage(), step.page);
    }
    preview.zoomIn();
    EXPECT_DOUBLE_EQ(preview.zoom(), 1.25);
    preview.zoomOut();
    preview.zoomOut();
    EXPECT_DOUBLE_EQ(preview.zoom(), 0.8);
    preview.setZoom(1000);
    EXPECT_LE(preview.zoom(), 10);
    preview.resize(800, 600);
    preview.show();
    preview.fitWholePage();
    EXPECT_LT(preview.zoom(), 0.6);
    EXPECT_GT(preview.zoom(), 0.3);
    preview.fitPageWidth();
    EXPECT_GT(preview.zoom(), 0.8);
    EXPECT_LT(preview.zoom(), 1.0);
}

TEST_F(Preview, ExportMenuWritesTheChosenFile)
{
    const QList<QAction *> actions = preview.exportMenu()->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[0]->text(), "Документ PDF…");
    EXPECT_EQ(actions[1]->text(), "Электронная таблица…");
    EXPECT_EQ(actions[2]->text(), "Текст CSV…");

    dialogs.fileAnswers = {path("report.csv")};
    actions[2]->trigger();
    ASSERT_EQ(dialogs.fileRequests.size(), 1);
    EXPECT_EQ(dialogs.fileRequests[0].filter, "Текст CSV (*.csv)");
    EXPECT_EQ(dialogs.fileRequests[0].defaultSuffix, "csv");
    EXPECT_EQ(readAll(path("report.csv")), reportCsv(report));
    EXPECT_TRUE(dialogs.errors().isEmpty());

    // Cancelled: nothing written, nothing said.
    dialogs.clear();
    actions[0]->trigger();
    EXPECT_EQ(dialogs.shown.size(), 1);
    EXPECT_FALSE(QFile::exists(path("report.pdf")));

    // The next dialog offers the last name chosen.
    dialogs.clear();
    actions[2]->trigger();
    EXPECT_EQ(dialogs.fileRequests.value(0).fileName, path("report.csv"));
}

TEST_F(Preview, ExportFailureNamesTheFileAndTheReason)
{
    const QString target = path("no/such/folder/report.xlsx");
    dialogs.fileAnswers = {target};
    preview.exportReport(1);
    ASSERT_EQ(dialogs.errors().size(), 1);
    const QString error = dialogs.errors()[0];
    EXPECT_TRUE(error.startsWith("Не удалось сохранить файл \"" + QDir::toNativeSeparators(target) + "\": "))
        << error.toStdString();
    EXPECT_GT(error.size(), QDir::toNativeSeparators(target).size() + 30);
}

TEST_F(Preview, PrintsEveryPageOnA4)
{
    EXPECT_EQ(preview.printer().pageLayout().pageSize().id(), QPageSize::A4);
    preview.printer().setOutputFormat(QPrinter::PdfFormat);
    preview.printer().setOutputFileName(path("printed.pdf"));

    preview.setUpPage(); // through the dialogs seam, like every printer dialog
    EXPECT_EQ(dialogs.texts(test::ShownDialog::PrinterSetup).size(), 1);

    preview.printReport(); // the print dialog cancelled
    EXPECT_FALSE(QFile::exists(path("printed.pdf")));

    dialogs.printerAnswers = {true};
    preview.printReport();
    ASSERT_EQ(dialogs.texts(test::ShownDialog::Print).size(), 2);
    EXPECT_TRUE(dialogs.errors().isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the wait cursor stayed";
    QProcess text;
    text.start("pdftotext", {"-enc", "UTF-8", path("printed.pdf"), "-"});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_EQ(printed.split(u'\f', Qt::SkipEmptyParts).size(), 3);
    EXPECT_TRUE(printed.contains("ЛЮВИР-2.07"));
    EXPECT_TRUE(printed.contains("Прочность, МПа"));
}

TEST(PrintCommand, ShowsTheTableModalMaximisedAtFullSize)
{
    test::ScriptedDialogs dialogs;
    const MeasurementTable table = sampleTable(60);
    const QDateTime now(QDate(2026, 3, 4), QTime(9, 8, 7));
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *preview = qobject_cast<ReportPreview *>(modal)) {
            seen = true;
            EXPECT_TRUE(preview->isModal());
            EXPECT_TRUE(preview->windowState() & Qt::WindowMaximized);
            EXPECT_DOUBLE_EQ(preview->zoom(), 1.0);
            EXPECT_EQ(preview->report().pageCount(), 2);
            const PreparedBand &title = preview->report().pages.value(0).bands.value(0);
            EXPECT_EQ(title.texts.value(0).text, "ЛЮВИР-2.07");
            EXPECT_EQ(title.texts.value(1).text, reportDateTimeText(now));
        }
        // Whatever window is up is closed, so the command returns when a check fails too.
        if (modal)
            modal->close();
    });
    runPrintCommand(nullptr, table, now);
    EXPECT_TRUE(seen) << "the print command showed no report preview";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the wait cursor stayed";
}

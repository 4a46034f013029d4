// Shows the chart window for a look at it: `chart_preview intermediate|edge|measurements [count]`
// opens it without blocking, writes PNG and JPEG pictures of the chart to the folder in
// LUVIR_PREVIEW_DIR (or the current one), prints it there as chart.pdf, and closes after
// LUVIR_PREVIEW_MS milliseconds.
#include "CellText.h"
#include "ChartPicture.h"
#include "ChartPrinting.h"
#include "MeasurementTable.h"
#include "TestData.h"
#include "Unit5.h"

#include <QApplication>
#include <QtCharts/QChartView>
#include <QDir>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString kind = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("intermediate");
    const int count = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 12;
    const QDir out(qEnvironmentVariable("LUVIR_PREVIEW_DIR", QStringLiteral(".")));
    const int lifetime = qEnvironmentVariableIntValue("LUVIR_PREVIEW_MS");

    QMainWindow owner;
    owner.resize(1000, 700);
    owner.show();
    TForm5 form(&owner);
    const luvir::CellArchive archive = luvir::test::sampleArchive(count);
    const luvir::MeasurementTable table = luvir::buildMeasurementTable(archive, luvir::systemDecimalSeparator());
    if (kind == u"edge") // one bar of the largest plain value, one marked value
        form.fillIntermediateChart(luvir::test::makeCell({.impacts = {0, 0, 0, 0, 0, 0, 0x8000, 0, 0x8001},
                                                          .strength = 32768}),
                                   7, table.text(1, 7));
    else if (kind == u"measurements")
        form.fillMeasurementsChart(table.measurements);
    else
        form.fillIntermediateChart(archive.Cells[4], 5, table.text(1, 5));
    form.show();

    QTimer::singleShot(1000, &form, [&] {
        const QImage picture = luvir::chartPicture(*form.Chart1);
        QString error;
        for (const QString &suffix : {QStringLiteral("png"), QStringLiteral("jpg")})
            if (!luvir::writePicture(picture, out.filePath(kind + u'.' + suffix), &error))
                qWarning("%s", qPrintable(error));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out.filePath(kind + QStringLiteral(".pdf")));
        if (!luvir::printChart(printer, form.shownContent(), {4.0, false}, form.Chart1->size(), &error))
            qWarning("%s", qPrintable(error));
    });
    QTimer::singleShot(lifetime > 0 ? lifetime : 3000, &app, &QApplication::quit);
    return app.exec();
}

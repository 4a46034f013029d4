// Qt's own print dialog as the program shows it. The file name it suggests for a print to
// file is made on the xcb platform only, so this runs on a virtual X display.
#include "PrintTarget.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>

#include <gtest/gtest.h>

TEST(PrintDialog, SuggestsTheFileNameWithTheWholeModelName)
{
    ASSERT_EQ(QApplication::platformName(), "xcb");
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("ЛЮВИР-2.07"));
    QString suggested;
    // Looks for the dialog until it is up, reads the name and cancels it.
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("filename")))
            suggested = name->text();
        dialog->reject();
    });
    look.start(20);
    EXPECT_FALSE(luvir::askForPrinter(nullptr, printer));
    EXPECT_EQ(QFileInfo(suggested).fileName(), "ЛЮВИР-2.07.pdf") << suggested.toStdString();
    EXPECT_EQ(printer.docName(), "ЛЮВИР-2.07") << "the document keeps its own name";
}

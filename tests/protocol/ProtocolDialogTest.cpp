// The protocol dialog on a real register: its fields as the register keeps them, the PDF
// it saves read back by poppler, the fields kept for the next protocol only once a protocol
// is made, a wrong date or an unwritable file told, and the preview with its pages and
// its export of the ODT, read back by LibreOffice.
#include "ProtocolDialog.h"
#include "ProtocolPages.h"
#include "ProtocolReadBack.h"
#include "ProtocolTestData.h"
#include "ReportPreview.h"
#include "ScriptedDialogs.h"

#include "CellText.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace luvir;
using namespace luvir::test;

namespace {

class ProtocolDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(reg.open(dir.filePath("register.sqlite")), Register::OpenStatus::Ok);
        filled = fillRegister(reg);
    }

    static QString text(ProtocolDialog &dialog, const char *key)
    {
        if (auto *line = dialog.findChild<QLineEdit *>(key))
            return line->text();
        if (auto *plain = dialog.findChild<QPlainTextEdit *>(key))
            return plain->toPlainText();
        ADD_FAILURE() << "no field " << key;
        return {};
    }
    static void type(ProtocolDialog &dialog, const char *key, const QString &value)
    {
        if (auto *line = dialog.findChild<QLineEdit *>(key))
            line->setText(value);
        else if (auto *plain = dialog.findChild<QPlainTextEdit *>(key))
            plain->setPlainText(value);
        else
            ADD_FAILURE() << "no field " << key;
    }

    QTemporaryDir dir;
    Register reg;
    FilledRegister filled;
    ScriptedDialogs dialogs;
};

TEST_F(ProtocolDialogTest, FieldsComeFromTheRegisterAndAreKeptOnceTheProtocolIsSaved)
{
    const ProtocolHeader kept = plainHeader();
    const QString pdf = dir.filePath("протокол.pdf");
    {
        ProtocolDialog dialog(reg, filled.structures);
        ASSERT_TRUE(dialog.errorString().isEmpty()) << qPrintable(dialog.errorString());
        EXPECT_EQ(text(dialog, "number"), numberOfferedToday(1));
        EXPECT_EQ(text(dialog, "laboratory"), kept.laboratoryName);
        EXPECT_EQ(text(dialog, "customer"), kept.customer);
        EXPECT_EQ(text(dialog, "object"), kept.objectName);
        EXPECT_EQ(text(dialog, "serial_number"), "0815");
        EXPECT_EQ(text(dialog, "verification_number"), kept.verificationNumber);
        EXPECT_EQ(text(dialog, "verification_date"), "01.02.2026");
        EXPECT_EQ(text(dialog, "standards"), "ГОСТ 22690-2015\nГОСТ 18105-2018");
        EXPECT_TRUE(text(dialog, "conditions").isEmpty());

        EXPECT_FALSE(dialog.findChild<QCheckBox *>("values")->isChecked());
        dialog.findChild<QCheckBox *>("values")->setChecked(true);
        type(dialog, "laboratory", "ИЛ «Бетон-Контроль»");
        type(dialog, "conditions", "температура воздуха +7 °C");
        dialogs.fileAnswers = {""}; // cancelled: nothing made, nothing kept
        EXPECT_FALSE(dialog.savePdf());
        EXPECT_EQ(reg.protocolFields().value("number"), "16/26");
        dialogs.fileAnswers = {pdf};
        ASSERT_TRUE(dialog.savePdf()) << qPrintable(dialogs.errors().join('\n'));
        EXPECT_EQ(dialogs.fileRequests.last().fileName, "Протокол " + numberOfferedToday(1).replace('/', '-') + ".pdf");
        EXPECT_TRUE(dialogs.errors().isEmpty());
    }

    const QString separator = systemDecimalSeparator();
    const QStringList pages = pdfPages(pdf, "C.UTF-8");
    ASSERT_FALSE(pages.isEmpty());
    const QString all = pages.join(' ').simplified();
    for (const QString &shown : {QString("ИЛ «Бетон-Контроль»"), QString("температура воздуха +7 °C"),
             "Протокол испытаний № " + numberOfferedToday(1), QStringLiteral("Страница 1 из %1").arg(pages.size())})
        EXPECT_TRUE(all.contains(shown)) << qPrintable(shown);
    for (const ProtocolStructure &structure : filled.expected) {
        const ExpectedStructure expected = expectedStructure(structure, separator, dir.path());
        EXPECT_EQ(all.count(expected.statisticsLine), 1) << qPrintable(expected.statisticsLine);
    }

    ProtocolDialog next(reg, {filled.structures.at(0)});
    EXPECT_EQ(text(next, "number"), numberOfferedToday(2));
    EXPECT_EQ(text(next, "laboratory"), "ИЛ «Бетон-Контроль»");
    EXPECT_TRUE(text(next, "conditions").isEmpty());
    EXPECT_TRUE(next.findChild<QCheckBox *>("values")->isChecked()); // "с единичными значениями" kept
}

TEST_F(ProtocolDialogTest, AWrongDateOrAnUnwritableFileIsToldAndKeepsNothing)
{
    ProtocolDialog dialog(reg, filled.structures);
    type(dialog, "laboratory", "другая");
    type(dialog, "verification_date", "31.02.2026");
    EXPECT_FALSE(dialog.saveOdt());
    EXPECT_TRUE(dialogs.fileRequests.isEmpty());
    EXPECT_EQ(dialogs.errors(), QStringList {"Дата поверки: \"31.02.2026\" не является датой ДД.ММ.ГГГГ."});

    type(dialog, "verification_date", "");
    const QString unwritable = dir.filePath("нет такой папки/протокол.odt");
    dialogs.fileAnswers = {unwritable};
    EXPECT_FALSE(dialog.saveOdt());
    ASSERT_EQ(dialogs.errors().size(), 2);
    EXPECT_TRUE(dialogs.errors().last().startsWith(
        QStringLiteral("Не удалось сохранить файл \"%1\": ").arg(QDir::toNativeSeparators(unwritable))))
        << qPrintable(dialogs.errors().last());
    EXPECT_EQ(reg.protocolFields().value("laboratory"), plainHeader().laboratoryName);
}

TEST_F(ProtocolDialogTest, StructuresOfTwoObjectsAreRefused)
{
    ProtocolDialog dialog(reg, {filled.structures.at(0), filled.elsewhere});
    EXPECT_EQ(dialog.errorString(), "конструкции относятся к разным объектам");
}

TEST_F(ProtocolDialogTest, PreviewShowsEveryPageAndExportsTheOdt)
{
    ProtocolDialog dialog(reg, filled.structures);
    dialog.findChild<QCheckBox *>("values")->setChecked(true);
    const auto content = dialog.content();
    ASSERT_TRUE(content);
    const int pageCount = ProtocolPages(*content, systemDecimalSeparator()).pageCount();
    const QString odt = dir.filePath("протокол.odt");
    dialogs.fileAnswers = {odt};

    QStringList pageLabels, exports;
    QTimer::singleShot(0, [&] {
        auto *preview = qobject_cast<ReportPreview *>(QApplication::activeModalWidget());
        if (!preview) {
            ADD_FAILURE() << "no preview";
            return;
        }
        EXPECT_TRUE(preview->windowState() & Qt::WindowMaximized); // whole on a small screen
        for (int i = 0; i < pageCount; ++i) {
            preview->showPage(i);
            for (QLabel *label : preview->findChildren<QLabel *>())
                if (label->text().startsWith("Стр."))
                    pageLabels << label->text();
        }
        for (QAction *action : preview->exportMenu()->actions())
            exports << action->text();
        preview->exportMenu()->actions().last()->trigger();
        preview->reject();
    });
    dialog.preview();

    QStringList expectedLabels;
    for (int i = 1; i <= pageCount; ++i)
        expectedLabels << QStringLiteral("Стр. %1 из %2").arg(i).arg(pageCount);
    EXPECT_EQ(pageLabels, expectedLabels);
    EXPECT_EQ(exports, (QStringList {"PDF…", "ODT…"}));
    EXPECT_EQ(reg.protocolFields().value("number"), numberOfferedToday(1));
    // The ODT as LibreOffice reads it: every structure's figures, each site's values.
    const QStringList texts = libreOfficeTexts({odt}, dir.path(), "C.UTF-8");
    if (texts.isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed: the ODT was not read back";
    const QString shown = texts.first();
    for (const ProtocolStructure &structure : filled.expected) {
        const ExpectedStructure expected = expectedStructure(structure, systemDecimalSeparator(), dir.path());
        EXPECT_EQ(shown.count('\n' + expected.statisticsLine + '\n'), 1) << qPrintable(expected.statisticsLine);
        for (const QStringList &row : expected.rows)
            EXPECT_EQ(shown.count('\n' + row.join('\n') + '\n'), 1) << qPrintable(row.join(' '));
    }
    EXPECT_EQ(shown.count("единичные значения, МПа: "), 33);
}

TEST_F(ProtocolDialogTest, FitsTheScreen)
{
    ProtocolDialog dialog(reg, filled.structures);
    dialog.show();
    const QRect room = dialog.screen()->availableGeometry();
    EXPECT_LE(dialog.width(), room.width());
    EXPECT_LE(dialog.height(), room.height());
    EXPECT_LE(dialog.minimumSizeHint().width(), 1024);
    EXPECT_LE(dialog.minimumSizeHint().height(), 740);
}

} // namespace

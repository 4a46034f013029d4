// Qt's own dialogs speak Russian once the program has loaded Qt's translations from where
// this Qt keeps them (the package depends on the package that puts them there).
#include "LuvirApplication.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

TEST(QtTranslations, FileDialogAndQuestionButtonsAreRussian)
{
    auto *app = qobject_cast<luvir::LuvirApplication *>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    app->installRussianTranslations();
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    ASSERT_TRUE(QFile::exists(folder + QStringLiteral("/qtbase_ru.qm")))
        << "no qtbase_ru.qm in " << folder.toStdString() << " (package qt6-translations-l10n)";

    // The file dialog as the program shows it on a desktop without a native one.
    QFileDialog dialog(nullptr, QStringLiteral("Открыть"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const auto *lookIn = dialog.findChild<QLabel *>(QStringLiteral("lookInLabel"));
    ASSERT_NE(lookIn, nullptr);
    EXPECT_EQ(lookIn->text(), QStringLiteral("Перейти к:"));
    const auto *buttons = dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    ASSERT_NE(buttons, nullptr);
    ASSERT_NE(buttons->button(QDialogButtonBox::Cancel), nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Отмена"));

    // The save question's buttons.
    QMessageBox question(QMessageBox::Question, QStringLiteral("Сохранить файл"), QStringLiteral("?"),
        QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(question.button(QMessageBox::Cancel)->text(), QStringLiteral("Отмена"));
}

} // namespace

// The file dialogs as the program shows them: where a dialog starts in a new run.
#include "UserDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

using namespace luvir;

namespace {

// The folder the open dialog starts in for `request`; the user cancels it.
QString startingFolder(FileDialogRequest request)
{
    QString folder;
    QTimer::singleShot(0, [&] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            folder = dialog->directory().absolutePath();
            dialog->reject();
        }
    });
    dialogs().openFileName(nullptr, request);
    return folder;
}

// Each case runs as a process of its own: a new run of the program, in which no file
// dialog was open before.
class FileDialogFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(config.isValid() && lastTime.isValid() && startedIn.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
        // Where Qt's dialog was as it closed in an earlier run, as it notes it itself.
        QSettings(QSettings::UserScope, QStringLiteral("QtProject"))
            .setValue(QStringLiteral("FileDialog/lastVisited"), QUrl::fromLocalFile(lastTime.path()));
        // The program was started in another folder (the desktop starts it in the home folder).
        ASSERT_TRUE(QDir::setCurrent(startedIn.path()));
    }

    QTemporaryDir config;
    QTemporaryDir lastTime;
    QTemporaryDir startedIn;
};

TEST_F(FileDialogFolder, ADialogWithoutAFolderStartsWhereTheUserLastWas)
{
    EXPECT_EQ(startingFolder({QStringLiteral("Архив (*.db)"), QStringLiteral("db"), {}, {}}), lastTime.path());
}

TEST_F(FileDialogFolder, ANameWithoutAFolderIsOfferedWhereTheUserLastWas)
{
    EXPECT_EQ(startingFolder({QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"), QStringLiteral("ЛЮВИР.pdf"), {}}),
              lastTime.path());
}

TEST_F(FileDialogFolder, ANameWithItsFolderKeepsItsFolder)
{
    const QString name = QDir(startedIn.path()).filePath(QStringLiteral("old.db"));
    EXPECT_EQ(startingFolder({QStringLiteral("Архив (*.db)"), QStringLiteral("db"), name, {}}), startedIn.path());
}

TEST_F(FileDialogFolder, AFolderThatIsGoneIsPassedOver)
{
    const QString gone = lastTime.path();
    ASSERT_TRUE(QDir(gone).removeRecursively());
    EXPECT_EQ(startingFolder({QStringLiteral("Архив (*.db)"), QStringLiteral("db"), {}, {}}), startedIn.path());
}

} // namespace

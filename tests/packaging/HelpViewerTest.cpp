// Справка > Помощь hands luvir.chm from the program's own folder to the viewer that the
// desktop associates with help files. A stand-in viewer, registered for the help-file
// types in a private XDG configuration, records what it was asked to open.
#include "ScriptedDialogs.h"
#include "Unit1.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

void writeText(const QString &fileName, const QByteArray &text, bool executable = false)
{
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << fileName.toStdString();
    file.write(text);
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

// A private desktop configuration whose only help viewer writes its arguments to `record`.
class StandInViewer
{
public:
    StandInViewer()
    {
        EXPECT_TRUE(m_dir.isValid());
        const QDir root(m_dir.path());
        for (const char *sub : {"data/applications", "config", "bin"})
            EXPECT_TRUE(root.mkpath(QLatin1String(sub)));
        record = root.filePath(QStringLiteral("opened.txt"));

        const QString viewer = root.filePath(QStringLiteral("bin/help-viewer"));
        writeText(viewer,
                  "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + record.toUtf8() + ".part\"\n"
                  "mv \"" + record.toUtf8() + ".part\" \"" + record.toUtf8() + "\"\n",
                  true);
        writeText(root.filePath(QStringLiteral("data/applications/luvir-test-viewer.desktop")),
                  "[Desktop Entry]\nType=Application\nName=Test help viewer\nExec=" + viewer.toUtf8()
                      + " %f\nMimeType=application/vnd.ms-htmlhelp;application/x-chm;\nNoDisplay=true\n");
        const QByteArray defaults = "[Default Applications]\n"
                                    "application/vnd.ms-htmlhelp=luvir-test-viewer.desktop\n"
                                    "application/x-chm=luvir-test-viewer.desktop\n";
        writeText(root.filePath(QStringLiteral("config/mimeapps.list")), defaults);
        writeText(root.filePath(QStringLiteral("data/applications/mimeapps.list")), defaults);

        // Only this configuration counts, whatever desktop the tests run on.
        qputenv("XDG_DATA_HOME", root.filePath(QStringLiteral("data")).toUtf8());
        qputenv("XDG_CONFIG_HOME", root.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_DIRS", root.filePath(QStringLiteral("data")).toUtf8() + ":/usr/share");
        qputenv("XDG_CONFIG_DIRS", root.filePath(QStringLiteral("config")).toUtf8());
        qunsetenv("BROWSER");
    }

    // The arguments the viewer was started with, once it has run; empty after `timeoutMs`.
    QStringList waitForArguments(int timeoutMs) const
    {
        const QDeadlineTimer deadline(timeoutMs);
        while (!QFileInfo::exists(record) && !deadline.hasExpired())
            QTest::qWait(50);
        QFile file(record);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QString record;

private:
    QTemporaryDir m_dir;
};

} // namespace

TEST(HelpViewer, HelpOpensTheHelpFileFromTheProgramsRealFolderInTheAssociatedViewer)
{
    // The build puts luvir.chm beside this program only; when it runs through a link from
    // another folder, the help file must still be found in the real folder.
    const QString expected = QFileInfo(QDir(QCoreApplication::applicationDirPath())
                                           .filePath(QStringLiteral("luvir.chm")))
                                 .canonicalFilePath();
    ASSERT_FALSE(expected.isEmpty()) << "no luvir.chm beside the test program";

    StandInViewer viewer;
    luvir::test::ScriptedDialogs dialogs;
    TForm1 window;
    window.N10Click();

    const QStringList arguments = viewer.waitForArguments(10000);
    ASSERT_EQ(arguments.size(), 1) << "the viewer was not started with one file";
    const QString opened = arguments.first().startsWith(QLatin1String("file://"))
                               ? QUrl(arguments.first()).toLocalFile()
                               : arguments.first();
    EXPECT_EQ(QFileInfo(opened).canonicalFilePath(), expected);
}

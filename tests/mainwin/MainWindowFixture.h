#pragma once
// A main window with its lasting windows and scripted dialogs, and helpers to act on it as
// a user does.

#include "ArchiveFile.h"
#include "MeasurementTable.h"
#include "ScriptedDialogs.h"
#include "TestData.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit5.h"

#include <QDialog>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace luvir::test {

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        window = std::make_unique<TForm1>();
        // As start-up makes them: the main window's children, handed to it at once.
        downloadDialog = new TForm2(window->deviceLink(), *window, window.get());
        aboutWindow = new QDialog(window.get());
        chartWindow = new TForm5(window.get());
        window->setLastingWindows(*downloadDialog, *aboutWindow, *chartWindow);
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    QString writeArchiveFile(const QString &name, const CellArchive &archive, ProtocolVersion version = {1, 0})
    {
        ArchiveWriter writer;
        EXPECT_TRUE(writer.write(path(name), archive, version));
        return path(name);
    }

    QString writeBytes(const QString &name, const QByteArray &bytes)
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path(name);
    }

    static QByteArray readBytes(const QString &fileName)
    {
        QFile file(fileName);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // File > Open with the user choosing `fileName`.
    void open(const QString &fileName)
    {
        dialogs.fileAnswers << fileName;
        window->N2->trigger();
    }

    // Opens a file of `cells` sample cells.
    void openSample(int cells)
    {
        open(writeArchiveFile(QStringLiteral("sample%1.db").arg(cells), sampleArchive(cells)));
        dialogs.clear();
    }

    bool tableShown() const { return !window->StringGrid1->isHidden(); }

    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    std::unique_ptr<TForm1> window;
    TForm2 *downloadDialog = nullptr; // Form2
    QDialog *aboutWindow = nullptr; // Form4
    TForm5 *chartWindow = nullptr; // Form5
};

} // namespace luvir::test

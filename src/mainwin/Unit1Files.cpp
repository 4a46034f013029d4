// The main window's file commands: open, save, close and exit.
#include "Unit1.h"

#include "ArchiveFile.h"
#include "FileError.h"
#include "UserDialogs.h"

#include <QApplication>

#include <memory>

namespace {

const QString kArchiveFilter = QStringLiteral("Архив (*.db)");
const QString kArchiveSuffix = QStringLiteral("db");
// Exit asks about saving only above this many cells.
constexpr int kExitPromptThreshold = 6;

bool askToSave(QWidget *parent)
{
    return luvir::dialogs().question(parent, QStringLiteral("Сохранить файл"), QStringLiteral("Внимание"));
}

} // namespace

void TForm1::SaveArchiveExecute()
{
    saveArchive();
}

void TForm1::saveArchive()
{
    luvir::FileDialogRequest request{kArchiveFilter, kArchiveSuffix, m_lastSaveName, kArchiveFilter};
    const QString fileName = luvir::dialogs().saveFileName(this, request);
    if (!fileName.isEmpty()) {
        m_lastSaveName = fileName;
        luvir::ArchiveWriter writer;
        if (!writer.write(fileName, m_session.archive, m_session.version))
            throw luvir::FileError(writer.errorString());
    }
    if (!m_session.DownloadCompleted)
        setStatus(QStringLiteral("Сначала считайте архив!"));
}

void TForm1::LoadArchiveExecute()
{
    luvir::FileDialogRequest request{kArchiveFilter, kArchiveSuffix, m_lastOpenName, kArchiveFilter};
    const QString fileName = luvir::dialogs().openFileName(this, request);
    if (fileName.isEmpty())
        return;
    m_lastOpenName = fileName;

    auto image = std::make_unique<luvir::ArchiveImage>();
    luvir::ArchiveReader reader;
    const auto status = reader.read(fileName, *image);
    if (status != luvir::ArchiveReader::Status::Ok) {
        if (!luvir::ArchiveReader::isRefusal(status))
            throw luvir::FileError(reader.errorString());
        luvir::tellUser(this, this, reader.errorString());
        return;
    }
    m_session.archive = image->archive;
    m_session.version = image->version;
    DisplayArchive();
    setStatus(QStringLiteral("Готово"));
}

void TForm1::N4Click()
{
    if (askToSave(this))
        saveArchive(); // a file error ends the command here: the table stays shown
    DisableArchiveCommands();
}

void TForm1::N8Click()
{
    if (m_session.archive.Count > kExitPromptThreshold && askToSave(this))
        saveArchive(); // a file error ends the command here: the program goes on
    emit terminateRequested();
}

// The main window's download command.
#include "Unit1.h"

#include "ConnectDevice.h"
#include "RegisterRecorder.h"
#include "Unit2.h"

void TForm1::N13Click()
{
    Q_ASSERT(m_downloadDialog);
    if (luvir::ConnectDevice(m_link, this, this))
        m_downloadDialog->exec();
}

void TForm1::closeDownloadDialog()
{
    Q_ASSERT(m_downloadDialog);
    if (m_downloadDialog->isVisible())
        m_downloadDialog->done(QDialog::Accepted);
}

luvir::DownloadRecorder *TForm1::downloadRecorder()
{
    if (!m_registerDownloads)
        return nullptr;
    if (!m_registerRecorder) {
        // The register last used; a server's password is asked once the download has ended.
        m_registerRecorder = std::make_unique<luvir::RegisterRecorder>(
            QString(), [this](luvir::Register &target, const QString &location) {
                return connectRegisterServer(target, location, this);
            });
    }
    return m_registerRecorder.get();
}

void TForm1::downloadRecorded(const luvir::DownloadRecord &record)
{
    if (!record.complete)
        return;
    emit registerChanged();
    emit registerAdded(record.summary);
}

// The main window's download command.
#include "Unit1.h"

#include "ConnectDevice.h"
#include "Forms.h"
#include "RegisterRecorder.h"
#include "Unit2.h"

void TForm1::N13Click()
{
    if (luvir::ConnectDevice(m_link, this, this) && Form2)
        Form2->exec();
}

void TForm1::closeDownloadDialog()
{
    if (Form2 && Form2->isVisible())
        Form2->done(QDialog::Accepted);
}

luvir::DownloadRecorder *TForm1::downloadRecorder()
{
    if (!m_registerDownloads)
        return nullptr;
    if (!m_registerRecorder)
        m_registerRecorder = std::make_unique<luvir::RegisterRecorder>(); // the register last used
    return m_registerRecorder.get();
}

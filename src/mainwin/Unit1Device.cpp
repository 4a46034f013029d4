// The main window's download command.
#include "Unit1.h"

#include "ConnectDevice.h"
#include "Forms.h"
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

// The main window's download command.
#include "Unit1.h"

void TForm1::N13Click()
{
}

void TForm1::closeDownloadDialog()
{
}

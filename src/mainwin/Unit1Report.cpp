// The main window's print command.
#include "Unit1.h"

void TForm1::ToolButton6Click()
{
}

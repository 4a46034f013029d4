// The main window's chart commands.
#include "Unit1.h"

void TForm1::ShowIntermediateChart()
{
}

void TForm1::MeasurementsChartClick()
{
}

#pragma once
// The fonts the windows ask for, each with a fallback that exists on Linux and draws
// Cyrillic and all five direction arrows (↑↗→↘↓) alike.

#include <QFont>

namespace luvir {

// Tahoma at the given pixel size, else the narrower Liberation Sans (the windows are
// laid out for Tahoma), else DejaVu Sans.
QFont tahomaFont(int pixelSize);
// The table's font: "@Arial Unicode MS" as stored, else Arial Unicode MS, else DejaVu Sans.
QFont gridFont();

} // namespace luvir

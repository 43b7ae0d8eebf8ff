#pragma once
// The fonts of the windows. "MS Sans Serif" and "Arial" are both served by Liberation Sans (package
// fonts-liberation), which shares Arial's metrics and is narrow enough for controls sized for MS Sans Serif;
// where it is missing, the desktop's sans-serif font stands in.

#include <QFont>

namespace shell {

// The windows' default font (MS Sans Serif 8 pt).
QFont WindowFont();
QFont SansSerifFont(double points, bool bold = false);
QFont ArialFont(double points, bool underline = false);

} // namespace shell

#pragma once
// The fonts of the windows. "MS Sans Serif" is served by the desktop's default sans-serif font and
// "Arial" by Liberation Sans, which shares its metrics.

#include <QFont>

namespace shell {

// The windows' default font (MS Sans Serif 8 pt).
QFont WindowFont();
QFont SansSerifFont(double points, bool bold = false);
QFont ArialFont(double points, bool underline = false);

} // namespace shell

#pragma once
// The pictures of the windows, all 32 x 32 pixels: the end and Info buttons, the hand pointer of the Info
// dialog's links and the window icons. Drawn as SVG in pictures/ and embedded as PNG (tools/render-pictures).

#include <QCursor>
#include <QIcon>

namespace shell {

enum class Program { Counter, Merger, Info };

// cmdEnde: an open door with an arrow leading out.
QIcon EndPicture();
// cmdInfo: an "i" on a blue disc.
QIcon InfoPicture();
// The links' pointer: a hand with the index finger raised, its fingertip the hot spot.
QCursor HandPointer();
// The window icon of the counter, of the merger and of the Info dialog.
QIcon ProgramIcon(Program program);

} // namespace shell

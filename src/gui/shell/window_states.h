#pragma once
// Window states a window does without, held whatever the window manager offers: many window managers
// (openbox among them) show minimise and maximise buttons on every window that can be resized, and on
// dialogs, whatever the window asks for. A window that is put into a state it does without returns to its
// normal state, size and place at once.

#include <Qt>

class QWidget;

namespace shell {

void RefuseWindowStates(QWidget* window, Qt::WindowStates refused);

} // namespace shell

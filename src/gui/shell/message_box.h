#pragma once
// The message boxes of the windows: an icon, the product title as the caption and a text, with an OK
// button. A box is at least as wide as its caption needs beside a window manager's title bar buttons, so
// that a short text ("Laufzeitfehler '6':" and "Überlauf") does not cut the title to "Ta… ar".

#include <QMessageBox>

#include <memory>

namespace shell {

std::unique_ptr<QMessageBox> NewMessageBox(QMessageBox::Icon icon, const QString& title, const QString& text);

// The least width, in pixels, of a box captioned `title`: the caption in a bold title font, and room for a
// window icon and four buttons.
int TitleRoomWidth(const QString& title);

} // namespace shell

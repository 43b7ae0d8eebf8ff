#pragma once
// Window layouts are given in twips; 15 twips make one logical pixel.

#include <QRect>
#include <QSize>

class QWidget;

namespace shell {

constexpr int kTwipsPerPixel = 15;

constexpr int Pixels(int twips) {
    return twips / kTwipsPerPixel;
}

// Places a control at left, top, width, height given in twips within its window's client area.
void PlaceTwips(QWidget* widget, int left, int top, int width, int height);

// A client area of the given size in twips.
QSize SizeInTwips(int width, int height);

} // namespace shell

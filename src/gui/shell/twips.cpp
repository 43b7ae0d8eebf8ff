#include "gui/shell/twips.h"

#include <QWidget>

namespace shell {

void PlaceTwips(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(Pixels(left), Pixels(top), Pixels(width), Pixels(height));
}

QSize SizeInTwips(int width, int height) {
    return {Pixels(width), Pixels(height)};
}

} // namespace shell

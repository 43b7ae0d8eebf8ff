#include "gui/shell/picture_button.h"

namespace shell {

PictureButton::PictureButton(const QString& caption, const QIcon& picture, QWidget* parent)
    : QToolButton(parent) {
    setText(caption);
    setIcon(picture);
    setIconSize(QSize(32, 32));
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setAutoRaise(false);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette face = palette();
    face.setColor(QPalette::Button, QColor(192, 192, 192));
    face.setColor(QPalette::Window, QColor(192, 192, 192));
    face.setColor(QPalette::ButtonText, Qt::black);
    setPalette(face);
}

} // namespace shell

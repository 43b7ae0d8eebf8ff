#pragma once
// A button with a 32 x 32 picture above its caption, on a light grey face.

#include <QToolButton>

namespace shell {

class PictureButton : public QToolButton {
    Q_OBJECT
public:
    PictureButton(const QString& caption, const QIcon& picture, QWidget* parent);
};

} // namespace shell

#pragma once
// A text box of fixed width: shows its whole text as a tooltip while its width cuts it.

#include <QLineEdit>

namespace shell {

class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent) : QLineEdit(parent) {}

    // True when the text is wider than the room the box has for it.
    bool textIsCut() const;

protected:
    bool event(QEvent* event) override;
};

} // namespace shell

#include "gui/shell/text_box.h"

#include "gui/shell/whole_text_tip.h"

#include <QHelpEvent>
#include <QStyle>
#include <QStyleOptionFrame>

namespace shell {

namespace {

// The room a line edit keeps free on either side of its text, inside its contents.
constexpr int kTextMargin = 2;

} // namespace

bool TextBox::textIsCut() const {
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    const QRect room =
        style()->subElementRect(QStyle::SE_LineEditContents, &panel, this).marginsRemoved(textMargins());
    return fontMetrics().horizontalAdvance(text()) > room.width() - 2 * kTextMargin;
}

bool TextBox::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QLineEdit::event(event);
    AnswerWholeTextTip(*static_cast<QHelpEvent*>(event), this, text(), textIsCut());
    return true;
}

} // namespace shell

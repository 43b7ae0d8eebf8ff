#include "gui/shell/whole_text_tip.h"

#include <QHelpEvent>
#include <QTextDocument>
#include <QToolTip>

namespace shell {

void AnswerWholeTextTip(const QHelpEvent& request, QWidget* widget, const QString& text, bool cut) {
    if (!cut) {
        QToolTip::hideText();
        return;
    }
    // A tooltip takes text that looks like markup as markup; a file name such as "<b>.frm" stays text.
    const QString shown =
        Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap) : text;
    QToolTip::showText(request.globalPos(), shown, widget);
}

} // namespace shell

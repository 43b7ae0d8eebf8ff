#pragma once
// Tooltips with the whole text of a list entry or a text box that its fixed width cuts.

#include <QString>

class QHelpEvent;
class QWidget;

namespace shell {

// Answers a tooltip request over `widget`: the whole `text` when `cut`, otherwise no tooltip. The text is
// shown as it is written, also when it looks like markup.
void AnswerWholeTextTip(const QHelpEvent& request, QWidget* widget, const QString& text, bool cut);

} // namespace shell

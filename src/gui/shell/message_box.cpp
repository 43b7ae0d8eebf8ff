#include "gui/shell/message_box.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>

#include <algorithm>

namespace shell {

namespace {

// A title bar's icon and its minimise, maximise, close and menu buttons, with their spacing, in pixels.
constexpr int kTitleBarButtons = 5 * 32;
// The width of a box that holds a short text comfortably.
constexpr int kLeastWidth = 320;

} // namespace

int TitleRoomWidth(const QString& title) {
    QFont font = QApplication::font();
    font.setBold(true);
    font.setPointSizeF(std::max(font.pointSizeF(), 11.0));
    return std::max(kLeastWidth, QFontMetrics(font).horizontalAdvance(title) + kTitleBarButtons);
}

std::unique_ptr<QMessageBox> NewMessageBox(QMessageBox::Icon icon, const QString& title,
                                           const QString& text) {
    auto box =
        std::make_unique<QMessageBox>(icon, title, text, QMessageBox::Ok, QApplication::activeWindow());
    box->setTextFormat(Qt::PlainText);
    // A message box sizes itself from its text; a spacer across its grid keeps it as wide as the caption
    // needs.
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
        grid->addItem(new QSpacerItem(TitleRoomWidth(title), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    return box;
}

} // namespace shell

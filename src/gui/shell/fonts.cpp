#include "gui/shell/fonts.h"

namespace shell {

QFont SansSerifFont(double points, bool bold) {
    // Liberation Sans rather than the desktop's default sans-serif font: its narrower letters fit the
    // captions into controls sized for MS Sans Serif.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// MS Sans Serif 8 is a bitmap font a little narrower than its outline stand-in at the same size; at 7.5
// points the captions fit their controls as they do on Windows.
QFont WindowFont() {
    return SansSerifFont(7.5);
}

QFont ArialFont(double points, bool underline) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setUnderline(underline);
    return font;
}

} // namespace shell

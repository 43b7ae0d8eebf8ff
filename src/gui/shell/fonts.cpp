#include "gui/shell/fonts.h"

namespace shell {

namespace {

// A font of `family` at `points`, with the desktop's sans-serif font standing in where it is missing.
QFont SansSerifFamily(const QString& family, double points) {
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    return font;
}

} // namespace

QFont SansSerifFont(double points, bool bold) {
    // Liberation Sans rather than the desktop's default sans-serif font: its narrower letters fit the
    // captions into controls sized for MS Sans Serif.
    QFont font = SansSerifFamily(QStringLiteral("Liberation Sans"), points);
    font.setBold(bold);
    return font;
}

// MS Sans Serif 8 is a bitmap font a little narrower than its outline stand-in at the same size; at 7.5
// points the captions fit their controls as they do on Windows.
QFont WindowFont() {
    return SansSerifFont(7.5);
}

QFont ArialFont(double points, bool underline) {
    QFont font = SansSerifFamily(QStringLiteral("Arial"), points);
    font.setUnderline(underline);
    return font;
}

} // namespace shell

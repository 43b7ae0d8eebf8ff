#include "shell/fonts.h"

namespace shell {

QFont SansSerifFont(double points, bool bold) {
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont WindowFont() {
    return SansSerifFont(8);
}

QFont ArialFont(double points, bool underline) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setUnderline(underline);
    return font;
}

} // namespace shell

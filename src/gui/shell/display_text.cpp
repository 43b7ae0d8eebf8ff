#include "gui/shell/display_text.h"

#include "text/code_page.h"

namespace shell {

QString DisplayText(std::string_view bytes, vb::TextKind fileText) {
    if (fileText == vb::TextKind::Utf8)
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char ch : bytes)
        *out++ = QChar(static_cast<char16_t>(vb::Windows1252CodePoint(static_cast<unsigned char>(ch))));
    return text;
}

std::string BytesOfDisplayText(const QString& text, vb::TextKind fileText) {
    if (fileText == vb::TextKind::Utf8)
        return text.toStdString();
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text)
        bytes += static_cast<char>(vb::Windows1252Byte(c.unicode()).value_or('?'));
    return bytes;
}

} // namespace shell

#include "text/control_pictures.h"

namespace vb {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

void AppendPicture(std::string& out, unsigned char b) {
    if (b == 0x7F) {
        out += "\xE2\x90\xA1"; // U+2421
        return;
    }
    // U+2400 + b is E2 90 (80 + b).
    out += "\xE2\x90";
    out += static_cast<char>(0x80 + b);
}

bool UncarriedControl(unsigned char b) noexcept {
    return b < 0x20 && b != '\t';
}

// U+FFFE and U+FFFF are EF BF BE and EF BF BF in UTF-8.
bool NonCharacterAt(std::string_view text, std::size_t i) noexcept {
    return i + 2 < text.size() && text[i] == '\xEF' && text[i + 1] == '\xBF' &&
           (text[i + 2] == '\xBE' || text[i + 2] == '\xBF');
}

} // namespace

// A C1 control character U+0080-U+009F (C2 80 to C2 9F in UTF-8) at `i`: a terminal may take U+009B
// as the start of a control sequence, so none reaches it as it is.
bool C1ControlAt(std::string_view text, std::size_t i) noexcept {
    return text[i] == '\xC2' && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
           static_cast<unsigned char>(text[i + 1]) <= 0x9F;
}

std::string ControlPictures(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x20 || b == 0x7F) {
            AppendPicture(out, b);
        } else if (C1ControlAt(text, i)) {
            out += kReplacement;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool AppendCarriable(std::string& out, std::string_view text) {
    bool replaced = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (UncarriedControl(b)) {
            AppendPicture(out, b);
            replaced = true;
        } else if (NonCharacterAt(text, i)) {
            out += kReplacement;
            i += 2;
            replaced = true;
        } else {
            out += text[i];
        }
    }
    return replaced;
}

bool NeedsReplacing(std::string_view text) noexcept {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (UncarriedControl(static_cast<unsigned char>(text[i])) || NonCharacterAt(text, i))
            return true;
    return false;
}

} // namespace vb

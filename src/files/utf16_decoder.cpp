#include "files/utf16_decoder.h"

namespace vb {

namespace {

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

constexpr char32_t kReplacement = 0xFFFD;

} // namespace

void Utf16Decoder::unit(char16_t u, std::string& out) {
    if (high_ != 0) {
        if (u >= 0xDC00 && u <= 0xDFFF) {
            AppendUtf8(0x10000 + ((static_cast<char32_t>(high_) - 0xD800) << 10) + (u - 0xDC00), out);
            high_ = 0;
            return;
        }
        AppendUtf8(kReplacement, out);
        high_ = 0;
    }
    if (u >= 0xD800 && u <= 0xDBFF)
        high_ = u;
    else if (u >= 0xDC00 && u <= 0xDFFF)
        AppendUtf8(kReplacement, out);
    else
        AppendUtf8(u, out);
}

void Utf16Decoder::decode(std::string_view bytes, std::string& out) {
    out.reserve(out.size() + bytes.size() / 2 * 3 + 4);
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (!haveByte_) {
            byte_ = b;
            haveByte_ = true;
            continue;
        }
        haveByte_ = false;
        unit(static_cast<char16_t>(bigEndian_ ? (byte_ << 8) | b : (b << 8) | byte_), out);
    }
}

void Utf16Decoder::finish(std::string& out) {
    if (high_ != 0 || haveByte_)
        AppendUtf8(kReplacement, out);
    high_ = 0;
    haveByte_ = false;
}

} // namespace vb

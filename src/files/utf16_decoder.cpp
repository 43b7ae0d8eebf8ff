#include "files/utf16_decoder.h"

#include "text/code_page.h"

namespace vb {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

} // namespace

void Utf16Decoder::unit(char16_t u, std::string& out) {
    if (high_ != 0) {
        if (u >= 0xDC00 && u <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(high_) - 0xD800) << 10) + (u - 0xDC00));
            high_ = 0;
            return;
        }
        AppendUtf8(out, kReplacement);
        high_ = 0;
    }
    if (u >= 0xD800 && u <= 0xDBFF)
        high_ = u;
    else if (u >= 0xDC00 && u <= 0xDFFF)
        AppendUtf8(out, kReplacement);
    else
        AppendUtf8(out, u);
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
        AppendUtf8(out, kReplacement);
    high_ = 0;
    haveByte_ = false;
}

} // namespace vb

#include "code_page.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace vb {

namespace {

// Unicode code points of Windows-1252 bytes 0x80 to 0x9F.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsContinuation(unsigned char b) noexcept {
    return (b & 0xC0) == 0x80;
}

} // namespace

char32_t Windows1252CodePoint(unsigned char byte) noexcept {
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char32_t{byte};
}

std::optional<unsigned char> Windows1252Byte(char32_t c) noexcept {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

std::string Utf8FromWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    AppendUtf8FromWindows1252(out, bytes);
    return out;
}

void AppendUtf8FromWindows1252(std::string& out, std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        // The ASCII stretch up to the next byte above 0x7F, 8 bytes at a time, goes out unchanged.
        std::size_t ascii = i;
        for (std::uint64_t word = 0; ascii + 8 <= bytes.size(); ascii += 8) {
            std::memcpy(&word, bytes.data() + ascii, 8);
            if (word & 0x8080808080808080u)
                break;
        }
        while (ascii < bytes.size() && static_cast<unsigned char>(bytes[ascii]) < 0x80)
            ++ascii;
        out.append(bytes.data() + i, ascii - i);
        if (ascii == bytes.size())
            break;
        AppendUtf8(out, Windows1252CodePoint(static_cast<unsigned char>(bytes[ascii])));
        i = ascii + 1;
    }
}

bool DecodeUtf8(std::string_view s, std::size_t& i, char32_t& c) noexcept {
    if (i >= s.size())
        return false;
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        c = b0;
        ++i;
        return true;
    }
    std::size_t len;
    char32_t value;
    char32_t least;
    if ((b0 & 0xE0) == 0xC0)
        len = 2, value = b0 & 0x1F, least = 0x80;
    else if ((b0 & 0xF0) == 0xE0)
        len = 3, value = b0 & 0x0F, least = 0x800;
    else if ((b0 & 0xF8) == 0xF0)
        len = 4, value = b0 & 0x07, least = 0x10000;
    else
        return false;
    if (i + len > s.size())
        return false;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if (!IsContinuation(b))
            return false;
        value = (value << 6) | (b & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return false;
    c = value;
    i += len;
    return true;
}

bool IsUtf8(std::string_view s) noexcept {
    char32_t c;
    for (std::size_t i = 0; i < s.size();)
        if (!DecodeUtf8(s, i, c))
            return false;
    return true;
}

void AppendUtf8(std::string& out, char32_t c) {
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

} // namespace vb

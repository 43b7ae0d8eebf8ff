#include "text/shown_text.h"

#include "text/code_page.h"

#include <cerrno>
#include <iconv.h>

namespace vb {

namespace {

constexpr std::string_view kWindows1252Names[] = {"auto", "Windows-1252", "CP1252", "WINDOWS-1252"};

bool UndefinedInWindows1252(unsigned char byte) noexcept {
    return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

// One conversion descriptor for one text: iconv keeps shift state in it, so none is shared.
class Converter {
public:
    explicit Converter(const std::string& from) : cd_(::iconv_open("UTF-8", from.c_str())) {}
    ~Converter() {
        if (ok())
            ::iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const noexcept { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of `in` as the code page defines, appending to `out`; returns the bytes consumed.
    std::size_t convert(std::string_view in, std::string& out) {
        char* from = const_cast<char*>(in.data());
        std::size_t left = in.size();
        char buffer[1024];
        while (left > 0) {
            char* to = buffer;
            std::size_t room = sizeof buffer;
            const std::size_t done = ::iconv(cd_, &from, &left, &to, &room);
            out.append(buffer, static_cast<std::size_t>(to - buffer));
            if (done != static_cast<std::size_t>(-1))
                break;
            if (errno != E2BIG)
                break; // EILSEQ or EINVAL: the byte at `from` starts nothing the code page defines
        }
        // Back to the initial shift state, so the next piece starts clean.
        char* to = buffer;
        std::size_t room = sizeof buffer;
        ::iconv(cd_, nullptr, nullptr, &to, &room);
        out.append(buffer, static_cast<std::size_t>(to - buffer));
        return in.size() - left;
    }

private:
    iconv_t cd_;
};

} // namespace

std::optional<CodePage> CodePage::Named(std::string_view name) {
    for (const std::string_view same : kWindows1252Names)
        if (name == same)
            return CodePage();
    const std::string given(name);
    if (given.empty() || !Converter(given).ok())
        return std::nullopt;
    return CodePage(given);
}

bool CodePage::keepsAscii() const {
    if (windows1252_)
        return true;
    for (int byte = 0; byte < 0x80; ++byte) {
        const char ch = static_cast<char>(byte);
        Converter converter(name_);
        std::string out;
        if (!converter.ok() || converter.convert(std::string_view(&ch, 1), out) != 1 ||
            out != std::string(1, ch))
            return false;
    }
    return true;
}

std::string CodePage::utf8(std::string_view bytes, bool* undefined) const {
    if (windows1252_) {
        if (undefined)
            for (const char c : bytes)
                if (UndefinedInWindows1252(static_cast<unsigned char>(c)))
                    *undefined = true;
        return Utf8FromWindows1252(bytes);
    }
    std::string out;
    out.reserve(bytes.size());
    Converter converter(name_);
    while (!bytes.empty()) {
        bytes.remove_prefix(converter.convert(bytes, out));
        if (bytes.empty())
            break;
        // A byte the code page does not define, or a sequence cut short by the end of the text.
        if (undefined)
            *undefined = true;
        out += Utf8FromWindows1252(bytes.substr(0, 1));
        bytes.remove_prefix(1);
    }
    return out;
}

std::string ShownText(std::string_view bytes, TextKind kind, const CodePage& page) {
    if (kind == TextKind::Utf8)
        return std::string(bytes);
    return page.utf8(bytes);
}

} // namespace vb

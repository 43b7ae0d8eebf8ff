#pragma once
// How the bytes of project and member files are shown as text. A file whose bytes hold a byte above 0x7F
// and are valid UTF-8 throughout is shown as UTF-8 (archives re-encode their text so); every other file by
// the code page of the Windows it was written on: Windows-1252 unless the caller names another.
// Only what is shown changes: lookups, scans and merges keep the bytes as they are.

#include "text/text_facts.h"

#include <optional>
#include <string>
#include <string_view>

namespace vb {

class CodePage {
public:
    // Windows-1252.
    CodePage() = default;
    // The code page iconv knows by `name` (CP1250, CP1251, GBK, CP932, ...); "auto" is Windows-1252.
    // Nullopt for a name iconv does not know or cannot convert to UTF-8.
    static std::optional<CodePage> Named(std::string_view name);

    // True when every ASCII byte, alone, is that same character in this code page: only then are line
    // ends, keys and ASCII names what they seem, and the shown text valid UTF-8 (not so for UTF-16, UCS-4,
    // UTF-7 or ISO-2022, for example).
    bool keepsAscii() const;

    // The name given, or "Windows-1252".
    const std::string& name() const noexcept { return name_; }
    // True for Windows-1252, which maps byte by byte, so a text may be converted in pieces of any size.
    bool isWindows1252() const noexcept { return windows1252_; }

    // The bytes as UTF-8. A byte or sequence the code page does not define is shown as Windows-1252
    // shows it; `undefined` (when given) is set if there was one. Windows-1252 itself leaves 0x81, 0x8D,
    // 0x8F, 0x90 and 0x9D undefined; they are shown as the C1 controls of the same number.
    std::string utf8(std::string_view bytes, bool* undefined = nullptr) const;

private:
    explicit CodePage(std::string name) : name_(std::move(name)), windows1252_(false) {}

    std::string name_ = "Windows-1252";
    bool windows1252_ = true;
};

// The bytes of a file whose text is `kind`, as UTF-8: as they are when the file is UTF-8, else by `page`.
std::string ShownText(std::string_view bytes, TextKind kind, const CodePage& page = {});

} // namespace vb

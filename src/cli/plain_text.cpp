#include "plain_text.h"
#include "text/code_page.h"

#include "text/member_path.h"

#include <nlohmann/json.hpp>

namespace cli {

std::string_view KindNameOf(vb::SourceKind kind) {
    switch (kind) {
    case vb::SourceKind::Form:
        return "Form";
    case vb::SourceKind::Module:
        return "Module";
    case vb::SourceKind::ClassModule:
        return "ClassModule";
    case vb::SourceKind::UserControl:
        return "UserControl";
    case vb::SourceKind::PropertyPage:
        break;
    }
    return "PropertyPage";
}

std::string PlainField(std::string_view bytes, vb::TextKind kind, const vb::CodePage& page) {
    return ControlPictures(vb::ShownText(bytes, kind, page));
}

std::string ErrorMessage(const vb::RuntimeError& error) {
    return "vbprojekt: " + vb::ErrorLine(error.number(), ControlPictures(error.path()));
}

std::string ControlPictures(std::string_view text) {
    // In UTF-8 a byte below 0x80 is always the ASCII character itself, so controls are found byte-wise and
    // the bytes of other characters pass untouched.
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x20) {
            // U+2400 + b is E2 90 (80 + b).
            out += "\xE2\x90";
            out += static_cast<char>(0x80 + b);
        } else if (b == 0x7F) {
            out += "\xE2\x90\xA1"; // U+2421
        } else {
            out += ch;
        }
    }
    return out;
}

nlohmann::ordered_json MissingRecord(const vb::RuntimeError& error, const vb::CodePage& page) {
    return {{"error", error.number()},
            {"description", error.description()},
            {"path", vb::ShownText(error.path(), vb::TextKindOf(error.path()), page)}};
}

void AppendRecord(std::string& out, std::initializer_list<std::string_view> fields) {
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first)
            out += '\t';
        first = false;
        out += field;
    }
    out += '\n';
}

std::string JsonText(const nlohmann::ordered_json& document) {
    return document.dump(2) + '\n';
}

} // namespace cli

#include "html_text.h"

#include "text/control_pictures.h"

#include <nlohmann/json.hpp>

namespace report {

std::string Html(std::string_view text) {
    const std::string pictured = vb::ControlPictures(text);
    std::string out;
    out.reserve(pictured.size() + pictured.size() / 8);
    for (const char ch : pictured) {
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += ch;
        }
    }
    return out;
}

std::string ScriptJson(const nlohmann::ordered_json& document) {
    const std::string text = document.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    std::string out;
    out.reserve(text.size() + 64);
    // A "<" stands only inside strings in JSON text, where \u003c means the same character.
    for (const char ch : text) {
        if (ch == '<')
            out += "\\u003c";
        else
            out += ch;
    }
    return out;
}

std::string Number(long long n) {
    std::string digits = std::to_string(n < 0 ? -n : n);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0 && digits.size() > 4)
            out += "\u202F"; // narrow no-break space
        out += digits[i];
    }
    return n < 0 ? "-" + out : out;
}

} // namespace report

#pragma once
// Text made safe for the report page: every text from a project file reaches the page only through these.

#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>

namespace report {

// UTF-8 text as HTML character data or attribute value: & < > " ' as character references, control
// characters (which HTML does not allow) as their control pictures U+2400-U+241F and U+2421.
std::string Html(std::string_view text);

// A JSON document as the content of <script type="application/json">: compact, with every "<" written as
// \u003c, so that neither "</script>" nor "<!--" in a text can end or change the element; what a JSON
// reader reads back is the same document.
std::string ScriptJson(const nlohmann::ordered_json& document);

// A number with a thin space between thousands, as German texts write it (12 345).
std::string Number(long long n);

} // namespace report

#pragma once
// The estate report: one self-contained HTML page (styles, script and SVG charts inside; it loads
// nothing) over the data document, which it also carries as
// <script type="application/json" id="vbprojekt-daten">.

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <string>

namespace report {

// Tables show at most this many rows, with a note; the embedded data holds all.
inline constexpr std::size_t kTableRows = 500;

struct PageOptions {
    std::string title;    // the page's heading; from the user, escaped like any text
    std::string producer; // names the program and its version in the page's foot
};

// The page over `data` (see report_figures.h for its keys). Deterministic: the same data gives the same
// bytes.
std::string ReportPage(const nlohmann::ordered_json& data, const PageOptions& options);

} // namespace report

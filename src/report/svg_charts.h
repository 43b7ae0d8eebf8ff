#pragma once
// The report's charts, drawn as SVG inside the page: readable without scripts, coloured by the page's
// style sheet (so they follow the light or dark setting and print), each with a title and a text that
// says in words what it shows.

#include <cstdint>
#include <string>
#include <vector>

namespace report {

// One bar: its label, its value, and whether it is marked (drawn in the warning colour, "marked" named
// in the text alternative).
struct Bar {
    std::string label; // UTF-8, escaped when drawn
    std::int64_t value = 0;
    bool marked = false;
};

// Horizontal bars, largest first as given. `id` makes the chart's element ids; `unit` follows each value
// in the text alternative ("Objekte"); `markedMeans` says what a marked bar means.
std::string BarChart(const std::string& id, const std::string& title, const std::vector<Bar>& bars,
                     const std::string& unit, const std::string& markedMeans = {});

// One stacked bar: its label and its parts, in the order of the chart's part names.
struct StackedBar {
    std::string label;
    std::vector<std::int64_t> parts;
};

// Horizontal stacked bars with a legend of `partNames`.
std::string StackedBarChart(const std::string& id, const std::string& title,
                            const std::vector<StackedBar>& bars, const std::vector<std::string>& partNames);

// Vertical columns over classes of a value (a histogram): each column's label under it.
std::string ColumnChart(const std::string& id, const std::string& title, const std::vector<Bar>& columns,
                        const std::string& unit);

// `text` cut to at most `characters` UTF-8 characters, with "…" at the end when it was cut.
std::string Shortened(const std::string& text, std::size_t characters);

} // namespace report

#include "svg_charts.h"

#include "html_text.h"

#include <algorithm>

namespace report {

namespace {

constexpr int kWidth = 760;
constexpr int kLabelWidth = 250;
constexpr int kValueWidth = 80;
constexpr int kRow = 22;
constexpr int kTop = 8;

std::string Px(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f", value);
    return buffer;
}

// The opening of a chart: an SVG image named by its title and described by `words`.
std::string Opening(const std::string& id, const std::string& title, const std::string& words, int height) {
    return "<svg class=\"diagramm\" id=\"" + id + "\" role=\"img\" aria-label=\"" +
           Html(title + ": " + words) + "\" viewBox=\"0 0 " + std::to_string(kWidth) + " " +
           std::to_string(height) + "\" xmlns=\"http://www.w3.org/2000/svg\"><title>" + Html(title) +
           "</title><desc>" + Html(words) + "</desc>";
}

std::size_t CharactersOf(const std::string& text) {
    std::size_t count = 0;
    for (const char ch : text)
        count += (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
    return count;
}

} // namespace

std::string Shortened(const std::string& text, std::size_t characters) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            continue; // a continuation byte
        if (count == characters)
            return text.substr(0, i) + "…";
        ++count;
    }
    return text;
}

std::string BarChart(const std::string& id, const std::string& title, const std::vector<Bar>& bars,
                     const std::string& unit, const std::string& markedMeans) {
    std::int64_t largest = 1;
    for (const Bar& bar : bars)
        largest = std::max(largest, bar.value);
    std::string words;
    for (const Bar& bar : bars) {
        words += (words.empty() ? "" : "; ") + bar.label + ": " + std::to_string(bar.value) + " " + unit;
        if (bar.marked)
            words += " (" + markedMeans + ")";
    }
    const int height = kTop * 2 + kRow * static_cast<int>(std::max<std::size_t>(bars.size(), 1));
    std::string svg = Opening(id, title, words.empty() ? "Keine Daten." : words + ".", height);
    const double scale = double(kWidth - kLabelWidth - kValueWidth) / double(largest);
    int y = kTop;
    for (const Bar& bar : bars) {
        const double length = std::max(1.0, double(bar.value) * scale);
        svg += "<g><title>" + Html(bar.label) + ": " + std::to_string(bar.value) + " " + Html(unit) +
               "</title><text class=\"beschriftung\" x=\"" + std::to_string(kLabelWidth - 6) + "\" y=\"" +
               std::to_string(y + 15) + "\" text-anchor=\"end\">" + Html(Shortened(bar.label, 34)) +
               "</text><rect class=\"" + (bar.marked ? "markiert" : "teil1") + "\" x=\"" +
               std::to_string(kLabelWidth) + "\" y=\"" + std::to_string(y + 3) + "\" width=\"" + Px(length) +
               "\" height=\"" + std::to_string(kRow - 6) + "\"/><text class=\"wert\" x=\"" +
               Px(kLabelWidth + length + 4) + "\" y=\"" + std::to_string(y + 15) + "\">" + Number(bar.value) +
               "</text></g>";
        y += kRow;
    }
    return svg + "</svg>";
}

std::string StackedBarChart(const std::string& id, const std::string& title,
                            const std::vector<StackedBar>& bars, const std::vector<std::string>& partNames) {
    std::int64_t largest = 1;
    std::string words;
    for (const StackedBar& bar : bars) {
        std::int64_t sum = 0;
        words += (words.empty() ? "" : "; ") + bar.label + ":";
        for (std::size_t i = 0; i < bar.parts.size() && i < partNames.size(); ++i) {
            sum += bar.parts[i];
            words += (i ? ", " : " ") + std::to_string(bar.parts[i]) + " " + partNames[i];
        }
        largest = std::max(largest, sum);
    }
    constexpr int kLegend = 26;
    const int height = kLegend + kTop * 2 + kRow * static_cast<int>(std::max<std::size_t>(bars.size(), 1));
    std::string svg = Opening(id, title, words.empty() ? "Keine Daten." : words + ".", height);
    int x = 10;
    for (std::size_t i = 0; i < partNames.size(); ++i) {
        svg += "<rect class=\"teil" + std::to_string(i + 1) + "\" x=\"" + std::to_string(x) +
               "\" y=\"6\" width=\"12\" height=\"12\"/><text class=\"beschriftung\" x=\"" +
               std::to_string(x + 16) + "\" y=\"17\">" + Html(partNames[i]) + "</text>";
        x += 30 + static_cast<int>(CharactersOf(partNames[i])) * 7;
    }
    const double scale = double(kWidth - kLabelWidth - kValueWidth) / double(largest);
    int y = kLegend + kTop;
    for (const StackedBar& bar : bars) {
        std::string tip = bar.label + ":";
        double left = kLabelWidth;
        std::string rects;
        std::int64_t sum = 0;
        for (std::size_t i = 0; i < bar.parts.size() && i < partNames.size(); ++i) {
            const double length = double(bar.parts[i]) * scale;
            tip += (i ? ", " : " ") + std::to_string(bar.parts[i]) + " " + partNames[i];
            sum += bar.parts[i];
            if (bar.parts[i] > 0)
                rects += "<rect class=\"teil" + std::to_string(i + 1) + "\" x=\"" + Px(left) + "\" y=\"" +
                         std::to_string(y + 3) + "\" width=\"" + Px(length) + "\" height=\"" +
                         std::to_string(kRow - 6) + "\"/>";
            left += length;
        }
        svg += "<g><title>" + Html(tip) + "</title><text class=\"beschriftung\" x=\"" +
               std::to_string(kLabelWidth - 6) + "\" y=\"" + std::to_string(y + 15) +
               "\" text-anchor=\"end\">" + Html(Shortened(bar.label, 34)) + "</text>" + rects +
               "<text class=\"wert\" x=\"" + Px(left + 4) + "\" y=\"" + std::to_string(y + 15) + "\">" +
               Number(sum) + "</text></g>";
        y += kRow;
    }
    return svg + "</svg>";
}

std::string ColumnChart(const std::string& id, const std::string& title, const std::vector<Bar>& columns,
                        const std::string& unit) {
    std::int64_t largest = 1;
    std::string words;
    for (const Bar& column : columns) {
        largest = std::max(largest, column.value);
        words +=
            (words.empty() ? "" : "; ") + column.label + ": " + std::to_string(column.value) + " " + unit;
    }
    constexpr int kHeight = 220, kFoot = 24, kHead = 18;
    std::string svg = Opening(id, title, words.empty() ? "Keine Daten." : words + ".", kHeight);
    const int count = static_cast<int>(std::max<std::size_t>(columns.size(), 1));
    const double step = double(kWidth - 20) / count;
    const double scale = double(kHeight - kFoot - kHead) / double(largest);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        const Bar& column = columns[static_cast<std::size_t>(i)];
        const double height = double(column.value) * scale;
        const double x = 10 + i * step;
        svg +=
            "<g><title>" + Html(column.label) + ": " + std::to_string(column.value) + " " + Html(unit) +
            "</title><rect class=\"teil1\" x=\"" + Px(x + 3) + "\" y=\"" + Px(kHeight - kFoot - height) +
            "\" width=\"" + Px(step - 6) + "\" height=\"" + Px(height) + "\"/><text class=\"wert\" x=\"" +
            Px(x + step / 2) + "\" y=\"" + Px(kHeight - kFoot - height - 4) + "\" text-anchor=\"middle\">" +
            Number(column.value) + "</text><text class=\"beschriftung\" x=\"" + Px(x + step / 2) + "\" y=\"" +
            std::to_string(kHeight - 6) + "\" text-anchor=\"middle\">" + Html(column.label) + "</text></g>";
    }
    return svg + "</svg>";
}

} // namespace report

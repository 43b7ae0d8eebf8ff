#include "progress_bar.h"

#include "text/control_pictures.h"

#include "standard_streams.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <sys/ioctl.h>
#include <unistd.h>

namespace cli {

namespace {

constexpr int kBarWidth = 30;
// Narrower than this, the bar leaves out its brackets: just the numbers.
constexpr int kLeastBarWidth = 5;
// When the terminal does not tell its width, the line is not cut.
constexpr int kUnknownColumns = 1 << 16;

// The terminal's columns, less one: a line that fills the last column wraps on some terminals.
int UsableColumns() {
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col - 1;
    return kUnknownColumns;
}

bool TerminalRedraws() {
    const char* term = std::getenv("TERM");
    return !(term && std::string_view(term) == "dumb");
}

// Characters a terminal shows for UTF-8 text: every byte but the continuation bytes.
int ShownWidth(std::string_view text) {
    return static_cast<int>(std::count_if(
        text.begin(), text.end(), [](char ch) { return (static_cast<unsigned char>(ch) & 0xC0) != 0x80; }));
}

// The longest start of `text` that shows in `width` characters, never cutting a UTF-8 sequence.
std::string_view Cut(std::string_view text, int width) {
    std::size_t end = 0;
    for (int shown = 0; end < text.size(); ++end) {
        if ((static_cast<unsigned char>(text[end]) & 0xC0) != 0x80 && shown++ == width)
            break;
    }
    return text.substr(0, end);
}

void WriteRaw(const std::string& text) {
    // A failing terminal must not stop the work; the result itself goes elsewhere.
    [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, text.data(), text.size());
}

// The bar's line for `columns` terminal columns: STATUS [####    ] VALUE/STEPS DETAIL, the bar at most
// 30 characters wide and narrower on a narrow terminal, the detail and then the status cut to fit.
std::string ProgressLine(std::string_view status, std::string_view detail, int value, int steps,
                         int columns) {
    const std::string numbers = std::to_string(value) + "/" + std::to_string(steps);
    // The numbers always show; the bar takes what is left after the status, up to its full width.
    const int left = columns - ShownWidth(numbers) - ShownWidth(status) - 1;
    const int width = std::min(kBarWidth, left - 3); // " [" and "] " around it, less the status' space
    std::string line;
    if (width >= kLeastBarWidth) {
        const int filled = steps > 0 ? static_cast<int>(std::int64_t{value} * width / steps) : width;
        line = std::string(status) + " [";
        line.append(static_cast<std::size_t>(filled), '#');
        line.append(static_cast<std::size_t>(width - filled), ' ');
        line += "] " + numbers;
    } else {
        line = std::string(Cut(status, std::max(0, columns - ShownWidth(numbers) - 1))) + " " + numbers;
    }
    const int room = columns - ShownWidth(line) - 1;
    if (!detail.empty() && room > 0)
        line += " " + std::string(Cut(detail, room));
    return std::string(Cut(line, std::max(columns, 0)));
}

} // namespace

ProgressBar::ProgressBar(std::string status, int steps, bool allowed)
    : status_(std::move(status)), steps_(steps),
      shown_(allowed && steps > kHandfulOfMembers && ::isatty(STDERR_FILENO) == 1 && TerminalRedraws()) {
    if (shown_)
        draw();
}

ProgressBar::~ProgressBar() {
    if (shown_)
        WriteRaw("\r\x1b[2K"); // back to the line's start and erase it
}

void ProgressBar::step() {
    if (value_ < steps_)
        ++value_;
    if (shown_)
        draw();
}

void ProgressBar::step(std::string detail) {
    detail_ = vb::ControlPictures(detail);
    step();
}

void ProgressBar::note(std::string_view line) const {
    if (shown_)
        WriteRaw("\r\x1b[2K");
    WriteToStandardError(line);
    if (shown_)
        draw();
}

void ProgressBar::draw() const {
    WriteRaw("\r" + ProgressLine(status_, detail_, value_, steps_, UsableColumns()));
}

} // namespace cli

#include "progress_bar.h"

#include "text/control_pictures.h"

#include "standard_streams.h"

#include <unistd.h>

namespace cli {

namespace {

constexpr int kBarWidth = 30;

void WriteRaw(const std::string& text) {
    // A failing terminal must not stop the work; the result itself goes elsewhere.
    [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, text.data(), text.size());
}

} // namespace

ProgressBar::ProgressBar(std::string status, int steps, bool allowed)
    : status_(std::move(status)), steps_(steps),
      shown_(allowed && steps > kHandfulOfMembers && ::isatty(STDERR_FILENO) == 1) {
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
    const int filled = steps_ > 0 ? value_ * kBarWidth / steps_ : kBarWidth;
    std::string line = "\r" + status_ + " [";
    line.append(static_cast<std::size_t>(filled), '#');
    line.append(static_cast<std::size_t>(kBarWidth - filled), ' ');
    line += "] " + std::to_string(value_) + "/" + std::to_string(steps_);
    if (!detail_.empty())
        line += " " + detail_;
    WriteRaw(line);
}

} // namespace cli

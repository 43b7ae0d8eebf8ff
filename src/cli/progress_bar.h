#pragma once
// A one-line progress bar on standard error, redrawn in place, for the commands that go through many
// member files. It shows only where somebody watches: when standard error is a terminal that can redraw
// a line (TERM is not "dumb") and the command has more than a handful of steps. Otherwise it writes
// nothing at all, so logs and pipes stay clean. The line never grows past the terminal's width, so it
// never wraps into a second line that the next redraw would leave behind.

#include <string>
#include <string_view>

namespace cli {

// Commands with at most this many member files finish too soon for a bar to help.
inline constexpr int kHandfulOfMembers = 5;

class ProgressBar {
public:
    // `status` is the German text shown before the bar. `allowed` false keeps the bar off whatever the
    // terminal (used when the command's own output goes to the same terminal).
    ProgressBar(std::string status, int steps, bool allowed = true);
    // Clears the bar's line, so the terminal is left as it was.
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // One step of the work is done.
    void step();
    // The same, with `detail` shown after the numbers from now on.
    void step(std::string detail);
    // Writes a message line to standard error, above the bar where it is shown.
    void note(std::string_view line) const;

    bool shown() const noexcept { return shown_; }

private:
    void draw() const;

    std::string status_;
    std::string detail_;
    int steps_;
    int value_ = 0;
    bool shown_;
};

} // namespace cli

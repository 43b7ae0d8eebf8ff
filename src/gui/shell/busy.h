#pragma once
// The busy indication every long command uses: the program-wide hourglass, the status text in the main
// window's lblAktion with the one event pass that lets it show before the work starts, the progress bar PB,
// and at the end the empty status, the bar at 0 and the normal pointer.

#include <QString>

#include <optional>

class QLabel;
class QProgressBar;

namespace shell {

void SetHourglass();
// Removes every override, whatever was set before: the pointer is normal afterwards.
void SetNormalPointer();
// Lets the window process pending events once.
void EventPass();

// A main window's status line and progress bar, which show that a command is busy.
struct BusyIndication {
    QLabel* lblAktion;
    QProgressBar* PB;

    // Hourglass; then the bar's maximum, for a command that sets it before its status text; the status
    // text; one event pass.
    void begin(const QString& status, std::optional<int> maximum = std::nullopt) const;
    // Empty status text, the bar at 0, the normal pointer.
    void end() const;
};

// Shows the normal pointer while a modal dialog or message box is open and restores what was set before.
class PointerSuspension {
public:
    PointerSuspension();
    ~PointerSuspension();
    PointerSuspension(const PointerSuspension&) = delete;
    PointerSuspension& operator=(const PointerSuspension&) = delete;

private:
    int suspended_ = 0;
};

} // namespace shell

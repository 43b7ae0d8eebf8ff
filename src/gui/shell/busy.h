#pragma once
// The busy indication every long command uses: the program-wide hourglass, the normal pointer, and the one
// event pass that lets a status text show before the work starts.

namespace shell {

void SetHourglass();
// Removes every override, whatever was set before: the pointer is normal afterwards.
void SetNormalPointer();
// Lets the window process pending events once.
void EventPass();

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

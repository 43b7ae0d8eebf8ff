#pragma once
// Test helpers that act on a window as a person would and watch its busy indication.

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QStringList>
#include <QTimer>

#include <vector>

namespace shell {
class SortedListBox;
}

namespace vbtest {

// Clicks the entry with exactly this text (the test fails when there is none).
void ClickEntry(shell::SortedListBox* list, const QString& text);

// Drags `paths` (as a file manager does: one local file address each) onto `target` and drops them there
// when the target accepts the drag; then lets the window run what the drop started. True when accepted.
bool DropFiles(QWidget* target, const QStringList& paths);

// Moves the focus with Tab through the window's keyboard order once, from `first` on, and names each
// control that looks the same with the focus as without it (no focus mark).
QStringList ControlsWithoutFocusMark(QWidget* first);

// The control that Tab moves the focus to from `widget`.
QWidget* NextTabStop(const QWidget* widget);

// Records every value the progress bar takes, and what the window shows at the command's one event pass:
// the status text, the bar's maximum and whether the hourglass is up.
class ProgressRecorder {
public:
    ProgressRecorder(QProgressBar* bar, QLabel* status);
    // Forgets what was recorded and watches for the next event pass.
    void clear();

    std::vector<int> values;
    QString statusAtEventPass;
    int maximumAtEventPass = -1;
    bool hourglassAtEventPass = false;

private:
    QProgressBar* bar_;
    QLabel* status_;
    QTimer eventPass_;
};

} // namespace vbtest

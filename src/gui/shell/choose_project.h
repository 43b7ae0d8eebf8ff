#pragma once
// The project choice of both main windows (the click of cmdPw): the file-open dialog, the two passes over
// the chosen project file with the busy indication, and the project's folder. Each window shows the
// result its own way.

#include "project/project_file_lists.h"

#include <QString>

#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QProgressBar;

namespace shell {

class CommonDialog;

// The controls and state of the main window that the project choice uses.
struct ProjectChoice {
    CommonDialog& dialog;
    QLineEdit* txtP;
    QLabel* lblAktion;
    QProgressBar* PB;
    vb::ProjectFileLists& lists;
    std::string& projectFolder;
    // The counter sets the bar's maximum itself; the merger relies on the bar's design maximum of 5.
    bool setProgressMaximum;
    // Shows the lists in the window, after the folder is derived.
    std::function<void()> showProject;
    // Runs once the bar stands at 5, before the status is cleared (the counter's group count).
    std::function<void()> afterRead;
};

// Runs the project choice. Returns false when the dialog was cancelled: then nothing changed.
// A failure to read the file propagates as vb::RuntimeError.
bool ChooseProject(const ProjectChoice& choice);

// A path from a text box as the bytes the file system uses.
std::string FilePathOfText(const QString& text);

} // namespace shell

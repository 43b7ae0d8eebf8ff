#pragma once
// The project choice of both main windows (the click of cmdPw): the file-open dialog, the two passes over
// the chosen project file with the busy indication, and the project's folder. Each window takes the result
// into its own state and shows it its own way.

#include "project/project_file_lists.h"

#include <QString>

#include <optional>
#include <string>

class QLineEdit;

namespace shell {

class CommonDialog;
struct BusyIndication;

// What a project read yields: the window's new ProjectFileLists and ProjectFolder, and the project file's
// path as the file system names it.
struct ProjectRead {
    vb::ProjectFileLists lists;
    std::string folder;
    std::string path;
};

// Runs the project choice: the dialog (or, when `given` is not empty, that file taken as if chosen in
// it), then the busy indication (with `progressMaximum` set before the
// status text when given; the merger relies on the bar's design maximum of 5), the chosen path into txtP,
// the two passes over the file named there, and its folder. Returns nothing when the dialog was cancelled:
// then nothing changed. Otherwise the bar stands at 4 and the busy indication is still on: the window takes
// the project, shows it, sets the bar to 5 and ends the busy indication.
// A failure to read the file propagates as vb::RuntimeError.
std::optional<ProjectRead> ChooseProject(CommonDialog& dialog, const QString& given, QLineEdit& txtP,
                                         const BusyIndication& busy, std::optional<int> progressMaximum);

// A path from a text box as the bytes the file system uses.
std::string FilePathOfText(const QString& text);

} // namespace shell

#pragma once
// The counter opens a member file by its entry alone, relative to the working directory, which its file
// choice leaves at the project file's folder. The command line has no file choice, so the counting
// commands make the project file's folder the working directory themselves while they scan. The core's
// member opening stays untouched, and every entry is found exactly as the counter window finds it.

#include <functional>
#include <string>

#include "text/runtime_error.h"

namespace cli {

// Runs `scan` with the folder of `projectPath` (as the system names it, relative to the current working
// directory) as the working directory, and returns to the previous working directory afterwards. A
// runtime error raised for a relative member path is raised again naming the project path's folder
// followed by that path, the path the merge command would name, so the message leads to the file from
// where the caller stands.
void ScanInProjectFolder(const std::string& projectPath, const std::function<void()>& scan);

// A runtime error raised while scanning in the project's folder, naming its path as seen from the caller:
// a relative path gets the project path's folder in front.
vb::RuntimeError SeenFromCaller(const std::string& projectPath, const vb::RuntimeError& error);
// A path relative to the project's folder as seen from the caller; an absolute path stays as it is.
std::string PathSeenFromCaller(const std::string& projectPath, const std::string& path);

} // namespace cli

#pragma once
// The projects a command reads, from its operands: project files, project groups (.vbg) and folders.

#include "errors/runtime_error.h"

#include <optional>
#include <string>
#include <vector>

namespace cli {

// One project of a run: its path as reached from the operand (the group file's folder followed by the
// group's line, or the folder followed by the path found below it), and the error that keeps it from
// being read at all (a group that cannot be read, or a group line that names no file).
struct ProjectOperand {
    std::string path;
    std::optional<vb::RuntimeError> error;
};

// The projects the operands name, in operand order:
// - a folder: every project file below it (extension ".vbp" in any letter case), found recursively
//   without following symbolic links to folders, in byte order of their whole path; group files there
//   are not read;
// - a file with the extension ".vbg" in any letter case: the projects its "Project=" and
//   "StartupProject=" lines name, in the order of the lines, relative to the group file's folder and
//   found with the member lookup's rules ("\" or "/" between folders, letter case); a line naming a
//   group file is replaced by that group's projects (each group read once; a group naming one it is read
//   from stands as RuntimeError 75 for that line), a line naming a file that is neither a project
//   (".vbp") nor a group stands as RuntimeError 52;
// - anything else: a project file.
// A project reached a second time (the same file by device and inode) is left out. An operand that does
// not exist stands as a project file, whose reading then fails in its place. A folder below an operand
// (or the operand itself) that cannot be opened or listed stands, with its error (70 for a folder that may
// not be listed), where its projects would in byte order. A folder that holds no project file and no such
// error is RuntimeError 75 naming it, before any project is read. Folders are searched on `jobs` threads,
// to any depth, with one folder open per thread.
std::vector<ProjectOperand> ProjectsOfOperands(const std::vector<std::string>& operands, int jobs = 1);

// True when `path` names a folder (links followed).
bool IsFolderPath(const std::string& path);

// `name` inside `folder`, with one "/" between them.
std::string Joined(const std::string& folder, const std::string& name);

// True when `word` names projects: a folder, or a file with the extension ".vbp" or ".vbg" in any
// letter case (a member entry never does).
bool NamesProjects(const std::string& word);

// True when exactly one project file is named: the output of one project, as the commands always wrote it.
bool IsOneProjectFile(const std::vector<std::string>& operands);

} // namespace cli

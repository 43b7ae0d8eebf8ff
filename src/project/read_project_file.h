#pragma once
// Reading a project file (.vbp): which lines name members, and how a member's entry is cut from its line.

#include "project/project_file_lists.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vb {

// The kind whose key begins the line ("Form", "Modul", "Class", "UserControl", "PropertyPage"; exact
// and case-sensitive, from the first column), if any.
std::optional<SourceKind> KindOfProjectLine(std::string_view line);

// The entry a member line of that kind names, cut by character positions:
// Form, UserControl, PropertyPage: everything after the key and the one character that follows it;
// Module, ClassModule: everything after the first ";" and the one character after it (from the second
// character of the line when there is no ";").
std::string_view EntryOfProjectLine(SourceKind kind, std::string_view line);

// Reads the project file in two passes, the first counting the member lines of each kind (RuntimeError 6
// past 32767), the second storing each entry in the first empty entry of its list. `progress` is told
// 1, 2 and 3 after the counting, the sizing of the lists and the storing. Nothing is stored past the end
// of a list if the file grew between the passes.
// A project or group file's lines are read up to this length; a longer line is cut there (no line of a
// sound file comes near it), so a file of one endless line costs a buffer, not its size.
inline constexpr std::size_t kLongestProjectLine = 64 * 1024;

// The entry as the lists keep it: an entry longer than any path the system opens (PATH_MAX bytes), or one
// whose line was cut, is cut at a character's start within PATH_MAX bytes and ends in `ellipsis` ("…" in
// the file's text); opening it fails with error 52, and shown it stays short.
std::string_view KeptEntry(std::string_view entry, bool lineCut, std::string_view ellipsis, std::string& cut);

ProjectFileLists ReadProjectFile(const std::string& path, const std::function<void(int)>& progress = {});

// The path up to and including its last "\" or "/"; empty when it has neither.
std::string FolderOfPath(std::string_view path);

} // namespace vb

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
ProjectFileLists ReadProjectFile(const std::string& path, const std::function<void(int)>& progress = {});

// The path up to and including its last "\" or "/"; empty when it has neither.
std::string FolderOfPath(std::string_view path);

} // namespace vb

#pragma once
// The counter finds a member by its entry relative to the project file's folder (the window's file choice
// leaves the working directory there). The command line finds it the same way without changing the
// working directory: its member lookup starts in that folder, so several projects can be read at once.

#include "files/member_path.h"

#include <string>

namespace vb {

// The folder of `projectPath` as the system names it: the path up to and including its last "/", empty
// for a project file in the working directory. Paths found from there lead to the file from the caller.
std::string CounterFolderOf(const std::string& projectPath);

// The counter's member lookup for the project at `projectPath`: entries relative to its folder; found
// paths and errors name that folder followed by the entry, as the caller sees the file.
inline MemberLookup CounterLookupOf(const std::string& projectPath) {
    return MemberLookup(CounterFolderOf(projectPath));
}

} // namespace vb

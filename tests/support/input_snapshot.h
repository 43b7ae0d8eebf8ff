#pragma once
// The bytes of every file in a folder, to prove that a command left its input files as they were.

#include <filesystem>
#include <map>
#include <string>

namespace vbtest {

using Snapshot = std::map<std::string, std::string>;

// Path and bytes of every regular file below `folder` (links are not followed).
Snapshot TakeSnapshot(const std::filesystem::path& folder);

// The files of `before` as they are now; a file that is gone reads as "<missing>".
Snapshot Recheck(const Snapshot& before);

} // namespace vbtest

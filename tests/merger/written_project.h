#pragma once
// A project in a fresh folder for the merger tests: member files written with explicit bytes, lists as
// the project reader leaves them.

#include "project/project_file_lists.h"
#include "temp_dir.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace mergertest {

class WrittenProject {
public:
    // Adds a member; "\" in the entry becomes a sub-folder on disk.
    void add(vb::SourceKind kind, const std::string& entry, std::string_view bytes) {
        std::string onDisk = entry;
        std::replace(onDisk.begin(), onDisk.end(), '\\', '/');
        dir.write(onDisk, bytes);
        addEntry(kind, entry);
    }
    // Adds an entry whose file is not written.
    void addEntry(vb::SourceKind kind, const std::string& entry) {
        lists.list(kind).push_back(entry);
        ++lists.count(kind);
    }
    std::string folder() const { return dir.path().string() + "/"; }
    std::string projectPath() const { return folder() + "Projekt.vbp"; }

    vbtest::TempDir dir;
    vb::ProjectFileLists lists;
};

} // namespace mergertest

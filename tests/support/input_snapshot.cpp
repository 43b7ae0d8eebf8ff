#include "input_snapshot.h"

#include "temp_dir.h"

namespace vbtest {

Snapshot TakeSnapshot(const std::filesystem::path& folder) {
    Snapshot files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && !entry.is_symlink())
            files[entry.path().string()] = ReadBytes(entry.path().string());
    return files;
}

Snapshot Recheck(const Snapshot& before) {
    Snapshot now;
    for (const auto& [path, bytes] : before) {
        std::error_code error;
        now[path] = std::filesystem::is_regular_file(path, error) ? ReadBytes(path) : "<missing>";
    }
    return now;
}

} // namespace vbtest

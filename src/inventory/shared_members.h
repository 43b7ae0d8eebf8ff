#pragma once
// Member files that several projects of one run use: the same file by device and inode, reached from
// each project by its own entry.

#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace inventory {

// One file used by more than one project: the path under which the first project finds it, and the
// paths of the projects using it, in the order of the run.
struct SharedFile {
    std::string file;
    std::vector<std::string> projects;
};

class SharedMembers {
public:
    // Notes the member files the project at `projectPath`, the `index`-th of the run, finds (by the
    // counter's lookup). Safe to call from several threads at once. A project that cannot be read adds
    // nothing.
    void addProject(std::size_t index, const std::string& projectPath);

    // The files used by more than one project, in the order of the first project using them, then of
    // their path there. Paths are bytes as reached.
    std::vector<SharedFile> shared() const;

private:
    struct Use {
        std::string project;
        std::string file;
    };
    // Per file identity the projects using it, by their index in the run.
    using Uses = std::map<std::size_t, Use>;

    mutable std::mutex mutex_;
    std::map<std::pair<dev_t, ino_t>, Uses> files_;
};

} // namespace inventory

#pragma once
// Member files that several projects of one run use: the same file by device and inode, reached from
// each project by its own entry.

#include "text/shown_text.h"

#include <cstddef>
#include <map>
#include <mutex>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace cli {

class SharedMembers {
public:
    // Notes the member files the project at `projectPath`, the `index`-th of the run, finds (by the
    // counter's lookup). Safe to call from several threads at once. A project that cannot be read adds
    // nothing.
    void addProject(std::size_t index, const std::string& projectPath);

    // The files used by more than one project, in the order of the first project using them, then of
    // their path there: text records Geteilt<TAB>DATEI<TAB>PROJEKT<TAB>PROJEKT..., or JSON records
    // {"file", "projects"}. DATEI is the path under which the first project finds the file.
    std::string text(const vb::CodePage& page) const;
    nlohmann::ordered_json json(const vb::CodePage& page) const;

private:
    struct Use {
        std::string project;
        std::string file;
    };
    // Per file identity the projects using it, by their index in the run.
    using Uses = std::map<std::size_t, Use>;
    std::vector<const Uses*> shared() const;

    mutable std::mutex mutex_;
    std::map<std::pair<dev_t, ino_t>, Uses> files_;
};

} // namespace cli

#pragma once
// The lines of a project's members (counter::LineTally: all, object description, attributes, code, blank,
// comments), summed per kind, per project and over a run.

#include "counter/member_lines.h"
#include "inventory/member_reading.h"
#include "project/source_kind.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace inventory {

// One member: its kind, its entry as shown (UTF-8), and its lines, or the error that kept its file shut.
struct MemberLines {
    vb::SourceKind kind;
    std::string entry;
    std::optional<counter::LineTally> tally;
    std::optional<vb::RuntimeError> missing;
};

struct ProjectLines {
    std::vector<MemberLines> members;                                // in the project reader's order
    std::array<counter::LineTally, vb::kSourceKinds.size()> kinds{}; // in the order of vb::kSourceKinds
    counter::LineTally total;
};

// Reads every member file of the project at `projectPath` in full (found as the counter finds it).
ProjectLines LinesOfProject(const std::string& projectPath, const MemberReading& reading);

// The sum over the projects of a run; safe to add to from several threads at once.
class LineSums {
public:
    void add(const counter::LineTally& project);
    counter::LineTally total() const;

private:
    mutable std::mutex mutex_;
    counter::LineTally total_;
};

} // namespace inventory

#pragma once
// The code of a project's members (counter::MemberCode: procedures, events, API declarations), and what
// sums it up over a project and a run: procedure sums, the most complex procedures, declarations per
// library.

#include "counter/code_reader.h"
#include "inventory/member_reading.h"
#include "project/source_kind.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace inventory {

// One member: its kind, its entry as shown (UTF-8), its code with every name, library and function shown
// in UTF-8 (vb::ShownText of the member file), or the error that kept its file shut.
struct MemberCode {
    vb::SourceKind kind;
    std::string entry;
    std::optional<counter::MemberCode> code;
    std::optional<vb::RuntimeError> missing;
    std::pair<std::uint64_t, std::uint64_t> file{}; // device and inode, to count shared files once
};

struct ProjectCode {
    std::vector<MemberCode> members; // in the project reader's order
};

// Reads every member file of the project at `projectPath` (found as the counter finds it), with the
// project file's CondComp constants.
ProjectCode CodeOfProject(const std::string& projectPath, const MemberReading& reading);

// How many procedures, their code lines and the largest complexity among them (0 without procedures).
struct ProcedureSums {
    std::int64_t procedures = 0;
    std::int64_t code = 0;
    std::int64_t largestComplexity = 0;
    ProcedureSums& operator+=(const ProcedureSums& other) noexcept;
};
ProcedureSums SumsOf(const counter::MemberCode& code);
ProcedureSums SumsOf(const ProjectCode& project);

// A procedure with where it stands.
struct PlacedProcedure {
    std::string project; // the project's path as given
    vb::SourceKind kind;
    std::string entry;
    counter::Procedure procedure;
};

// The `count` most complex procedures of a run: by complexity (descending), then code lines
// (descending), then project path, entry and line. Safe to add to from several threads at once; the
// result does not depend on the order in which projects are added.
class TopProcedures {
public:
    explicit TopProcedures(std::size_t count) : count_(count) {}
    void addProject(const std::string& projectPath, const ProjectCode& project);
    std::vector<PlacedProcedure> sorted() const;

private:
    void trim(); // keeps the first count_ in order

    std::size_t count_;
    mutable std::mutex mutex_;
    std::vector<PlacedProcedure> kept_;
};

// The declarations of one library over a run.
struct ApiLibraryRow {
    std::string library;
    std::int64_t declarations = 0;
    std::int64_t functions = 0; // distinct functions called
    std::int64_t members = 0;   // member files that declare it, a file shared by projects once
    std::int64_t projects = 0;
};

// Declarations per library; safe to add to from several threads at once.
class LibraryInventory {
public:
    void addProject(const ProjectCode& project);
    // Sorted by declarations (descending), then by library in byte order.
    std::vector<ApiLibraryRow> sorted() const;

private:
    struct Use {
        std::int64_t declarations = 0;
        std::set<std::string> functions;
        std::set<std::pair<std::uint64_t, std::uint64_t>> members;
        std::int64_t projects = 0;
    };
    mutable std::mutex mutex_;
    std::map<std::string, Use> uses_;
};

} // namespace inventory

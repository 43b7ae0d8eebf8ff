#pragma once
// Counting the objects that all forms, user controls and property pages of a project declare.

#include "counter/object_group_table.h"
#include "errors/runtime_error.h"
#include "files/member_path.h"
#include "project/project_file_lists.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace counter {

// The kinds whose members declare objects, in the order they are counted; modules and class modules
// have no object description.
inline constexpr std::array kCountedKinds = {vb::SourceKind::Form, vb::SourceKind::UserControl,
                                             vb::SourceKind::PropertyPage};

// One member after its scan: its kind, its entry as held in the lists, and the objects it declares; for a
// member file that could not be opened (when the count goes on past it) 0 objects and the error.
struct MemberObjects {
    vb::SourceKind kind;
    const std::string& entry;
    std::int32_t objects;
    const vb::RuntimeError* missing = nullptr;
};

// UserControlCount + FormCount + PropertyPageCount + 1, added as 16-bit numbers in that order
// (RuntimeError 6 past 32767): one progress step per scanned member, plus the start.
vb::Int16 CountProgressMaximum(const vb::ProjectFileLists& lists);

// Scans every form, then every user control, then every property page into `table` (each member by its
// entry relative to the working directory) and returns the sum of their objects. Module and class module
// files are never opened. `memberCounted` is called after each member. After the count `table` describes
// the last member scanned; while it runs, the table of each member before the last holds its types and the
// number of objects of each but no names (counted as a scan that stores them would, with the same limits
// and errors). A count beyond its list is
// RuntimeError 9 before that kind's first scan. A member file that cannot be opened ends the count with its
// error; with `keepGoing` it adds 0 and is reported to `memberCounted` with its error, and the count goes on.
std::int32_t CountProjectObjects(const vb::ProjectFileLists& lists, ObjectGroupTable& table,
                                 const std::function<void(const MemberObjects&)>& memberCounted = {},
                                 bool keepGoing = false);
// The same, finding each member with `lookup` (for instance one relative to the project's folder, so
// that no working directory is changed and projects may be counted on several threads at once).
std::int32_t CountProjectObjects(const vb::ProjectFileLists& lists, ObjectGroupTable& table,
                                 vb::MemberLookup& lookup,
                                 const std::function<void(const MemberObjects&)>& memberCounted = {},
                                 bool keepGoing = false);

} // namespace counter

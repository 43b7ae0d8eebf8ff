#include "count_project_objects.h"

#include "counter/scan_member_file.h"
#include "errors/runtime_error.h"

#include <algorithm>
#include <limits>

namespace counter {

vb::Int16 CountProgressMaximum(const vb::ProjectFileLists& lists) {
    const vb::Int16 members =
        vb::Add16(vb::Add16(lists.UserControlCount, lists.FormCount), lists.PropertyPageCount);
    return vb::Add16(members, 1);
}

std::int32_t CountProjectObjects(const vb::ProjectFileLists& lists, ObjectGroupTable& table,
                                 const std::function<void(const MemberObjects&)>& memberCounted,
                                 bool keepGoing) {
    vb::MemberLookup lookup; // one per count, so each folder is listed at most once
    return CountProjectObjects(lists, table, lookup, memberCounted, keepGoing);
}

std::int32_t CountProjectObjects(const vb::ProjectFileLists& lists, ObjectGroupTable& table,
                                 vb::MemberLookup& lookup,
                                 const std::function<void(const MemberObjects&)>& memberCounted,
                                 bool keepGoing) {
    // The count needs the number of objects per type, not their names: they are stored only for the last
    // member, which the table describes afterwards.
    struct CountOnly {
        ObjectGroupTable& table;
        bool kept;
        ~CountOnly() { table.KeepNames = kept; }
    } countOnly{table, table.KeepNames};
    std::size_t left = 0;
    for (const auto kind : kCountedKinds)
        left += static_cast<std::size_t>(std::max<int>(0, lists.count(kind)));
    std::int32_t total = 0;
    for (const auto kind : kCountedKinds) {
        for (const std::string_view listed : lists.entries(kind)) {
            const std::string entry(listed);
            table.KeepNames = --left == 0;
            const auto missing = ScanMemberFileIfItOpens(entry, table, lookup);
            if (missing && !keepGoing)
                throw *missing;
            const std::int32_t objects = table.ObjectCount();
            if (total > std::numeric_limits<std::int32_t>::max() - objects)
                throw vb::RuntimeError(vb::err::Overflow, entry);
            total += objects;
            if (memberCounted)
                memberCounted(MemberObjects{kind, entry, objects, missing ? &*missing : nullptr});
        }
    }
    return total;
}

} // namespace counter

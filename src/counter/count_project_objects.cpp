#include "count_project_objects.h"

#include "counter/scan_member_file.h"
#include "text/runtime_error.h"

#include <array>
#include <cstddef>
#include <limits>

namespace counter {

vb::Int16 CountProgressMaximum(const vb::ProjectFileLists& lists) {
    const vb::Int16 members =
        vb::Add16(vb::Add16(lists.UserControlCount, lists.FormCount), lists.PropertyPageCount);
    return vb::Add16(members, 1);
}

std::int32_t CountProjectObjects(const vb::ProjectFileLists& lists, ObjectGroupTable& table,
                                 const std::function<void(const MemberObjects&)>& memberCounted) {
    constexpr std::array kScanned = {vb::SourceKind::Form, vb::SourceKind::UserControl,
                                     vb::SourceKind::PropertyPage};
    std::int32_t total = 0;
    vb::MemberLookup lookup; // one per count, so each folder is listed at most once
    for (const auto kind : kScanned) {
        const auto& entries = lists.list(kind);
        const auto count = static_cast<std::size_t>(lists.count(kind));
        for (std::size_t k = 0; k < count; ++k) {
            // A count beyond its list would name an entry that does not exist.
            if (k >= entries.size())
                throw vb::RuntimeError(vb::err::SubscriptOutOfRange);
            ScanMemberFile(entries[k], table, lookup);
            const std::int32_t objects = table.ObjectCount();
            if (total > std::numeric_limits<std::int32_t>::max() - objects)
                throw vb::RuntimeError(vb::err::Overflow, entries[k]);
            total += objects;
            if (memberCounted)
                memberCounted(MemberObjects{kind, entries[k], objects});
        }
    }
    return total;
}

} // namespace counter

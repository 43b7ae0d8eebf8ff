#include "object_group_table.h"

#include <cstddef>

namespace counter {

void ObjectGroupTable::Reset() {
    // At most 100 slots are ever allocated, and clearing an empty one costs nothing.
    for (ObjectGroup& group : Groups) {
        group.Names.clear();
        group.NameCount = 0;
    }
    for (std::string& typeText : GroupTypes)
        typeText.clear();
    GroupCount = 0;
}

std::int32_t ObjectGroupTable::ObjectCount() const {
    std::int32_t total = 0;
    for (std::size_t k = 0; k < static_cast<std::size_t>(GroupCount); ++k)
        total += Groups[k].NameCount;
    return total;
}

} // namespace counter

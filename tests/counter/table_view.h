#pragma once
// The groups in use of an ObjectGroupTable as plain values, for comparing with expected tables.

#include "counter/object_group_table.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace vbtest {

using Group = std::pair<std::string, std::vector<std::string>>;
using Groups = std::vector<Group>;

// Type text and names of groups 1 to GroupCount, names 1 to NameCount.
inline Groups GroupsOf(const counter::ObjectGroupTable& table) {
    Groups groups;
    for (std::size_t k = 0; k < static_cast<std::size_t>(table.GroupCount); ++k) {
        const auto& group = table.Groups.at(k);
        const auto names = static_cast<std::size_t>(group.NameCount);
        groups.emplace_back(table.GroupTypes.at(k),
                            std::vector<std::string>(group.Names.begin(), group.Names.begin() + names));
    }
    return groups;
}

} // namespace vbtest

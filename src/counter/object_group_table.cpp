#include "object_group_table.h"

#include <algorithm>
#include <cstddef>

namespace counter {

std::span<const std::string> ObjectGroup::NamesInUse() const {
    return vb::FirstEntries(Names, NameCount);
}

void ObjectGroupTable::Reset() {
    // At most 100 slots are ever allocated, and clearing an empty one costs nothing.
    for (ObjectGroup& group : Groups) {
        group.Names.clear();
        group.NameCount = 0;
    }
    for (std::string& typeText : GroupTypes)
        typeText.clear();
    GroupCount = 0;
    Text = vb::TextKind::Ascii;
}

std::int32_t ObjectGroupTable::ObjectCount() const {
    std::int32_t total = 0;
    for (const ObjectGroup& group : vb::FirstEntries(Groups, GroupCount))
        total += group.NameCount;
    return total;
}

std::span<const std::string> ObjectGroupTable::TypesInUse() const {
    return vb::FirstEntries(GroupTypes, GroupCount);
}

const ObjectGroup* ObjectGroupTable::GroupOfType(std::string_view typeText) const {
    const auto types = TypesInUse();
    const auto found = std::find(types.begin(), types.end(), typeText);
    if (found == types.end())
        return nullptr;
    return &vb::FirstEntries(Groups, GroupCount)[static_cast<std::size_t>(found - types.begin())];
}

ObjectGroup* ObjectGroupTable::GroupOfType(std::string_view typeText) {
    return const_cast<ObjectGroup*>(static_cast<const ObjectGroupTable&>(*this).GroupOfType(typeText));
}

void ObjectGroupTable::ForEachGroup(
    const std::function<void(const std::string& typeText, const ObjectGroup& group)>& visit) const {
    const auto types = TypesInUse();
    const auto groups = vb::FirstEntries(Groups, GroupCount);
    for (std::size_t slot = 0; slot < groups.size(); ++slot)
        visit(types[slot], groups[slot]);
}

} // namespace counter

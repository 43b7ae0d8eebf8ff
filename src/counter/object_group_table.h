#pragma once
// The object types that one member file declares, each with the names of its objects in the order of
// their declaration lines.

#include "errors/checked_int16.h"
#include "text/text_facts.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace counter {

inline constexpr vb::Int16 kMaxGroups = 100; // object types per file
inline constexpr vb::Int16 kMaxNames = 1000; // objects per type

struct ObjectGroup {
    // Slot k (from 1) is element k - 1. Holds exactly NameCount names; a name stands once per declaration.
    std::vector<std::string> Names;
    vb::Int16 NameCount = 0;

    // Names 1 to NameCount, in declaration order.
    std::span<const std::string> NamesInUse() const;
};

// Slots are created when first needed and kept for the next file, so that a scan never sets up the full
// 100 x 1000 slots. Slots beyond GroupCount are always empty: no type text, no names, NameCount 0.
// The views below read slots 1 to a count only; a count beyond its slots is RuntimeError 9.
struct ObjectGroupTable {
    std::vector<ObjectGroup> Groups;     // slot k is element k - 1; only the first GroupCount are in use
    std::vector<std::string> GroupTypes; // type text of Groups slot k at element k - 1
    vb::Int16 GroupCount = 0;
    // The text of the lines scanned since the last Reset; it decides how type texts and names are shown
    // (vb::ShownText).
    vb::TextKind Text = vb::TextKind::Ascii;
    // False for a count that needs the number of objects per type, not their names: a scan then counts
    // each declaration in NameCount, with the same limits and errors, but stores no name (Names stays
    // empty, so NamesInUse of such a table is RuntimeError 9).
    bool KeepNames = true;

    // Empties every slot, sets GroupCount to 0 and Text to ASCII. Costs as much as the previous file's
    // contents, never the full limits; the allocated slots stay for the next file.
    void Reset();

    // The sum of NameCount over groups 1 to GroupCount.
    std::int32_t ObjectCount() const;

    // The type texts of groups 1 to GroupCount, in table order.
    std::span<const std::string> TypesInUse() const;

    // The group in use whose type text is `typeText` (exact, case-sensitive), or nullptr.
    const ObjectGroup* GroupOfType(std::string_view typeText) const;
    ObjectGroup* GroupOfType(std::string_view typeText);

    // Calls `visit` for groups 1 to GroupCount in table order, each with its type text.
    void ForEachGroup(
        const std::function<void(const std::string& typeText, const ObjectGroup& group)>& visit) const;
};

} // namespace counter

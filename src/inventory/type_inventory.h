#pragma once
// The object types of one project or of many: per type text (as shown) how many objects, member files
// and projects declare it.

#include "inventory/member_reading.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace inventory {

// How often a type is declared: its objects, and the member files and projects that declare it.
struct TypeUse {
    std::int64_t objects = 0, members = 0, projects = 0;
};

struct TypeRow {
    std::string type; // UTF-8, as shown
    TypeUse use;
};

class TypeInventory {
public:
    // The types that one project's members declare, each counted as one project.
    void addProject(const TypeInventory& project);
    // One member's objects of `type`.
    void addMember(const std::string& type, std::int64_t objects);

    // Sorted by objects (descending), then by type text in byte order.
    std::vector<TypeRow> sorted() const;

private:
    std::map<std::string, TypeUse> uses_;
};

// The types of the project at `projectPath`: every form, user control and property page scanned as the
// count scans them. `membersRead` (if given) gets the number of member files looked for.
TypeInventory TypesOfProject(const std::string& projectPath, const MemberReading& reading,
                             std::int64_t* membersRead = nullptr);

} // namespace inventory

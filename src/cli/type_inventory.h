#pragma once
// The object types of one project or of many: per type text (as shown) how many objects, member files
// and projects declare it.

#include "commands.h"

#include <cstdint>
#include <map>
#include <string>

namespace cli {

// How often a type is declared: its objects, and the member files and projects that declare it.
struct TypeUse {
    std::int64_t objects = 0, members = 0, projects = 0;
};

class TypeInventory {
public:
    // The types that one project's members declare, each counted as one project.
    void addProject(const TypeInventory& project);
    // One member's objects of `type`.
    void addMember(const std::string& type, std::int64_t objects);

    // Sorted by objects (descending), then by type text in byte order: text records
    // TYPE<TAB>OBJECTS<TAB>MEMBERS<TAB>PROJECTS, or the JSON document {"types": [...]}.
    std::string text() const;
    std::string json() const;

private:
    std::map<std::string, TypeUse> uses_;
};

// The types of the project at `projectPath`: every form, user control and property page scanned as the
// count scans them (`reading.keepGoing` passes over a member file that does not open).
Output TypesOutput(const std::string& projectPath, bool json, const Reading& reading,
                   TypeInventory* inventory = nullptr);

} // namespace cli

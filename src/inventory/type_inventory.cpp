#include "inventory/type_inventory.h"

#include "counter/count_project_objects.h"
#include "project/project_folder.h"
#include "project/read_project_file.h"
#include "text/shown_text.h"

#include <algorithm>

namespace inventory {

void TypeInventory::addProject(const TypeInventory& project) {
    for (const auto& [type, use] : project.uses_) {
        TypeUse& sum = uses_[type];
        sum.objects += use.objects;
        sum.members += use.members;
        sum.projects += 1;
    }
}

void TypeInventory::addMember(const std::string& type, std::int64_t objects) {
    TypeUse& use = uses_[type];
    use.objects += objects;
    use.members += 1;
    use.projects = 1;
}

std::vector<TypeRow> TypeInventory::sorted() const {
    std::vector<TypeRow> rows;
    rows.reserve(uses_.size());
    for (const auto& [type, use] : uses_)
        rows.push_back({type, use});
    std::stable_sort(rows.begin(), rows.end(),
                     [](const TypeRow& a, const TypeRow& b) { return a.use.objects > b.use.objects; });
    return rows; // the map gave byte order within equal numbers of objects
}

TypeInventory TypesOfProject(const std::string& projectPath, const MemberReading& reading,
                             std::int64_t* membersRead) {
    const vb::ProjectFileLists lists = vb::ReadProjectFile(projectPath);
    TypeInventory project;
    counter::ObjectGroupTable table;
    const auto counted = [&](const counter::MemberObjects& member) {
        if (membersRead)
            ++*membersRead;
        if (member.missing) {
            reading.memberMissing(*member.missing);
            return;
        }
        table.ForEachGroup([&](const std::string& typeText, const counter::ObjectGroup& group) {
            project.addMember(vb::ShownText(typeText, table.Text, reading.codePage), group.NameCount);
        });
    };
    vb::MemberLookup lookup = vb::CounterLookupOf(projectPath);
    counter::CountProjectObjects(lists, table, lookup, counted, reading.keepGoing);
    return project;
}

} // namespace inventory

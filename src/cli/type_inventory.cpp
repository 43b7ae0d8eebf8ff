#include "type_inventory.h"

#include "plain_text.h"
#include "project_folder.h"
#include "standard_streams.h"

#include "counter/count_project_objects.h"
#include "project/read_project_file.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <vector>

namespace cli {

namespace {

std::vector<std::pair<std::string, TypeUse>> Sorted(const std::map<std::string, TypeUse>& uses) {
    std::vector<std::pair<std::string, TypeUse>> sorted(uses.begin(), uses.end());
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto& a, const auto& b) { return a.second.objects > b.second.objects; });
    return sorted; // the map gave byte order within equal numbers of objects
}

} // namespace

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

std::string TypeInventory::text() const {
    std::string out;
    for (const auto& [type, use] : Sorted(uses_))
        AppendRecord(out, {ControlPictures(type), std::to_string(use.objects), std::to_string(use.members),
                           std::to_string(use.projects)});
    return out;
}

std::string TypeInventory::json() const {
    auto types = nlohmann::ordered_json::array();
    for (const auto& [type, use] : Sorted(uses_))
        types.push_back(
            {{"type", type}, {"objects", use.objects}, {"members", use.members}, {"projects", use.projects}});
    return JsonText({{"types", std::move(types)}});
}

Output TypesOutput(const std::string& projectPath, bool json, const Reading& reading,
                   TypeInventory* inventory) {
    const vb::ProjectFileLists lists = vb::ReadProjectFile(projectPath);
    Output output;
    TypeInventory project;
    counter::ObjectGroupTable table;
    const auto counted = [&](const counter::MemberObjects& member) {
        ++output.membersRead;
        if (member.missing) {
            NoteMissingMember(output, reading, *member.missing);
            return;
        }
        table.ForEachGroup([&](const std::string& typeText, const counter::ObjectGroup& group) {
            project.addMember(vb::ShownText(typeText, table.Text, reading.codePage), group.NameCount);
        });
    };
    vb::MemberLookup lookup = CounterLookupOf(projectPath);
    counter::CountProjectObjects(lists, table, lookup, counted, reading.keepGoing);
    output.text = json ? project.json() : project.text();
    if (inventory)
        *inventory = std::move(project);
    return output;
}

} // namespace cli

#include "commands.h"
#include "plain_text.h"

#include <nlohmann/json.hpp>

namespace cli {

std::string TypesText(const inventory::TypeInventory& types) {
    std::string out;
    for (const auto& [type, use] : types.sorted())
        AppendRecord(out, {ControlPictures(type), std::to_string(use.objects), std::to_string(use.members),
                           std::to_string(use.projects)});
    return out;
}

nlohmann::ordered_json TypesDocument(const inventory::TypeInventory& types) {
    auto records = nlohmann::ordered_json::array();
    for (const auto& [type, use] : types.sorted())
        records.push_back(
            {{"type", type}, {"objects", use.objects}, {"members", use.members}, {"projects", use.projects}});
    return {{"types", std::move(records)}};
}

Output TypesOutput(const std::string& projectPath, bool json, const Reading& reading,
                   inventory::TypeInventory* types) {
    Output output;
    inventory::TypeInventory project =
        inventory::TypesOfProject(projectPath, MemberReadingOf(reading, output), &output.membersRead);
    if (json)
        output.document = TypesDocument(project);
    else
        output.text = TypesText(project);
    if (types)
        *types = std::move(project);
    return output;
}

} // namespace cli

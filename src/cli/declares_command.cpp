#include "commands.h"
#include "plain_text.h"

#include <nlohmann/json.hpp>

namespace cli {

void DeclaresListing(const inventory::ProjectCode& project, bool json, const vb::CodePage& page,
                     Output& output) {
    if (json) {
        auto declares = nlohmann::ordered_json::array();
        auto missing = nlohmann::ordered_json::array();
        for (const inventory::MemberCode& member : project.members) {
            if (member.missing) {
                missing.push_back({{"kind", KindNameOf(member.kind)},
                                   {"entry", member.entry},
                                   {"missing", MissingRecord(*member.missing, page)}});
                continue;
            }
            for (const counter::ApiDeclaration& declaration : member.code->declarations)
                declares.push_back({{"entry", member.entry},
                                    {"name", declaration.name},
                                    {"library", declaration.library},
                                    {"function", declaration.function},
                                    {"scope", declaration.scope},
                                    {"line", declaration.line},
                                    {"kind", declaration.isFunction ? "Function" : "Sub"}});
        }
        output.document = {{"declares", std::move(declares)}};
        if (!missing.empty())
            output.document["missing"] = std::move(missing);
        return;
    }
    for (const inventory::MemberCode& member : project.members) {
        if (!member.code)
            continue;
        const std::string entry = ControlPictures(member.entry);
        for (const counter::ApiDeclaration& declaration : member.code->declarations)
            AppendRecord(output.text,
                         {entry, ControlPictures(declaration.name), ControlPictures(declaration.library),
                          ControlPictures(declaration.function), declaration.scope,
                          std::to_string(declaration.line)});
    }
}

std::string LibrariesText(const inventory::LibraryInventory& libraries) {
    std::string out;
    for (const inventory::ApiLibraryRow& row : libraries.sorted())
        AppendRecord(out, {ControlPictures(row.library), std::to_string(row.declarations),
                           std::to_string(row.functions), std::to_string(row.members),
                           std::to_string(row.projects)});
    return out;
}

nlohmann::ordered_json LibrariesDocument(const inventory::LibraryInventory& libraries) {
    auto rows = nlohmann::ordered_json::array();
    for (const inventory::ApiLibraryRow& row : libraries.sorted())
        rows.push_back({{"library", row.library},
                        {"declarations", row.declarations},
                        {"functions", row.functions},
                        {"members", row.members},
                        {"projects", row.projects}});
    return {{"libraries", std::move(rows)}};
}

} // namespace cli

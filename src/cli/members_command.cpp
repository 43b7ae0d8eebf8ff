#include "commands.h"
#include "plain_text.h"

#include "files/member_path.h"
#include "project/read_project_file.h"

#include <nlohmann/json.hpp>

namespace cli {

Output MembersOutput(const std::string& projectPath, bool json, const vb::CodePage& codePage) {
    const vb::ProjectFileLists lists = vb::ReadProjectFile(projectPath);
    Output output;
    if (json) {
        auto groups = nlohmann::ordered_json::array();
        for (const vb::SourceKind kind : vb::kSourceKinds) {
            auto entries = nlohmann::ordered_json::array();
            for (const std::string_view entry : lists.entries(kind))
                entries.push_back(vb::ShownText(entry, lists.Text, codePage));
            groups.push_back({{"kind", KindNameOf(kind)},
                              {"group", vb::GroupCaptionOf(kind)},
                              {"count", lists.count(kind)},
                              {"entries", std::move(entries)}});
        }
        output.document = {{"groups", std::move(groups)}};
        return output;
    }
    // Per kind a record GROUP COUNT, then one record GROUP INDEX ENTRY per entry, indexed from 1.
    std::string& out = output.text;
    for (const vb::SourceKind kind : vb::kSourceKinds) {
        const std::string_view group = vb::GroupCaptionOf(kind);
        AppendRecord(out, {group, std::to_string(lists.count(kind))});
        int index = 0;
        for (const std::string_view entry : lists.entries(kind))
            AppendRecord(out, {group, std::to_string(++index), PlainField(entry, lists.Text, codePage)});
    }
    return output;
}

} // namespace cli

#include "commands.h"
#include "plain_text.h"
#include "text/code_page.h"

#include "project/read_project_file.h"
#include "text/member_path.h"

#include <nlohmann/json.hpp>

namespace cli {

std::string MembersOutput(const std::string& projectPath, bool json) {
    const vb::ProjectFileLists lists = vb::ReadProjectFile(projectPath);
    if (json) {
        auto groups = nlohmann::ordered_json::array();
        for (const vb::SourceKind kind : vb::kSourceKinds) {
            auto entries = nlohmann::ordered_json::array();
            for (int k = 0; k < lists.count(kind); ++k)
                entries.push_back(vb::Utf8FromWindows1252(lists.list(kind)[static_cast<std::size_t>(k)]));
            groups.push_back({{"kind", KindNameOf(kind)},
                              {"group", GroupOf(kind)},
                              {"count", lists.count(kind)},
                              {"entries", std::move(entries)}});
        }
        return JsonText({{"groups", std::move(groups)}});
    }
    // Per kind a record GROUP COUNT, then one record GROUP INDEX ENTRY per entry, indexed from 1.
    std::string out;
    for (const vb::SourceKind kind : vb::kSourceKinds) {
        AppendRecord(out, {GroupOf(kind), std::to_string(lists.count(kind))});
        for (int k = 0; k < lists.count(kind); ++k)
            AppendRecord(out, {GroupOf(kind), std::to_string(k + 1),
                               PlainField(lists.list(kind)[static_cast<std::size_t>(k)])});
    }
    return out;
}

} // namespace cli

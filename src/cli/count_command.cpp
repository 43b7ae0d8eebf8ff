#include "commands.h"
#include "plain_text.h"
#include "progress_bar.h"
#include "project_folder.h"
#include "text/code_page.h"

#include "counter/count_project_objects.h"
#include "project/read_project_file.h"
#include "text/member_path.h"

#include <nlohmann/json.hpp>

namespace cli {

std::string CountOutput(const std::string& projectPath, bool json) {
    const vb::ProjectFileLists lists = vb::ReadProjectFile(projectPath);
    // The window's bar maximum: fails with an overflow for the same projects as the window does.
    const int members = counter::CountProgressMaximum(lists) - 1;

    std::string out;
    auto document = nlohmann::ordered_json::array();
    std::int32_t total = 0;
    ScanInProjectFolder(projectPath, [&] {
        ProgressBar bar("Zählen aller Voduvov", members);
        counter::ObjectGroupTable table;
        total = counter::CountProjectObjects(lists, table, [&](const counter::MemberObjects& member) {
            if (json)
                document.push_back({{"kind", KindNameOf(member.kind)},
                                    {"group", vb::GroupCaptionOf(member.kind)},
                                    {"entry", vb::Utf8FromWindows1252(member.entry)},
                                    {"objects", member.objects}});
            else // NUMBER GROUP ENTRY, the number first as wc and du print it
                AppendRecord(out, {std::to_string(member.objects), vb::GroupCaptionOf(member.kind),
                                   PlainField(member.entry)});
            bar.step();
        });
    });
    if (json)
        return JsonText({{"total", total}, {"members", std::move(document)}});
    AppendRecord(out, {std::to_string(total), "Gesamt"});
    return out;
}

} // namespace cli

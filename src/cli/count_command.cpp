#include "commands.h"
#include "plain_text.h"
#include "progress_bar.h"
#include "project/project_folder.h"

#include "counter/count_project_objects.h"
#include "files/member_path.h"
#include "project/read_project_file.h"

#include <nlohmann/json.hpp>

namespace cli {

Output CountOutput(const std::string& projectPath, bool json, const Reading& reading) {
    const vb::ProjectFileLists lists = vb::ReadProjectFile(projectPath);
    // The window's bar maximum: fails with an overflow for the same projects as the window does.
    const int members = counter::CountProgressMaximum(lists) - 1;

    Output output;
    std::string& out = output.text;
    auto document = nlohmann::ordered_json::array();
    std::int32_t total = 0;
    {
        ProgressBar bar("Zählen aller Voduvov", members, reading.alone && !reading.quiet);
        counter::ObjectGroupTable table;
        const auto counted = [&](const counter::MemberObjects& member) {
            const std::string entry = vb::ShownText(member.entry, lists.Text, reading.codePage);
            nlohmann::ordered_json record = {{"kind", KindNameOf(member.kind)},
                                             {"group", vb::GroupCaptionOf(member.kind)},
                                             {"entry", entry}};
            if (member.missing) {
                const vb::RuntimeError& error = *member.missing;
                NoteMissingMember(output, reading, error, &bar);
                record["missing"] = MissingRecord(error, reading.codePage);
            } else {
                record["objects"] = member.objects;
            }
            if (json)
                document.push_back(std::move(record));
            else // NUMBER GROUP ENTRY, the number first as wc and du print it; "-" for a missing member
                AppendRecord(out, {member.missing ? "-" : std::to_string(member.objects),
                                   vb::GroupCaptionOf(member.kind), ControlPictures(entry)});
            ++output.membersRead;
            bar.step();
        };
        vb::MemberLookup lookup = vb::CounterLookupOf(projectPath);
        total = counter::CountProjectObjects(lists, table, lookup, counted, reading.keepGoing);
    }
    if (json)
        output.document = {{"total", total}, {"members", std::move(document)}};
    else
        AppendRecord(out, {std::to_string(total), "Gesamt"});
    return output;
}

} // namespace cli

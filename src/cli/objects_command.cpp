#include "commands.h"
#include "failures.h"
#include "plain_text.h"
#include "project/project_folder.h"
#include "standard_streams.h"
#include "text/code_page.h"

#include "counter/count_project_objects.h"
#include "counter/scan_member_file.h"
#include "files/member_path.h"
#include "project/read_project_file.h"

#include <nlohmann/json.hpp>

namespace cli {

namespace {

struct Member {
    vb::SourceKind kind;
    std::string_view entry; // into the lists
};

// Every form, then every user control, then every property page: the members the all-objects count scans.
std::vector<Member> MembersWithObjects(const vb::ProjectFileLists& lists) {
    std::vector<Member> members;
    for (const auto kind : counter::kCountedKinds)
        for (const std::string_view entry : lists.entries(kind))
            members.push_back({kind, entry});
    return members;
}

// The first entry, in the project reader's order, that equals `name` as written, as shown, or in its
// Windows-1252 reading (as it was shown before a project's own code page was known).
const Member* FirstEntryNamed(const std::vector<Member>& all, const std::string& name, vb::TextKind text,
                              const vb::CodePage& codePage) {
    for (const Member& member : all)
        if (member.entry == name || vb::ShownText(member.entry, text, codePage) == name ||
            vb::Utf8FromWindows1252(member.entry) == name)
            return &member;
    return nullptr;
}

std::vector<Member> NamedMembers(const vb::ProjectFileLists& lists, const std::vector<std::string>& names,
                                 const vb::CodePage& codePage) {
    std::vector<Member> all;
    for (const vb::SourceKind kind : vb::kSourceKinds)
        for (const std::string_view entry : lists.entries(kind))
            all.push_back({kind, entry});
    std::vector<Member> members;
    for (const std::string& name : names) {
        const Member* found = FirstEntryNamed(all, name, lists.Text, codePage);
        if (!found)
            throw UsageError("\"" + name + "\" ist kein Eintrag des Projekts");
        members.push_back(*found);
    }
    return members;
}

} // namespace

Output ObjectsOutput(const std::string& projectPath, const std::vector<std::string>& entries, bool json,
                     const Reading& reading) {
    const vb::ProjectFileLists lists = vb::ReadProjectFile(projectPath);
    const std::vector<Member> members =
        entries.empty() ? MembersWithObjects(lists) : NamedMembers(lists, entries, reading.codePage);
    const auto shownEntry = [&](std::string_view entry) {
        return vb::ShownText(entry, lists.Text, reading.codePage);
    };

    Output output;
    std::string& out = output.text;
    auto document = nlohmann::ordered_json::array();
    {
        counter::ObjectGroupTable table;
        vb::MemberLookup lookup = vb::CounterLookupOf(projectPath);
        for (const Member& member : members) {
            ++output.membersRead;
            const auto missing = counter::ScanMemberFileIfItOpens(std::string(member.entry), table, lookup);
            if (missing && !reading.keepGoing)
                throw *missing;
            // Type texts and names are shown by the text of the member file they come from.
            const auto shown = [&](const std::string& bytes) {
                return vb::ShownText(bytes, table.Text, reading.codePage);
            };
            nlohmann::ordered_json record = {{"kind", KindNameOf(member.kind)},
                                             {"group", vb::GroupCaptionOf(member.kind)},
                                             {"entry", shownEntry(member.entry)}};
            if (missing) {
                const vb::RuntimeError& error = *missing;
                NoteMissingMember(output, reading, error);
                if (json) {
                    record["missing"] = MissingRecord(error, reading.codePage);
                    document.push_back(std::move(record));
                } else { // the member's record with "-" for its type and name
                    AppendRecord(out, {vb::GroupCaptionOf(member.kind),
                                       ControlPictures(shownEntry(member.entry)), "-", "-"});
                }
                continue;
            }
            if (json) {
                auto types = nlohmann::ordered_json::array();
                table.ForEachGroup([&](const std::string& typeText, const counter::ObjectGroup& group) {
                    auto names = nlohmann::ordered_json::array();
                    for (const std::string& name : group.NamesInUse())
                        names.push_back(shown(name));
                    types.push_back(
                        {{"type", shown(typeText)}, {"count", group.NameCount}, {"names", std::move(names)}});
                });
                record["objects"] = table.ObjectCount();
                record["types"] = std::move(types);
                document.push_back(std::move(record));
                continue;
            }
            // One record GROUP ENTRY TYPE NAME per object: the four levels of the counter's browser.
            const std::string entry = ControlPictures(shownEntry(member.entry));
            table.ForEachGroup([&](const std::string& typeText, const counter::ObjectGroup& group) {
                const std::string type = ControlPictures(shown(typeText));
                for (const std::string& name : group.NamesInUse())
                    AppendRecord(
                        out, {vb::GroupCaptionOf(member.kind), entry, type, ControlPictures(shown(name))});
            });
        }
    }
    if (json)
        output.document = {{"members", std::move(document)}};
    return output;
}

} // namespace cli

#include "commands.h"
#include "failures.h"
#include "plain_text.h"
#include "project_folder.h"
#include "text/code_page.h"

#include "counter/count_project_objects.h"
#include "counter/scan_member_file.h"
#include "project/read_project_file.h"
#include "text/member_path.h"

#include <nlohmann/json.hpp>

namespace cli {

namespace {

struct Member {
    vb::SourceKind kind;
    const std::string& entry;
};

// Every form, then every user control, then every property page: the members the all-objects count scans.
std::vector<Member> MembersWithObjects(const vb::ProjectFileLists& lists) {
    std::vector<Member> members;
    for (const auto kind : counter::kCountedKinds)
        for (const std::string& entry : lists.entries(kind))
            members.push_back({kind, entry});
    return members;
}

// The first entry, in the project reader's order, that equals `name` as written or in its UTF-8 form.
const Member* FirstEntryNamed(const std::vector<Member>& all, const std::string& name) {
    for (const Member& member : all)
        if (member.entry == name || vb::Utf8FromWindows1252(member.entry) == name)
            return &member;
    return nullptr;
}

std::vector<Member> NamedMembers(const vb::ProjectFileLists& lists, const std::vector<std::string>& names) {
    std::vector<Member> all;
    for (const vb::SourceKind kind : vb::kSourceKinds)
        for (const std::string& entry : lists.entries(kind))
            all.push_back({kind, entry});
    std::vector<Member> members;
    for (const std::string& name : names) {
        const Member* found = FirstEntryNamed(all, name);
        if (!found)
            throw UsageError("\"" + name + "\" ist kein Eintrag des Projekts");
        members.push_back(*found);
    }
    return members;
}

} // namespace

std::string ObjectsOutput(const std::string& projectPath, const std::vector<std::string>& entries,
                          bool json) {
    const vb::ProjectFileLists lists = vb::ReadProjectFile(projectPath);
    const std::vector<Member> members =
        entries.empty() ? MembersWithObjects(lists) : NamedMembers(lists, entries);

    std::string out;
    auto document = nlohmann::ordered_json::array();
    ScanInProjectFolder(projectPath, [&] {
        counter::ObjectGroupTable table;
        vb::MemberLookup lookup;
        for (const Member& member : members) {
            counter::ScanMemberFile(member.entry, table, lookup);
            if (json) {
                auto types = nlohmann::ordered_json::array();
                table.ForEachGroup([&](const std::string& typeText, const counter::ObjectGroup& group) {
                    auto names = nlohmann::ordered_json::array();
                    for (const std::string& name : group.NamesInUse())
                        names.push_back(vb::Utf8FromWindows1252(name));
                    types.push_back({{"type", vb::Utf8FromWindows1252(typeText)},
                                     {"count", group.NameCount},
                                     {"names", std::move(names)}});
                });
                document.push_back({{"kind", KindNameOf(member.kind)},
                                    {"group", vb::GroupCaptionOf(member.kind)},
                                    {"entry", vb::Utf8FromWindows1252(member.entry)},
                                    {"objects", table.ObjectCount()},
                                    {"types", std::move(types)}});
                continue;
            }
            // One record GROUP ENTRY TYPE NAME per object: the four levels of the counter's browser.
            const std::string entry = PlainField(member.entry);
            table.ForEachGroup([&](const std::string& typeText, const counter::ObjectGroup& group) {
                const std::string type = PlainField(typeText);
                for (const std::string& name : group.NamesInUse())
                    AppendRecord(out, {vb::GroupCaptionOf(member.kind), entry, type, PlainField(name)});
            });
        }
    });
    return json ? JsonText({{"members", std::move(document)}}) : out;
}

} // namespace cli

#include "commands.h"
#include "failures.h"
#include "plain_text.h"
#include "project_folder.h"
#include "text/code_page.h"

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
    for (const auto kind : {vb::SourceKind::Form, vb::SourceKind::UserControl, vb::SourceKind::PropertyPage})
        for (int k = 0; k < lists.count(kind); ++k)
            members.push_back({kind, lists.list(kind)[static_cast<std::size_t>(k)]});
    return members;
}

// The first entry, in the project reader's order, that equals `name` as written or in its UTF-8 form.
std::vector<Member> NamedMembers(const vb::ProjectFileLists& lists, const std::vector<std::string>& names) {
    std::vector<Member> members;
    for (const std::string& name : names) {
        const std::string* found = nullptr;
        vb::SourceKind foundKind{};
        for (const vb::SourceKind kind : vb::kSourceKinds) {
            for (int k = 0; k < lists.count(kind) && !found; ++k) {
                const std::string& entry = lists.list(kind)[static_cast<std::size_t>(k)];
                if (entry == name || vb::Utf8FromWindows1252(entry) == name) {
                    found = &entry;
                    foundKind = kind;
                }
            }
            if (found)
                break;
        }
        if (!found)
            throw UsageError("\"" + name + "\" ist kein Eintrag des Projekts");
        members.push_back({foundKind, *found});
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
                for (int g = 0; g < table.GroupCount; ++g) {
                    const counter::ObjectGroup& group = table.Groups[static_cast<std::size_t>(g)];
                    auto names = nlohmann::ordered_json::array();
                    for (int n = 0; n < group.NameCount; ++n)
                        names.push_back(vb::Utf8FromWindows1252(group.Names[static_cast<std::size_t>(n)]));
                    types.push_back(
                        {{"type", vb::Utf8FromWindows1252(table.GroupTypes[static_cast<std::size_t>(g)])},
                         {"count", group.NameCount},
                         {"names", std::move(names)}});
                }
                document.push_back({{"kind", KindNameOf(member.kind)},
                                    {"group", GroupOf(member.kind)},
                                    {"entry", vb::Utf8FromWindows1252(member.entry)},
                                    {"objects", table.ObjectCount()},
                                    {"types", std::move(types)}});
                continue;
            }
            // One record GROUP ENTRY TYPE NAME per object: the four levels of the counter's browser.
            const std::string entry = PlainField(member.entry);
            for (int g = 0; g < table.GroupCount; ++g) {
                const counter::ObjectGroup& group = table.Groups[static_cast<std::size_t>(g)];
                const std::string type = PlainField(table.GroupTypes[static_cast<std::size_t>(g)]);
                for (int n = 0; n < group.NameCount; ++n)
                    AppendRecord(out, {GroupOf(member.kind), entry, type,
                                       PlainField(group.Names[static_cast<std::size_t>(n)])});
            }
        }
    });
    return json ? JsonText({{"members", std::move(document)}}) : out;
}

} // namespace cli

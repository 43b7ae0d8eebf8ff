#include "commands.h"
#include "plain_text.h"
#include "project/project_folder.h"

#include "files/file_facts.h"
#include "files/file_identity.h"
#include "files/line_reader.h"
#include "files/member_path.h"
#include "merger/head_rules.h"
#include "project/other_project_lines.h"
#include "project/read_project_file.h"

#include <nlohmann/json.hpp>

#include <optional>

namespace cli {

namespace {

// The two lookups of the programs: the counter finds an entry relative to the project's folder, the
// merger finds the project path's folder followed by the entry.
constexpr std::string_view kCounterLookup = "Zählen";
constexpr std::string_view kMergerLookup = "Zusammenführen";

using vb::JsonNameOf;
using vb::WordsOf;

// A path as the caller can use it, shown by its own bytes.
std::string ShownPath(const std::string& path, const vb::CodePage& page) {
    return vb::ShownText(path, vb::TextKindOf(path), page);
}

struct Lookup {
    vb::FoundMemberPath found;
    std::string path; // the path found, or the path tried, as seen from the caller
    std::optional<vb::FileIdentity> identity;
};

bool SameResult(const Lookup& a, const Lookup& b) {
    if (a.found.error != 0 || b.found.error != 0)
        return a.found.error == b.found.error && a.path == b.path;
    return a.identity && b.identity && *a.identity == *b.identity;
}

// What a member file that opens is made of.
struct MemberFile {
    vb::TextFacts facts;
    bool headComplete = true;
    bool undefinedBytes = false;
};

// True when some line of an 8-bit file holds a byte that `page` does not define.
bool HoldsUndefinedBytes(const std::string& path, const vb::CodePage& page) {
    vb::LineReader reader(path);
    std::string_view line;
    bool undefined = false;
    while (!undefined && reader.next(line))
        if (vb::TextKindOf(line) == vb::TextKind::EightBit)
            page.utf8(line, &undefined);
    return undefined;
}

MemberFile ExamineMemberFile(const std::string& path, vb::SourceKind kind, const vb::CodePage& page) {
    MemberFile file;
    file.facts = vb::FactsOfFile(path);
    // The merge with and without the object descriptions: each needs its head whole.
    const merger::HeadRule rule = merger::HeadRuleOf(kind);
    for (const bool optionSet : {true, false}) {
        vb::LineReader reader(path);
        file.headComplete = file.headComplete && merger::HoldsItsHead(rule, optionSet, reader);
    }
    file.undefinedBytes = file.facts.text == vb::TextKind::EightBit && HoldsUndefinedBytes(path, page);
    return file;
}

class Report {
public:
    Report(bool json, const vb::CodePage& page) : json_(json), page_(page) {}

    void project(const std::string& path, const vb::TextFacts& facts, bool undefined) {
        if (json_) {
            document_["project"] = {{"path", ShownPath(path, page_)},
                                    {"lineEnds", vb::NameOf(facts.lineEnds)},
                                    {"text", vb::TextNameOf(facts)},
                                    {"undefinedBytes", undefined}};
            document_["members"] = nlohmann::ordered_json::array();
            return;
        }
        const std::string shown = ControlPictures(ShownPath(path, page_));
        AppendRecord(text_, {"Projekt", shown, vb::NameOf(facts.lineEnds), vb::TextNameOf(facts)});
        if (undefined)
            AppendRecord(text_, {"Undefiniert", "Projektdatei", shown, page_.name()});
    }

    void member(vb::SourceKind kind, const std::string& entry, const Lookup& counter,
                const std::optional<Lookup>& merger, bool outside, const std::optional<MemberFile>& file) {
        if (json_) {
            nlohmann::ordered_json record = {
                {"kind", KindNameOf(kind)}, {"group", vb::GroupCaptionOf(kind)}, {"entry", entry}};
            record["counter"] = LookupRecord(counter);
            if (merger)
                record["merger"] = LookupRecord(*merger);
            record["outside"] = outside;
            if (file)
                record["file"] = {{"lineEnds", vb::NameOf(file->facts.lineEnds)},
                                  {"text", vb::TextNameOf(file->facts)},
                                  {"headComplete", file->headComplete},
                                  {"undefinedBytes", file->undefinedBytes}};
            document_["members"].push_back(std::move(record));
            return;
        }
        const std::string_view group = vb::GroupCaptionOf(kind);
        const std::string shown = ControlPictures(entry);
        LookupLine(group, shown, kCounterLookup, counter);
        if (merger)
            LookupLine(group, shown, kMergerLookup, *merger);
        if (outside)
            AppendRecord(text_, {"Außerhalb", group, shown});
        if (file) {
            AppendRecord(text_, {"Datei", group, shown, vb::NameOf(file->facts.lineEnds),
                                 vb::TextNameOf(file->facts),
                                 file->headComplete ? "Kopf vollständig" : "endet im Kopf"});
            if (file->undefinedBytes)
                AppendRecord(text_, {"Undefiniert", group, shown, page_.name()});
        }
    }

    void otherLine(const vb::OtherProjectLine& line, vb::TextKind text) {
        const auto shown = [&](const std::string& bytes) { return vb::ShownText(bytes, text, page_); };
        if (json_) {
            document_["notRead"].push_back({{"key", shown(line.key)},
                                            {"what", line.what},
                                            {"value", shown(line.value)},
                                            {"guid", shown(line.guid)},
                                            {"version", shown(line.version)},
                                            {"file", shown(line.file)}});
            return;
        }
        // KEY WHAT GUID VERSION FILE: what the line names, which no command reads.
        AppendRecord(text_, {"Nicht gelesen", ControlPictures(shown(line.key)), line.what,
                             ControlPictures(shown(line.guid)), ControlPictures(shown(line.version)),
                             ControlPictures(shown(line.file))});
    }

    // The report's text or document into `output`.
    void finish(int members, int missing, Output& output) {
        if (!json_) {
            AppendRecord(text_, {"Summe", std::to_string(members), std::to_string(missing)});
            output.text = std::move(text_);
            return;
        }
        if (!document_.contains("notRead"))
            document_["notRead"] = nlohmann::ordered_json::array();
        document_["total"] = members;
        document_["missing"] = missing;
        output.document = std::move(document_);
    }

private:
    nlohmann::ordered_json LookupRecord(const Lookup& lookup) const {
        if (!lookup.found)
            return {{"missing", MissingRecord(vb::RuntimeError(lookup.found.error, lookup.path), page_)}};
        return {{"found", JsonNameOf(lookup.found.by)}, {"path", ShownPath(lookup.path, page_)}};
    }

    void LookupLine(std::string_view group, const std::string& entry, std::string_view how,
                    const Lookup& lookup) {
        const std::string path = ControlPictures(ShownPath(lookup.path, page_));
        if (!lookup.found) {
            const int number = lookup.found.error;
            AppendRecord(
                text_, {"Fehlt", group, entry, how, std::to_string(number), vb::DescriptionOf(number), path});
            return;
        }
        AppendRecord(text_, {"Gefunden", group, entry, how, WordsOf(lookup.found.by), path});
    }

    bool json_;
    const vb::CodePage& page_;
    std::string text_;
    nlohmann::ordered_json document_ = nlohmann::ordered_json::object();
};

} // namespace

Output CheckOutput(const std::string& projectPath, bool json, const vb::CodePage& codePage) {
    const vb::ProjectFileLists lists = vb::ReadProjectFile(projectPath);
    const vb::TextFacts projectFacts = vb::FactsOfFile(projectPath);
    const std::vector<vb::OtherProjectLine> otherLines = vb::OtherProjectLines(projectPath);
    const std::string projectFolder = vb::FolderOfPath(projectPath);

    // The merger's lookups find the project path's folder followed by the entry, the counter's find the
    // entry relative to the project's folder; both paths lead to the file from the working directory.
    struct Member {
        vb::SourceKind kind;
        std::string_view entry; // into the lists
        Lookup merger;
    };
    std::vector<Member> members;
    vb::MemberLookup mergerLookup;
    for (const vb::SourceKind kind : vb::kSourceKinds)
        for (const std::string_view entry : lists.entries(kind)) {
            const std::string mergerPath = std::string(projectFolder).append(entry);
            Member member{kind, entry, {mergerLookup.find(mergerPath), mergerPath, {}}};
            if (member.merger.found) {
                member.merger.path = member.merger.found.path;
                member.merger.identity = vb::IdentityOfPath(member.merger.path);
            }
            members.push_back(std::move(member));
        }

    Report report(json, codePage);
    const bool projectUndefined =
        projectFacts.text == vb::TextKind::EightBit && HoldsUndefinedBytes(projectPath, codePage);
    report.project(projectPath, projectFacts, projectUndefined);

    int missing = 0;
    Output output;
    {
        vb::MemberLookup counterLookup = vb::CounterLookupOf(projectPath);
        for (Member& member : members) {
            ++output.membersRead;
            const std::string entry(member.entry);
            Lookup counter{counterLookup.find(entry), counterLookup.seenFromCaller(entry), {}};
            if (counter.found) {
                counter.path = counter.found.path;
                counter.identity = vb::IdentityOfPath(counter.path);
            }
            // Examined where the counter finds it, or else where the merger does. A file found that then
            // cannot be read (a folder of that name, a read error) does not open either.
            std::optional<MemberFile> file;
            const auto examine = [&](Lookup& lookup, const std::string& path) {
                try {
                    file = ExamineMemberFile(path, member.kind, codePage);
                } catch (const vb::RuntimeError& e) {
                    lookup.found.error = e.number();
                    lookup.found.by = vb::FoundBy::NotFound;
                }
            };
            if (counter.found) {
                const bool sameFile = SameResult(counter, member.merger);
                examine(counter, counter.path);
                if (!counter.found && sameFile)
                    member.merger.found.error = counter.found.error;
            } else if (member.merger.found) {
                examine(member.merger, member.merger.path);
            }
            if (!counter.found || !member.merger.found)
                ++missing;
            const bool differs = !SameResult(counter, member.merger);
            report.member(member.kind, vb::ShownText(entry, lists.Text, codePage), counter,
                          differs ? std::optional<Lookup>(member.merger) : std::nullopt,
                          vb::LeadsOutsideFolder(entry), file);
        }
    }
    for (const vb::OtherProjectLine& line : otherLines)
        report.otherLine(line, lists.Text);

    output.membersMissing = missing > 0;
    report.finish(static_cast<int>(members.size()), missing, output);
    return output;
}

} // namespace cli

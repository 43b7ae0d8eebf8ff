#include "commands.h"
#include "plain_text.h"
#include "project_folder.h"
#include "standard_streams.h"

#include "project/read_project_file.h"

#include <nlohmann/json.hpp>

#include <optional>

namespace cli {

namespace {

void AppendNumbers(std::string& out, std::initializer_list<std::string_view> front,
                   const counter::LineTally& tally) {
    std::string record;
    AppendRecord(record, front);
    record.pop_back(); // the line end comes after the numbers
    for (const std::int64_t n :
         {tally.lines, tally.description, tally.attributes, tally.code, tally.blank, tally.comments})
        record += "\t" + std::to_string(n);
    out += record + "\n";
}

} // namespace

nlohmann::ordered_json LineTallyRecord(const counter::LineTally& tally) {
    return {{"lines", tally.lines},           {"description", tally.description},
            {"attributes", tally.attributes}, {"code", tally.code},
            {"blank", tally.blank},           {"comments", tally.comments}};
}

std::string LineTallyLine(std::string_view label, const counter::LineTally& tally) {
    std::string out;
    AppendNumbers(out, {label}, tally);
    return out;
}

Output LinesOutput(const std::string& projectPath, bool json, const Reading& reading,
                   counter::LineTally* projectTotal) {
    const vb::ProjectFileLists lists = vb::ReadProjectFile(projectPath);
    vb::MemberLookup lookup = CounterLookupOf(projectPath);
    Output output;
    auto members = nlohmann::ordered_json::array();
    auto kinds = nlohmann::ordered_json::array();
    std::string memberLines;
    std::string kindLines;
    counter::LineTally total;
    for (const vb::SourceKind kind : vb::kSourceKinds) {
        counter::LineTally ofKind;
        for (const std::string_view entry : lists.entries(kind)) {
            ++output.membersRead;
            const std::string shown = vb::ShownText(entry, lists.Text, reading.codePage);
            std::optional<vb::LineReader> reader;
            nlohmann::ordered_json record = {{"kind", KindNameOf(kind)}, {"entry", shown}};
            if (const auto missing = lookup.openInto(std::string(entry), reader)) {
                if (!reading.keepGoing)
                    throw *missing;
                NoteMissingMember(output, reading, *missing);
                record["missing"] = MissingRecord(*missing, reading.codePage);
                AppendRecord(memberLines, {"Mitglied", vb::GroupCaptionOf(kind), ControlPictures(shown), "-",
                                           "-", "-", "-", "-", "-"});
            } else {
                const counter::LineTally tally = counter::CountMemberLines(*reader, kind);
                ofKind += tally;
                record.update(LineTallyRecord(tally));
                AppendNumbers(memberLines, {"Mitglied", vb::GroupCaptionOf(kind), ControlPictures(shown)},
                              tally);
            }
            members.push_back(std::move(record));
        }
        nlohmann::ordered_json kindRecord = {{"kind", KindNameOf(kind)}};
        kindRecord.update(LineTallyRecord(ofKind));
        kinds.push_back(std::move(kindRecord));
        AppendNumbers(kindLines, {"Art", vb::GroupCaptionOf(kind)}, ofKind);
        total += ofKind;
    }
    if (projectTotal)
        *projectTotal = total;
    if (json)
        output.text = JsonText({{"members", std::move(members)},
                                {"kinds", std::move(kinds)},
                                {"total", LineTallyRecord(total)}});
    else
        output.text = memberLines + kindLines + LineTallyLine("Gesamt", total);
    return output;
}

} // namespace cli

#include "commands.h"
#include "plain_text.h"

#include <nlohmann/json.hpp>

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
    Output output;
    const inventory::ProjectLines project =
        inventory::LinesOfProject(projectPath, MemberReadingOf(reading, output));
    output.membersRead = static_cast<std::int64_t>(project.members.size());
    if (projectTotal)
        *projectTotal = project.total;
    if (json) {
        auto members = nlohmann::ordered_json::array();
        for (const inventory::MemberLines& member : project.members) {
            nlohmann::ordered_json record = {{"kind", KindNameOf(member.kind)}, {"entry", member.entry}};
            if (member.missing)
                record["missing"] = MissingRecord(*member.missing, reading.codePage);
            else
                record.update(LineTallyRecord(*member.tally));
            members.push_back(std::move(record));
        }
        auto kinds = nlohmann::ordered_json::array();
        for (std::size_t k = 0; k < vb::kSourceKinds.size(); ++k) {
            nlohmann::ordered_json record = {{"kind", KindNameOf(vb::kSourceKinds[k])}};
            record.update(LineTallyRecord(project.kinds[k]));
            kinds.push_back(std::move(record));
        }
        output.document = {{"members", std::move(members)},
                           {"kinds", std::move(kinds)},
                           {"total", LineTallyRecord(project.total)}};
        return output;
    }
    std::string& out = output.text;
    for (const inventory::MemberLines& member : project.members) {
        const std::string_view group = vb::GroupCaptionOf(member.kind);
        if (member.missing)
            AppendRecord(out,
                         {"Mitglied", group, ControlPictures(member.entry), "-", "-", "-", "-", "-", "-"});
        else
            AppendNumbers(out, {"Mitglied", group, ControlPictures(member.entry)}, *member.tally);
    }
    for (std::size_t k = 0; k < vb::kSourceKinds.size(); ++k)
        AppendNumbers(out, {"Art", vb::GroupCaptionOf(vb::kSourceKinds[k])}, project.kinds[k]);
    out += LineTallyLine("Gesamt", project.total);
    return output;
}

} // namespace cli

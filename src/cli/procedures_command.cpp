#include "commands.h"
#include "plain_text.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace cli {

namespace {

constexpr std::string_view kUnclosed = "offen";

std::string Number(std::int64_t n) {
    return std::to_string(n);
}

nlohmann::ordered_json ProcedureRecord(const counter::Procedure& procedure) {
    return {{"kind", counter::ProcedureKindName(procedure.kind)},
            {"name", procedure.name},
            {"scope", procedure.scope},
            {"static", procedure.isStatic},
            {"line", procedure.line},
            {"lines", procedure.lines},
            {"code", procedure.code},
            {"complexity", procedure.complexity},
            {"unclosed", procedure.unclosed}};
}

// The procedure's fields from its kind on, with its line end.
void AppendProcedure(std::string& out, std::initializer_list<std::string_view> front,
                     const counter::Procedure& procedure) {
    std::string record;
    AppendRecord(record, front);
    record.pop_back();
    for (const std::string& field :
         {std::string(counter::ProcedureKindName(procedure.kind)), ControlPictures(procedure.name),
          std::string(procedure.scope), Number(procedure.line), Number(procedure.lines),
          Number(procedure.code), Number(procedure.complexity)})
        record += "\t" + field;
    if (procedure.unclosed)
        record += "\t" + std::string(kUnclosed);
    out += record + "\n";
}

void AppendSums(std::string& out, std::initializer_list<std::string_view> front,
                const inventory::ProcedureSums& sums) {
    std::string record;
    AppendRecord(record, front);
    record.pop_back();
    out += record + "\t" + Number(sums.procedures) + "\t" + Number(sums.code) + "\t" +
           Number(sums.largestComplexity) + "\n";
}

} // namespace

inventory::ProjectCode ReadProjectCode(const std::string& projectPath, const Reading& reading,
                                       Output& output) {
    inventory::ProjectCode code = inventory::CodeOfProject(projectPath, MemberReadingOf(reading, output));
    output.membersRead = static_cast<std::int64_t>(code.members.size());
    return code;
}

nlohmann::ordered_json ProcedureSumsRecord(const inventory::ProcedureSums& sums) {
    return {{"procedures", sums.procedures}, {"code", sums.code}, {"complexity", sums.largestComplexity}};
}

std::string ProcedureSumsLine(std::string_view label, const inventory::ProcedureSums& sums) {
    std::string out;
    AppendSums(out, {label}, sums);
    return out;
}

void ProceduresListing(const inventory::ProjectCode& project, bool json, const vb::CodePage& page,
                       Output& output) {
    if (json) {
        auto members = nlohmann::ordered_json::array();
        for (const inventory::MemberCode& member : project.members) {
            nlohmann::ordered_json record = {{"kind", KindNameOf(member.kind)}, {"entry", member.entry}};
            if (member.missing) {
                record["missing"] = MissingRecord(*member.missing, page);
            } else {
                auto procedures = nlohmann::ordered_json::array();
                for (const counter::Procedure& procedure : member.code->procedures)
                    procedures.push_back(ProcedureRecord(procedure));
                auto events = nlohmann::ordered_json::array();
                for (const counter::EventDeclaration& event : member.code->events)
                    events.push_back({{"name", event.name}, {"scope", event.scope}, {"line", event.line}});
                record["procedures"] = std::move(procedures);
                record["events"] = std::move(events);
            }
            members.push_back(std::move(record));
        }
        output.document = {{"members", std::move(members)},
                           {"total", ProcedureSumsRecord(inventory::SumsOf(project))}};
        return;
    }
    std::string& out = output.text;
    for (const inventory::MemberCode& member : project.members) {
        const std::string_view group = vb::GroupCaptionOf(member.kind);
        const std::string entry = ControlPictures(member.entry);
        if (member.missing) {
            AppendRecord(out, {"Mitglied", group, entry, "-", "-", "-"});
            continue;
        }
        // Procedures and events in the order of their lines.
        const std::vector<counter::Procedure>& procedures = member.code->procedures;
        const std::vector<counter::EventDeclaration>& events = member.code->events;
        std::size_t p = 0;
        std::size_t e = 0;
        while (p < procedures.size() || e < events.size()) {
            if (e < events.size() && (p == procedures.size() || events[e].line < procedures[p].line)) {
                const counter::EventDeclaration& event = events[e++];
                AppendRecord(out, {group, entry, "Event", ControlPictures(event.name), event.scope,
                                   Number(event.line)});
            } else {
                AppendProcedure(out, {group, entry}, procedures[p++]);
            }
        }
        AppendSums(out, {"Mitglied", group, entry}, inventory::SumsOf(*member.code));
    }
    AppendSums(out, {"Gesamt"}, inventory::SumsOf(project));
}

std::string TopText(const std::vector<inventory::PlacedProcedure>& top, const vb::CodePage& page) {
    std::string out;
    for (const inventory::PlacedProcedure& placed : top)
        AppendProcedure(out,
                        {PlainField(placed.project, vb::TextKindOf(placed.project), page),
                         vb::GroupCaptionOf(placed.kind), ControlPictures(placed.entry)},
                        placed.procedure);
    return out;
}

nlohmann::ordered_json TopDocument(const std::vector<inventory::PlacedProcedure>& top,
                                   const vb::CodePage& page) {
    auto records = nlohmann::ordered_json::array();
    for (const inventory::PlacedProcedure& placed : top) {
        nlohmann::ordered_json record = {
            {"project", vb::ShownText(placed.project, vb::TextKindOf(placed.project), page)},
            {"entry", placed.entry}};
        record.update(ProcedureRecord(placed.procedure));
        records.push_back(std::move(record));
    }
    return {{"top", std::move(records)}};
}

} // namespace cli

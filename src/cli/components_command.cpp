#include "components.h"

#include "estate.h"
#include "ordered_pool.h"
#include "plain_text.h"
#include "progress_bar.h"

#include <nlohmann/json.hpp>

namespace cli {

namespace {

using inventory::Finding;
using inventory::FindingKind;

// Where a version stands when it is the project file's.
constexpr std::string_view kProjectFilePlace = "Projektdatei";

std::string Joined(const std::vector<std::string>& texts) {
    std::string out;
    for (const std::string& text : texts)
        out += (out.empty() ? "" : ", ") + text;
    return out;
}

nlohmann::ordered_json TextOrNull(const std::string& text) {
    return text.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(text);
}

std::string_view LinkName(inventory::LibraryLink link) {
    switch (link) {
    case inventory::LibraryLink::Project:
        return "Projekt";
    case inventory::LibraryLink::Derived:
        return "abgeleitet";
    case inventory::LibraryLink::None:
        break;
    }
    return inventory::FindingName(FindingKind::NotLinked);
}

std::string FindingNames(const std::vector<FindingKind>& kinds) {
    std::string out;
    for (const FindingKind kind : kinds)
        out += std::string(out.empty() ? "" : ", ") + std::string(inventory::FindingName(kind));
    return out;
}

} // namespace

std::string ComponentsText(const inventory::ComponentTable& table) {
    std::string out;
    for (const inventory::ComponentRow& row : table.components)
        AppendRecord(out, {inventory::ComponentKindName(row.kind), ControlPictures(row.guid),
                           ControlPictures(Joined(row.versions)), ControlPictures(row.file),
                           ControlPictures(row.description), ControlPictures(row.library),
                           std::to_string(row.projects), std::to_string(row.members),
                           std::to_string(row.objects), FindingNames(row.findings)});
    for (const inventory::LibraryRow& row : table.libraries)
        AppendRecord(out, {"Bibliothek", ControlPictures(row.library), ControlPictures(row.component),
                           LinkName(row.link), std::to_string(row.objects), std::to_string(row.members),
                           std::to_string(row.projects)});
    return out;
}

nlohmann::ordered_json ComponentsDocument(const inventory::ComponentTable& table) {
    auto components = nlohmann::ordered_json::array();
    for (const inventory::ComponentRow& row : table.components) {
        auto findings = nlohmann::ordered_json::array();
        for (const FindingKind kind : row.findings)
            findings.push_back(inventory::FindingName(kind));
        components.push_back({{"kind", inventory::ComponentKindName(row.kind)},
                              {"guid", TextOrNull(row.guid)},
                              {"versions", row.versions},
                              {"file", row.file},
                              {"description", TextOrNull(row.description)},
                              {"library", TextOrNull(row.library)},
                              {"projects", row.projects},
                              {"members", row.members},
                              {"objects", row.objects},
                              {"findings", std::move(findings)}});
    }
    auto libraries = nlohmann::ordered_json::array();
    for (const inventory::LibraryRow& row : table.libraries)
        libraries.push_back({{"library", row.library},
                             {"component", TextOrNull(row.component)},
                             {"derived", row.link == inventory::LibraryLink::Derived},
                             {"objects", row.objects},
                             {"members", row.members},
                             {"projects", row.projects}});
    return {{"components", std::move(components)}, {"libraries", std::move(libraries)}};
}

std::string FindingsText(const std::vector<Finding>& findings, const vb::CodePage& page) {
    std::string out;
    for (const Finding& finding : findings) {
        const std::string_view name = inventory::FindingName(finding.kind);
        const std::string_view kind = inventory::ComponentKindName(finding.componentKind);
        switch (finding.kind) {
        case FindingKind::Unused:
            AppendRecord(out, {name, kind, ControlPictures(finding.guid), ControlPictures(finding.file)});
            break;
        case FindingKind::NotInProject:
            AppendRecord(out, {name, kind, ControlPictures(finding.guid), ControlPictures(finding.file),
                               ControlPictures(finding.member)});
            break;
        case FindingKind::Versions:
            AppendRecord(out, {name, kind, ControlPictures(finding.guid), ControlPictures(finding.file),
                               ControlPictures(finding.version),
                               finding.member.empty() ? kProjectFilePlace : ControlPictures(finding.member),
                               ControlPictures(Joined(finding.versions))});
            break;
        case FindingKind::NotLinked:
            AppendRecord(out, {name, ControlPictures(finding.library), std::to_string(finding.objects),
                               std::to_string(finding.members)});
            break;
        case FindingKind::Missing:
            AppendRecord(out, {name, ControlPictures(finding.member), std::to_string(finding.error->number()),
                               FailureDescription(*finding.error, page)});
            break;
        }
    }
    return out;
}

nlohmann::ordered_json FindingsDocument(const std::vector<Finding>& findings, const vb::CodePage& page) {
    auto records = nlohmann::ordered_json::array();
    for (const Finding& finding : findings) {
        nlohmann::ordered_json record = {{"finding", inventory::FindingName(finding.kind)}};
        switch (finding.kind) {
        case FindingKind::Unused:
        case FindingKind::NotInProject:
        case FindingKind::Versions:
            record["kind"] = inventory::ComponentKindName(finding.componentKind);
            record["guid"] = TextOrNull(finding.guid);
            record["file"] = finding.file;
            if (finding.kind == FindingKind::NotInProject)
                record["member"] = finding.member;
            if (finding.kind == FindingKind::Versions) {
                record["member"] = TextOrNull(finding.member);
                record["version"] = finding.version;
                record["versions"] = finding.versions;
            }
            break;
        case FindingKind::NotLinked:
            record["library"] = finding.library;
            record["objects"] = finding.objects;
            record["members"] = finding.members;
            break;
        case FindingKind::Missing:
            record["member"] = finding.member;
            record["error"] = {{"number", finding.error->number()},
                               {"description", FailureDescription(*finding.error, page)}};
            break;
        }
        records.push_back(std::move(record));
    }
    return records;
}

Output ComponentsOutput(const inventory::ComponentEstate& estate, std::size_t index, bool json,
                        const vb::CodePage& page, bool table) {
    Output output;
    const std::vector<Finding> findings = estate.findings(index);
    if (json) {
        if (table)
            output.document = ComponentsDocument(estate.project(index));
        output.document["findings"] = FindingsDocument(findings, page);
    } else {
        if (table)
            output.text = ComponentsText(estate.project(index));
        output.text += FindingsText(findings, page);
    }
    return output;
}

bool ComponentsOverProjects(const std::vector<ProjectOperand>& projects, const EstateRun& run,
                            bool byProject) {
    // What one project gave: its components, or the error that kept it from being read, and the
    // messages of its missing members.
    struct Read {
        std::optional<inventory::ProjectComponents> components;
        std::optional<vb::RuntimeError> error;
        Output output;
    };
    // A member file that does not open is a finding: the reading always goes on past it.
    const Reading reading{run.codePage, true, false};
    std::vector<Read> read(projects.size());
    std::vector<std::optional<inventory::ProjectComponents>> components(projects.size());
    {
        ProgressBar bar(run.status, static_cast<int>(projects.size()));
        std::int64_t members = 0;
        const std::function<Read(std::size_t)> work = [&](std::size_t i) {
            Read one;
            if (projects[i].error)
                return one;
            try {
                one.components = inventory::ComponentsOfProject(
                    projects[i].path, MemberReadingOf(reading, one.output), &one.output.membersRead);
            } catch (const vb::RuntimeError& e) {
                one.error = e;
            }
            return one;
        };
        const std::function<void(std::size_t, Read &&)> done = [&](std::size_t i, Read&& one) {
            components[i] = std::move(one.components);
            members += one.output.membersRead;
            read[i] = std::move(one);
            bar.step(members > 0 ? "Projekte, " + std::to_string(members) + " Mitglieder" : "Projekte");
        };
        RunInOrder(projects.size(), run.jobs, work, done);
    }
    const inventory::ComponentEstate estate(std::move(components));
    EstateRun written = run;
    written.jobs = 1; // the projects are read: what is left is writing them in order
    written.finish = [&](std::string& text, nlohmann::ordered_json& document) {
        if (byProject)
            return;
        if (run.json)
            document.update(ComponentsDocument(estate.run()));
        else
            text = ComponentsText(estate.run());
    };
    return RunOverProjects(projects, written, [&](const std::string&, std::size_t index) {
        Read& one = read[index];
        if (one.error)
            throw *one.error;
        Output output = ComponentsOutput(estate, index, run.json, run.codePage, byProject);
        output.notes = std::move(one.output.notes);
        output.membersMissing = one.output.membersMissing;
        return output;
    });
}

} // namespace cli

#include "report_figures.h"

#include "files/member_path.h"

namespace report {

namespace {

using Json = nlohmann::ordered_json;

std::int64_t NumberAt(const Json& object, const char* key) {
    const auto it = object.find(key);
    return it != object.end() && it->is_number() ? it->get<std::int64_t>() : 0;
}

std::string TextAt(const Json& object, const char* key) {
    const auto it = object.find(key);
    return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

bool FlagAt(const Json& object, const char* key) {
    const auto it = object.find(key);
    return it != object.end() && it->is_boolean() && it->get<bool>();
}

LineFigures LinesOf(const Json& record) {
    return {NumberAt(record, "lines"), NumberAt(record, "description"), NumberAt(record, "attributes"),
            NumberAt(record, "code"),  NumberAt(record, "blank"),       NumberAt(record, "comments")};
}

void Add(LineFigures& sum, const LineFigures& more) {
    sum.lines += more.lines;
    sum.description += more.description;
    sum.attributes += more.attributes;
    sum.code += more.code;
    sum.blank += more.blank;
    sum.comments += more.comments;
}

vb::SourceKind KindNamed(const std::string& name) {
    for (const vb::SourceKind kind : vb::kSourceKinds)
        if (vb::KindNameOf(kind) == name)
            return kind;
    return vb::SourceKind::Form;
}

// The project document of `section` at `index`, or null when the section is absent or holds no such
// project.
const Json* ProjectAt(const Json& data, const char* section, std::size_t index) {
    const auto it = data.find(section);
    if (it == data.end())
        return nullptr;
    const auto documents = ProjectDocuments(*it);
    return index < documents.size() ? documents[index] : nullptr;
}

std::string ErrorText(const Json& error) {
    return "Laufzeitfehler " + std::to_string(NumberAt(error, "number")) + ": " +
           TextAt(error, "description");
}

// A lookup that check reports, as German words when it is worth a finding: a file not found, or found
// only in other letter case or code page. A "\" read as "/" is how every Windows entry is found here, no
// finding.
std::optional<std::string> LookupFinding(const Json& lookup, const char* how) {
    if (const auto missing = lookup.find("missing"); missing != lookup.end())
        return std::string("fehlt (") + how + "): " + TextAt(*missing, "description");
    const auto by = vb::FoundByNamed(TextAt(lookup, "found"));
    if (by && *by != vb::FoundBy::AsWritten && *by != vb::FoundBy::Slashes)
        return std::string("gefunden (") + how + "): " + std::string(vb::WordsOf(*by));
    return std::nullopt;
}

std::vector<std::string> MemberFindings(const Json& record) {
    std::vector<std::string> findings;
    if (const auto counter = record.find("counter"); counter != record.end())
        if (auto finding = LookupFinding(*counter, "Zählen"))
            findings.push_back(std::move(*finding));
    if (const auto merger = record.find("merger"); merger != record.end()) {
        if (auto finding = LookupFinding(*merger, "Zusammenführen"))
            findings.push_back(std::move(*finding));
        else
            findings.push_back("Zusammenführen findet eine andere Datei: " + TextAt(*merger, "path"));
    }
    if (FlagAt(record, "outside"))
        findings.push_back("außerhalb des Projektordners");
    if (const auto file = record.find("file"); file != record.end()) {
        if (const std::string ends = TextAt(*file, "lineEnds"); !ends.empty() && ends != "CR LF")
            findings.push_back("Zeilenenden: " + ends);
        if (file->contains("headComplete") && !FlagAt(*file, "headComplete"))
            findings.push_back("endet im Kopf");
        if (FlagAt(*file, "undefinedBytes"))
            findings.push_back("Bytes, die die Codepage nicht kennt");
    }
    return findings;
}

void ReadMembers(ProjectFigures& project, const Json* count, const Json* lines, const Json* check) {
    // Every reading command lists the project's members in the project reader's order; lines and check
    // list all five kinds, count only those with objects.
    const Json* all = lines ? lines : check;
    if (!all || !all->contains("members"))
        return;
    for (const Json& record : (*all)["members"]) {
        MemberFigures member;
        member.kind = KindNamed(TextAt(record, "kind"));
        member.entry = TextAt(record, "entry");
        member.missing = record.contains("missing");
        if (lines && !member.missing)
            member.lines = LinesOf(record);
        project.members.push_back(std::move(member));
    }
    if (count && count->contains("members")) {
        std::size_t next = 0;
        for (const Json& record : (*count)["members"]) {
            // The counted members in order: the next member of the same kind and entry.
            const vb::SourceKind kind = KindNamed(TextAt(record, "kind"));
            const std::string entry = TextAt(record, "entry");
            for (std::size_t i = next; i < project.members.size(); ++i)
                if (project.members[i].kind == kind && project.members[i].entry == entry) {
                    if (record.contains("objects"))
                        project.members[i].objects = NumberAt(record, "objects");
                    next = i + 1;
                    break;
                }
        }
    }
    if (check && check->contains("members")) {
        const Json& records = (*check)["members"];
        for (std::size_t i = 0; i < records.size() && i < project.members.size(); ++i) {
            project.members[i].findings = MemberFindings(records[i]);
            project.findings += static_cast<std::int64_t>(project.members[i].findings.size());
        }
    }
}

std::string Joined(const Json& list) {
    std::string out;
    if (list.is_array())
        for (const Json& item : list)
            if (item.is_string())
                out += (out.empty() ? "" : ", ") + item.get<std::string>();
    return out;
}

// A finding of components in words: its kind, then its other texts.
std::string ComponentFinding(const Json& record) {
    std::string rest;
    for (const auto& [key, value] : record.items())
        if (key != "finding" && key != "kind" && value.is_string() && !value.get<std::string>().empty())
            rest += (rest.empty() ? "" : ", ") + value.get<std::string>();
    const std::string finding = TextAt(record, "finding");
    return rest.empty() ? finding : finding + ": " + rest;
}

void ReadComponents(const Json& document, EstateFigures& estate) {
    std::vector<ComponentFigures> components;
    if (const auto list = document.find("components"); list != document.end() && list->is_array())
        for (const Json& record : *list) {
            ComponentFigures component{TextAt(record, "kind"),
                                       TextAt(record, "guid"),
                                       Joined(record.value("versions", Json::array())),
                                       TextAt(record, "file"),
                                       TextAt(record, "description"),
                                       TextAt(record, "library"),
                                       NumberAt(record, "projects"),
                                       NumberAt(record, "members"),
                                       NumberAt(record, "objects"),
                                       {}};
            if (const auto findings = record.find("findings");
                findings != record.end() && findings->is_array())
                for (const Json& finding : *findings)
                    if (finding.is_string())
                        component.findings.push_back(finding.get<std::string>());
            components.push_back(std::move(component));
        }
    estate.components = std::move(components);
    if (const auto list = document.find("libraries"); list != document.end() && list->is_array())
        for (const Json& record : *list)
            estate.libraries.push_back({TextAt(record, "library"), TextAt(record, "component"),
                                        record.contains("component") && !record["component"].is_null(),
                                        NumberAt(record, "objects"), NumberAt(record, "members"),
                                        NumberAt(record, "projects")});
    const auto projects = ProjectDocuments(document);
    for (std::size_t i = 0; i < projects.size() && i < estate.projects.size(); ++i)
        if (const auto findings = projects[i]->find("findings");
            findings != projects[i]->end() && findings->is_array())
            for (const Json& finding : *findings)
                estate.projects[i].componentFindings.push_back(ComponentFinding(finding));
}

} // namespace

std::vector<const nlohmann::ordered_json*> ProjectDocuments(const nlohmann::ordered_json& document) {
    std::vector<const Json*> documents;
    if (const auto projects = document.find("projects"); projects != document.end() && projects->is_array())
        for (const Json& project : *projects)
            documents.push_back(&project);
    else if (document.is_object())
        documents.push_back(&document);
    return documents;
}

EstateFigures FiguresOf(const nlohmann::ordered_json& data) {
    EstateFigures estate;
    // The run's projects are the same in every section; check names the one project of a single file.
    std::size_t projects = 0;
    for (const char* key : {kCountKey, kLinesKey, kCheckKey})
        if (const auto it = data.find(key); it != data.end())
            projects = std::max(projects, ProjectDocuments(*it).size());
    for (std::size_t i = 0; i < projects; ++i) {
        const Json* count = ProjectAt(data, kCountKey, i);
        const Json* lines = ProjectAt(data, kLinesKey, i);
        const Json* check = ProjectAt(data, kCheckKey, i);
        ProjectFigures project;
        for (const Json* document : {count, lines, check}) {
            if (!document)
                continue;
            if (project.path.empty())
                project.path = TextAt(*document, "project");
            if (project.error.empty() && document->contains("error"))
                project.error = ErrorText((*document)["error"]);
        }
        if (check && project.path.empty() && check->contains("project"))
            project.path = TextAt((*check)["project"], "path");
        // A project that fails in one command stands with that command's error, whatever the others say.
        if (project.error.empty()) {
            ReadMembers(project, count, lines, check);
            if (count)
                project.objects = NumberAt(*count, "total");
            if (lines && lines->contains("total"))
                project.lines = LinesOf((*lines)["total"]);
            if (check) {
                project.missing = NumberAt(*check, "missing");
                if (const auto file = check->find("project"); file != check->end()) {
                    if (const std::string ends = TextAt(*file, "lineEnds"); !ends.empty() && ends != "CR LF")
                        project.projectFindings.push_back("Projektdatei: Zeilenenden " + ends);
                    if (FlagAt(*file, "undefinedBytes"))
                        project.projectFindings.push_back(
                            "Projektdatei: Bytes, die die Codepage nicht kennt");
                }
                project.findings += static_cast<std::int64_t>(project.projectFindings.size());
            }
        } else {
            ++estate.failedProjects;
        }
        for (const MemberFigures& member : project.members)
            ++estate.membersByKind[static_cast<std::size_t>(member.kind)];
        estate.members += static_cast<std::int64_t>(project.members.size());
        estate.missing += project.missing;
        estate.objects += project.objects;
        estate.findings += project.findings;
        Add(estate.lines, project.lines);
        estate.projects.push_back(std::move(project));
    }
    if (const auto types = data.find(kTypesKey); types != data.end() && types->contains("types"))
        for (const Json& record : (*types)["types"])
            estate.types.push_back({TextAt(record, "type"), NumberAt(record, "objects"),
                                    NumberAt(record, "members"), NumberAt(record, "projects")});
    if (const auto components = data.find(kComponentsKey); components != data.end())
        ReadComponents(*components, estate);
    if (const auto procedures = data.find(kProceduresKey); procedures != data.end()) {
        std::vector<ProcedureFigures> top;
        if (const auto list = procedures->find("top"); list != procedures->end() && list->is_array())
            for (const Json& record : *list)
                top.push_back({TextAt(record, "project"), TextAt(record, "entry"), TextAt(record, "kind"),
                               TextAt(record, "name"), NumberAt(record, "line"), NumberAt(record, "lines"),
                               NumberAt(record, "code"), NumberAt(record, "complexity")});
        estate.topProcedures = std::move(top);
        if (const auto total = procedures->find("total"); total != procedures->end() && total->is_object()) {
            estate.procedures = NumberAt(*total, "procedures");
            estate.largestComplexity = NumberAt(*total, "complexity");
        }
        for (std::size_t i = 0; i < estate.projects.size(); ++i)
            if (const Json* project = ProjectAt(data, kProceduresKey, i))
                if (const auto total = project->find("total");
                    total != project->end() && total->is_object()) {
                    estate.projects[i].procedures = NumberAt(*total, "procedures");
                    estate.projects[i].largestComplexity = NumberAt(*total, "complexity");
                }
    }
    if (const auto declares = data.find(kDeclaresKey); declares != data.end()) {
        std::vector<ApiLibraryFigures> libraries;
        if (const auto list = declares->find("libraries"); list != declares->end() && list->is_array())
            for (const Json& record : *list) {
                libraries.push_back({TextAt(record, "library"), NumberAt(record, "declarations"),
                                     NumberAt(record, "functions"), NumberAt(record, "members"),
                                     NumberAt(record, "projects")});
                estate.declarations += libraries.back().declarations;
            }
        estate.apiLibraries = std::move(libraries);
    }
    return estate;
}

} // namespace report

#include "inventory/components.h"

#include "counter/count_project_objects.h"
#include "counter/scan_member_file.h"
#include "project/other_project_lines.h"
#include "project/project_folder.h"
#include "project/read_project_file.h"
#include "text/shown_text.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace inventory {

namespace {

constexpr std::string_view kBuiltIn = "vb"; // the library of VB's own controls, folded
constexpr std::string_view kProjectName = "Name=";
constexpr std::string_view kHeadEnd = "Begin";
// Only heads are read: reads of this size pass the end of a head by little, however large the file.
constexpr std::size_t kHeadRead = 16 * 1024;

// Library names are VB identifiers: letter case does not tell two apart.
std::string Folded(std::string_view text) {
    std::string folded(text);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

std::string Capitals(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string_view LastPart(std::string_view path) {
    const auto cut = path.find_last_of("\\/");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::string Unquoted(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// The component a project file line or head line names, its texts shown as the file's; nullopt for a
// line without a GUID or path.
std::optional<ComponentNaming> NamingOf(const vb::OtherProjectLine& line, vb::TextKind text,
                                        const vb::CodePage& page) {
    const auto shown = [&](std::string_view bytes) { return vb::ShownText(bytes, text, page); };
    ComponentNaming naming;
    if (line.value.starts_with("*\\A")) {
        if (line.file.empty())
            return std::nullopt;
        naming.kind = ComponentKind::Project;
        naming.file = shown(line.file);
        naming.key = naming.file;
        return naming;
    }
    if (line.guid.empty())
        return std::nullopt;
    naming.kind = line.key == "Reference" ? ComponentKind::Reference : ComponentKind::Control;
    naming.guid = Capitals(shown(line.guid));
    naming.key = naming.guid;
    naming.version = shown(line.version);
    naming.file = shown(LastPart(line.file));
    naming.description = shown(line.description);
    return naming;
}

// The library of a type text: the text before its first "."; empty for a type without one (a "Begin "
// in a property value) and for VB's own controls.
std::string_view LibraryOfType(std::string_view type) {
    const auto dot = type.find('.');
    if (dot == std::string_view::npos || dot == 0)
        return {};
    const auto library = type.substr(0, dot);
    return Folded(library) == kBuiltIn ? std::string_view{} : library;
}

// Reads one member's head and object types from `reader`: the head's Object lines before the first line
// that begins with "Begin", the types by the scan's rules up to where the scan stops.
void ReadMember(vb::LineReader& reader, MemberComponents& member, counter::ObjectGroupTable& table,
                const vb::CodePage& page) {
    table.Reset();
    std::vector<vb::OtherProjectLine> head;
    // The head's lines one by one up to the first that begins with "Begin"; from there on the scan takes
    // the lines a buffer at a time, by the same rules.
    bool inHead = true;
    bool stopped = false;
    std::string_view line;
    while (inHead && reader.next(line)) {
        table.Text = vb::Together(table.Text, vb::TextKindOf(line));
        if (line.starts_with(kHeadEnd))
            inHead = false;
        else if (auto object = vb::ReadHeadObjectLine(line); !object.key.empty())
            head.push_back(std::move(object));
        if (!counter::ScanLine(line, table, reader.path())) {
            stopped = true;
            break;
        }
    }
    if (!inHead && !stopped)
        counter::ScanLines(reader, table);
    for (const vb::OtherProjectLine& object : head)
        if (auto naming = NamingOf(object, table.Text, page))
            member.head.push_back(std::move(*naming));
    // Types of one library in other letter case count as that library, under its first spelling.
    std::map<std::string, std::string> spelling;
    table.ForEachGroup([&](const std::string& typeText, const counter::ObjectGroup& group) {
        const std::string type = vb::ShownText(typeText, table.Text, page);
        const std::string_view library = LibraryOfType(type);
        if (!library.empty())
            member.libraries[spelling.try_emplace(Folded(library), library).first->second] += group.NameCount;
    });
}

} // namespace

std::string_view ComponentKindName(ComponentKind kind) {
    switch (kind) {
    case ComponentKind::Control:
        return "Komponente";
    case ComponentKind::Reference:
        return "Verweis";
    case ComponentKind::Project:
        break;
    }
    return "Projekt";
}

std::string_view FindingName(FindingKind kind) {
    switch (kind) {
    case FindingKind::Unused:
        return "unbenutzt";
    case FindingKind::NotInProject:
        return "nicht im Projekt";
    case FindingKind::Versions:
        return "Versionen";
    case FindingKind::NotLinked:
        return "nicht zugeordnet";
    case FindingKind::Missing:
        break;
    }
    return "fehlt";
}

ProjectComponents ComponentsOfProject(const std::string& projectPath, const MemberReading& reading,
                                      std::int64_t* membersRead) {
    const vb::ProjectFileLists lists = vb::ReadProjectFile(projectPath);
    ProjectComponents project;
    project.path = vb::ShownText(projectPath, vb::TextKindOf(projectPath), reading.codePage);
    project.identity = vb::IdentityOfPath(projectPath);
    vb::MemberLookup lookup = vb::CounterLookupOf(projectPath);
    {
        vb::LineReader reader(projectPath);
        std::string_view line;
        bool named = false;
        while (reader.next(line)) {
            if (!named && line.starts_with(kProjectName)) {
                named = true;
                project.name =
                    vb::ShownText(Unquoted(line.substr(kProjectName.size())), lists.Text, reading.codePage);
                continue;
            }
            const vb::OtherProjectLine other = vb::ReadOtherProjectLine(line);
            if (other.key != "Object" && other.key != "Reference")
                continue;
            if (auto naming = NamingOf(other, lists.Text, reading.codePage)) {
                naming->objectLine = other.key == "Object";
                if (naming->kind == ComponentKind::Project)
                    if (const vb::FoundMemberPath found = lookup.find(other.file))
                        naming->target = vb::IdentityOfPath(found.path);
                project.lines.push_back(std::move(*naming));
            }
        }
    }
    counter::ObjectGroupTable table;
    table.KeepNames = false; // the libraries need the number of objects of each type only
    for (const vb::SourceKind kind : counter::kCountedKinds)
        for (const std::string_view entry : lists.entries(kind)) {
            if (membersRead)
                ++*membersRead;
            MemberComponents member;
            member.entry = vb::ShownText(entry, lists.Text, reading.codePage);
            std::optional<vb::LineReader> reader;
            if (auto missing = lookup.openInto(std::string(entry), reader, kHeadRead)) {
                reading.memberMissing(*missing);
                member.missing = std::move(missing);
            } else {
                ReadMember(*reader, member, table, reading.codePage);
            }
            // A member that names no component, declares no library and opens adds nothing to any
            // figure or finding; leaving it out keeps a large run's memory to what counts.
            if (member.missing || !member.head.empty() || !member.libraries.empty())
                project.members.push_back(std::move(member));
        }
    return project;
}

namespace {

// One letter per kind in front of the identity, so that a control and a reference with one GUID stay
// apart.
std::string KeyOfKind(ComponentKind kind, const std::string& identity) {
    const char letter = kind == ComponentKind::Control ? 'K' : kind == ComponentKind::Reference ? 'V' : 'P';
    return letter + identity;
}

} // namespace

std::string ComponentEstate::KeyOf(const ComponentNaming& naming) {
    return KeyOfKind(naming.kind, naming.key);
}

std::string ComponentEstate::KeyOf(const Finding& finding) {
    return KeyOfKind(finding.componentKind, finding.guid.empty() ? finding.file : finding.guid);
}

ComponentEstate::ComponentEstate(std::vector<std::optional<ProjectComponents>> projects)
    : projects_(std::move(projects)) {
    deriveLinks();
}

void ComponentEstate::deriveLinks() {
    std::map<std::string, std::set<std::string>> versions;
    const auto noteVersion = [&](const ComponentNaming& naming) {
        if (!naming.guid.empty() && !naming.version.empty())
            versions[naming.guid].insert(naming.version);
    };
    std::map<std::string, Link> projectNamed; // folded Name -> the first project of that name
    for (const auto& project : projects_) {
        if (!project)
            continue;
        if (!project->name.empty())
            projectNamed.try_emplace(Folded(project->name),
                                     Link{LibraryLink::Project, project->path, project->identity});
        for (const ComponentNaming& naming : project->lines)
            noteVersion(naming);
        for (const MemberComponents& member : project->members) {
            for (const ComponentNaming& naming : member.head)
                noteVersion(naming);
            for (const auto& [library, objects] : member.libraries)
                spelling_.try_emplace(Folded(library), library);
        }
    }
    for (const auto& [guid, named] : versions)
        versions_[guid].assign(named.begin(), named.end());

    // a. the projects' own libraries
    for (const auto& [library, shown] : spelling_)
        if (const auto project = projectNamed.find(library); project != projectNamed.end())
            links_[library] = project->second;

    // b. per library the components that every head declaring its types names
    std::map<std::string, std::set<std::string>> candidates;
    for (const auto& project : projects_) {
        if (!project)
            continue;
        for (const MemberComponents& member : project->members) {
            if (member.head.empty())
                continue;
            std::set<std::string> named;
            for (const ComponentNaming& naming : member.head)
                named.insert(KeyOf(naming));
            for (const auto& [library, objects] : member.libraries) {
                const std::string folded = Folded(library);
                if (links_.contains(folded))
                    continue;
                const auto [place, first] = candidates.try_emplace(folded, named);
                if (!first)
                    std::erase_if(place->second,
                                  [&](const std::string& key) { return !named.contains(key); });
            }
        }
    }
    std::set<std::string> taken;
    for (bool linked = true; linked;) {
        linked = false;
        std::map<std::string, std::vector<std::string>> wanted; // component -> libraries left with it alone
        for (const auto& [library, keys] : candidates) {
            if (links_.contains(library))
                continue;
            std::vector<std::string> left;
            for (const std::string& key : keys)
                if (!taken.contains(key))
                    left.push_back(key);
            if (left.size() == 1)
                wanted[left.front()].push_back(library);
        }
        for (const auto& [key, libraries] : wanted) {
            if (libraries.size() != 1)
                continue; // two libraries would take it: it goes to neither
            links_[libraries.front()] = {LibraryLink::Derived, key, std::nullopt};
            libraryOf_[key] = libraries.front();
            taken.insert(key);
            linked = true;
        }
    }
}

const ComponentEstate::Link& ComponentEstate::linkOf(const std::string& foldedLibrary) const {
    static const Link kNone;
    const auto link = links_.find(foldedLibrary);
    return link == links_.end() ? kNone : link->second;
}

ComponentTable ComponentEstate::run() const {
    std::vector<std::size_t> all(projects_.size());
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = i;
    return tableOf(all);
}

ComponentTable ComponentEstate::project(std::size_t index) const {
    return tableOf({index});
}

ComponentTable ComponentEstate::tableOf(const std::vector<std::size_t>& indexes) const {
    struct ComponentSum {
        ComponentRow row;
        std::set<std::size_t> projects;
        std::set<std::string> versions;
        std::set<FindingKind> findings;
        std::optional<vb::FileIdentity> target;
    };
    struct LibrarySum {
        std::int64_t objects = 0, members = 0;
        std::set<std::size_t> projects;
    };
    std::map<std::string, ComponentSum> components;
    std::map<std::string, LibrarySum> libraries;
    const auto note = [&](const ComponentNaming& naming, std::size_t project) -> ComponentSum& {
        ComponentSum& sum = components[KeyOf(naming)];
        if (sum.projects.empty()) {
            sum.row.kind = naming.kind;
            sum.row.guid = naming.guid;
        }
        if (sum.row.file.empty())
            sum.row.file = naming.file;
        if (sum.row.description.empty())
            sum.row.description = naming.description;
        sum.projects.insert(project);
        if (!sum.target)
            sum.target = naming.target;
        if (!naming.version.empty())
            sum.versions.insert(naming.version);
        return sum;
    };
    for (const std::size_t i : indexes) {
        const auto& project = projects_[i];
        if (!project)
            continue;
        for (const ComponentNaming& naming : project->lines)
            note(naming, i);
        for (const MemberComponents& member : project->members) {
            std::set<ComponentSum*> named;
            for (const ComponentNaming& naming : member.head)
                named.insert(&note(naming, i));
            for (ComponentSum* sum : named)
                ++sum->row.members;
            for (const auto& [library, objects] : member.libraries) {
                LibrarySum& sum = libraries[Folded(library)];
                sum.objects += objects;
                sum.members += 1;
                sum.projects.insert(i);
            }
        }
        for (const Finding& finding : findings(i))
            if (finding.kind == FindingKind::Unused || finding.kind == FindingKind::NotInProject ||
                finding.kind == FindingKind::Versions)
                components[KeyOf(finding)].findings.insert(finding.kind);
    }

    ComponentTable table;
    for (const auto& [library, sum] : libraries) {
        const Link& link = linkOf(library);
        LibraryRow row{spelling_.at(library),
                       link.how == LibraryLink::Derived ? link.component.substr(1) : link.component,
                       link.how,
                       sum.objects,
                       sum.members,
                       static_cast<std::int64_t>(sum.projects.size())};
        if (link.how == LibraryLink::Derived)
            if (const auto component = components.find(link.component); component != components.end())
                component->second.row.objects += sum.objects;
        // A project's own library belongs to the lines that name that project file.
        if (link.how == LibraryLink::Project && link.project)
            for (auto& [key, component] : components)
                if (component.target == link.project) {
                    component.row.objects += sum.objects;
                    component.row.library = spelling_.at(library);
                }
        table.libraries.push_back(std::move(row));
    }
    for (auto& [key, sum] : components) {
        if (const auto library = libraryOf_.find(key); library != libraryOf_.end())
            sum.row.library = spelling_.at(library->second);
        sum.row.projects = static_cast<std::int64_t>(sum.projects.size());
        sum.row.versions.assign(sum.versions.begin(), sum.versions.end());
        sum.row.findings.assign(sum.findings.begin(), sum.findings.end());
        table.components.push_back(std::move(sum.row));
    }
    std::stable_sort(
        table.components.begin(), table.components.end(), [](const ComponentRow& a, const ComponentRow& b) {
            const std::string fileA = Folded(a.file), fileB = Folded(b.file);
            return std::tie(b.projects, fileA, a.file, a.guid) < std::tie(a.projects, fileB, b.file, b.guid);
        });
    std::sort(table.libraries.begin(), table.libraries.end(),
              [](const LibraryRow& a, const LibraryRow& b) { return a.library < b.library; });
    return table;
}

std::vector<Finding> ComponentEstate::findings(std::size_t index) const {
    std::vector<Finding> found;
    const auto& project = projects_.at(index);
    if (!project)
        return found;
    std::set<std::string> inFile, inHeads;
    for (const ComponentNaming& naming : project->lines)
        inFile.insert(KeyOf(naming));
    struct LibraryUse {
        std::int64_t objects = 0, members = 0;
    };
    std::map<std::string, LibraryUse> libraries;
    for (const MemberComponents& member : project->members) {
        for (const ComponentNaming& naming : member.head)
            inHeads.insert(KeyOf(naming));
        for (const auto& [library, objects] : member.libraries) {
            LibraryUse& use = libraries[Folded(library)];
            use.objects += objects;
            use.members += 1;
        }
    }
    const auto aboutComponent = [](FindingKind kind, const ComponentNaming& naming) {
        Finding finding;
        finding.kind = kind;
        finding.componentKind = naming.kind;
        finding.guid = naming.guid;
        finding.file = naming.file;
        return finding;
    };

    std::set<std::string> reported;
    for (const ComponentNaming& naming : project->lines) {
        const std::string key = KeyOf(naming);
        if (!naming.objectLine || inHeads.contains(key) || reported.contains(key))
            continue;
        if (const auto library = libraryOf_.find(key); library != libraryOf_.end())
            if (const auto use = libraries.find(library->second);
                use != libraries.end() && use->second.objects > 0)
                continue;
        if (naming.target && std::any_of(libraries.begin(), libraries.end(), [&](const auto& use) {
                return linkOf(use.first).project == naming.target;
            }))
            continue; // the project it names provides a library the members use
        reported.insert(key);
        found.push_back(aboutComponent(FindingKind::Unused, naming));
    }
    for (const MemberComponents& member : project->members) {
        std::set<std::string> named;
        for (const ComponentNaming& naming : member.head)
            if (!inFile.contains(KeyOf(naming)) && named.insert(KeyOf(naming)).second) {
                Finding finding = aboutComponent(FindingKind::NotInProject, naming);
                finding.member = member.entry;
                found.push_back(std::move(finding));
            }
    }
    const auto versions = [&](const ComponentNaming& naming, const std::string& member) {
        const auto all = versions_.find(naming.guid);
        if (naming.guid.empty() || all == versions_.end() || all->second.size() < 2)
            return;
        Finding finding = aboutComponent(FindingKind::Versions, naming);
        finding.member = member;
        finding.version = naming.version;
        finding.versions = all->second;
        found.push_back(std::move(finding));
    };
    for (const ComponentNaming& naming : project->lines)
        versions(naming, {});
    for (const MemberComponents& member : project->members)
        for (const ComponentNaming& naming : member.head)
            versions(naming, member.entry);
    for (const auto& [library, use] : libraries)
        if (linkOf(library).how == LibraryLink::None) {
            Finding finding;
            finding.kind = FindingKind::NotLinked;
            finding.library = spelling_.at(library);
            finding.objects = use.objects;
            finding.members = use.members;
            found.push_back(std::move(finding));
        }
    for (const MemberComponents& member : project->members)
        if (member.missing) {
            Finding finding;
            finding.kind = FindingKind::Missing;
            finding.member = member.entry;
            finding.error = member.missing;
            found.push_back(std::move(finding));
        }
    return found;
}

} // namespace inventory

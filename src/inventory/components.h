#pragma once
// The components a project needs from outside (ActiveX controls, type libraries, other projects), as its
// project file and the heads of its forms, user controls and property pages name them, and which
// component provides each library whose object types the members declare.
//
// A library is the text of an object type before its first "." (MSComctlLib of MSComctlLib.ListView);
// VB is built in and needs none. The link from a library to its component is decided over all projects
// of a run (ComponentEstate):
// a. a library whose name is the Name of a project of the run is that project's (its user controls);
// b. otherwise its candidates are the components named in the head of every member file of the run that
//    declares a type of the library and names at least one component in its head. In rounds, each
//    library with exactly one candidate not yet taken gets it, unless another library would get the same
//    one in the same round; the rounds end when one links nothing;
// c. a library left without a component is not linked.
// Every set involved is ordered by its keys, so the links are the same whatever the order of projects or
// threads.

#include "errors/runtime_error.h"
#include "files/file_identity.h"
#include "inventory/member_reading.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace inventory {

// Object lines name controls, Reference lines type libraries, "*\A" values other projects.
enum class ComponentKind { Control, Reference, Project };

// "Komponente", "Verweis", "Projekt".
std::string_view ComponentKindName(ComponentKind kind);

// One line that names a component. Texts are shown (UTF-8), by the code page of the file they stand in.
struct ComponentNaming {
    ComponentKind kind = ComponentKind::Control;
    // The component's identity: its GUID in capitals, for a project its path as written.
    std::string key;
    std::string guid; // in capitals; empty for a project
    std::string version;
    // The last part of the file's path as written; for a project the whole path, its identity.
    std::string file;
    std::string description; // references only
    bool objectLine = false; // an Object line of the project file (else a Reference line, or a head)
    // For a project named by the project file: the project file it leads to (found as members are), if any.
    std::optional<vb::FileIdentity> target;
};

// A form, user control or property page: the components its head names, and per library the objects
// of that library's types it declares; for a file that does not open the error instead.
struct MemberComponents {
    std::string entry; // shown
    std::optional<vb::RuntimeError> missing;
    std::vector<ComponentNaming> head;
    // Per library (as first spelled in the file, shown; letter case does not count) its objects.
    std::map<std::string, std::int64_t> libraries;
};

struct ProjectComponents {
    std::string path;                         // as reached, shown
    std::string name;                         // the project's Name="...", shown; empty when it has none
    std::optional<vb::FileIdentity> identity; // of the project file
    std::vector<ComponentNaming> lines;       // Object and Reference lines of the project file, in order
    // Forms, user controls and property pages, in the count's order: those that name a component, declare
    // an object of a library other than VB, or do not open.
    std::vector<MemberComponents> members;
};

// Reads the project file at `projectPath` and the heads and object types of its forms, user controls
// and property pages (found as the counter finds them). `membersRead` (if given) gets the number of
// member files looked for. A member file that does not open is kept with its error and reported to
// `reading` (which decides whether the reading goes on).
ProjectComponents ComponentsOfProject(const std::string& projectPath, const MemberReading& reading,
                                      std::int64_t* membersRead = nullptr);

// How a library came to its component.
enum class LibraryLink { Project, Derived, None };

struct LibraryRow {
    std::string library;   // as first spelled in the run
    std::string component; // the linked component's key (shown as ComponentRow shows it), a project's path
    LibraryLink link = LibraryLink::None;
    std::int64_t objects = 0, members = 0, projects = 0;
};

enum class FindingKind { Unused, NotInProject, Versions, NotLinked, Missing };

// "unbenutzt", "nicht im Projekt", "Versionen", "nicht zugeordnet", "fehlt".
std::string_view FindingName(FindingKind kind);

struct ComponentRow {
    ComponentKind kind = ComponentKind::Control;
    std::string guid;                  // in capitals, empty for a project
    std::vector<std::string> versions; // distinct, in byte order
    std::string file;
    std::string description;
    std::string library; // the library linked to it, empty for none
    std::int64_t projects = 0, members = 0, objects = 0;
    std::vector<FindingKind> findings; // the kinds of finding about it, in FindingKind order
};

// What one project has to be told. Fields not named for a kind stay empty.
struct Finding {
    FindingKind kind = FindingKind::Unused;
    // Unused, NotInProject, Versions: the component.
    ComponentKind componentKind = ComponentKind::Control;
    std::string guid, file;
    // NotInProject, Versions, Missing: the member entry (Versions: empty for the project file).
    std::string member;
    // Versions: the version at this place and every version of the GUID in the run, in byte order.
    std::string version;
    std::vector<std::string> versions;
    // NotLinked: the library and its objects and member files in the project.
    std::string library;
    std::int64_t objects = 0, members = 0;
    // Missing: why the member file did not open.
    std::optional<vb::RuntimeError> error;
};

// Per component (sorted by projects naming it, descending, then by file without regard to letter case,
// then file and GUID in byte order) and per
// library used (by name in byte order).
struct ComponentTable {
    std::vector<ComponentRow> components;
    std::vector<LibraryRow> libraries;
};

// The components of all projects of a run, with the links decided over all of them.
class ComponentEstate {
public:
    // The projects in the order of the run; nullopt for one that could not be read.
    explicit ComponentEstate(std::vector<std::optional<ProjectComponents>> projects);

    // The inventory of the whole run, and of the `index`-th project alone (links still of the run).
    ComponentTable run() const;
    ComponentTable project(std::size_t index) const;
    // The findings of the `index`-th project: unused, not in the project, versions, not linked, missing.
    std::vector<Finding> findings(std::size_t index) const;

private:
    struct Link {
        LibraryLink how = LibraryLink::None;
        std::string component; // key (kind + identity) of the component, or a project's path
        std::optional<vb::FileIdentity> project; // the project's file, for a project's own library
    };
    static std::string KeyOf(const ComponentNaming& naming);
    static std::string KeyOf(const Finding& finding); // of the component it is about

    void deriveLinks();
    ComponentTable tableOf(const std::vector<std::size_t>& indexes) const;
    const Link& linkOf(const std::string& foldedLibrary) const;

    std::vector<std::optional<ProjectComponents>> projects_;
    // Per folded library name the link, and the spelling shown.
    std::map<std::string, Link> links_;
    std::map<std::string, std::string> spelling_;
    // Per component key the library linked to it (folded).
    std::map<std::string, std::string> libraryOf_;
    // Per GUID the versions that the run names.
    std::map<std::string, std::vector<std::string>> versions_;
};

} // namespace inventory

// Which component provides a library, decided over a whole run, and what the heads of member files say.

#include "inventory/components.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using inventory::ComponentEstate;
using inventory::ComponentKind;
using inventory::ComponentNaming;
using inventory::LibraryLink;
using inventory::MemberComponents;
using inventory::ProjectComponents;

ComponentNaming Control(const std::string& guid, const std::string& version = "1.0") {
    return {ComponentKind::Control, guid, guid, version, guid + ".OCX", "", false, std::nullopt};
}

// A member whose head names `head` and which declares one object of each library.
MemberComponents Member(std::vector<ComponentNaming> head, std::initializer_list<const char*> libraries) {
    MemberComponents member;
    member.entry = "F.frm";
    member.head = std::move(head);
    for (const char* library : libraries)
        member.libraries[library] = 1;
    return member;
}

ProjectComponents Project(std::string path, std::vector<MemberComponents> members, std::string name = {}) {
    ProjectComponents project;
    project.path = std::move(path);
    project.name = std::move(name);
    project.members = std::move(members);
    return project;
}

// Per library its link and component, in the order of the libraries' names.
std::vector<std::string> Links(const ComponentEstate& estate) {
    std::vector<std::string> links;
    for (const inventory::LibraryRow& row : estate.run().libraries)
        links.push_back(row.library +
                        (row.link == LibraryLink::Derived   ? " abgeleitet "
                         : row.link == LibraryLink::Project ? " Projekt "
                                                            : " keine ") +
                        row.component);
    return links;
}

ComponentEstate EstateOf(std::vector<ProjectComponents> projects) {
    std::vector<std::optional<ProjectComponents>> run(projects.begin(), projects.end());
    return ComponentEstate(std::move(run));
}

TEST(ComponentLinks, RoundsLinkWhatIsLeftAloneAndTiesStayUnlinked) {
    // Round 1: Liste gets {A} (every head declaring Liste names A). Round 2: Gitter is left with {B}.
    // Eins and Zwei both want C alone in the same round: neither gets it, however many rounds follow.
    const std::vector<ProjectComponents> projects = {
        Project("p1.vbp", {Member({Control("{A}"), Control("{B}")}, {"Liste", "Gitter"}),
                           Member({Control("{A}")}, {"Liste"})}),
        Project("p2.vbp", {Member({Control("{C}"), Control("{A}")}, {"Eins", "Zwei", "Liste"})}),
    };
    const std::vector<std::string> expected = {"Eins keine ", "Gitter abgeleitet {B}", "Liste abgeleitet {A}",
                                               "Zwei keine "};
    EXPECT_EQ(Links(EstateOf(projects)), expected);
    // The same links whatever the order of the projects.
    EXPECT_EQ(Links(EstateOf({projects[1], projects[0]})), expected);
}

TEST(ComponentLinks, HeadsWithoutComponentsTakeNoPartAndProjectNamesComeFirst) {
    const ComponentEstate estate = EstateOf({
        // An old form without a head declares Liste and Alt: it neither narrows Liste's candidates nor
        // gives Alt any.
        Project("alt.vbp", {Member({}, {"Liste", "Alt"}), Member({Control("{A}")}, {"Liste"})}),
        // Steuer is a project of the run: its library is that project's, even where a head would link it;
        // letter case does not tell libraries apart.
        Project("steuer/Steuer.vbp", {Member({Control("{S}")}, {"steuer"})}, "Steuer"),
        Project("nutzer.vbp", {Member({Control("{S}")}, {"STEUER"})}),
    });
    EXPECT_EQ(Links(estate), (std::vector<std::string>{"Alt keine ", "Liste abgeleitet {A}",
                                                       "steuer Projekt steuer/Steuer.vbp"}));
    const auto libraries = estate.run().libraries;
    EXPECT_EQ(libraries[2].projects, 2);
    EXPECT_EQ(libraries[2].objects, 2);
}

TEST(ComponentFindings, UnusedNotInProjectAndVersionsAcrossProjects) {
    ProjectComponents first = Project("a.vbp", {Member({Control("{A}", "2.0")}, {"Liste"})});
    ComponentNaming unused = Control("{U}");
    unused.objectLine = true;
    ComponentNaming listView = Control("{A}", "2.0");
    listView.objectLine = true;
    first.lines = {listView, unused};
    ProjectComponents second = Project("b.vbp", {Member({Control("{A}", "2.1"), Control("{N}")}, {"Liste"})});
    ComponentNaming newer = Control("{A}", "2.1");
    newer.objectLine = true;
    second.lines = {newer};
    const ComponentEstate estate = EstateOf({first, second});

    const auto a = estate.findings(0);
    ASSERT_EQ(a.size(), 3U);
    EXPECT_EQ(a[0].kind, inventory::FindingKind::Unused);
    EXPECT_EQ(a[0].guid, "{U}");
    EXPECT_EQ(a[1].kind, inventory::FindingKind::Versions);
    EXPECT_EQ(a[1].member, "") << "the project file's line";
    EXPECT_EQ(a[2].member, "F.frm");
    EXPECT_EQ(a[2].versions, (std::vector<std::string>{"2.0", "2.1"}));
    const auto b = estate.findings(1);
    ASSERT_EQ(b.size(), 3U);
    EXPECT_EQ(b[0].kind, inventory::FindingKind::NotInProject);
    EXPECT_EQ(b[0].guid, "{N}");
    EXPECT_EQ(b[1].version, "2.1");

    // In the run's table the list view is named by both projects and carries the version finding.
    const auto table = estate.run();
    ASSERT_FALSE(table.components.empty());
    EXPECT_EQ(table.components[0].guid, "{A}");
    EXPECT_EQ(table.components[0].projects, 2);
    EXPECT_EQ(table.components[0].objects, 2);
    EXPECT_EQ(table.components[0].findings, std::vector{inventory::FindingKind::Versions});
}

TEST(ComponentsOfProject, HeadEndsAtTheFirstBeginLineGuidsInCapitalsBuiltInTypesLeftOut) {
    vbtest::TempDir dir;
    dir.write("P.vbp", "Type=Exe\nObject={abc}#1.0#0; x.ocx\nForm=F.frm\nForm=Weg.frm\nName=\"P\"\n");
    dir.write("F.frm", "VERSION 5.00\r\nObject = \"{def}#2.0#0\"; \"Y.OCX\"\r\nBegin VB.Form F\r\n"
                       "   Object = \"{NACH}#1.0#0\"; \"Z.OCX\"\r\n   Begin Bib.Ding d\r\n   End\r\n"
                       "   Begin VB.Label l\r\n   End\r\n   Caption = \"Begin Wort\"\r\nEnd\r\n"
                       "Attribute VB_Name = \"F\"\r\n");
    int missing = 0;
    const inventory::MemberReading reading{{}, true, [&](const vb::RuntimeError&) { ++missing; }};
    const ProjectComponents project = inventory::ComponentsOfProject(dir.file("P.vbp"), reading);
    EXPECT_EQ(project.name, "P");
    ASSERT_EQ(project.lines.size(), 1U);
    EXPECT_EQ(project.lines[0].guid, "{ABC}");
    EXPECT_TRUE(project.lines[0].objectLine);
    ASSERT_EQ(project.members.size(), 2U);
    const MemberComponents& form = project.members[0];
    ASSERT_EQ(form.head.size(), 1U);
    EXPECT_EQ(form.head[0].guid, "{DEF}");
    EXPECT_EQ(form.libraries, (std::map<std::string, std::int64_t>{{"Bib", 1}}));
    EXPECT_TRUE(project.members[1].missing);
    EXPECT_EQ(missing, 1);
}

} // namespace

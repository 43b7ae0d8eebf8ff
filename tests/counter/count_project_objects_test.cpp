#include "counter/count_project_objects.h"
#include "errors/runtime_error.h"
#include "table_view.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using counter::CountProgressMaximum;
using counter::CountProjectObjects;
using counter::MemberObjects;
using counter::ObjectGroupTable;
using vb::ProjectFileLists;
using vb::SourceKind;
using vbtest::TempDir;

using Counted = std::tuple<SourceKind, std::string, std::int32_t>;

struct CountRun {
    std::int32_t total = 0;
    std::vector<Counted> members;
};

CountRun Count(const ProjectFileLists& lists, ObjectGroupTable& table) {
    CountRun run;
    run.total = CountProjectObjects(lists, table, [&](const MemberObjects& member) {
        run.members.emplace_back(member.kind, member.entry, member.objects);
    });
    return run;
}

void Set(ProjectFileLists& lists, SourceKind kind, std::vector<std::string> entries) {
    lists.count(kind) = static_cast<vb::Int16>(entries.size());
    lists.list(kind) = std::move(entries);
}

TEST(CountProjectObjects, WorkedExampleWithAModuleThatIsNeverOpened) {
    TempDir dir;
    dir.write("Eins.frm", "VERSION 5.00\r\n"
                          "Begin VB.Form frmEins \r\n"
                          "   Begin VB.Frame fra \r\n"
                          "      Begin VB.CommandButton cmdA \r\n"
                          "      End\r\n"
                          "      Begin VB.CommandButton cmdB \r\n"
                          "      End\r\n"
                          "   End\r\n"
                          "   Begin VB.Menu mnuA \r\n"
                          "   End\r\n"
                          "   Begin VB.Menu mnuB \r\n"
                          "   End\r\n"
                          "End\r\n"
                          "Attribute VB_Name = \"frmEins\"\r\n");
    dir.write("Zwei.frm", "Begin VB.Form frmZwei \r\n   Begin VB.Label lbl \r\n   End\r\nEnd\r\n"
                          "Attribute VB_Name = \"frmZwei\"\r\n");
    dir.write("Anzeige.ctl", "Begin VB.UserControl Anzeige \r\n   Begin VB.TextBox txt \r\n   End\r\nEnd\r\n"
                             "Attribute VB_Name = \"Anzeige\"\r\n");
    ProjectFileLists lists;
    Set(lists, SourceKind::Form, {"Eins.frm", "Zwei.frm"});
    Set(lists, SourceKind::Module, {"FehltAbsichtlich.bas"});
    Set(lists, SourceKind::UserControl, {"Anzeige.ctl"});
    vbtest::WorkingDirectory inProject(dir.path());

    EXPECT_EQ(CountProgressMaximum(lists), 4);
    ObjectGroupTable table;
    const CountRun run = Count(lists, table);
    EXPECT_EQ(run.total, 8);
    EXPECT_EQ(run.members, (std::vector<Counted>{{SourceKind::Form, "Eins.frm", 5},
                                                 {SourceKind::Form, "Zwei.frm", 1},
                                                 {SourceKind::UserControl, "Anzeige.ctl", 2}}));
    EXPECT_EQ(Count(lists, table).total, 8) << "a second count gives the same";
}

TEST(CountProjectObjects, FormsThenUserControlsThenPropertyPages) {
    TempDir dir;
    dir.write("Seite.pag", "Begin VB.PropertyPage Seite \r\nEnd\r\n");
    dir.write("Knopf.ctl", "Begin VB.UserControl Knopf \r\n Begin VB.Shape s \r\n Begin VB.Shape s \r\n");
    dir.write("Leer.frm", "Begin VB.Form frmLeer \r\nEnd\r\n");
    dir.write("Rahmen.frm", "Begin VB.MDIForm mdi \r\nEnd\r\n");
    ProjectFileLists lists;
    // Filled from the last kind to the first, so the order of the count cannot come from the filling.
    Set(lists, SourceKind::PropertyPage, {"Seite.pag"});
    Set(lists, SourceKind::UserControl, {"Knopf.ctl"});
    Set(lists, SourceKind::ClassModule, {"Fehlt.cls"});
    Set(lists, SourceKind::Form, {"Leer.frm", "Rahmen.frm"});
    vbtest::WorkingDirectory inProject(dir.path());

    ObjectGroupTable table;
    const CountRun run = Count(lists, table);
    EXPECT_EQ(run.members, (std::vector<Counted>{{SourceKind::Form, "Leer.frm", 0},
                                                 {SourceKind::Form, "Rahmen.frm", 1},
                                                 {SourceKind::UserControl, "Knopf.ctl", 3},
                                                 {SourceKind::PropertyPage, "Seite.pag", 1}}));
    EXPECT_EQ(run.total, 5);
    EXPECT_EQ(vbtest::GroupsOf(table), (vbtest::Groups{{"VB.PropertyPage", {"Seite"}}}))
        << "the table describes the last member counted";
}

TEST(CountProjectObjects, ProjectWithoutScannedMembersCountsZero) {
    ProjectFileLists lists;
    Set(lists, SourceKind::Module, {"Fehlt.bas"});
    Set(lists, SourceKind::ClassModule, {"Fehlt.cls"});
    ObjectGroupTable table;
    const CountRun run = Count(lists, table);
    EXPECT_EQ(run.total, 0);
    EXPECT_TRUE(run.members.empty());
    EXPECT_EQ(CountProgressMaximum(lists), 1);
    EXPECT_EQ(CountProgressMaximum(ProjectFileLists{}), 1);
}

TEST(CountProjectObjects, MissingMemberStopsTheCountWithError53) {
    TempDir dir;
    dir.write("Da.frm", "Begin VB.Form f \r\n Begin VB.Label l \r\n");
    ProjectFileLists lists;
    Set(lists, SourceKind::Form, {"Da.frm", "Weg.frm", "Da.frm"});
    vbtest::WorkingDirectory inProject(dir.path());
    ObjectGroupTable table;
    std::vector<std::string> counted;
    try {
        CountProjectObjects(lists, table, [&](const MemberObjects& m) { counted.push_back(m.entry); });
        ADD_FAILURE() << "no error";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.number(), vb::err::FileNotFound);
        EXPECT_EQ(e.path(), "Weg.frm");
    }
    EXPECT_EQ(counted, std::vector<std::string>{"Da.frm"});
}

TEST(CountProjectObjects, KeepingGoingAMissingMemberAddsNothingAndIsReportedWithItsError) {
    TempDir dir;
    dir.write("Da.frm", "Begin VB.Form f \r\n Begin VB.Label l \r\n");
    dir.write("Ordner.frm/x", ""); // a folder where the file should be: it does not open either
    ProjectFileLists lists;
    Set(lists, SourceKind::Form, {"Da.frm", "Weg.frm", "Fehlt\\A.frm", "Ordner.frm", "Da.frm"});
    vbtest::WorkingDirectory inProject(dir.path());
    ObjectGroupTable table;
    std::vector<std::tuple<std::string, std::int32_t, int>> counted;
    const auto total = CountProjectObjects(
        lists, table,
        [&](const MemberObjects& m) {
            counted.emplace_back(m.entry, m.objects, m.missing ? m.missing->number() : 0);
        },
        true);
    EXPECT_EQ(total, 2);
    EXPECT_EQ(counted, (std::vector<std::tuple<std::string, std::int32_t, int>>{{"Da.frm", 1, 0},
                                                                                {"Weg.frm", 0, 53},
                                                                                {"Fehlt\\A.frm", 0, 76},
                                                                                {"Ordner.frm", 0, 75},
                                                                                {"Da.frm", 1, 0}}));
}

TEST(CountProjectObjects, ACountBeyondItsListIsError9NotARead) {
    TempDir dir;
    dir.write("A.frm", "Begin VB.Label l\r\n");
    ProjectFileLists lists;
    lists.Forms = {"A.frm"};
    lists.FormCount = 2;
    vbtest::WorkingDirectory inProject(dir.path());
    ObjectGroupTable table;
    try {
        CountProjectObjects(lists, table);
        ADD_FAILURE() << "no error";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.number(), vb::err::SubscriptOutOfRange);
    }
}

TEST(CountProgressMaximum, SixteenBitSumOfScannedKindsPlusOne) {
    ProjectFileLists lists;
    lists.FormCount = 3;
    lists.ModuleCount = 32767; // not scanned, not added
    lists.ClassModuleCount = 32767;
    lists.UserControlCount = 2;
    lists.PropertyPageCount = 1;
    EXPECT_EQ(CountProgressMaximum(lists), 7);

    const auto overflow = [](vb::Int16 userControls, vb::Int16 forms, vb::Int16 pages) {
        ProjectFileLists l;
        l.UserControlCount = userControls;
        l.FormCount = forms;
        l.PropertyPageCount = pages;
        try {
            return CountProgressMaximum(l) == 32767 ? 0 : -1;
        } catch (const vb::RuntimeError& e) {
            return e.number();
        }
    };
    EXPECT_EQ(overflow(32766, 0, 0), 0);
    EXPECT_EQ(overflow(10000, 12766, 10000), 0);
    EXPECT_EQ(overflow(32767, 0, 0), vb::err::Overflow);
    EXPECT_EQ(overflow(0, 32767, 0), vb::err::Overflow);
    EXPECT_EQ(overflow(0, 0, 32767), vb::err::Overflow);
    EXPECT_EQ(overflow(20000, 20000, 0), vb::err::Overflow);
}

} // namespace

// The count stores no names for the members before the last, but passes the table's limits exactly where
// a scan that stores them does: 1,000 objects of one type count, the 1,001st (or a 101st type) is error 9
// naming its file, whichever member it is in.
TEST(CountProjectObjects, LimitsHoldWithoutStoringNames) {
    TempDir dir;
    const auto form = [](int types, int namesOfFirst) {
        std::string text = "Begin VB.Form frm \r\n";
        for (int k = 0; k < namesOfFirst; ++k)
            text += "   Begin VB.Label lbl" + std::to_string(k) + " \r\n   End\r\n";
        for (int t = 1; t < types; ++t)
            text += "   Begin Typ" + std::to_string(t) + ".X x \r\n   End\r\n";
        return text + "End\r\nAttribute VB_Name = \"frm\"\r\n";
    };
    dir.write("Voll.frm", form(100, 1000));
    dir.write("Namen.frm", form(1, 1001));
    dir.write("Typen.frm", form(101, 1));
    dir.write("Klein.frm", form(2, 1));
    vbtest::WorkingDirectory inProject(dir.path());
    ObjectGroupTable table;
    ProjectFileLists lists;
    Set(lists, SourceKind::Form, {"Voll.frm", "Klein.frm"});
    EXPECT_EQ(Count(lists, table).total, 1099 + 2);
    EXPECT_EQ(vbtest::GroupsOf(table), (vbtest::Groups{{"VB.Label", {"lbl0"}}, {"Typ1.X", {"x"}}}));
    for (const std::string bad : {"Namen.frm", "Typen.frm"}) {
        Set(lists, SourceKind::Form, {"Klein.frm", bad, "Klein.frm"});
        try {
            Count(lists, table);
            ADD_FAILURE() << bad << " passed a limit without error";
        } catch (const vb::RuntimeError& e) {
            EXPECT_EQ(e.number(), vb::err::SubscriptOutOfRange);
            EXPECT_EQ(e.path(), bad);
        }
    }
}

#include "counter/scan_member_file.h"
#include "errors/runtime_error.h"
#include "table_view.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using counter::ObjectGroupTable;
using counter::ScanMemberFile;
using vbtest::Groups;
using vbtest::GroupsOf;
using vbtest::TempDir;

Groups Scan(std::string_view bytes) {
    TempDir dir;
    ObjectGroupTable table;
    ScanMemberFile(dir.write("m.frm", bytes), table);
    return GroupsOf(table);
}

// Scans and returns the error number; `table` keeps what the scan wrote before the error.
int ScanError(const std::string& path, ObjectGroupTable& table) {
    try {
        ScanMemberFile(path, table);
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.path(), path);
        return e.number();
    }
    return 0;
}

// Every slot beyond GroupCount is empty.
void ExpectUnusedSlotsEmpty(const ObjectGroupTable& table) {
    for (std::size_t k = static_cast<std::size_t>(table.GroupCount); k < table.Groups.size(); ++k) {
        EXPECT_EQ(table.Groups[k].NameCount, 0) << "group slot " << k + 1;
        EXPECT_TRUE(table.Groups[k].Names.empty()) << "group slot " << k + 1;
    }
    for (std::size_t k = static_cast<std::size_t>(table.GroupCount); k < table.GroupTypes.size(); ++k)
        EXPECT_EQ(table.GroupTypes[k], "") << "type slot " << k + 1;
}

TEST(ScanMemberFile, WorkedExampleGroupsByFirstAppearance) {
    const auto groups = Scan("VERSION 5.00\r\n"
                             "Begin VB.Form frmHaupt \r\n"
                             "   Caption         =   \"Tallimar\"\r\n"
                             "   Begin VB.ListBox lstE1 \r\n"
                             "   End\r\n"
                             "   Begin VB.Label lblE1 \r\n"
                             "   End\r\n"
                             "   Begin VB.ListBox lstObj \r\n"
                             "   End\r\n"
                             "End\r\n"
                             "Attribute VB_Name = \"frmHaupt\"\r\n");
    EXPECT_EQ(groups, (Groups{{"VB.ListBox", {"lstE1", "lstObj"}}, {"VB.Label", {"lblE1"}}}));
}

TEST(ScanMemberFile, NestedControlsControlArraysAndMenus) {
    const auto groups = Scan("Begin VB.Form f \r\n"
                             "   Begin VB.Frame fraA \r\n"
                             "      Begin VB.PictureBox picB \r\n"
                             "\t\tBegin VB.CommandButton cmdX \r\n" // indentation of any kind
                             "         End\r\n"
                             "      End\r\n"
                             "   End\r\n"
                             "   Begin VB.CommandButton cmdX \r\n"
                             "      Index           =   1\r\n"
                             "   End\r\n"
                             "Begin VB.CommandButton cmdX \r\n"
                             "   Begin VB.Menu mnuDatei \r\n"
                             "      Begin VB.Menu mnuDateiEnde \r\n"
                             "      End\r\n"
                             "   End\r\n"
                             "End\r\n");
    EXPECT_EQ(groups, (Groups{{"VB.Frame", {"fraA"}},
                              {"VB.PictureBox", {"picB"}},
                              {"VB.CommandButton", {"cmdX", "cmdX", "cmdX"}},
                              {"VB.Menu", {"mnuDatei", "mnuDateiEnde"}}}));
}

TEST(ScanMemberFile, OnlyTheOwnDeclarationOfAFormIsLeftOut) {
    EXPECT_EQ(Scan("Begin VB.Form frmLeer \r\nEnd\r\nAttribute VB_Name = \"frmLeer\"\r\n"), Groups{});
    EXPECT_EQ(Scan("Begin VB.MDIForm mdiRahmen \r\nEnd\r\n"), (Groups{{"VB.MDIForm", {"mdiRahmen"}}}));
    EXPECT_EQ(
        Scan("VERSION 5.00\r\nBegin VB.UserControl Ampel \r\n   Begin VB.Timer tmr \r\n   End\r\nEnd\r\n"),
        (Groups{{"VB.UserControl", {"Ampel"}}, {"VB.Timer", {"tmr"}}}));
    EXPECT_EQ(Scan("Begin VB.PropertyPage Seite \r\nEnd\r\n"), (Groups{{"VB.PropertyPage", {"Seite"}}}));
    // Exactly "VB.Form": other spellings are ordinary types.
    EXPECT_EQ(Scan("Begin VB.Formular a\r\nBegin vb.Form b\r\nBegin VB.Form\r\n"),
              (Groups{{"VB.Formular", {"a"}}, {"vb.Form", {"b"}}}));
}

TEST(ScanMemberFile, LinesWithoutBeginAndBlankDeclareNothing) {
    EXPECT_EQ(Scan("VERSION 1.0 CLASS\r\n"
                   "BEGIN\r\n"
                   "  MultiUse = -1  'True\r\n"
                   "END\r\n"
                   "Attribute VB_Name = \"Kunde\"\r\n"),
              Groups{});
    EXPECT_EQ(Scan("   BeginProperty Font \r\n"
                   "      Name            =   \"MS Sans Serif\"\r\n"
                   "   EndProperty\r\n"
                   "   Caption = \"Beginn der Arbeitszeit\"\r\n"
                   "   begin VB.Label a\r\n"
                   "   BEGIN VB.Label b\r\n"
                   "   Begin\tVB.Label c\r\n"
                   "   Begin\r\n"
                   "   End\r\n"),
              Groups{});
    EXPECT_EQ(Scan(""), Groups{});
    EXPECT_EQ(Scan("Attribute VB_Name = \"Werkzeuge\"\r\nPublic Sub Main()\r\n' Begin VB.Label x\r\n"),
              Groups{});
}

TEST(ScanMemberFile, BeginInsideAPropertyValueCountsAsTheRulesSay) {
    const auto groups = Scan("Begin VB.Form f \r\n"
                             "   Caption         =   \"Begin Sie hier\"\r\n"
                             "   Tag             =   \"Begin Jetzt\"\r\n" // no blank after the type text
                             "   ToolTipText     =   \"Neu\" Begin \r\n"  // "Begin " ends the line
                             "End\r\n");
    EXPECT_EQ(groups,
              (Groups{{"Sie", {"hier\""}}, {"Jetzt\"", {""}}, {"", {"ToolTipText     =   \"Neu\" Begin"}}}));
}

TEST(ScanMemberFile, NameFollowsTheFirstOccurrenceOfTheTypeText) {
    // The type text also stands earlier in the line: the name is cut after that first occurrence.
    EXPECT_EQ(Scan("x VB.Label Begin VB.Label lblX\r\n"), (Groups{{"VB.Label", {"Begin VB.Label lblX"}}}));
    // Type "e" first occurs inside "Begin" itself.
    EXPECT_EQ(Scan("Begin e Knopf\r\n"), (Groups{{"e", {"in e Knopf"}}}));
    // Two blanks after "Begin": empty type text, found at position 1, so the name runs from character 2.
    EXPECT_EQ(Scan("Begin  Doppelt\r\n   Begin  X \r\n"), (Groups{{"", {"egin  Doppelt", "Begin  X"}}}));
    // Without a blank after the type text the name would start past the line's end: empty.
    EXPECT_EQ(Scan("Begin VB.Label\r\nBegin VB.Label\tlblTab\r\n"),
              (Groups{{"VB.Label", {""}}, {"VB.Label\tlblTab", {""}}}));
}

TEST(ScanMemberFile, NameLosesOuterBlanksButKeepsTabs) {
    EXPECT_EQ(Scan("Begin VB.Label lbl1   \r\n"
                   "Begin VB.Label    lbl2\r\n"
                   "Begin VB.Label \tlbl3\t \r\n"
                   "Begin VB.Label Zwei Worte \r\n"
                   "Begin VB.Label \r\n"
                   "Begin VB.Label lblGr\xF6\xDF\x65\r\n"),
              (Groups{{"VB.Label", {"lbl1", "lbl2", "\tlbl3\t", "Zwei Worte", "", "lblGr\xF6\xDF\x65"}}}));
}

TEST(ScanMemberFile, TypeTextsThatDifferInCaseAreSeparateGroups) {
    EXPECT_EQ(Scan("Begin VB.Label a\r\nBegin VB.LABEL b\r\nBegin vb.label c\r\nBegin VB.Label d\r\n"),
              (Groups{{"VB.Label", {"a", "d"}}, {"VB.LABEL", {"b"}}, {"vb.label", {"c"}}}));
}

TEST(ScanMemberFile, StopsAfterTheFirstAttributeLine) {
    std::string afterStop = "Begin VB.Label spaet\r\n";
    for (int k = 1; k <= 150; ++k) // would pass the type limit if it were read
        afterStop += "Begin T" + std::to_string(k) + " x\r\n";
    EXPECT_EQ(Scan("Begin VB.Label a\r\n"
                   "attribute Begin VB.Label b\r\n"  // small letters: no stop
                   " Attribute Begin VB.Label c\r\n" // not in the first column: no stop
                   "Attribute Begin VB.Label d\r\n"  // scanned, then the stop
                   + afterStop),
              (Groups{{"VB.Label", {"a", "b", "c", "d"}}}));
    // The first nine characters decide.
    EXPECT_EQ(Scan("AttributeX\nBegin VB.Label a\n"), Groups{});
    EXPECT_EQ(Scan("Attribut\nBegin VB.Label a\n"), (Groups{{"VB.Label", {"a"}}}));
}

TEST(ScanMemberFile, WithoutAttributeEveryLineIsReadWhateverItsEnd) {
    EXPECT_EQ(Scan("Begin VB.Label a\rBegin VB.Label b\nBegin VB.Label c\r\n\r\nBegin VB.Label d"),
              (Groups{{"VB.Label", {"a", "b", "c", "d"}}}));
}

TEST(ScanMemberFile, HundredTypesAndThousandNamesFit) {
    TempDir dir;
    std::string bytes;
    for (int k = 1; k <= counter::kMaxGroups; ++k)
        bytes += "Begin T" + std::to_string(k) + " n\r\n";
    for (int k = 2; k <= counter::kMaxNames; ++k)
        bytes += "Begin T1 n" + std::to_string(k) + "\r\n";
    ObjectGroupTable table;
    ScanMemberFile(dir.write("voll.frm", bytes), table);
    EXPECT_EQ(table.GroupCount, 100);
    EXPECT_EQ(table.GroupTypes[99], "T100");
    EXPECT_EQ(table.Groups[0].NameCount, 1000);
    EXPECT_EQ(table.Groups[0].Names[999], "n1000");
    EXPECT_EQ(table.ObjectCount(), 1099);
}

TEST(ScanMemberFile, PastALimitIsError9AndNothingIsWrittenThere) {
    TempDir dir;
    std::string types;
    for (int k = 1; k <= 101; ++k)
        types += "Begin T" + std::to_string(k) + " n\r\n";
    ObjectGroupTable table;
    EXPECT_EQ(ScanError(dir.write("typen.frm", types), table), vb::err::SubscriptOutOfRange);
    EXPECT_EQ(table.GroupCount, 100);
    EXPECT_LE(table.Groups.size(), 100u);
    EXPECT_LE(table.GroupTypes.size(), 100u);

    std::string names = "Begin VB.Label a\r\n";
    for (int k = 1; k <= 1001; ++k)
        names += "Begin VB.TextBox t" + std::to_string(k) + "\r\n";
    EXPECT_EQ(ScanError(dir.write("namen.frm", names), table), vb::err::SubscriptOutOfRange);
    EXPECT_EQ(GroupsOf(table).size(), 2u);
    EXPECT_EQ(table.Groups[1].NameCount, 1000);
    EXPECT_EQ(table.Groups[1].Names.size(), 1000u);
    EXPECT_EQ(table.Groups[1].Names.back(), "t1000");
}

TEST(ScanMemberFile, OpensTheEntryRelativeToTheWorkingDirectory) {
    TempDir dir;
    dir.write("Formulare/Dialog.frm", "Begin VB.Label lbl\r\n");
    vbtest::WorkingDirectory inProject(dir.path());
    ObjectGroupTable table;
    ScanMemberFile("Formulare\\Dialog.frm", table);
    EXPECT_EQ(GroupsOf(table), (Groups{{"VB.Label", {"lbl"}}}));
    EXPECT_EQ(ScanError("Fehlt.frm", table), vb::err::FileNotFound);
    EXPECT_EQ(table.GroupCount, 0) << "the reset comes before the file is opened";
    EXPECT_EQ(ScanError("Fehlt\\Dialog.frm", table), vb::err::PathNotFound);
}

TEST(ScanMemberFile, AfterResetRunsBetweenResetAndOpening) {
    TempDir dir;
    ObjectGroupTable table;
    ScanMemberFile(dir.write("alt.frm", "Begin VB.Label alt\r\n"), table);
    const std::string path = dir.file("neu.frm");
    int calls = 0;
    ScanMemberFile(path, table, [&] {
        ++calls;
        EXPECT_EQ(table.GroupCount, 0);
        EXPECT_EQ(table.ObjectCount(), 0);
        vbtest::WriteBytes(path, "Begin VB.Timer tmr\r\n"); // exists only from here on
    });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(GroupsOf(table), (Groups{{"VB.Timer", {"tmr"}}}));
}

TEST(ObjectGroupTable, ResetLeavesNoTraceOfABiggerScan) {
    TempDir dir;
    ObjectGroupTable table;
    ScanMemberFile(
        dir.write("gross.frm",
                  "Begin X.A a1\r\nBegin X.B b1\r\nBegin X.A a2\r\nBegin X.C c1\r\nBegin X.A a3\r\n"),
        table);
    ASSERT_EQ(table.ObjectCount(), 5);
    ScanMemberFile(dir.write("klein.frm", "Begin X.B x\r\n"), table);
    EXPECT_EQ(GroupsOf(table), (Groups{{"X.B", {"x"}}}));
    EXPECT_EQ(table.ObjectCount(), 1);
    ExpectUnusedSlotsEmpty(table);
    table.Reset();
    EXPECT_EQ(table.GroupCount, 0);
    EXPECT_EQ(table.ObjectCount(), 0);
    ExpectUnusedSlotsEmpty(table);
    ScanMemberFile(dir.write("leer.frm", ""), table);
    EXPECT_EQ(table.ObjectCount(), 0);
}

TEST(ScanMemberFile, LeavesNoFileOpen) {
    const auto openFiles = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                             std::filesystem::directory_iterator{});
    };
    TempDir dir;
    const auto before = openFiles();
    ObjectGroupTable table;
    ScanMemberFile(dir.write("a.frm", "Begin VB.Label a\r\nAttribute VB_Name = \"a\"\r\nCode\r\n"), table);
    ScanMemberFile(dir.write("b.frm", "Begin VB.Label b\r\n"), table);
    std::string tooMany;
    for (int k = 1; k <= 101; ++k)
        tooMany += "Begin T" + std::to_string(k) + " n\r\n";
    EXPECT_EQ(ScanError(dir.write("c.frm", tooMany), table), vb::err::SubscriptOutOfRange);
    EXPECT_EQ(openFiles(), before);
}

} // namespace

namespace {

// The lookup and the views read the groups in use only: emptied slots after a reset are no groups, even
// for the empty type text they hold, and a count beyond the slots is error 9, not a read.
TEST(ObjectGroupTable, LookupAndViewsSeeOnlyTheGroupsInUse) {
    TempDir dir;
    ObjectGroupTable table;
    ScanMemberFile(dir.write("m.frm", "Begin VB.Label a \r\nBegin vb.label b \r\nBegin VB.Label c \r\n"),
                   table);
    EXPECT_EQ(std::vector<std::string>(table.TypesInUse().begin(), table.TypesInUse().end()),
              (std::vector<std::string>{"VB.Label", "vb.label"}));
    ASSERT_NE(table.GroupOfType("VB.Label"), nullptr);
    const auto names = table.GroupOfType("VB.Label")->NamesInUse();
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.end()), (std::vector<std::string>{"a", "c"}));
    ASSERT_NE(table.GroupOfType("vb.label"), nullptr);
    EXPECT_EQ(table.GroupOfType("vb.label")->NameCount, 1);
    EXPECT_EQ(table.GroupOfType("VB.Labe"), nullptr);

    table.Reset();
    EXPECT_EQ(table.GroupOfType(""), nullptr);
    EXPECT_TRUE(table.TypesInUse().empty());

    table.GroupCount = static_cast<vb::Int16>(table.GroupTypes.size() + 1);
    try {
        table.TypesInUse();
        ADD_FAILURE() << "a count beyond the slots was read";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.number(), vb::err::SubscriptOutOfRange);
    }
}

} // namespace

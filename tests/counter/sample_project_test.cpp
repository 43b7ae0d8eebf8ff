#include "counter/count_project_objects.h"
#include "counter/scan_member_file.h"
#include "project/read_project_file.h"
#include "table_view.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

using counter::ObjectGroupTable;
using vbtest::Groups;
using vbtest::GroupsOf;

const std::filesystem::path kProject = std::filesystem::path(VB_EXAMPLES_DIR) / "Beispiel";

TEST(SampleProject, FilesKeepTheirWindowsBytes) {
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kProject)) {
        if (!entry.is_regular_file())
            continue;
        ++files;
        const std::string bytes = vbtest::ReadBytes(entry.path().string());
        ASSERT_FALSE(bytes.empty()) << entry.path();
        EXPECT_TRUE(bytes.ends_with("\r\n")) << entry.path();
        for (std::size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1))
            ASSERT_TRUE(at > 0 && bytes[at - 1] == '\r') << entry.path() << " has a line feed alone";
    }
    EXPECT_EQ(files, 8);
    // "Kundenübersicht" with ü as the single Windows-1252 byte 0xFC.
    EXPECT_NE(vbtest::ReadBytes((kProject / "Hauptfenster.frm").string())
                  .find("Kunden\xFC"
                        "bersicht"),
              std::string::npos);
}

TEST(SampleProject, AllObjectsCountMatchesTheHandCount) {
    vbtest::WorkingDirectory inProject(kProject);
    const auto lists = vb::ReadProjectFile("Beispiel.vbp");
    EXPECT_EQ(lists.Forms,
              (std::vector<std::string>{"Rahmen.frm", "Hauptfenster.frm", "Formulare\\Einstellungen.frm"}));
    EXPECT_EQ(counter::CountProgressMaximum(lists), 6);

    ObjectGroupTable table;
    std::vector<std::pair<std::string, std::int32_t>> members;
    const auto total = counter::CountProjectObjects(
        lists, table, [&](const counter::MemberObjects& m) { members.emplace_back(m.entry, m.objects); });
    EXPECT_EQ(members, (std::vector<std::pair<std::string, std::int32_t>>{{"Rahmen.frm", 5},
                                                                          {"Hauptfenster.frm", 17},
                                                                          {"Formulare\\Einstellungen.frm", 9},
                                                                          {"Ampel.ctl", 5},
                                                                          {"AmpelAllgemein.pag", 4}}));
    EXPECT_EQ(total, 40);
}

TEST(SampleProject, MemberFilesAsTheBrowserShowsThem) {
    vbtest::WorkingDirectory inProject(kProject);
    ObjectGroupTable table;
    counter::ScanMemberFile("Hauptfenster.frm", table);
    EXPECT_EQ(GroupsOf(table), (Groups{{"VB.Frame", {"fraAnschrift"}},
                                       {"VB.TextBox", {"txtStrasse", "txtOrt"}},
                                       {"VB.Label", {"lblStrasse", "lblOrt"}},
                                       {"VB.CommandButton", {"cmdAktion", "cmdAktion", "cmdAktion"}},
                                       {"MSComctlLib.ListView", {"lvwKunden"}},
                                       {"MSComctlLib.StatusBar", {"sbrStatus"}},
                                       {"Beispiel.Ampel", {"ampStatus"}},
                                       {"VB.Menu",
                                        {"mnuDatei", "mnuDateiOeffnen", "mnuDateiTrenner", "mnuDateiBeenden",
                                         "mnuHilfe", "mnuHilfeInfo"}}}));
    counter::ScanMemberFile("Formulare\\Einstellungen.frm", table);
    EXPECT_EQ(GroupsOf(table), (Groups{{"VB.CheckBox", {"chkSpeichern"}},
                                       {"VB.Frame", {"fraAnsicht"}},
                                       {"VB.OptionButton", {"optAnsicht", "optAnsicht"}},
                                       {"VB.TextBox", {"txtBeginn"}},
                                       {"VB.CommandButton", {"cmdOK", "cmdAbbrechen"}},
                                       {"MSComDlg.CommonDialog", {"dlgDatei"}},
                                       {"VB.Label", {"lblBeginn"}}}));
    counter::ScanMemberFile("Rahmen.frm", table);
    EXPECT_EQ(GroupsOf(table),
              (Groups{{"VB.MDIForm", {"mdiRahmen"}},
                      {"VB.PictureBox", {"picLeiste"}},
                      {"VB.Menu", {"mnuFenster", "mnuFensterUntereinander", "mnuFensterNebeneinander"}}}));
    counter::ScanMemberFile("Werkzeuge.bas", table);
    EXPECT_EQ(table.GroupCount, 0);
    counter::ScanMemberFile("Kunde.cls", table);
    EXPECT_EQ(table.GroupCount, 0);
}

} // namespace

// Every command's output on the sample project, whose objects examples/README.md counts by hand.

#include "run_program.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>

namespace {

using clitest::RunVbprojekt;
using clitest::SampleProject;
using nlohmann::json;

// Runs a command that must succeed silently and returns its standard output.
std::string Output(const std::vector<std::string>& args, const clitest::RunOptions& options = {}) {
    const auto result = RunVbprojekt(args, options);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    return result.out;
}

TEST(SampleProject, MembersPlainAndJson) {
    EXPECT_EQ(Output({"members", SampleProject()}), "Formulare\t3\n"
                                                    "Formulare\t1\tRahmen.frm\n"
                                                    "Formulare\t2\tHauptfenster.frm\n"
                                                    "Formulare\t3\tFormulare\\Einstellungen.frm\n"
                                                    "Module\t1\n"
                                                    "Module\t1\tWerkzeuge.bas\n"
                                                    "Klassenmodule\t1\n"
                                                    "Klassenmodule\t1\tKunde.cls\n"
                                                    "Benutzersteuerelemente\t1\n"
                                                    "Benutzersteuerelemente\t1\tAmpel.ctl\n"
                                                    "Eigenschaftenseiten\t1\n"
                                                    "Eigenschaftenseiten\t1\tAmpelAllgemein.pag\n");
    const json expected = json::parse(R"({"groups": [
        {"kind": "Form", "group": "Formulare", "count": 3,
         "entries": ["Rahmen.frm", "Hauptfenster.frm", "Formulare\\Einstellungen.frm"]},
        {"kind": "Module", "group": "Module", "count": 1, "entries": ["Werkzeuge.bas"]},
        {"kind": "ClassModule", "group": "Klassenmodule", "count": 1, "entries": ["Kunde.cls"]},
        {"kind": "UserControl", "group": "Benutzersteuerelemente", "count": 1, "entries": ["Ampel.ctl"]},
        {"kind": "PropertyPage", "group": "Eigenschaftenseiten", "count": 1, "entries": ["AmpelAllgemein.pag"]}
    ]})");
    EXPECT_EQ(json::parse(Output({"members", "--json", SampleProject()})), expected);
}

TEST(SampleProject, CountPlainAndJson) {
    EXPECT_EQ(Output({"count", SampleProject()}), "5\tFormulare\tRahmen.frm\n"
                                                  "17\tFormulare\tHauptfenster.frm\n"
                                                  "9\tFormulare\tFormulare\\Einstellungen.frm\n"
                                                  "5\tBenutzersteuerelemente\tAmpel.ctl\n"
                                                  "4\tEigenschaftenseiten\tAmpelAllgemein.pag\n"
                                                  "40\tGesamt\n");
    const json expected = json::parse(R"({"total": 40, "members": [
        {"kind": "Form", "group": "Formulare", "entry": "Rahmen.frm", "objects": 5},
        {"kind": "Form", "group": "Formulare", "entry": "Hauptfenster.frm", "objects": 17},
        {"kind": "Form", "group": "Formulare", "entry": "Formulare\\Einstellungen.frm", "objects": 9},
        {"kind": "UserControl", "group": "Benutzersteuerelemente", "entry": "Ampel.ctl", "objects": 5},
        {"kind": "PropertyPage", "group": "Eigenschaftenseiten", "entry": "AmpelAllgemein.pag", "objects": 4}
    ]})");
    EXPECT_EQ(json::parse(Output({"count", SampleProject(), "--json"})), expected);
}

TEST(SampleProject, ObjectsPlainListsEveryObjectInCountOrder) {
    const std::string out = Output({"objects", SampleProject()});
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 40); // one record per object: the all-objects count
    EXPECT_TRUE(out.starts_with("Formulare\tRahmen.frm\tVB.MDIForm\tmdiRahmen\n"));
    EXPECT_NE(out.find("Formulare\tFormulare\\Einstellungen.frm\tVB.OptionButton\toptAnsicht\n"),
              std::string::npos);
    EXPECT_TRUE(out.ends_with("Eigenschaftenseiten\tAmpelAllgemein.pag\tVB.Label\tlblIntervall\n"));
}

TEST(SampleProject, ObjectsOfNamedEntriesInTheOrderGiven) {
    EXPECT_EQ(Output({"objects", SampleProject(), "Ampel.ctl", "Rahmen.frm", "Werkzeuge.bas"}),
              "Benutzersteuerelemente\tAmpel.ctl\tVB.UserControl\tAmpel\n"
              "Benutzersteuerelemente\tAmpel.ctl\tVB.Timer\ttmrBlinken\n"
              "Benutzersteuerelemente\tAmpel.ctl\tVB.Shape\tshpLicht\n"
              "Benutzersteuerelemente\tAmpel.ctl\tVB.Shape\tshpLicht\n"
              "Benutzersteuerelemente\tAmpel.ctl\tVB.Shape\tshpLicht\n"
              "Formulare\tRahmen.frm\tVB.MDIForm\tmdiRahmen\n"
              "Formulare\tRahmen.frm\tVB.PictureBox\tpicLeiste\n"
              "Formulare\tRahmen.frm\tVB.Menu\tmnuFenster\n"
              "Formulare\tRahmen.frm\tVB.Menu\tmnuFensterUntereinander\n"
              "Formulare\tRahmen.frm\tVB.Menu\tmnuFensterNebeneinander\n");
}

TEST(SampleProject, ObjectsJsonGroupsNamesByType) {
    const json doc = json::parse(
        Output({"objects", "--json", SampleProject(), "Formulare\\Einstellungen.frm", "Kunde.cls"}));
    const json expected = json::parse(R"({"members": [
        {"kind": "Form", "group": "Formulare", "entry": "Formulare\\Einstellungen.frm", "objects": 9, "types": [
            {"type": "VB.CheckBox", "count": 1, "names": ["chkSpeichern"]},
            {"type": "VB.Frame", "count": 1, "names": ["fraAnsicht"]},
            {"type": "VB.OptionButton", "count": 2, "names": ["optAnsicht", "optAnsicht"]},
            {"type": "VB.TextBox", "count": 1, "names": ["txtBeginn"]},
            {"type": "VB.CommandButton", "count": 2, "names": ["cmdOK", "cmdAbbrechen"]},
            {"type": "MSComDlg.CommonDialog", "count": 1, "names": ["dlgDatei"]},
            {"type": "VB.Label", "count": 1, "names": ["lblBeginn"]}]},
        {"kind": "ClassModule", "group": "Klassenmodule", "entry": "Kunde.cls", "objects": 0, "types": []}
    ]})");
    EXPECT_EQ(doc, expected);
    // Without entries every scanned member is there, also in JSON, with the hand counts.
    const json all = json::parse(Output({"objects", "--json", SampleProject()}));
    ASSERT_EQ(all["members"].size(), 5u);
    EXPECT_EQ(all["members"][1]["entry"], "Hauptfenster.frm");
    EXPECT_EQ(all["members"][1]["objects"], 17);
}

TEST(SampleProject, MembersAreFoundFromTheProjectFolderWhateverTheWorkingDirectory) {
    const std::filesystem::path project(SampleProject());
    const std::string expected = Output({"count", SampleProject()});
    // A relative project path from the folder above, and the bare file name from the project's folder.
    EXPECT_EQ(Output({"count", "Beispiel/Beispiel.vbp"},
                     clitest::InFolder(project.parent_path().parent_path().string())),
              expected);
    EXPECT_EQ(Output({"count", "Beispiel.vbp"}, clitest::InFolder(project.parent_path().string())), expected);
}

TEST(SampleProject, HelpAndVersion) {
    EXPECT_EQ(Output({"--version"}), "vbprojekt 1.2.0\n");
    const std::string help = Output({"--help"});
    for (const char* word : {"members", "objects", "count", "merge", "--json", "Exit-Status"})
        EXPECT_NE(help.find(word), std::string::npos) << word;
    EXPECT_NE(Output({"merge", "--help"}).find("--code-only"), std::string::npos);
}

} // namespace

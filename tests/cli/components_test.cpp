// What projects need from outside: the components their project files and form heads name, which
// component provides each library (decided over the whole run), and what a maintainer must be told.

#include "run_program.h"
#include "temp_dir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using clitest::InFolder;
using clitest::RunResult;
using clitest::RunVbprojekt;

constexpr std::string_view kListView = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}";
constexpr std::string_view kDialog = "{F9043C88-F6F2-101A-A3C9-08002B2F49FB}";

// A form whose head names `objects` (lines after "Object = ") and which declares `controls` (type and
// name) inside itself.
std::string Form(std::string_view version, std::initializer_list<std::string_view> objects,
                 std::initializer_list<std::string_view> controls, std::string_view lineEnd = "\r\n") {
    std::string text = "VERSION " + std::string(version) + std::string(lineEnd);
    for (const std::string_view object : objects)
        text += "Object = " + std::string(object) + std::string(lineEnd);
    text += "Begin VB.Form F" + std::string(lineEnd);
    for (const std::string_view control : controls)
        text += "   Begin " + std::string(control) + std::string(lineEnd) + "   End" + std::string(lineEnd);
    text += "End" + std::string(lineEnd) + "Attribute VB_Name = \"F\"" + std::string(lineEnd);
    return text;
}

std::string Head(std::string_view guid, std::string_view version, std::string_view file) {
    return "\"" + std::string(guid) + "#" + std::string(version) + "#0\"; \"" + std::string(file) + "\"";
}

// An estate of three projects:
//   alpha/Alpha.vbp  Name "Alpha": its own user control Knopf used by its form; the list view control in
//                    version 2.0, a dialog control no member uses, a type library reference; a form whose
//                    head names the list view and a control the project file lacks (Extra, in lower-case
//                    GUID), a second form naming only the list view (so the list view's library is linked
//                    first and Extra's next), a VERSION 4.00 form without a head, a missing form
//   beta/Beta.vbp    LF line ends; the list view in version 2.1 (a conflict), Alpha's user controls
//                    named by its project file (used, though no head names it); a form naming the list view
//                    and one more control, and declaring types of two libraries besides the list view's (a
//                    tie: both want it)
//   gamma/Gamma.vbp  fails: its project file is not there
struct Estate {
    vbtest::TempDir dir;
    Estate() {
        dir.write("alpha/Alpha.vbp",
                  "Type=Exe\r\n"
                  "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#..\\..\\WINDOWS\\system32\\"
                  "stdole2.tlb#OLE Automation\r\n"
                  "Object=" +
                      std::string(kListView) +
                      "#2.0#0; MSCOMCTL.OCX\r\n"
                      "Object=" +
                      std::string(kDialog) +
                      "#1.2#0; COMDLG32.OCX\r\n"
                      "Form=Haupt.frm\r\nForm=Liste.frm\r\nForm=Alt.frm\r\nForm=Fehlt.frm\r\n"
                      "UserControl=Knopf.ctl\r\nName=\"Alpha\"\r\n");
        dir.write("alpha/Haupt.frm",
                  Form("5.00",
                       {Head(kListView, "2.0", "MSCOMCTL.OCX"),
                        Head("{0e59f1d2-1fbe-11d0-8ff2-00a0d10038bc}", "1.0", "extra.ocx")},
                       {"MSComctlLib.ListView lv", "MSComctlLib.StatusBar sb", "ExtraLib.Gitter g",
                        "Alpha.Knopf k1", "alpha.Knopf k2", "VB.Label l"}));
        dir.write("alpha/Liste.frm",
                  Form("5.00", {Head(kListView, "2.0", "MSCOMCTL.OCX")}, {"MSComctlLib.TreeView tv"}));
        dir.write("alpha/Alt.frm", Form("4.00", {}, {"MSComctlLib.ListView alt", "AltLib.Ding d"}));
        dir.write("alpha/Knopf.ctl", "VERSION 5.00\r\nBegin VB.UserControl Knopf\r\n   Begin VB.Shape s\r\n"
                                     "   End\r\nEnd\r\nAttribute VB_Name = \"Knopf\"\r\n");
        dir.write("beta/Beta.vbp", "Type=Exe\n"
                                   "Object=" +
                                       std::string(kListView) +
                                       "#2.1#0; MSCOMCTL.OCX\n"
                                       "Object=*\\A..\\alpha\\Alpha.vbp\n"
                                       "Form=Zwei.frm\nForm=Knoepfe.frm\nName=\"Beta\"\n");
        dir.write("beta/Zwei.frm", Form("5.00",
                                        {Head(kListView, "2.1", "MSCOMCTL.OCX"),
                                         Head("{11111111-2222-3333-4444-555555555555}", "1.0", "EINS.OCX")},
                                        {"MSComctlLib.ListView lv", "EinsLib.A a", "ZweiLib.B b"}, "\n"));
        dir.write("beta/Knoepfe.frm", Form("5.00", {}, {"Alpha.Knopf k"}, "\n"));
    }
    RunResult run(std::vector<std::string> args) const { return RunVbprojekt(args, InFolder(dir.path())); }
};

TEST(Components, OneProjectItsInventoryLinksAndFindings) {
    const Estate estate;
    const RunResult result = estate.run({"components", "alpha/Alpha.vbp"});
    EXPECT_EQ(result.status, 1) << "a member is missing";
    EXPECT_EQ(result.err, "vbprojekt: Laufzeitfehler 53: Datei nicht gefunden: alpha/Fehlt.frm\n");
    EXPECT_EQ(
        result.out,
        "Komponente\t{F9043C88-F6F2-101A-A3C9-08002B2F49FB}\t1.2\tCOMDLG32.OCX\t\t\t1\t0\t0\tunbenutzt\n"
        "Komponente\t{0E59F1D2-1FBE-11D0-8FF2-00A0D10038BC}\t1.0\textra.ocx\t\tExtraLib\t1\t1\t1\t"
        "nicht im Projekt\n"
        "Komponente\t{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}\t2.0\tMSCOMCTL.OCX\t\tMSComctlLib\t1\t2\t4\t\n"
        "Verweis\t{00020430-0000-0000-C000-000000000046}\t2.0\tstdole2.tlb\tOLE Automation\t\t1\t0\t0\t\n"
        "Bibliothek\tAlpha\talpha/Alpha.vbp\tProjekt\t2\t1\t1\n"
        "Bibliothek\tAltLib\t\tnicht zugeordnet\t1\t1\t1\n"
        "Bibliothek\tExtraLib\t{0E59F1D2-1FBE-11D0-8FF2-00A0D10038BC}\tabgeleitet\t1\t1\t1\n"
        "Bibliothek\tMSComctlLib\t{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}\tabgeleitet\t4\t3\t1\n"
        "unbenutzt\tKomponente\t{F9043C88-F6F2-101A-A3C9-08002B2F49FB}\tCOMDLG32.OCX\n"
        "nicht im Projekt\tKomponente\t{0E59F1D2-1FBE-11D0-8FF2-00A0D10038BC}\textra.ocx\tHaupt.frm\n"
        "nicht zugeordnet\tAltLib\t1\t1\n"
        "fehlt\tFehlt.frm\t53\tDatei nicht gefunden: alpha/Fehlt.frm\n");
}

TEST(Components, AnEstateDerivesOverAllProjectsTheSameBytesWhateverTheThreads) {
    const Estate estate;
    const RunResult result = estate.run({"components", "--jobs", "1", "alpha", "beta", "gamma/Gamma.vbp"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "vbprojekt: Laufzeitfehler 53: Datei nicht gefunden: alpha/Fehlt.frm\n");
    const std::string kListViewVersions =
        "Versionen\tKomponente\t{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}\tMSCOMCTL.OCX\t";
    EXPECT_EQ(
        result.out,
        "alpha/Alpha.vbp\tunbenutzt\tKomponente\t{F9043C88-F6F2-101A-A3C9-08002B2F49FB}\tCOMDLG32.OCX\n"
        "alpha/Alpha.vbp\tnicht im Projekt\tKomponente\t{0E59F1D2-1FBE-11D0-8FF2-00A0D10038BC}\t"
        "extra.ocx\tHaupt.frm\n"
        "alpha/Alpha.vbp\t" +
            kListViewVersions +
            "2.0\tProjektdatei\t2.0, 2.1\n"
            "alpha/Alpha.vbp\t" +
            kListViewVersions +
            "2.0\tHaupt.frm\t2.0, 2.1\n"
            "alpha/Alpha.vbp\t" +
            kListViewVersions +
            "2.0\tListe.frm\t2.0, 2.1\n"
            "alpha/Alpha.vbp\tnicht zugeordnet\tAltLib\t1\t1\n"
            "alpha/Alpha.vbp\tfehlt\tFehlt.frm\t53\tDatei nicht gefunden: alpha/Fehlt.frm\n"
            "beta/Beta.vbp\tnicht im Projekt\tKomponente\t{11111111-2222-3333-4444-555555555555}\tEINS.OCX\t"
            "Zwei.frm\n"
            "beta/Beta.vbp\t" +
            kListViewVersions +
            "2.1\tProjektdatei\t2.0, 2.1\n"
            "beta/Beta.vbp\t" +
            kListViewVersions +
            "2.1\tZwei.frm\t2.0, 2.1\n"
            "beta/Beta.vbp\tnicht zugeordnet\tEinsLib\t1\t1\n"
            "beta/Beta.vbp\tnicht zugeordnet\tZweiLib\t1\t1\n"
            "gamma/Gamma.vbp\tFehler\t76\tPfad nicht gefunden: gamma/Gamma.vbp\n"
            "Komponente\t{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}\t2.0, "
            "2.1\tMSCOMCTL.OCX\t\tMSComctlLib\t2\t3\t5\t"
            "Versionen\n"
            "Projekt\t\t\t..\\alpha\\Alpha.vbp\t\tAlpha\t1\t0\t3\t\n"
            "Komponente\t{F9043C88-F6F2-101A-A3C9-08002B2F49FB}\t1.2\tCOMDLG32.OCX\t\t\t1\t0\t0\tunbenutzt\n"
            "Komponente\t{11111111-2222-3333-4444-555555555555}\t1.0\tEINS.OCX\t\t\t1\t1\t0\tnicht im "
            "Projekt\n"
            "Komponente\t{0E59F1D2-1FBE-11D0-8FF2-00A0D10038BC}\t1.0\textra.ocx\t\tExtraLib\t1\t1\t1\t"
            "nicht im Projekt\n"
            "Verweis\t{00020430-0000-0000-C000-000000000046}\t2.0\tstdole2.tlb\tOLE Automation\t\t1\t0\t0\t\n"
            "Bibliothek\tAlpha\talpha/Alpha.vbp\tProjekt\t3\t2\t2\n"
            "Bibliothek\tAltLib\t\tnicht zugeordnet\t1\t1\t1\n"
            "Bibliothek\tEinsLib\t\tnicht zugeordnet\t1\t1\t1\n"
            "Bibliothek\tExtraLib\t{0E59F1D2-1FBE-11D0-8FF2-00A0D10038BC}\tabgeleitet\t1\t1\t1\n"
            "Bibliothek\tMSComctlLib\t{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}\tabgeleitet\t5\t4\t2\n"
            "Bibliothek\tZweiLib\t\tnicht zugeordnet\t1\t1\t1\n");

    for (const bool json : {false, true}) {
        std::vector<std::string> args = {"components", "alpha", "gamma/Gamma.vbp", "beta"};
        if (json)
            args.push_back("--json");
        args.insert(args.end(), {"--jobs", "1"});
        const RunResult one = estate.run(args);
        args.back() = "2";
        const RunResult two = estate.run(args);
        EXPECT_EQ(one.out, two.out) << "json " << json;
        EXPECT_EQ(one.err, two.err);
    }
}

TEST(Components, ByProjectEachProjectsTableWithTheRunsLinks) {
    const Estate estate;
    const RunResult result = estate.run({"components", "--by-project", "--json", "beta", "alpha"});
    EXPECT_EQ(result.status, 1);
    const auto document = nlohmann::ordered_json::parse(result.out);
    const auto& beta = document["projects"][0];
    EXPECT_EQ(beta["project"], "beta/Beta.vbp");
    EXPECT_EQ(
        beta["libraries"].dump(),
        R"([{"library":"Alpha","component":"alpha/Alpha.vbp","derived":false,"objects":1,"members":1,)"
        R"("projects":1},{"library":"EinsLib","component":null,"derived":false,"objects":1,"members":1,)"
        R"("projects":1},{"library":"MSComctlLib","component":"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}",)"
        R"("derived":true,"objects":1,"members":1,"projects":1},{"library":"ZweiLib","component":null,)"
        R"("derived":false,"objects":1,"members":1,"projects":1}])");
    EXPECT_EQ(
        beta["components"][0].dump(),
        R"({"kind":"Projekt","guid":null,"versions":[],"file":"..\\alpha\\Alpha.vbp","description":null,)"
        R"("library":"Alpha","projects":1,"members":0,"objects":1,"findings":[]})");
    EXPECT_EQ(beta["findings"].size(), 5U);
    EXPECT_FALSE(document.contains("components")) << "no table for the whole run";
}

TEST(Components, DescriptionsInTheCodePageOfTheirFile) {
    vbtest::TempDir dir;
    dir.write("P.vbp", "Type=Exe\r\nReference=*\\G{abc}#1.0#0#C:\\x.tlb#\xC8\xF2\xEE\xE3\r\n");
    EXPECT_EQ(RunVbprojekt({"components", dir.file("P.vbp")}).out,
              "Verweis\t{ABC}\t1.0\tx.tlb\t\xC3\x88\xC3\xB2\xC3\xAE\xC3\xA3\t\t1\t0\t0\t\n");
    EXPECT_EQ(RunVbprojekt({"components", "--encoding", "CP1251", dir.file("P.vbp")}).out,
              "Verweis\t{ABC}\t1.0\tx.tlb\tИтог\t\t1\t0\t0\t\n");
}

} // namespace

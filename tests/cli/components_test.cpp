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
//                    through a project reference; a form naming two controls for two libraries (a tie)
//   gamma/Gamma.vbp  fails: its project file is not there
struct Estate {
    vbtest::TempDir dir;
    Estate() {
        dir.write("alpha/Alpha.vbp",
                  "Type=Exe\r\n"
                  "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#..\\..\\WINDOWS\\system32\\"
                  "stdole2.tlb#OLE Automation\r\n"
                  "Object=" + std::string(kListView) + "#2.0#0; MSCOMCTL.OCX\r\n"
                  "Object=" + std::string(kDialog) + "#1.2#0; COMDLG32.OCX\r\n"
                  "Form=Haupt.frm\r\nForm=Liste.frm\r\nForm=Alt.frm\r\nForm=Fehlt.frm\r\n"
                  "UserControl=Knopf.ctl\r\nName=\"Alpha\"\r\n");
        dir.write("alpha/Haupt.frm",
                  Form("5.00", {Head(kListView, "2.0", "MSCOMCTL.OCX"),
                                Head("{0e59f1d2-1fbe-11d0-8ff2-00a0d10038bc}", "1.0", "extra.ocx")},
                       {"MSComctlLib.ListView lv", "MSComctlLib.StatusBar sb", "ExtraLib.Gitter g",
                        "Alpha.Knopf k1", "alpha.Knopf k2", "VB.Label l"}));
        dir.write("alpha/Liste.frm", Form("5.00", {Head(kListView, "2.0", "MSCOMCTL.OCX")},
                                          {"MSComctlLib.TreeView tv"}));
        dir.write("alpha/Alt.frm", Form("4.00", {}, {"MSComctlLib.ListView alt", "AltLib.Ding d"}));
        dir.write("alpha/Knopf.ctl", "VERSION 5.00\r\nBegin VB.UserControl Knopf\r\n   Begin VB.Shape s\r\n"
                                     "   End\r\nEnd\r\nAttribute VB_Name = \"Knopf\"\r\n");
        dir.write("beta/Beta.vbp", "Type=Exe\n"
                                   "Object=" + std::string(kListView) + "#2.1#0; MSCOMCTL.OCX\n"
                                   "Reference=*\\A..\\alpha\\Alpha.vbp\n"
                                   "Form=Zwei.frm\nForm=Knoepfe.frm\nName=\"Beta\"\n");
        dir.write("beta/Zwei.frm", Form("5.00",
                                        {Head(kListView, "2.1", "MSCOMCTL.OCX"),
                                         Head("{11111111-2222-3333-4444-555555555555}", "1.0", "EINS.OCX"),
                                         Head("{66666666-7777-8888-9999-000000000000}", "1.0", "ZWEI.OCX")},
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
    EXPECT_EQ(result.out, "");
}

} // namespace

// procedures and declares over members as they come from the field: CR LF and LF, Windows-1252 and UTF-8
// names, the project's conditional compilation constants, a module two projects share.

#include "run_program.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

namespace {

using clitest::InFolder;
using clitest::RunResult;
using clitest::RunVbprojekt;

// estate/A/A.vbp (CR LF): Api.bas in Windows-1252, with CondComp; Haupt.frm with LF line ends.
// estate/B/B.vbp (LF): A's Api.bas, and Werkzeuge.bas in UTF-8 whose last procedure has no end.
struct CodeEstate {
    vbtest::TempDir dir;
    CodeEstate() {
        dir.write("estate/A/A.vbp", "Type=Exe\r\nForm=Haupt.frm\r\nModule=Api; Api.bas\r\n"
                                    "CondComp=\"NEU = 1 : ALT = 0\"\r\n");
        dir.write(
            "estate/A/Api.bas",
            "Attribute VB_Name = \"Api\"\r\n"
            "#If VBA7 Then\r\n"
            "Private Declare PtrSafe Function GetTickCount Lib \"kernel32\" () As LongLong\r\n"
            "#Else\r\n"
            "Private Declare Function GetTickCount Lib \"KERNEL32.DLL\" () As Long\r\n"
            "#End If\r\n"
            "Public Declare Function MsgBox Lib \"user32\" Alias \"MessageBoxA\" (ByVal h As Long) _\r\n"
            "  As Long\r\n"
            "Function Gr\xF6\xDF"
            "e(ByVal a As Long) As Long\r\n"
            "#If NEU Then\r\n"
            "  If a > 1 Then a = 1\r\n"
            "#End If\r\n"
            "#If ALT Then\r\n"
            "  If a > 2 Then a = 2\r\n"
            "#End If\r\n"
            "End Function\r\n");
        dir.write("estate/A/Haupt.frm",
                  "VERSION 5.00\nBegin VB.Form Haupt\nEnd\n"
                  "Attribute VB_Name = \"Haupt\"\n"
                  "Private Sub Form_Load()\n"
                  "  ' Start _\n"
                  "  Select Case x\n  Case 1: y = \"Case 2: If\"\n  Case Else\n  End Select\n"
                  "End Sub\n");
        dir.write("estate/B/B.vbp", "Type=Exe\nModule=Api; ..\\A\\Api.bas\nModule=W; Werkzeuge.bas\n");
        dir.write("estate/B/Werkzeuge.bas", "Attribute VB_Name = \"W\"\n"
                                            "Declare Sub Sleep Lib \"Kernel32\" (ByVal ms As Long)\n"
                                            "Public Sub \xC3\x9C"
                                            "berblick()\n"
                                            "  For i = 1 To 2: Next\n"
                                            "  Do Until x: Loop\n"
                                            "  If x Then\n");
    }
    RunResult run(std::vector<std::string> args) const { return RunVbprojekt(args, InFolder(dir.path())); }
};

TEST(CodeCommands, ProceduresOfOneProjectAndOfAnEstate) {
    const CodeEstate estate;
    const RunResult one = estate.run({"procedures", "estate/A/A.vbp"});
    EXPECT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(one.out, "Formulare\tHaupt.frm\tSub\tForm_Load\tPrivate\t5\t7\t6\t2\n"
                       "Mitglied\tFormulare\tHaupt.frm\t1\t6\t2\n"
                       "Module\tApi.bas\tFunction\tGröße\tPublic\t9\t8\t8\t2\n"
                       "Mitglied\tModule\tApi.bas\t1\t8\t2\n"
                       "Gesamt\t2\t14\t2\n");

    const std::string expected =
        "estate/A/A.vbp\tFormulare\tHaupt.frm\tSub\tForm_Load\tPrivate\t5\t7\t6\t2\n"
        "estate/A/A.vbp\tMitglied\tFormulare\tHaupt.frm\t1\t6\t2\n"
        "estate/A/A.vbp\tModule\tApi.bas\tFunction\tGröße\tPublic\t9\t8\t8\t2\n"
        "estate/A/A.vbp\tMitglied\tModule\tApi.bas\t1\t8\t2\n"
        "estate/A/A.vbp\tGesamt\t2\t14\t2\n"
        // Without CondComp in B, NEU and ALT are 0: neither If is read.
        "estate/B/B.vbp\tModule\t..\\A\\Api.bas\tFunction\tGröße\tPublic\t9\t8\t8\t1\n"
        "estate/B/B.vbp\tMitglied\tModule\t..\\A\\Api.bas\t1\t8\t1\n"
        "estate/B/B.vbp\tModule\tWerkzeuge.bas\tSub\tÜberblick\tPublic\t3\t4\t4\t4\toffen\n"
        "estate/B/B.vbp\tMitglied\tModule\tWerkzeuge.bas\t1\t4\t4\n"
        "estate/B/B.vbp\tGesamt\t2\t12\t4\n"
        "Alle Projekte\t4\t26\t4\n";
    for (const char* jobs : {"1", "2"}) {
        const RunResult all = estate.run({"procedures", "--jobs", jobs, "estate"});
        EXPECT_EQ(all.out, expected) << "--jobs " << jobs;
    }
}

TEST(CodeCommands, TopProceduresOfTheRun) {
    const CodeEstate estate;
    // Equal complexity: more code lines first.
    const std::string expected =
        "estate/B/B.vbp\tModule\tWerkzeuge.bas\tSub\tÜberblick\tPublic\t3\t4\t4\t4\toffen\n"
        "estate/A/A.vbp\tModule\tApi.bas\tFunction\tGröße\tPublic\t9\t8\t8\t2\n"
        "estate/A/A.vbp\tFormulare\tHaupt.frm\tSub\tForm_Load\tPrivate\t5\t7\t6\t2\n";
    for (const char* jobs : {"1", "2"})
        EXPECT_EQ(estate.run({"procedures", "--top", "3", "--jobs", jobs, "estate"}).out, expected);
    const RunResult json = estate.run({"procedures", "--json", "--top", "1", "estate/B/B.vbp"});
    EXPECT_NE(json.out.find("\"top\": [\n    {\n      \"project\": \"estate/B/B.vbp\",\n"
                            "      \"entry\": \"Werkzeuge.bas\",\n      \"kind\": \"Sub\",\n"),
              std::string::npos)
        << json.out;
    EXPECT_EQ(estate.run({"procedures", "--top", "0", "estate"}).status, 2);
}

TEST(CodeCommands, DeclarationsAndLibraries) {
    const CodeEstate estate;
    EXPECT_EQ(estate.run({"declares", "estate/A/A.vbp"}).out,
              "Api.bas\tGetTickCount\tkernel32\tGetTickCount\tPrivate\t5\n"
              "Api.bas\tMsgBox\tuser32\tMessageBoxA\tPublic\t7\n");
    // Api.bas is one member file of both projects.
    for (const char* jobs : {"1", "2"})
        EXPECT_EQ(estate.run({"declares", "--by-library", "--jobs", jobs, "estate"}).out,
                  "kernel32\t3\t2\t2\t2\n"
                  "user32\t2\t1\t1\t2\n");
}

} // namespace

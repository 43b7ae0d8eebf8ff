// Project groups that name other groups, themselves, or files that are no project.

#include "run_program.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using clitest::RunVbprojekt;

TEST(GroupFiles, GroupsInGroupsAreFollowedOnceLoopsAndOtherFilesAreErrorLines) {
    vbtest::TempDir dir;
    dir.write("p/a.frm", "VERSION 5.00\r\nBegin VB.Form F\r\nEnd\r\n");
    dir.write("p/P.vbp", "Form=a.frm\r\n");
    dir.write("p/Q.vbp", "Form=a.frm\r\n");
    dir.write("p/notes.txt", "Form=a.frm\r\n");
    // outer names inner twice (read once) and itself; inner names outer back and a file that is no project.
    const std::string outer =
        dir.write("outer.vbg", "VBGROUP 5.0\r\nProject=inner.vbg\r\nProject=p\\P.vbp\r\nProject=INNER.vbg\r\n"
                               "Project=outer.vbg\r\n");
    dir.write("inner.vbg",
              "VBGROUP 5.0\r\nStartupProject=p/Q.vbp\r\nProject=outer.vbg\r\nProject=p\\notes.txt\r\n");
    const auto counted = RunVbprojekt({"count", outer});
    EXPECT_EQ(counted.status, 1);
    const std::string loop = dir.file("outer.vbg") + "\tFehler\t75\t";
    EXPECT_EQ(counted.out,
              dir.file("p/Q.vbp") + "\t0\tFormulare\ta.frm\n" + dir.file("p/Q.vbp") + "\t0\tGesamt\n" + loop +
                  "Fehler beim Zugriff auf Pfad/Datei: " + dir.file("outer.vbg") + "\n" +
                  dir.file("p/notes.txt") +
                  "\tFehler\t52\tDateiname oder -nummer falsch: " + dir.file("p/notes.txt") + "\n" +
                  dir.file("p/P.vbp") + "\t0\tFormulare\ta.frm\n" + dir.file("p/P.vbp") + "\t0\tGesamt\n" +
                  loop + "Fehler beim Zugriff auf Pfad/Datei: " + dir.file("outer.vbg") + "\n");

    // merge --output-dir writes a file for each project and none for a group or another file.
    dir.write("out/.keep", "");
    const auto merged = RunVbprojekt({"merge", "--output-dir", dir.file("out"), outer});
    EXPECT_EQ(merged.status, 1);
    EXPECT_NE(merged.out.find(dir.file("p/notes.txt") + "\tFehler\t52"), std::string::npos) << merged.out;
    EXPECT_NE(merged.out.find(dir.file("p/Q.vbp") + "\t" + dir.file("out/1-Q.txt")), std::string::npos);
    EXPECT_EQ(merged.out.find(".vbg\t" + dir.file("out")), std::string::npos) << merged.out;
}

} // namespace

// Exit status and messages when something is missing or the command line is wrong.

#include "run_program.h"
#include "temp_project.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using clitest::RunVbprojekt;
using clitest::SampleProject;

TEST(Failures, MissingProjectIsRuntimeError53ForEveryCommand) {
    const vbtest::TempDir dir;
    const std::string project = dir.file("fehlt.vbp");
    const std::string output = dir.file("aus.txt");
    for (const auto& args : std::vector<std::vector<std::string>>{{"members", project},
                                                                  {"objects", project},
                                                                  {"count", project, "--json"},
                                                                  {"merge", project, output}}) {
        const auto result = RunVbprojekt(args);
        EXPECT_EQ(result.status, 1) << args[0];
        EXPECT_EQ(result.err, "vbprojekt: Laufzeitfehler 53: Datei nicht gefunden: " + project + "\n");
        EXPECT_EQ(result.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST(Failures, MissingMemberIsNamedAsSeenFromTheCaller) {
    clitest::TempProject p;
    p.addForm("A.frm", clitest::FormFile("frmA", {"lblA"}));
    p.addMissingForm("Fehlt.frm");
    const std::string project = p.write();
    const std::string message = "vbprojekt: Laufzeitfehler 53: Datei nicht gefunden: ";
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"count", project}, {"objects", project}, {"objects", project, "--json", "Fehlt.frm"}}) {
        const auto result = RunVbprojekt(args);
        EXPECT_EQ(result.status, 1) << args[0];
        EXPECT_EQ(result.err, message + p.folder() + "/Fehlt.frm\n");
        EXPECT_EQ(result.out, "") << "no half listing";
    }
    // From the folder above, with a relative project path, both commands name the same relative path.
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"count", "projekt/P.vbp"}, {"merge", "projekt/P.vbp", "-"}}) {
        const auto result = RunVbprojekt(args, clitest::InFolder(p.dir.path().string()));
        EXPECT_EQ(result.status, 1) << args[0];
        EXPECT_EQ(result.err, message + "projekt/Fehlt.frm\n");
    }
}

TEST(Failures, UsageErrorsExitWith2AndAGermanMessage) {
    const std::string sample = SampleProject();
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "kein Befehl angegeben (members, objects, count, check, merge, lines oder types)"},
        {{"zaehlen", sample}, "unbekannter Befehl: zaehlen"},
        {{"count"}, "count: PROJEKT fehlt"},
        {{"merge", sample}, "merge: AUSGABE fehlt"},
        {{"count", sample, "--jsn"}, "unbekannte Option für count: --jsn"},
        {{"merge", sample, "-", "--json"}, "unbekannte Option für merge: --json"},
        {{"members", sample, "zuviel"}, "überzähliges Argument für members: zuviel"},
        {{"objects", sample, "Rahmen.frm", "Nirgends.frm"}, "\"Nirgends.frm\" ist kein Eintrag des Projekts"},
    };
    for (const auto& [args, message] : cases) {
        const auto result = RunVbprojekt(args);
        EXPECT_EQ(result.status, 2) << message;
        EXPECT_EQ(result.err, "vbprojekt: " + message + "\nHilfe: vbprojekt --help\n");
        EXPECT_EQ(result.out, "");
    }
}

TEST(Failures, AFailedWriteToStandardOutputIsError61) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    for (const auto& args : std::vector<std::vector<std::string>>{{"count", SampleProject()},
                                                                  {"members", SampleProject(), "--json"},
                                                                  {"merge", SampleProject(), "-"}}) {
        const auto result = RunVbprojekt(args, clitest::StandardOutputTo("/dev/full"));
        EXPECT_EQ(result.status, 1) << args[0];
        EXPECT_EQ(result.err, "vbprojekt: Laufzeitfehler 61: Datenträger voll: Standardausgabe\n");
    }
}

} // namespace

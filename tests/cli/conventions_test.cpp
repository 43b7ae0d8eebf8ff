// The conventions every command keeps: "--" ends the options, operands are required, one command per call,
// flags take no value, and the caller's words in a usage error never reach the terminal raw.

#include "run_program.h"
#include "temp_project.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using clitest::RunVbprojekt;
using clitest::SampleProject;

void ExpectUsageError(const std::vector<std::string>& args, const std::string& message) {
    const auto result = RunVbprojekt(args);
    EXPECT_EQ(result.status, 2) << message;
    EXPECT_EQ(result.err, "vbprojekt: " + message + "\nHilfe: vbprojekt --help\n");
    EXPECT_EQ(result.out, "") << message;
}

TEST(Conventions, DoubleDashEndsTheOptionsSoAnOperandMayStartWithADash) {
    clitest::TempProject p;
    p.addForm("A.frm", clitest::FormFile("frmA", {"lblA"}));
    p.dir.write("projekt/-P.vbp", "Type=Exe\r\n" + p.projectLines);
    const auto inProject = clitest::InFolder(p.folder());

    auto result = RunVbprojekt({"count", "--", "-P.vbp"}, inProject);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "1\tFormulare\tA.frm\n1\tGesamt\n");

    // Options before "--" still count; after it even "--json" is an operand.
    result = RunVbprojekt({"count", "--json", "--", "-P.vbp"}, inProject);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.front(), '{');
    result = RunVbprojekt({"count", "--", "-P.vbp", "--json"}, inProject);
    EXPECT_EQ(result.status, 2);

    // "-" after "--" is still standard output for merge.
    result = RunVbprojekt({"merge", "--code-only", "--", "-P.vbp", "-"}, inProject);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.rfind("FORMULARE:\r\nA.frm:\r\nOption Explicit\r\n", 0), 0u) << result.out;
}

TEST(Conventions, HelpShowsTheOperandsAsRequired) {
    const auto top = RunVbprojekt({"--help"});
    EXPECT_NE(top.out.find("Aufruf: vbprojekt [OPTIONEN] BEFEHL\n"), std::string::npos) << top.out;
    for (const std::string command : {"members", "objects", "count", "merge"}) {
        const auto result = RunVbprojekt({command, "--help"});
        EXPECT_EQ(result.status, 0);
        EXPECT_NE(result.out.find("Aufruf: vbprojekt " + command + " [OPTIONEN] PROJEKT"), std::string::npos)
            << result.out;
        EXPECT_EQ(result.out.find("[PROJEKT]"), std::string::npos) << command;
    }
    EXPECT_NE(RunVbprojekt({"merge", "--help"}).out.find("PROJEKT AUSGABE\n"), std::string::npos);
    EXPECT_NE(RunVbprojekt({"objects", "--help"}).out.find("PROJEKT [EINTRAG...]\n"), std::string::npos);
}

TEST(Conventions, OneCommandPerCall) {
    const std::string sample = SampleProject();
    // The second command name fills the first command's operand, so the project is one word too many.
    ExpectUsageError({"members", "count", sample}, "überzähliges Argument für members: " + sample);
    ExpectUsageError({"members", sample, "count", sample}, "überzähliger Befehl für members: count");
    ExpectUsageError({"count", sample, "merge", sample, "-"}, "überzähliger Befehl für count: merge");
}

TEST(Conventions, FlagsTakeNoValue) {
    const std::string sample = SampleProject();
    ExpectUsageError({"merge", sample, "-", "--code-only=yes"},
                     "die Option --code-only nimmt keinen Wert: --code-only=yes");
    ExpectUsageError({"members", "--json=false", sample},
                     "die Option --json nimmt keinen Wert: --json=false");
    ExpectUsageError({"count", sample, "--json=true"}, "die Option --json nimmt keinen Wert: --json=true");
    ExpectUsageError({"--help=1"}, "die Option --help nimmt keinen Wert: --help=1");
    // An unknown option with a value stays an unknown option.
    ExpectUsageError({"count", sample, "--jsn=1"}, "unbekannte Option für count: --jsn=1");
}

TEST(Conventions, ControlCharactersOfTheCallersWordsAppearAsTheirSymbols) {
    const std::string sample = SampleProject();
    ExpectUsageError({"zz\x1b[31m"}, "unbekannter Befehl: zz\u241b[31m");
    ExpectUsageError({"count", sample, "a\nb\x7f"}, "überzähliges Argument für count: a\u240ab\u2421");
    ExpectUsageError({"count", sample, "--j\tson"}, "unbekannte Option für count: --j\u2409son");
    ExpectUsageError({"objects", sample, "Rahmen\r.frm"},
                     "\"Rahmen\u240d.frm\" ist kein Eintrag des Projekts");
}

TEST(Conventions, ShortVersionAndTheWholeCommandListWhereTheyAreNamed) {
    const auto version = RunVbprojekt({"-V"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, RunVbprojekt({"--version"}).out);
    EXPECT_EQ(version.out.rfind("vbprojekt ", 0), 0u) << version.out;

    // The message for a missing command names every command of the help's list.
    const std::string help = RunVbprojekt({"--help"}).out;
    const auto missing = RunVbprojekt({});
    EXPECT_EQ(missing.status, 2);
    std::size_t at = help.find("\nBefehle:\n");
    ASSERT_NE(at, std::string::npos) << help;
    int commands = 0;
    for (at = help.find("\n  ", at); at != std::string::npos && help[at + 3] != ' ';
         at = help.find("\n  ", at + 1)) {
        const std::string command = help.substr(at + 3, help.find(' ', at + 3) - at - 3);
        EXPECT_NE(missing.err.find(command), std::string::npos) << command << " in " << missing.err;
        ++commands;
    }
    EXPECT_GE(commands, 7);
}

TEST(Conventions, OptionValueErrorsAreTheProgramsOwnGermanWords) {
    const std::string project = SampleProject();
    ExpectUsageError({"count", project, "--jobs"}, "die Option --jobs braucht einen Wert");
    ExpectUsageError({"count", "--jobs", "x", project}, "--jobs braucht eine ganze Zahl ab 1: x");
    ExpectUsageError({"merge", project, "-", "--format"}, "die Option --format braucht einen Wert");
}

} // namespace

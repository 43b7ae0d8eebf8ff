// Many projects in one call: folders searched for project files, a project group, a project reached
// twice, one that fails, and the same bytes whatever the number of threads.

#include "run_program.h"
#include "temp_dir.h"
#include "temp_project.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

namespace {

using clitest::FormFile;
using clitest::InFolder;
using clitest::RunResult;
using clitest::RunVbprojekt;

// A form as git checks it out: LF line ends.
std::string LfForm(std::string_view name, std::initializer_list<std::string_view> labels) {
    std::string text = FormFile(name, labels);
    std::erase(text, '\r');
    return text;
}

// An estate as a maintainer keeps it:
//   estate/Alpha/Alpha.vbp      its list form entry in other letter case, a module from ..\gemeinsam
//   estate/Beta/Beta.vbp        a form missing; Alpha's module, named in other letter case
//   estate/alt/ALT.VBP          LF line ends; after Beta in byte order ("B" < "a")
//   estate/Verweis -> extern    a symbolic link to a folder, not followed
//   gruppen/Alle.vbg            Alpha again (read once), Gamma outside the estate in other letter case, and
//                               a project that is not there
struct Estate {
    vbtest::TempDir dir;
    Estate() {
        dir.write("estate/gemeinsam/Werkzeuge.bas",
                  "Attribute VB_Name = \"Werkzeuge\"\r\nOption Explicit\r\n");
        dir.write("estate/Alpha/Haupt.frm", FormFile("Haupt", {"lblName", "lblOrt"}));
        dir.write("estate/Alpha/Formulare/Liste.frm", LfForm("Liste", {"lblKopf"}));
        dir.write("estate/Alpha/Alpha.vbp", "Type=Exe\r\nForm=Haupt.frm\r\nForm=formulare\\LISTE.frm\r\n"
                                            "Module=Werkzeuge; ..\\gemeinsam\\Werkzeuge.bas\r\n");
        dir.write("estate/Beta/Start.frm", FormFile("Start", {"lblA", "lblB", "lblC"}));
        dir.write(
            "estate/Beta/Beta.vbp",
            "Type=Exe\r\nForm=Start.frm\r\nForm=Fehlt.frm\r\nModule=W; ..\\gemeinsam\\werkzeuge.BAS\r\n");
        dir.write("estate/alt/Alt.frm", LfForm("Alt", {}));
        dir.write("estate/alt/ALT.VBP", "Type=Exe\nForm=Alt.frm\n");
        dir.write("extern/Versteckt.vbp", "Type=Exe\r\n");
        std::filesystem::create_directory_symlink(dir.file("extern"), dir.file("estate/Verweis"));
        dir.write("gamma/Gamma.vbp", "Type=Exe\r\nForm=G.frm\r\n");
        dir.write("gamma/G.frm", FormFile("G", {"lbl"}));
        dir.write("gruppen/Alle.vbg", "VBGROUP 5.0\r\nStartupProject=..\\estate\\Alpha\\Alpha.vbp\r\n"
                                      "Project=../GAMMA/gamma.vbp\r\nProject=..\\fehlt\\Weg.vbp\r\n");
    }
    RunResult run(std::vector<std::string> args) const { return RunVbprojekt(args, InFolder(dir.path())); }
};

TEST(Estate, FoldersAndGroupsInByteOrderEachProjectOnceFailuresInTheirPlace) {
    const Estate estate;
    const RunResult count = estate.run({"count", "--jobs", "1", "estate", "gruppen/Alle.vbg"});
    EXPECT_EQ(count.status, 1) << "a project failed";
    EXPECT_EQ(count.err, "");
    EXPECT_EQ(count.out,
              "estate/Alpha/Alpha.vbp\t2\tFormulare\tHaupt.frm\n"
              "estate/Alpha/Alpha.vbp\t1\tFormulare\tformulare\\LISTE.frm\n"
              "estate/Alpha/Alpha.vbp\t3\tGesamt\n"
              "estate/Beta/Beta.vbp\tFehler\t53\tDatei nicht gefunden: estate/Beta/Fehlt.frm\n"
              "estate/alt/ALT.VBP\t0\tFormulare\tAlt.frm\n"
              "estate/alt/ALT.VBP\t0\tGesamt\n"
              "gruppen/../gamma/Gamma.vbp\t1\tFormulare\tG.frm\n"
              "gruppen/../gamma/Gamma.vbp\t1\tGesamt\n"
              "gruppen/..\\fehlt\\Weg.vbp\tFehler\t76\tPfad nicht gefunden: gruppen/..\\fehlt\\Weg.vbp\n");

    // With --keep-going the missing form is a line of its project, named on standard error.
    const RunResult kept = estate.run({"count", "-k", "estate/Beta/Beta.vbp", "estate/alt"});
    EXPECT_EQ(kept.status, 1);
    EXPECT_EQ(kept.err, "vbprojekt: Laufzeitfehler 53: Datei nicht gefunden: estate/Beta/Fehlt.frm\n");
    EXPECT_EQ(kept.out, "estate/Beta/Beta.vbp\t3\tFormulare\tStart.frm\n"
                        "estate/Beta/Beta.vbp\t-\tFormulare\tFehlt.frm\n"
                        "estate/Beta/Beta.vbp\t3\tGesamt\n"
                        "estate/alt/ALT.VBP\t0\tFormulare\tAlt.frm\n"
                        "estate/alt/ALT.VBP\t0\tGesamt\n");

    // The projects of a group come in the order of its lines, found as members are.
    const RunResult members = estate.run({"members", "gruppen/Alle.vbg"});
    EXPECT_EQ(members.status, 1);
    EXPECT_TRUE(members.out.starts_with("gruppen/../estate/Alpha/Alpha.vbp\tFormulare\t2\n"
                                        "gruppen/../estate/Alpha/Alpha.vbp\tFormulare\t1\tHaupt.frm\n"))
        << members.out;
}

TEST(Estate, AFolderSearchedOnSeveralThreadsGivesItsProjectsInByteOrderOfTheWholePath) {
    // "a-c/" comes before "a/" by the whole path ('-' < '/'), a project file beside the subfolders
    // ("Z.vbp") before both, and a project deeper down in its subfolder's place.
    vbtest::TempDir dir;
    for (const char* project :
         {"top/a/B.vbp", "top/a-c/X.vbp", "top/Z.vbp", "top/a/tief/C.vbp", "top/b/D.vbp"})
        dir.write(project, "Type=Exe\r\n");
    std::string expected;
    for (const char* project :
         {"top/Z.vbp", "top/a-c/X.vbp", "top/a/B.vbp", "top/a/tief/C.vbp", "top/b/D.vbp"})
        expected += std::string(project) + "\t0\tGesamt\n";
    for (const char* jobs : {"1", "2", "3"}) {
        const RunResult count = RunVbprojekt({"count", "--jobs", jobs, "top"}, InFolder(dir.path()));
        EXPECT_EQ(count.out, expected) << "--jobs " << jobs;
        EXPECT_EQ(count.status, 0);
    }
}

TEST(Estate, SameBytesWhateverTheNumberOfThreads) {
    const Estate estate;
    for (const std::string command : {"count", "objects", "members", "check", "lines", "types", "components"})
        for (const bool json : {false, true}) {
            std::vector<std::string> args = {command, "--keep-going", "estate", "gruppen/Alle.vbg"};
            if (command == "members" || command == "check" || command == "components")
                args.erase(args.begin() + 1);
            if (json)
                args.push_back("--json");
            std::vector<std::string> withOne = args;
            withOne.insert(withOne.begin() + 1, {"--jobs", "1"});
            const RunResult one = estate.run(withOne);
            EXPECT_EQ(one.status, 1) << command;
            for (const char* jobs : {"2", "3"}) {
                std::vector<std::string> withMore = args;
                withMore.insert(withMore.begin() + 1, {"--jobs", jobs});
                const RunResult more = estate.run(withMore);
                EXPECT_EQ(more.out, one.out) << command << " --jobs " << jobs;
                EXPECT_EQ(more.err, one.err) << command << " --jobs " << jobs;
                EXPECT_EQ(more.status, one.status) << command << " --jobs " << jobs;
            }
        }
}

TEST(Estate, LinesPerMemberKindProjectAndRun) {
    const Estate estate;
    const std::string zero = "\t0\t0\t0\t0\t0\t0\n";
    const std::string alpha = "estate/Alpha/Alpha.vbp\t";
    const std::string alt = "estate/alt/ALT.VBP\t";
    const RunResult result = estate.run({"lines", "estate/alt/", "estate/Alpha/Alpha.vbp"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, alt + "Mitglied\tFormulare\tAlt.frm\t9\t2\t5\t1\t0\t0\n" + alt +
                              "Art\tFormulare\t9\t2\t5\t1\t0\t0\n" + alt + "Art\tModule" + zero + alt +
                              "Art\tKlassenmodule" + zero + alt + "Art\tBenutzersteuerelemente" + zero + alt +
                              "Art\tEigenschaftenseiten" + zero + alt + "Gesamt\t9\t2\t5\t1\t0\t0\n" + alpha +
                              "Mitglied\tFormulare\tHaupt.frm\t13\t6\t5\t1\t0\t0\n" + alpha +
                              "Mitglied\tFormulare\tformulare\\LISTE.frm\t11\t4\t5\t1\t0\t0\n" + alpha +
                              "Mitglied\tModule\t..\\gemeinsam\\Werkzeuge.bas\t2\t0\t1\t1\t0\t0\n" + alpha +
                              "Art\tFormulare\t24\t10\t10\t2\t0\t0\n" + alpha +
                              "Art\tModule\t2\t0\t1\t1\t0\t0\n" + alpha + "Art\tKlassenmodule" + zero +
                              alpha + "Art\tBenutzersteuerelemente" + zero + alpha +
                              "Art\tEigenschaftenseiten" + zero + alpha +
                              "Gesamt\t26\t10\t11\t3\t0\t0\n"
                              "Alle Projekte\t35\t12\t16\t4\t0\t0\n");
    // One project alone: its lines without the path, and no sum over the run.
    const RunResult one = estate.run({"lines", "--json", "estate/alt/ALT.VBP"});
    const auto document = nlohmann::ordered_json::parse(one.out);
    EXPECT_EQ(document.at("total"), nlohmann::ordered_json::parse(R"({"lines": 9, "description": 2,
        "attributes": 5, "code": 1, "blank": 0, "comments": 0})"));
    EXPECT_EQ(document.at("members").at(0).at("entry"), "Alt.frm");
    EXPECT_EQ(document.at("kinds").size(), 5U);
    const auto run = nlohmann::ordered_json::parse(estate.run({"lines", "--json", "estate"}).out);
    EXPECT_EQ(run.at("total").at("lines"), 26 + 9) << "Alpha and alt; Beta fails and adds nothing";
    EXPECT_EQ(run.at("projects").at(1).at("error").at("number"), 53);
}

TEST(Estate, TypesOverTheRunOrPerProject) {
    const Estate estate;
    const RunResult run = estate.run({"types", "-k", "estate", "gruppen/Alle.vbg"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "vbprojekt: Laufzeitfehler 53: Datei nicht gefunden: estate/Beta/Fehlt.frm\n");
    EXPECT_EQ(run.out,
              "gruppen/..\\fehlt\\Weg.vbp\tFehler\t76\tPfad nicht gefunden: gruppen/..\\fehlt\\Weg.vbp\n"
              "VB.Label\t7\t4\t3\n");
    const RunResult perProject =
        estate.run({"types", "--by-project", "estate/alt", "estate/Alpha/Alpha.vbp"});
    EXPECT_EQ(perProject.status, 0);
    EXPECT_EQ(perProject.out, "estate/Alpha/Alpha.vbp\tVB.Label\t3\t2\t1\n");
}

TEST(Estate, TypesOfTheSampleAddUpToItsCountSortedByObjectsThenType) {
    const RunResult types = RunVbprojekt({"types", "--json", clitest::SampleProject()});
    const RunResult count = RunVbprojekt({"count", "--json", clitest::SampleProject()});
    ASSERT_EQ(types.status, 0) << types.err;
    const auto list = nlohmann::ordered_json::parse(types.out).at("types");
    std::int64_t objects = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        objects += list[i].at("objects").get<std::int64_t>();
        EXPECT_EQ(list[i].at("projects"), 1);
        if (i > 0) {
            const auto& before = list[i - 1];
            EXPECT_TRUE(
                before.at("objects") > list[i].at("objects") ||
                (before.at("objects") == list[i].at("objects") && before.at("type") < list[i].at("type")))
                << list[i];
        }
    }
    EXPECT_EQ(objects, nlohmann::ordered_json::parse(count.out).at("total"));
    EXPECT_EQ(list.at(0), nlohmann::ordered_json::parse(R"({"type": "VB.Menu", "objects": 9, "members": 2,
        "projects": 1})"));
}

TEST(Estate, CheckAndTypesNameTheFilesThatProjectsShare) {
    const Estate estate;
    const RunResult check = estate.run({"check", "estate", "gruppen/Alle.vbg"});
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.out.find("\nGeteilt\testate/Alpha/../gemeinsam/Werkzeuge.bas\testate/Alpha/Alpha.vbp\t"
                             "estate/Beta/Beta.vbp\n"),
              std::string::npos)
        << check.out;
    EXPECT_TRUE(check.out.ends_with("estate/Beta/Beta.vbp\n")) << "the shared files come last";

    const auto types = nlohmann::ordered_json::parse(estate.run({"types", "--json", "-k", "estate"}).out);
    EXPECT_EQ(types.at("shared"),
              nlohmann::ordered_json::parse(R"([{"file": "estate/Alpha/../gemeinsam/Werkzeuge.bas",
        "projects": ["estate/Alpha/Alpha.vbp", "estate/Beta/Beta.vbp"]}])"));
    const auto alone = nlohmann::ordered_json::parse(estate.run({"types", "--json", "estate/alt"}).out);
    EXPECT_EQ(alone.at("shared"), nlohmann::ordered_json::array());
}

TEST(Estate, OnATerminalOneBarCountsProjectsAndMembers) {
    vbtest::TempDir dir;
    for (int p = 0; p < 6; ++p) {
        const std::string folder = "viele/P" + std::to_string(p) + "/";
        dir.write(folder + "F.frm", FormFile("F", {"lbl"}));
        dir.write(folder + "P.vbp", "Type=Exe\r\nForm=F.frm\r\nForm=G.frm\r\n");
        dir.write(folder + "G.frm", FormFile("G", {}));
    }
    const RunResult result =
        RunVbprojekt({"count", "--jobs", "2", dir.file("viele")}, clitest::OnATerminal());
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.err.find("] 6/6 Projekte, 12 Mitglieder"), std::string::npos) << result.err;
    EXPECT_TRUE(result.err.ends_with("\r\x1b[2K")) << "the bar's line is cleared at the end";
    EXPECT_EQ(result.out.find("Zählen"), std::string::npos);
}

TEST(Estate, JsonHoldsOneDocumentPerProjectOrItsError) {
    const Estate estate;
    const RunResult result = estate.run({"count", "--json", "estate/alt/ALT.VBP", "estate/Beta"});
    EXPECT_EQ(result.status, 1);
    const auto document = nlohmann::ordered_json::parse(result.out);
    const auto& projects = document.at("projects");
    ASSERT_EQ(projects.size(), 2U);
    EXPECT_EQ(projects[0].at("project"), "estate/alt/ALT.VBP");
    EXPECT_EQ(projects[0].at("total"), 0);
    EXPECT_EQ(projects[0].at("members").size(), 1U);
    EXPECT_EQ(projects[1], nlohmann::ordered_json::parse(R"({"project": "estate/Beta/Beta.vbp",
        "error": {"number": 53, "description": "Datei nicht gefunden: estate/Beta/Fehlt.frm"}})"));
}

TEST(Estate, JsonWrittenProjectByProjectIsTheDocumentDumpedWhole) {
    // The run writes each project's document as soon as it is in order; the bytes must still be those of
    // the whole document indented by two blanks, with the run's own keys after the projects.
    const Estate estate;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"types", "--json", "-k", "--jobs", "2", "estate"},
          {"lines", "--json", "-k", "estate", "estate/alt/ALT.VBP"},
          {"check", "--json", "--jobs", "1", "estate", "gruppen/Alle.vbg"}}) {
        const RunResult result = estate.run(args);
        EXPECT_EQ(result.out, nlohmann::ordered_json::parse(result.out).dump(2) + "\n") << args.front();
    }
}

TEST(Estate, OneProjectFileKeepsItsOutputAndAnOddWordIsStillOneTooMany) {
    const Estate estate;
    const RunResult alone = estate.run({"count", "estate/alt/ALT.VBP"});
    EXPECT_EQ(alone.status, 0);
    EXPECT_EQ(alone.out, "0\tFormulare\tAlt.frm\n0\tGesamt\n");
    // The same project twice (once through a folder) is read once, with its path in front.
    const RunResult twice = estate.run({"count", "estate/alt/ALT.VBP", "estate/alt/"});
    EXPECT_EQ(twice.out, "estate/alt/ALT.VBP\t0\tFormulare\tAlt.frm\nestate/alt/ALT.VBP\t0\tGesamt\n");

    const RunResult extra = estate.run({"count", "estate", "Alt.frm"});
    EXPECT_EQ(extra.status, 2);
    EXPECT_EQ(extra.err, "vbprojekt: überzähliges Argument für count: Alt.frm\nHilfe: vbprojekt --help\n");
    for (const char* jobs : {"0", "-1", "zwei", "2x"}) {
        const RunResult bad = estate.run({"count", "--jobs", jobs, "estate"});
        EXPECT_EQ(bad.status, 2) << jobs;
        EXPECT_EQ(bad.out, "") << jobs;
    }
    const RunResult entries = estate.run({"objects", "estate/alt/ALT.VBP", "estate/Beta", "Alt.frm"});
    EXPECT_EQ(entries.status, 2);
    EXPECT_EQ(entries.out, "");

    const RunResult empty = estate.run({"count", "estate/alt/ALT.VBP", "estate/gemeinsam"});
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.err,
              "vbprojekt: Laufzeitfehler 75: Fehler beim Zugriff auf Pfad/Datei: estate/gemeinsam\n")
        << "a folder without project files is no estate";
    EXPECT_EQ(empty.out, "");
}

} // namespace

namespace {

TEST(Estate, MergeIntoAFolderOneFileNamedByPositionPerProject) {
    const Estate estate;
    estate.dir.write("aus/.keep", "");
    const RunResult merged = estate.run({"merge", "--output-dir", "aus", "--code-only", "-k", "estate/Beta",
                                         "gruppen/Alle.vbg", "--jobs", "2"});
    EXPECT_EQ(merged.status, 1);
    EXPECT_EQ(merged.err, "vbprojekt: Laufzeitfehler 53: Datei nicht gefunden: estate/Beta/Fehlt.frm\n");
    EXPECT_EQ(merged.out,
              "estate/Beta/Beta.vbp\taus/1-Beta.txt\n"
              "gruppen/../estate/Alpha/Alpha.vbp\taus/2-Alpha.txt\n"
              "gruppen/../gamma/Gamma.vbp\taus/3-Gamma.txt\n"
              "gruppen/..\\fehlt\\Weg.vbp\tFehler\t76\tPfad nicht gefunden: gruppen/..\\fehlt\\Weg.vbp\n");
    // Each file holds what the merge of its project alone writes.
    for (const auto& [project, file] : {std::pair{"estate/Beta/Beta.vbp", "aus/1-Beta.txt"},
                                        std::pair{"estate/Alpha/Alpha.vbp", "aus/2-Alpha.txt"}}) {
        const RunResult alone = estate.run({"merge", "--code-only", "-k", project, "-"});
        EXPECT_EQ(vbtest::ReadBytes(estate.dir.file(file)), alone.out) << file;
    }
    EXPECT_FALSE(std::filesystem::exists(estate.dir.file("aus/4-Weg.txt")));

    // Another project's file as the output of a merge without --output-dir is a usage error: the caller
    // meant several projects, and the file stays as it is.
    const RunResult clobber = estate.run({"merge", "estate/alt/ALT.VBP", "estate/Beta/Beta.vbp"});
    EXPECT_EQ(clobber.status, 2);
    EXPECT_NE(vbtest::ReadBytes(estate.dir.file("estate/Beta/Beta.vbp")).find("Form=Start.frm"),
              std::string::npos);
}

TEST(Estate, MergeIntoAFolderInADocumentFormatNamesTheFilesByTheFormat) {
    const Estate estate;
    estate.dir.write("aus/.keep", "");
    const RunResult merged = estate.run({"merge", "--output-dir", "aus", "--format", "json", "estate/Alpha",
                                         "gamma/Gamma.vbp", "--jobs", "2"});
    EXPECT_EQ(merged.out, "estate/Alpha/Alpha.vbp\taus/1-Alpha.json\n"
                          "gamma/Gamma.vbp\taus/2-Gamma.json\n");
    const RunResult alone = estate.run({"merge", "--format", "json", "estate/Alpha/Alpha.vbp", "-"});
    EXPECT_EQ(vbtest::ReadBytes(estate.dir.file("aus/1-Alpha.json")), alone.out);
    EXPECT_FALSE(std::filesystem::exists(estate.dir.file("aus/1-Alpha.txt")));
}

TEST(Estate, MergeIntoAFolderRefusesWhenAnyOutputIsAFileOfAnyProject) {
    vbtest::TempDir dir;
    const std::string module = "Attribute VB_Name = \"M\"\r\nSub A()\r\nEnd Sub\r\n";
    dir.write("p/1-P.txt", module); // the first project's output is the second project's module
    dir.write("p/P.vbp", "Type=Exe\r\n");
    dir.write("p/Q.vbp", "Type=Exe\r\nModule=M; 1-P.txt\r\n");
    const RunResult result =
        RunVbprojekt({"merge", "--output-dir", "p", "p/P.vbp", "p/Q.vbp"}, InFolder(dir.path()));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(
        result.err,
        "vbprojekt: Die Ausgabedatei ist eine Datei des Projekts und wird nicht überschrieben: p/1-P.txt\n");
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(vbtest::ReadBytes(dir.file("p/1-P.txt")), module);
    EXPECT_FALSE(std::filesystem::exists(dir.file("p/2-Q.txt"))) << "nothing is written";
}

} // namespace

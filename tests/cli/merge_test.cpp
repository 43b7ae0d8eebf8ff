// merge writes the very bytes of the generator that the merger window drives, and guards the project.

#include "run_program.h"
#include "temp_project.h"

#include "merger/merged_file.h"
#include "project/read_project_file.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using clitest::RunVbprojekt;
using clitest::SampleProject;
using vbtest::ReadBytes;

// The merged file as the window writes it: the generator driven with ProjectFolder = FolderOfPath(path).
std::string Generated(const std::string& projectPath, bool option) {
    const vbtest::TempDir dir;
    const std::string path = dir.file("generiert.txt");
    merger::MergeIntoFile(vb::ReadProjectFile(projectPath), projectPath, vb::FolderOfPath(projectPath), path,
                          [option] { return option; });
    return ReadBytes(path);
}

std::vector<std::string> MergeArgs(const std::string& project, const std::string& output, bool option) {
    std::vector<std::string> args = {"merge", project, output};
    if (!option)
        args.push_back("--code-only");
    return args;
}

TEST(Merge, SampleBytesEqualTheGeneratorWithAndWithoutTheOption) {
    const vbtest::TempDir dir;
    for (const bool option : {true, false}) {
        const std::string output = dir.file(option ? "mit.txt" : "ohne.txt");
        const auto result = RunVbprojekt(MergeArgs(SampleProject(), output, option));
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(ReadBytes(output), Generated(SampleProject(), option)) << "option " << option;
    }
    // The option decides: with it the forms' object descriptions are there, without it they are not.
    EXPECT_TRUE(ReadBytes(dir.file("mit.txt")).starts_with("FORMULARE:\r\nRahmen.frm:\r\nBegin VB.MDIForm"));
    EXPECT_EQ(ReadBytes(dir.file("ohne.txt")).find("Begin VB.MDIForm"), std::string::npos);
}

TEST(Merge, DashWritesTheSameBytesToStandardOutput) {
    for (const bool option : {true, false}) {
        const auto result = RunVbprojekt(MergeArgs(SampleProject(), "-", option));
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.out, Generated(SampleProject(), option)) << "option " << option;
    }
}

TEST(Merge, PathsAreTheCallersAndAnExistingOutputIsReplaced) {
    clitest::TempProject p;
    p.addForm("A.frm", clitest::FormFile("frmA", {"lblA"}));
    p.addForm("Unter\\B.frm", clitest::FormFile("frmB", {}));
    p.addModule("M.bas", "Attribute VB_Name = \"M\"\r\nPublic X As Long\r\n");
    const std::string project = p.write();
    const std::string caller = p.dir.file("aufrufer");
    std::filesystem::create_directory(caller);
    const std::string output = p.dir.write("aufrufer/aus.txt", std::string(100000, 'x'));

    const auto result = RunVbprojekt({"merge", "../projekt/P.vbp", "aus.txt"}, clitest::InFolder(caller));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadBytes(output), Generated(project, true));
    EXPECT_NE(ReadBytes(output).find("Unter\\B.frm:\r\nBegin VB.Form frmB"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(p.dir.file("projekt/aus.txt")));
}

TEST(Merge, RefusesToOverwriteTheProjectsOwnFiles) {
    clitest::TempProject p;
    p.addForm("A.frm", clitest::FormFile("frmA", {"lblA"}));
    p.addForm("Unter\\B.frm", clitest::FormFile("frmB", {}));
    const std::string project = p.write();
    const std::string folder = p.folder() + "/";
    const std::pair<std::string, std::string> cases[] = {
        {project, project},                                           // the project file itself
        {p.dir.file("projekt/../projekt/A.frm"), folder + "A.frm"},   // a member, spelled otherwise
        {p.dir.file("projekt/Unter/B.frm"), folder + "Unter\\B.frm"}, // a member in a sub-folder
    };
    for (const auto& [output, named] : cases) {
        const std::string before = ReadBytes(output);
        const auto result = RunVbprojekt({"merge", project, output});
        EXPECT_EQ(result.status, 1) << output;
        EXPECT_EQ(result.err,
                  "vbprojekt: Die Ausgabedatei ist eine Datei des Projekts und wird nicht überschrieben: " +
                      named + "\n");
        EXPECT_EQ(ReadBytes(output), before);
    }
}

} // namespace

namespace {

// Outputs that only by identity, or only once created, turn out to be the project's own files: the merge
// is refused, the member is left as it was and no file is created.
TEST(Merge, OutputsThatWouldBeReadAsMembersAreRefused) {
    const vbtest::TempDir dir;
    const std::string member = "Attribute VB_Name = \"m\"\nCode\n"; // LF only, as checked out from git
    dir.write("main.frm", member);
    dir.write("\xC3\xBC"
              "ber.frm",
              member); // "über.frm" stored as UTF-8
    struct Case {
        std::string entry;  // as the project file writes it
        std::string output; // AUSGABE, relative to the project's folder
    };
    for (const Case& c : {Case{"ghost.frm", "GHOST.FRM"}, Case{"\xC4nderung.frm", "\xC3\x84nderung.frm"},
                          Case{"\xC3\x9c"
                               "ber.frm",
                               "\xC3\x9c"
                               "BER.FRM"},
                          Case{"Main.frm", "out.txt"}}) {
        const std::string project = dir.write("P.vbp", "Module=A; main.frm\r\nForm=" + c.entry + "\r\n");
        if (c.output == "out.txt")
            std::filesystem::create_symlink("Main.frm",
                                            dir.file("out.txt")); // dangling while main.frm exists
        const auto result = RunVbprojekt({"merge", project, dir.file(c.output)});
        EXPECT_EQ(result.status, 1) << c.output << result.err;
        EXPECT_TRUE(result.err.starts_with("vbprojekt: Die Ausgabedatei ist eine Datei des Projekts"))
            << result.err;
        EXPECT_FALSE(std::filesystem::exists(dir.file(c.output))) << c.output;
        EXPECT_FALSE(std::filesystem::exists(dir.file("Main.frm")));
        EXPECT_EQ(ReadBytes(dir.file("main.frm")), member);
        std::filesystem::remove(dir.file("out.txt"));
    }
}

// The output's name flips between nothing and a link to a member while merges run: whichever the guard,
// the opening and the replacement see, the member is never written.
TEST(Merge, AnOutputLinkFlippedDuringMergesNeverReachesAMember) {
    const vbtest::TempDir dir;
    std::string member = "VERSION 5.00\r\nBegin VB.Form Main\r\nEnd\r\nAttribute VB_Name = \"Main\"\r\n";
    for (int i = 0; i < 2000; ++i)
        member += "Private Sub Zeile" + std::to_string(i) + "()\r\n";
    dir.write("Main.frm", member);
    const std::string project = dir.write("P.vbp", "Form=Main.frm\r\n");
    const std::string output = dir.file("out.txt");
    std::atomic<bool> stop = false;
    std::thread flipper([&] {
        while (!stop) {
            ::symlink("Main.frm", output.c_str());
            ::unlink(output.c_str());
        }
    });
    int refused = 0;
    for (int run = 0; run < 300; ++run) {
        const auto result = RunVbprojekt({"merge", project, output});
        ASSERT_TRUE(result.status == 0 || result.status == 1) << result.err;
        refused += result.status;
    }
    stop = true;
    flipper.join();
    EXPECT_EQ(ReadBytes(dir.file("Main.frm")), member) << refused << " of 300 merges refused";
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(dir.file("Main.frm"))));
}

// A merge killed while it writes: the earlier output is there as it was and no temporary file remains.
TEST(Merge, AMergeEndedBySignalLeavesTheEarlierOutputAndNoTemporaryFile) {
    const vbtest::TempDir dir;
    const std::string line(1 << 20, 'x');
    {
        std::string member = "Attribute VB_Name = \"m\"\r\n";
        std::FILE* f = std::fopen(dir.file("Gross.bas").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs(member.c_str(), f);
        for (int i = 0; i < 64; ++i) {
            std::fwrite(line.data(), 1, line.size(), f);
            std::fputs("\r\n", f);
        }
        std::fclose(f);
    }
    const std::string project = dir.write("P.vbp", "Module=Gross; Gross.bas\r\n");
    const rlimit noCore{0, 0}; // SIGQUIT would write a core file
    ::setrlimit(RLIMIT_CORE, &noCore);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGUSR1, SIGUSR2, SIGALRM}) {
        const std::string output = dir.write("out.txt", "alt\r\n");
        std::vector<std::string> args = {VBPROJEKT_PROGRAM, "merge", project, output};
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_t child = 0;
        ASSERT_EQ(::posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ), 0);
        // Once the temporary file is there the merge is writing; then it is told to end.
        const auto writing = [&] {
            for (const auto& e : std::filesystem::directory_iterator(dir.path()))
                if (e.path().filename().string().starts_with(".out.txt."))
                    return true;
            return false;
        };
        int status = 0;
        while (!writing() && ::waitpid(child, &status, WNOHANG) == 0)
            std::this_thread::yield();
        ::kill(child, signal);
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "ended by signal " << signal;
        EXPECT_EQ(ReadBytes(output), "alt\r\n");
        EXPECT_FALSE(writing()) << "a temporary file remains after signal " << signal;
    }
}

TEST(Merge, StandardOutputAppendedToAMemberIsRefused) {
    const vbtest::TempDir dir;
    const std::string big = "Attribute VB_Name = \"Big\"\r\nCode\r\n";
    dir.write("Big.bas", big);
    const std::string project = dir.write("P.vbp", "Module=Big; Big.bas\r\n");
    for (const std::string& target : {dir.file("Big.bas"), project}) {
        clitest::RunOptions options = clitest::StandardOutputTo(target);
        options.appendStandardOutput = true;
        const auto result = RunVbprojekt({"merge", project, "-"}, options);
        EXPECT_EQ(result.status, 1) << result.err;
        EXPECT_TRUE(result.err.starts_with("vbprojekt: Die Ausgabedatei ist eine Datei des Projekts"))
            << result.err;
    }
    EXPECT_EQ(ReadBytes(dir.file("Big.bas")), big);
    EXPECT_EQ(ReadBytes(project), "Module=Big; Big.bas\r\n");
}

} // namespace

// A folder that takes no new file while the output may be written: the output is written in place, so a
// member that does not open must be found before the output is emptied. Run as nobody when the tests run
// as root (root creates files in any folder).
TEST(Merge, InPlaceAMissingMemberLeavesTheEarlierOutputWhole) {
    const vbtest::TempDir dir;
    ::chmod(dir.path().c_str(), 0755);
    const std::string project = dir.write("p/P.vbp", "Form=Haupt.frm\r\nModule=M; Werkzeuge.bas\r\n"
                                                     "Class=Kunde; Kunde.cls\r\n");
    dir.write("p/Haupt.frm", "VERSION 5.00\r\nBegin VB.Form Haupt\r\nEnd\r\nPrivate Sub X()\r\nEnd Sub\r\n");
    dir.write("p/Werkzeuge.bas", "Attribute VB_Name = \"Werkzeuge\"\r\nPublic A As Long\r\n");
    const std::string output = dir.write("ro/out.txt", "kostbar\r\n");
    ::chmod(output.c_str(), 0666);
    ::chmod(dir.file("ro").c_str(), 0555);
    clitest::RunOptions asNobody;
    asNobody.asNobody = true;

    const auto missing = RunVbprojekt({"merge", project, output}, asNobody);
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("Laufzeitfehler 53"), std::string::npos) << missing.err;
    EXPECT_EQ(ReadBytes(output), "kostbar\r\n");
    // The same for a document and for a merge that goes on past the missing member, which writes.
    EXPECT_EQ(RunVbprojekt({"merge", "--format", "json", project, output}, asNobody).status, 1);
    EXPECT_EQ(ReadBytes(output), "kostbar\r\n");
    EXPECT_EQ(RunVbprojekt({"merge", "-k", project, output}, asNobody).status, 1);
    EXPECT_NE(ReadBytes(output).find("Public A As Long"), std::string::npos);

    dir.write("p/Kunde.cls", "VERSION 1.0 CLASS\r\nBEGIN\r\nEND\r\nPublic Name As String\r\n");
    const auto whole = RunVbprojekt({"merge", project, output}, asNobody);
    ::chmod(dir.file("ro").c_str(), 0755);
    EXPECT_EQ(whole.status, 0) << whole.err;
    EXPECT_NE(ReadBytes(output).find("Public Name As String"), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("ro")), {}), 1);
}

// A write to a pipe whose reader is gone (`2>&1 >/dev/null | true`): the merge ends quietly with SIGPIPE
// (status 141 in the shell) and leaves neither a temporary file nor a changed output.
TEST(Merge, AClosedPipeEndsTheMergeQuietlyWithoutLeftovers) {
    const vbtest::TempDir dir;
    const std::string project = dir.write("P.vbp", "Form=Fehlt.frm\r\nModule=M; M.bas\r\n");
    dir.write("M.bas", "Attribute VB_Name = \"M\"\r\n");
    const std::string output = dir.write("out.txt", "alt\r\n");
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    ::close(pipe[0]); // nobody reads what the merge says
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], 2);
    std::vector<std::string> args = {VBPROJEKT_PROGRAM, "merge", "-k", project, output};
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    ASSERT_EQ(::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe[1]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGPIPE) << status;
    EXPECT_EQ(ReadBytes(output), "alt\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);
}

#include "errors/runtime_error.h"
#include "files/member_path.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using vbtest::TempDir;

int ErrorOf(const std::string& path) {
    try {
        vb::ResolveMemberPath(path);
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.path(), path) << "the error names the path as written";
        return e.number();
    }
    return 0;
}

TEST(MemberPath, AsWrittenThenWithSlashes) {
    TempDir dir;
    const std::string root = dir.path().string() + "/";
    dir.write("Formulare/Haupt.frm", "x");
    dir.write("odd\\name.frm", "x"); // a real backslash in a Linux file name is taken as it is
    EXPECT_EQ(vb::ResolveMemberPath(root + "Formulare/Haupt.frm"), root + "Formulare/Haupt.frm");
    EXPECT_EQ(vb::ResolveMemberPath(root + "Formulare\\Haupt.frm"), root + "Formulare/Haupt.frm");
    EXPECT_EQ(vb::ResolveMemberPath(root + "odd\\name.frm"), root + "odd\\name.frm");
}

TEST(MemberPath, ComponentsMatchedWithoutCase) {
    TempDir dir;
    const std::string root = dir.path().string() + "/";
    dir.write("Formulare/Haupt.FRM", "x");
    dir.write("Module/Werkzeuge.bas", "x");
    EXPECT_EQ(vb::ResolveMemberPath(root + "FORMULARE\\haupt.frm"), root + "Formulare/Haupt.FRM");
    EXPECT_EQ(vb::ResolveMemberPath(root + "module/werkzeuge.BAS"), root + "Module/Werkzeuge.bas");
    {
        vbtest::WorkingDirectory cwd(dir.path());
        EXPECT_EQ(vb::ResolveMemberPath("formulare\\HAUPT.frm"), "Formulare/Haupt.FRM");
        EXPECT_EQ(vb::ResolveMemberPath("..\\" + dir.path().filename().string() + "\\Module\\WERKZEUGE.bas"),
                  "../" + dir.path().filename().string() + "/Module/Werkzeuge.bas");
    }
}

TEST(MemberPath, AmbiguousCaseMatchIsNotTaken) {
    TempDir dir;
    dir.write("a.frm", "1");
    dir.write("A.frm", "2");
    EXPECT_EQ(ErrorOf(dir.file("A.FRM")), 53);
    EXPECT_EQ(vb::ResolveMemberPath(dir.file("A.frm")), dir.file("A.frm"));
}

TEST(MemberPath, Windows1252NamesFindUtf8Files) {
    TempDir dir;
    dir.write("Übersicht/Größe.frm", "x"); // stored as UTF-8
    const std::string written = dir.path().string() + "/\xDC"
                                                      "bersicht\\Gr\xF6\xDF"
                                                      "e.frm";
    EXPECT_EQ(vb::ResolveMemberPath(written), dir.file("Übersicht/Größe.frm"));
    // and without regard to case: ü written for Ü
    const std::string lower = dir.path().string() + "/\xFC"
                                                    "bersicht\\GR\xD6\xDF"
                                                    "E.FRM";
    EXPECT_EQ(vb::ResolveMemberPath(lower), dir.file("Übersicht/Größe.frm"));
}

TEST(MemberPath, MissingFileIs53AndMissingFolderIs76) {
    TempDir dir;
    dir.write("Formulare/Haupt.frm", "x");
    EXPECT_EQ(ErrorOf(dir.file("Formulare\\Fehlt.frm")), 53);
    EXPECT_EQ(ErrorOf(dir.file("Fehlt\\Haupt.frm")), 76);
    EXPECT_EQ(ErrorOf(dir.file("Formulare/Haupt.frm/x.frm")), 76);
    EXPECT_EQ(ErrorOf(""), 52);
}

// A folder of mode 0711 owned by another user: the name as written is found, one of another letter case
// cannot be, and that is error 70, not 53. Runs in a child as nobody when the tests run as root.
TEST(MemberPath, AFolderThatMayBeSearchedButNotListedIs70ForACaseMatch) {
    TempDir dir;
    ::chmod(dir.path().c_str(), 0755);
    const std::string file = dir.write("Geheim/Main.frm", "x");
    ::chmod(dir.file("Geheim").c_str(), 0711);
    ::chmod(file.c_str(), 0644);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 ? ::setgid(65534) != 0 || ::setuid(65534) != 0
                             : ::chmod(dir.file("Geheim").c_str(), 0311) != 0)
            ::_exit(10);
        vb::MemberLookup lookup;
        const bool found = !lookup.find(dir.file("Geheim\\Main.frm")).error;
        const int cased = lookup.find(dir.file("Geheim\\main.frm")).error;
        ::_exit(!found                               ? 11
                : cased == vb::err::PermissionDenied ? 0
                : cased == vb::err::FileNotFound     ? 12
                                                     : 13);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::chmod(dir.file("Geheim").c_str(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "11: the name as written not found, 12: error 53";
}

TEST(MemberPath, OpenMemberFileReadsTheFoundFile) {
    TempDir dir;
    dir.write("Klassen/Kunde.cls", "VERSION 1.0 CLASS\r\n");
    vb::LineReader reader = vb::OpenMemberFile(dir.path().string() + "/klassen\\KUNDE.cls");
    std::string_view line;
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line, "VERSION 1.0 CLASS");
}

} // namespace

namespace {

TEST(MemberPath, InvalidUtf8NeverFoldsToAnotherName) {
    vbtest::TempDir dir;
    dir.write("\xC3\xA8x.frm",
              "x"); // "èx.frm"; C3 28 would read as C3 A8 if continuation bytes went unchecked
    EXPECT_EQ(ErrorOf(dir.file("\xC3(x.frm")), 53);
}

} // namespace

namespace {

TEST(MemberPath, NamesTooLongAre52NotMissing) {
    vbtest::TempDir dir;
    EXPECT_EQ(ErrorOf(dir.file(std::string(300, 'a') + ".frm")), 52); // one name past the limit
    std::string deep;
    for (int i = 0; i < 30; ++i)
        deep += std::string(200, 'b') + "/";
    EXPECT_EQ(ErrorOf(dir.file(deep + "x.frm")), 52); // past PATH_MAX
    EXPECT_EQ(ErrorOf(dir.file("Fehlt.frm")), 53);
}

} // namespace

// One lookup serves a whole command: its folder listings must keep folders, twins and errors apart.
TEST(MemberLookup, ListingsKeptPerFolderFindWhatAFreshLookupFinds) {
    TempDir dir;
    const std::string root = dir.path().string() + "/";
    dir.write("A/main.frm", "a");
    dir.write("B/Main.FRM", "b");
    dir.write("Twins/x.frm", "1");
    dir.write("Twins/X.frm", "2");
    dir.write("Twins/\xC3\xBC"
              "ber.frm",
              "3");
    vb::MemberLookup lookup;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "listing read" : "listing kept");
        EXPECT_EQ(lookup.resolve(root + "a\\MAIN.frm"), root + "A/main.frm");
        EXPECT_EQ(lookup.resolve(root + "b\\main.frm"), root + "B/Main.FRM");
        EXPECT_EQ(lookup.resolve(root + "twins/\xDC"
                                        "BER.FRM"),
                  root + "Twins/\xC3\xBC"
                         "ber.frm");
        EXPECT_EQ(lookup.find(root + "twins/X.FRM").error, vb::err::FileNotFound) << "twins stay ambiguous";
        EXPECT_EQ(lookup.find(root + "A/b.frm").error, vb::err::FileNotFound);
        EXPECT_EQ(lookup.find(root + "C/main.frm").error, vb::err::PathNotFound);
        EXPECT_EQ(lookup.find("").error, vb::err::BadFileName);
        EXPECT_EQ(lookup.find(root + "A/main.frm").path, root + "A/main.frm");
    }
}

TEST(MemberLookup, InAFolderFindsAsIfItWereTheWorkingDirectory) {
    TempDir dir;
    const std::string root = dir.path().string() + "/";
    dir.write("P/Formulare/Haupt.frm", "x");
    dir.write("Gemeinsam/Werkzeuge.bas", "x");
    dir.write("P/odd\\name.frm", "x");
    vb::MemberLookup lookup(root + "P/");
    EXPECT_EQ(lookup.find("Formulare/Haupt.frm").path, root + "P/Formulare/Haupt.frm");
    EXPECT_EQ(lookup.find("Formulare/Haupt.frm").by, vb::FoundBy::AsWritten);
    EXPECT_EQ(lookup.find("Formulare\\Haupt.frm").by, vb::FoundBy::Slashes);
    EXPECT_EQ(lookup.find("odd\\name.frm").path, root + "P/odd\\name.frm");
    const vb::FoundMemberPath cased = lookup.find("FORMULARE\\haupt.FRM");
    EXPECT_EQ(cased.path, root + "P/Formulare/Haupt.frm");
    EXPECT_EQ(cased.by, vb::FoundBy::LetterCase);
    EXPECT_EQ(lookup.find("..\\gemeinsam\\werkzeuge.bas").path, root + "P/../Gemeinsam/Werkzeuge.bas");
    EXPECT_EQ(lookup.find(root + "Gemeinsam/Werkzeuge.bas").path, root + "Gemeinsam/Werkzeuge.bas")
        << "an absolute path is not put under the folder";

    // The folder without its last "/" leads to the same files; a relative folder starts at the working
    // directory, which the lookup itself never changes.
    EXPECT_EQ(vb::MemberLookup(root + "P").find("Formulare/Haupt.frm").path, root + "P/Formulare/Haupt.frm");
    const auto before = std::filesystem::current_path();
    {
        vbtest::WorkingDirectory in(dir.path());
        EXPECT_EQ(vb::MemberLookup("P/").resolve("formulare/haupt.frm"), "P/Formulare/Haupt.frm");
    }
    EXPECT_EQ(std::filesystem::current_path(), before);

    try {
        lookup.resolve("Formulare\\Fehlt.frm");
        ADD_FAILURE() << "a missing member is an error";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.number(), vb::err::FileNotFound);
        EXPECT_EQ(e.path(), root + "P/Formulare\\Fehlt.frm") << "named as the caller reaches it";
    }
    EXPECT_EQ(lookup.find("Fehlt/A.frm").error, vb::err::PathNotFound);
    EXPECT_EQ(lookup.seenFromCaller(""), "") << "an empty name names no place";
}

TEST(MemberLookup, SaysHowItFoundTheFile) {
    TempDir dir;
    const std::string root = dir.path().string() + "/";
    dir.write("Formulare/Haupt.frm", "x");
    dir.write("\xC3\x84nderung.frm", "x");
    vb::MemberLookup lookup;
    EXPECT_EQ(lookup.find(root + "Formulare/Haupt.frm").by, vb::FoundBy::AsWritten);
    EXPECT_EQ(lookup.find(root + "Formulare\\Haupt.frm").by, vb::FoundBy::Slashes);
    EXPECT_EQ(lookup.find(root + "formulare\\HAUPT.frm").by, vb::FoundBy::LetterCase);
    EXPECT_EQ(lookup.find(root + "\xC4nderung.frm").by, vb::FoundBy::Windows1252);
    EXPECT_EQ(lookup.find(root + "\xE4nderung.FRM").by, vb::FoundBy::Windows1252);
    EXPECT_EQ(lookup.find(root + "fehlt.frm").by, vb::FoundBy::NotFound);
}

namespace {

TEST(MemberPath, EntriesLeadingOutsideTheirFolderAreToldByTheirWords) {
    for (const char* outside : {"..\\shared\\A.bas", "../A.bas", "Sub\\..\\..\\A.bas", "/usr/A.bas",
                                "\\A.bas", "\\\\server\\share\\A.bas", "C:\\VB\\A.bas", "d:A.bas"})
        EXPECT_TRUE(vb::LeadsOutsideFolder(outside)) << outside;
    for (const char* inside :
         {"A.bas", "Sub\\A.bas", "Sub\\..\\A.bas", ".\\A.bas", "Sub//A.bas", "..A.bas", "Sub\\..A\\x.bas"})
        EXPECT_FALSE(vb::LeadsOutsideFolder(inside)) << inside;
}

} // namespace

// Opening tries the two plain spellings with open() before the lookup's own way; both must reach the same
// file, or the same error, for every kind of entry.
TEST(MemberLookup, OpensTheFileItFindsOrFailsAsItDoes) {
    TempDir dir;
    const std::string root = dir.path().string() + "/";
    dir.write("P/Formulare/Haupt.frm", "haupt");
    dir.write("P/odd\\name.frm", "odd");
    dir.write("P/Odd\\Name.frm", "odd twin"); // both names fold alike: neither is known by case alone
    dir.write("P/Ziel.frm", "ziel");
    dir.write("P/Klassen/Kunde.cls", "kunde");
    std::filesystem::create_directories(root + "P/Ordner.frm");
    std::filesystem::create_symlink("Ziel.frm", root + "P/Verweis.frm");
    // A dangling link under the name as written: the name exists, so it is taken, and it is missing,
    // even though the slashed spelling names a file.
    std::filesystem::create_symlink("weg.cls", root + "P/Klassen\\Kunde.cls");
    vb::MemberLookup lookup(root + "P/");
    const auto contents = [&](const std::string& entry) {
        std::optional<vb::LineReader> reader;
        if (const auto error = lookup.openInto(entry, reader))
            return "error " + std::to_string(error->number()) + " " + error->path();
        std::string_view line;
        EXPECT_TRUE(reader->next(line));
        EXPECT_EQ(reader->path(), lookup.resolve(entry)) << entry;
        return std::string(line);
    };
    EXPECT_EQ(contents("Formulare/Haupt.frm"), "haupt");
    EXPECT_EQ(contents("Formulare\\Haupt.frm"), "haupt");
    EXPECT_EQ(contents("FORMULARE\\haupt.FRM"), "haupt");
    EXPECT_EQ(contents("odd\\name.frm"), "odd");
    EXPECT_EQ(contents("Odd\\Name.frm"), "odd twin");
    EXPECT_EQ(contents("ODD\\NAME.frm"), "error 76 " + root + "P/ODD\\NAME.frm");
    EXPECT_EQ(contents("Verweis.frm"), "ziel") << "a link to a member is followed";
    EXPECT_EQ(contents("verweis.FRM"), "ziel");
    EXPECT_EQ(contents("Klassen\\Kunde.cls"), "error 53 " + root + "P/Klassen\\Kunde.cls");
    EXPECT_EQ(contents("Ordner.frm"), "error 75 " + root + "P/Ordner.frm");
    EXPECT_EQ(contents("Formulare\\Fehlt.frm"), "error 53 " + root + "P/Formulare\\Fehlt.frm");
    EXPECT_EQ(contents("Fehlt\\Haupt.frm"), "error 76 " + root + "P/Fehlt\\Haupt.frm");
    EXPECT_EQ(contents(std::string("Ziel.frm\0x", 10)),
              "error 52 " + root + "P/" + std::string("Ziel.frm\0x", 10));
}

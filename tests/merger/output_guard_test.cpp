#include "files/replaced_file.h"
#include "merger/merged_file.h"
#include "merger/output_guard.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using merger::OwnFileNamedBy;
using vbtest::TempDir;

// A project "Projekt.vbp" in a fresh folder with a form in a sub-folder and a module.
struct GuardedProject {
    GuardedProject() {
        project = dir.write("Projekt.vbp", "Form=Formulare\\Haupt.frm\r\nModule=S; Start.bas\r\n");
        dir.write("Formulare/Haupt.frm", "form");
        dir.write("Start.bas", "module");
        folder = dir.path().string() + "/";
        lists.Forms = {"FORMULARE\\haupt.FRM"}; // as written on Windows: other case, backslash
        lists.FormCount = 1;
        lists.Modules = {"Fehlt.bas", "Start.bas"}; // a missing member does not end the search
        lists.ModuleCount = 2;
    }
    std::optional<std::string> guard(const std::string& output) const {
        return OwnFileNamedBy(output, project, lists, folder);
    }

    TempDir dir;
    std::string project;
    std::string folder;
    vb::ProjectFileLists lists;
};

TEST(OutputGuard, ProjectFileByAnotherSpelling) {
    GuardedProject p;
    fs::create_directory(p.dir.path() / "sub");
    const std::string name = p.dir.path().filename().string();
    EXPECT_EQ(p.guard(p.project), p.project);
    EXPECT_EQ(p.guard(p.dir.path().string() + "//Projekt.vbp"), p.project);
    EXPECT_EQ(p.guard(p.dir.path().string() + "/sub/../Projekt.vbp"), p.project);
    vbtest::WorkingDirectory cwd(p.dir.path() / "sub");
    EXPECT_EQ(p.guard("../Projekt.vbp"), p.project);
    EXPECT_EQ(p.guard("./../" + std::string("../") + name + "/Projekt.vbp"), p.project);
}

TEST(OutputGuard, MemberByLinksAndByItsWindowsSpelling) {
    GuardedProject p;
    fs::create_symlink(p.dir.path() / "Formulare" / "Haupt.frm", p.dir.path() / "symlink.txt");
    fs::create_hard_link(p.dir.path() / "Start.bas", p.dir.path() / "hardlink.txt");
    EXPECT_EQ(p.guard(p.dir.file("symlink.txt")), p.folder + "FORMULARE\\haupt.FRM");
    EXPECT_EQ(p.guard(p.dir.file("Formulare/Haupt.frm")), p.folder + "FORMULARE\\haupt.FRM");
    EXPECT_EQ(p.guard(p.dir.file("hardlink.txt")), p.folder + "Start.bas");
}

TEST(OutputGuard, OtherFilesPass) {
    GuardedProject p;
    EXPECT_EQ(p.guard(p.dir.file("Ausgabe.txt")), std::nullopt) << "a missing output";
    EXPECT_EQ(p.guard(""), std::nullopt);
    // A copy with the same name and content elsewhere is another file.
    const auto copy = p.dir.write("Kopie/Start.bas", "module");
    EXPECT_EQ(p.guard(copy), std::nullopt);
    EXPECT_EQ(p.guard(p.dir.file("Kopie")), std::nullopt);
}

TEST(OutputGuard, AMissingOutputIsFoundBehindDotsAndLinksOfAMissingMembersPath) {
    // Missing members whose paths reach the output's place only once "..", "." and links on the way are
    // resolved.
    GuardedProject p;
    fs::create_directory_symlink(p.dir.path() / "Formulare", p.dir.path() / "Verweis");
    const auto refused = [&](const std::string& entry, const std::string& output) {
        p.lists.Forms = {entry};
        return p.guard(p.dir.file(output)) == p.folder + entry;
    };
    EXPECT_TRUE(refused("Formulare\\..\\Neu.frm", "Neu.frm"));
    EXPECT_TRUE(refused("Verweis/Neu.frm", "Formulare/Neu.frm"));
    EXPECT_TRUE(refused("Formulare/../Verweis/./Neu.frm", "Formulare/Neu.frm"));
    // Another last name leads elsewhere.
    EXPECT_FALSE(refused("Formulare\\..\\Neu.frm", "Neu.txt"));
    EXPECT_FALSE(refused("Verweis/Neu.frm", "Verweis.frm"));
}

} // namespace

// The output's name changes between the guard's look and the opening: a link to a member appears, or one
// that was followed goes again. In every order the merge ends refused and the member keeps its bytes.
TEST(OutputGuard, ALinkThatAppearsOrGoesAfterTheGuardNeverReplacesAMember) {
    for (const bool linkGoesAgain : {false, true}) {
        SCOPED_TRACE(linkGoesAgain ? "link gone before the merge" : "link stays");
        GuardedProject p;
        const std::string output = p.dir.file("out.txt");
        ASSERT_EQ(p.guard(output), std::nullopt);
        fs::create_symlink("Formulare/Haupt.frm", output);
        vb::MemberLookup lookup;
        vb::ReplacedFile file(
            output, [&](int fd) { merger::RefuseOwnFileOpened(fd, p.project, p.lists, p.folder, lookup); });
        if (linkGoesAgain)
            fs::remove(output);
        vb::LineWriter out(file.fd(), output);
        EXPECT_THROW(merger::WriteMergedFile(
                         p.lists, p.folder, out, [] { return true; }, {},
                         merger::IdentitiesOfOutput(file.fd(), file.path()), &lookup),
                     merger::MergeReadsItsOutput);
        EXPECT_EQ(vbtest::ReadBytes(p.dir.file("Formulare/Haupt.frm")), "form");
    }
}

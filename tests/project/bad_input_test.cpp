// Project files that are not what they should be: a missing file, a folder, binary junk. The reader
// reports the right number or reads what lines there are, and never changes the file.
#include "errors/runtime_error.h"
#include "files/member_path.h"
#include "project/read_project_file.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using vbtest::TempDir;

int ErrorNumberOfReading(const std::string& path) {
    try {
        vb::ReadProjectFile(path);
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.path(), path);
        return e.number();
    }
    return 0;
}

TEST(ProjectBadInput, MissingPathFolderAndEmptyName) {
    TempDir dir;
    EXPECT_EQ(ErrorNumberOfReading(dir.file("Fehlt.vbp")), 53);
    EXPECT_EQ(ErrorNumberOfReading(dir.file("Fehlt/Test.vbp")), 76);
    EXPECT_EQ(ErrorNumberOfReading(dir.path().string()), 75);
    EXPECT_EQ(ErrorNumberOfReading(""), 52);
}

TEST(ProjectBadInput, RandomBytesWithNulReadWithoutComplaintAndUnchanged) {
    TempDir dir;
    std::mt19937 random(4711);
    std::string bytes(1 << 20, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() % 256);
    // Make sure some member lines stand in the junk, one with NUL bytes in its entry.
    bytes += std::string("\rForm=Ha\0pt.frm\nModule=X; \0\0\r\n", 31);
    const std::string path = dir.write("Zufall.vbp", bytes);
    const auto lists = vb::ReadProjectFile(path);
    for (const auto kind : vb::kSourceKinds)
        EXPECT_EQ(static_cast<std::size_t>(lists.count(kind)), lists.list(kind).size());
    ASSERT_GE(lists.FormCount, 1);
    EXPECT_EQ(lists.Forms.back(), std::string("Ha\0pt.frm", 9)) << "bytes stay as they are";
    EXPECT_EQ(lists.Modules.back(), std::string("\0\0", 2));
    EXPECT_EQ(vbtest::ReadBytes(path), bytes);
    // Such an entry names no file: it is refused, not shortened at the NUL.
    dir.write("Ha", "");
    try {
        vb::ResolveMemberPath(dir.path().string() + "/" + std::string(lists.Forms.back()));
        FAIL();
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.number(), 52);
    }
}

TEST(ProjectBadInput, EntriesThatNameNothingUsefulAreKeptAsWritten) {
    TempDir dir;
    const std::string path = dir.write("Test.vbp", "Form=\r\n"
                                                   "Form=..\\..\\Aussen.frm\r\n"
                                                   "Module=Leer;\r\n"
                                                   "UserControl=Ordner\r\n"
                                                   "Form");
    const auto lists = vb::ReadProjectFile(path);
    // The empty first entry is filled by the next form line; the key alone on the last line stores empty
    // text in the entry after it.
    EXPECT_EQ(lists.Forms, (std::vector<std::string>{"..\\..\\Aussen.frm", "", ""}));
    EXPECT_EQ(lists.Modules, (std::vector<std::string>{""}));
    EXPECT_EQ(lists.UserControls, (std::vector<std::string>{"Ordner"}));
}

} // namespace

#include "errors/runtime_error.h"
#include "member_texts.h"
#include "merger/merged_file.h"
#include "project/read_project_file.h"
#include "temp_dir.h"
#include "written_project.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::string_view_literals;
using vb::SourceKind;
using vbtest::ReadBytes;
using vbtest::TempDir;

// A project in a fresh folder: member files written with explicit bytes, lists as the reader leaves them.
class Project : public mergertest::WrittenProject {
public:
    std::string output() const { return dir.file("out.txt"); }

    // Merges with the option asked through `option` and returns the output file's bytes.
    std::string merge(const std::function<bool()>& option, const std::function<void()>& done = {}) const {
        merger::MergeIntoFile(lists, folder() + "Projekt.vbp", folder(), output(), option, done);
        return ReadBytes(output());
    }
    std::string merge(bool option) const {
        return merge([option] { return option; });
    }
};

const std::string kForm = std::string("VERSION 5.00\r\n"
                                      "Object = \"{831FDD16-0C5C}#2.0#0\"; \"MSCOMCTL.OCX\"\r\n"
                                      "Begin VB.Form frmHaupt \r\n"
                                      "End\r\n") +
                          std::string(vbtest::kFrmHauptAttributes) + "Option Explicit\r\n";

const std::string kFormBodyWithOption = std::string("Begin VB.Form frmHaupt \r\n"
                                                    "End\r\n") +
                                        std::string(vbtest::kFrmHauptAttributes) + "Option Explicit\r\n";

TEST(MergedFile, NoMembersGivesTheFiveHeadingsOnly) {
    Project p;
    EXPECT_EQ(p.merge(true), vbtest::kEmptyMergedFile);
}

TEST(MergedFile, OneFormProject) {
    Project p;
    p.add(SourceKind::Form, "Haupt.frm", kForm);
    EXPECT_EQ(p.merge(true),
              "FORMULARE:\r\nHaupt.frm:\r\n" + std::string(kFormBodyWithOption) +
                  "\r\n\r\n\r\n\r\n"
                  "MODULE:\r\n\r\n\r\nKLASSENMODULE:\r\n\r\n\r\nBENUTZERSTEUERELEMENTE:\r\n\r\n\r\n"
                  "EIGENSCHAFTENSEITEN:\r\n");
    EXPECT_EQ(p.merge(false),
              "FORMULARE:\r\nHaupt.frm:\r\nOption Explicit\r\n\r\n\r\n\r\n\r\n"
              "MODULE:\r\n\r\n\r\nKLASSENMODULE:\r\n\r\n\r\nBENUTZERSTEUERELEMENTE:\r\n\r\n\r\n"
              "EIGENSCHAFTENSEITEN:\r\n");
}

TEST(MergedFile, EveryKindUnderItsHeadingWithItsRule) {
    Project p;
    p.add(SourceKind::PropertyPage, "Seite.pag",
          "VERSION 5.00\r\nBegin VB.PropertyPage pp\r\nAttribute 1\r\n"
          "a\r\nb\r\nc\r\nd\r\npage code");
    p.add(SourceKind::UserControl, "Anzeige.ctl",
          "VERSION 5.00\r\nBegin VB.UserControl uc\r\nAttribute 1\r\n"
          "a\r\nb\r\nc\r\nd\r\ncontrol code\r\n");
    p.add(SourceKind::ClassModule, "Kunde.cls",
          "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\nclass code\r\n");
    p.add(SourceKind::Module, "Start.bas", "Attribute VB_Name = \"Start\"\r\nmodule code\r\n");
    p.add(SourceKind::Form, "Haupt.frm", kForm);
    EXPECT_EQ(p.merge(false), "FORMULARE:\r\nHaupt.frm:\r\nOption Explicit\r\n\r\n\r\n\r\n\r\n"
                              "MODULE:\r\nStart.bas:\r\nmodule code\r\n\r\n\r\n\r\n\r\n"
                              "KLASSENMODULE:\r\nKunde.cls:\r\nclass code\r\n\r\n\r\n\r\n\r\n"
                              "BENUTZERSTEUERELEMENTE:\r\nAnzeige.ctl:\r\ncontrol code\r\n\r\n\r\n\r\n\r\n"
                              "EIGENSCHAFTENSEITEN:\r\nSeite.pag:\r\npage code\r\n");
    EXPECT_EQ(p.merge(true),
              "FORMULARE:\r\nHaupt.frm:\r\n" + std::string(kFormBodyWithOption) +
                  "\r\n\r\n\r\n\r\n"
                  "MODULE:\r\nStart.bas:\r\nAttribute VB_Name = \"Start\"\r\nmodule code\r\n\r\n\r\n\r\n\r\n"
                  "KLASSENMODULE:\r\nKunde.cls:\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\nclass code\r\n"
                  "\r\n\r\n\r\n\r\n"
                  "BENUTZERSTEUERELEMENTE:\r\nAnzeige.ctl:\r\nBegin VB.UserControl uc\r\nAttribute 1\r\n"
                  "a\r\nb\r\nc\r\nd\r\ncontrol code\r\n\r\n\r\n\r\n\r\n"
                  "EIGENSCHAFTENSEITEN:\r\nSeite.pag:\r\nBegin VB.PropertyPage pp\r\nAttribute 1\r\n"
                  "a\r\nb\r\nc\r\nd\r\npage code\r\n");
}

TEST(MergedFile, TwoPropertyPagesLastEndsTheFile) {
    Project p;
    p.add(SourceKind::PropertyPage, "A.pag", "Attribute\r\n1\r\n2\r\n3\r\n4\r\nfirst\r\n");
    p.add(SourceKind::PropertyPage, "B.pag", "Attribute\r\n1\r\n2\r\n3\r\n4\r\nsecond\r\nlast");
    EXPECT_EQ(p.merge(false),
              "FORMULARE:\r\n\r\n\r\nMODULE:\r\n\r\n\r\nKLASSENMODULE:\r\n\r\n\r\n"
              "BENUTZERSTEUERELEMENTE:\r\n\r\n\r\n"
              "EIGENSCHAFTENSEITEN:\r\nA.pag:\r\nfirst\r\n\r\n\r\nB.pag:\r\nsecond\r\nlast\r\n");
}

TEST(MergedFile, SubFolderEntryIsFoundAndShownAsWritten) {
    Project p;
    p.add(SourceKind::Form, "Formulare\\Haupt.frm", kForm);
    EXPECT_EQ(p.merge(false),
              "FORMULARE:\r\nFormulare\\Haupt.frm:\r\nOption Explicit\r\n\r\n\r\n\r\n\r\n"
              "MODULE:\r\n\r\n\r\nKLASSENMODULE:\r\n\r\n\r\nBENUTZERSTEUERELEMENTE:\r\n\r\n\r\n"
              "EIGENSCHAFTENSEITEN:\r\n");
}

TEST(MergedFile, LinesCopiedByteForByteWithCrLf) {
    Project p;
    const auto bytes = "cr\rlf\ncrlf\r\n\x80\x9F\xA0\xFF\r\nnul\0mid\r\n\r\nlast without end"sv;
    p.add(SourceKind::Module, "Bytes.bas", bytes);
    const auto merged = p.merge(true);
    const auto expected = "Bytes.bas:\r\ncr\r\nlf\r\ncrlf\r\n\x80\x9F\xA0\xFF\r\nnul\0mid\r\n\r\n"
                          "last without end\r\n\r\n\r\n\r\n\r\nKLASSENMODULE:"sv;
    EXPECT_NE(merged.find(expected), std::string::npos) << merged;
}

TEST(MergedFile, ExistingOutputIsReplaced) {
    Project p;
    p.add(SourceKind::Module, "M.bas", "x\r\n");
    vbtest::WriteBytes(p.output(), std::string(100000, 'o'));
    const auto merged = p.merge(false);
    EXPECT_EQ(merged.find('o'), std::string::npos);
    EXPECT_TRUE(
        merged.starts_with("FORMULARE:\r\n\r\n\r\nMODULE:\r\nM.bas:\r\n\r\n\r\n\r\n\r\nKLASSENMODULE:"))
        << merged;
}

TEST(MergedFile, MissingMemberKeepsTheLinesWrittenBeforeAndReports53) {
    Project p;
    p.add(SourceKind::Form, "A.frm", "Attribute\r\n1\r\n2\r\n3\r\n4\r\nform code\r\n");
    p.addEntry(SourceKind::Form, "Fehlt.frm");
    p.add(SourceKind::Module, "M.bas", "never\r\n");
    int done = 0;
    try {
        vb::LineWriter out(p.output()); // not closed: its destructor flushes while the error unwinds
        merger::WriteMergedFile(
            p.lists, p.folder(), out, [] { return false; }, [&] { ++done; });
        FAIL() << "no error";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.number(), 53);
        EXPECT_EQ(e.path(), p.folder() + "Fehlt.frm");
    }
    EXPECT_EQ(done, 1);
    EXPECT_EQ(ReadBytes(p.output()), "FORMULARE:\r\nA.frm:\r\nform code\r\n\r\n\r\nFehlt.frm:\r\n");
}

TEST(MergedFile, WriteErrorSurfacesBeforeReturning) {
    // The output is smaller than the writer's buffer: the error shows only when the buffer is handed over.
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    Project p;
    p.add(SourceKind::Module, "M.bas", "x\r\n");
    vb::LineWriter out("/dev/full");
    try {
        merger::WriteMergedFile(p.lists, p.folder(), out, [] { return true; });
        FAIL() << "a full disk reported as success";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.number(), 61);
    }
}

TEST(MergedFile, OptionAskedPerMemberAndProgressPerMember) {
    Project p;
    for (const char* name : {"A.bas", "B.bas", "C.bas"})
        p.add(SourceKind::Module, name, std::string("head ") + name + "\r\nbody\r\n");
    int asked = 0;
    int done = 0;
    const auto merged = p.merge([&] { return ++asked % 2 == 1; }, [&] { ++done; });
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(done, 3);
    EXPECT_NE(merged.find("MODULE:\r\nA.bas:\r\nhead A.bas\r\nbody\r\n\r\n\r\nB.bas:\r\nbody\r\n\r\n\r\n"
                          "C.bas:\r\nhead C.bas\r\nbody\r\n"),
              std::string::npos)
        << merged;
}

TEST(MergedFile, InputFilesUnchangedAfterMerge) {
    TempDir dir;
    const std::string project =
        dir.write("Projekt.vbp", "Type=Exe\r\nForm=Haupt.frm\r\nModule=S; Start.bas\n");
    const std::string form = dir.write("Haupt.frm", kForm);
    const std::string module = dir.write("Start.bas", "Attribute VB_Name = \"S\"\rSub Main()\rEnd Sub");
    const std::vector<std::string> before{ReadBytes(project), ReadBytes(form), ReadBytes(module)};
    merger::MergeIntoFile(vb::ReadProjectFile(project), project, vb::FolderOfPath(project),
                          dir.file("out.txt"), [] { return true; });
    EXPECT_EQ(before, (std::vector{ReadBytes(project), ReadBytes(form), ReadBytes(module)}));
    EXPECT_NE(ReadBytes(dir.file("out.txt"))
                  .find("Start.bas:\r\nAttribute VB_Name = \"S\"\r\nSub Main()\r\nEnd Sub\r\n"),
              std::string::npos);
}

TEST(MergedFile, ProgressMaximumIsTheMemberCountIn16Bits) {
    vb::ProjectFileLists lists;
    EXPECT_EQ(merger::MergeProgressMaximum(lists), 0);
    lists.FormCount = 1;
    lists.ModuleCount = 2;
    lists.ClassModuleCount = 3;
    lists.UserControlCount = 4;
    lists.PropertyPageCount = 5;
    EXPECT_EQ(merger::MergeProgressMaximum(lists), 15);
    lists.PropertyPageCount = 32767 - 10;
    EXPECT_EQ(merger::MergeProgressMaximum(lists), 32767);
    lists.FormCount = 2;
    try {
        merger::MergeProgressMaximum(lists);
        FAIL() << "no overflow";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.number(), 6);
    }
}

TEST(MergedFile, CountBeyondItsListIsAnErrorNotARead) {
    Project p;
    p.lists.FormCount = 1; // no entry behind it
    try {
        p.merge(true);
        FAIL() << "no error";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.number(), 9);
    }
}

} // namespace

namespace {

// The member is compared with the output by identity after it is opened: a hard link made under another
// name, which no spelling check can see, is still the output and is not read.
TEST(MergedFile, AMemberThatIsTheOutputByIdentityIsNotRead) {
    TempDir dir;
    const std::string output = dir.write("Zusammen.txt", "alt\r\n");
    std::filesystem::create_hard_link(output, dir.file("Zweit.bas"));
    dir.write("Erst.bas", "Attribute VB_Name = \"Erst\"\r\n");
    const vb::ProjectFileLists lists =
        vb::ReadProjectFile(dir.write("P.vbp", "Module=E; Erst.bas\r\nModule=Z; Zweit.bas\r\n"));
    const std::string temporary = dir.file("neu.txt");
    vb::LineWriter out(temporary);
    const int fd = ::open(temporary.c_str(), O_RDONLY);
    const auto written = merger::IdentitiesOfOutput(fd, output);
    ::close(fd);
    ASSERT_EQ(written.size(), 2u) << "the file written and the target it replaces";
    try {
        merger::WriteMergedFile(
            lists, dir.path().string() + "/", out, [] { return true; }, {}, written);
        ADD_FAILURE() << "merged";
    } catch (const merger::MergeReadsItsOutput& e) {
        EXPECT_EQ(e.path(), dir.file("Zweit.bas"));
    }
    EXPECT_EQ(ReadBytes(output), "alt\r\n");
}

} // namespace

namespace {

// Into a file, the earlier output stays whole and no temporary file is left when a member is missing or
// is the output itself by identity.
TEST(MergedFile, MergeIntoFileKeepsTheEarlierOutputWhenItFails) {
    Project p;
    p.add(SourceKind::Module, "A.bas", "Attribute VB_Name = \"A\"\r\n");
    p.addEntry(SourceKind::Module, "Fehlt.bas");
    vbtest::WriteBytes(p.output(), "alt\r\n");
    try {
        p.merge(true);
        ADD_FAILURE() << "merged without its member";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.number(), 53);
    }
    EXPECT_EQ(ReadBytes(p.output()), "alt\r\n");

    Project q;
    vbtest::WriteBytes(q.output(), "alt\r\n");
    std::filesystem::create_hard_link(q.output(), q.dir.file("Zweit.bas"));
    q.addEntry(SourceKind::Module, "Zweit.bas");
    EXPECT_THROW(q.merge(true), merger::MergeReadsItsOutput);
    EXPECT_EQ(ReadBytes(q.output()), "alt\r\n");

    for (const Project* project : {&p, &q})
        for (const auto& file : std::filesystem::directory_iterator(project->dir.path()))
            EXPECT_TRUE(file.path().extension() == ".bas" || file.path() == project->output()) << file.path();
}

} // namespace

namespace {

// Line numbers: each body line keeps its bytes behind its number in the member file; headings, entries and
// the empty lines between members stay as they are, and the numbers count the lines the head rule dropped.
TEST(MergedFile, LineNumbersCountTheMemberFilesLines) {
    Project p;
    p.add(SourceKind::Form, "Haupt.frm", kForm);
    p.add(SourceKind::Module, "M.bas", "Attribute VB_Name = \"M\"\n\xE4\r\n");
    merger::MergeIntoFile(
        p.lists, p.folder() + "Projekt.vbp", p.folder(), p.output(), [] { return false; }, {}, nullptr, {},
        true);
    EXPECT_EQ(ReadBytes(p.output()), "FORMULARE:\r\n"
                                     "Haupt.frm:\r\n"
                                     "    10 | Option Explicit\r\n"
                                     "\r\n\r\n"
                                     "\r\n\r\nMODULE:\r\n"
                                     "M.bas:\r\n"
                                     "     2 | \xE4\r\n"
                                     "\r\n\r\n"
                                     "\r\n\r\nKLASSENMODULE:\r\n\r\n\r\n"
                                     "BENUTZERSTEUERELEMENTE:\r\n\r\n\r\nEIGENSCHAFTENSEITEN:\r\n");
}

} // namespace

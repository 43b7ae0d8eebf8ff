#include "errors/runtime_error.h"
#include "project/read_project_file.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using vb::ProjectFileLists;
using vb::ReadProjectFile;
using vbtest::TempDir;
using Entries = std::vector<std::string>;

ProjectFileLists Read(const TempDir& dir, std::string_view bytes) {
    return ReadProjectFile(dir.write("p.vbp", bytes));
}

TEST(ReadProjectFile, EachKeyAndItsCut) {
    TempDir dir;
    const auto lists =
        Read(dir, "Type=Exe\r\n"
                  "Form=Main.frm\r\n"
                  "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#OLE\r\n"
                  "Module=Start; Start.bas\r\n"
                  "Class=Kunde; Kunde.cls\r\n"
                  "UserControl=Gauge.ctl\r\n"
                  "PropertyPage=General.pag\r\n"
                  "Form=Forms\\Second.frm\r\n"
                  "Startup=\"Main\"\r\n");
    EXPECT_EQ(lists.FormCount, 2);
    EXPECT_EQ(lists.Forms, (Entries{"Main.frm", "Forms\\Second.frm"}));
    EXPECT_EQ(lists.ModuleCount, 1);
    EXPECT_EQ(lists.Modules, Entries{"Start.bas"});
    EXPECT_EQ(lists.ClassModuleCount, 1);
    EXPECT_EQ(lists.ClassModules, Entries{"Kunde.cls"});
    EXPECT_EQ(lists.UserControlCount, 1);
    EXPECT_EQ(lists.UserControls, Entries{"Gauge.ctl"});
    EXPECT_EQ(lists.PropertyPageCount, 1);
    EXPECT_EQ(lists.PropertyPages, Entries{"General.pag"});
}

TEST(ReadProjectFile, QuirkyCutsByCharacterPosition) {
    TempDir dir;
    const auto lists =
        Read(dir, "Module=Tools;Tools.bas\n"  // no blank after ";": first letter lost
                  "Module=NoSemicolon.bas\n"  // no ";": from the second character
                  "Modules are not members\n" // "Modul" matches "Module..." too
                  "Class=A;B;C.cls\n"         // the first ";" counts, the character after it is skipped
                  "Form=  Spaced.frm  \n"     // nothing is trimmed
                  "FormX\n"                   // key plus one character: empty entry
                  "Formular=Odd.frm\n"        // the character after the key is skipped, whatever it is
                  "UserControl\n"             // key alone
                  "PropertyPage=\n");
    EXPECT_EQ(lists.Modules, (Entries{"ools.bas", "odule=NoSemicolon.bas", "odules are not members"}));
    EXPECT_EQ(lists.ClassModules, Entries{";C.cls"});
    EXPECT_EQ(lists.FormCount, 3);
    EXPECT_EQ(lists.Forms, (Entries{"  Spaced.frm  ", "lar=Odd.frm", ""}));
    EXPECT_EQ(lists.UserControls, Entries{""});
    EXPECT_EQ(lists.PropertyPages, Entries{""});
}

TEST(ReadProjectFile, AnEmptyEntryIsFilledByTheNextLineOfItsKind) {
    TempDir dir;
    const auto lists = Read(dir, "Form\r\nForm=A.frm\r\nForm=\r\nForm=B.frm\r\nForm=C.frm\r\n");
    EXPECT_EQ(lists.FormCount, 5);
    EXPECT_EQ(lists.Forms, (Entries{"A.frm", "B.frm", "C.frm", "", ""}));
}

TEST(ReadProjectFile, KeysAreCaseSensitiveAndStartInTheFirstColumn) {
    TempDir dir;
    const auto lists =
        Read(dir, "form=a.frm\r\n Form=b.frm\r\nFORM=c.frm\r\nmodule=x; x.bas\r\n\tClass=k; k.cls\r\n"
                  "usercontrol=u.ctl\r\nPropertypage=p.pag\r\n");
    EXPECT_EQ(lists, ProjectFileLists{});
}

TEST(ReadProjectFile, EveryLineEndCountsAndLastLineNeedsNone) {
    TempDir dir;
    const auto lists = Read(dir, "Form=A.frm\rForm=B.frm\nForm=C.frm\r\nModule=M; M.bas");
    EXPECT_EQ(lists.Forms, (Entries{"A.frm", "B.frm", "C.frm"}));
    EXPECT_EQ(lists.Modules, Entries{"M.bas"});
}

TEST(ReadProjectFile, FilesWithoutKeysAndEmptyFilesGiveNoMembers) {
    TempDir dir;
    EXPECT_EQ(Read(dir, ""), ProjectFileLists{});
    constexpr char kJunk[] = "\x00\x01\xFFgarbage\r\nno keys here\n";
    EXPECT_EQ(Read(dir, std::string(kJunk, sizeof kJunk - 1)), ProjectFileLists{});
}

TEST(ReadProjectFile, TheTextOfTheWholeFileDecidesHowItsEntriesAreShown) {
    const TempDir dir;
    EXPECT_EQ(Read(dir, "Form=A.frm\r\n").Text, vb::TextKind::Ascii);
    EXPECT_EQ(Read(dir, "Form=Er\xC3\xB6"
                        "ffnung.frm\nTitle=\"Gr\xC3\xBC\xC3\x9F"
                        "e\"\n")
                  .Text,
              vb::TextKind::Utf8);
    // One Windows-1252 byte anywhere, even in a line that is no member, makes the whole file 8-bit.
    EXPECT_EQ(Read(dir, "Form=Er\xC3\xB6"
                        "ffnung.frm\nTitle=\"Gr\xFC\xDF"
                        "e\"\n")
                  .Text,
              vb::TextKind::EightBit);
}

TEST(ReadProjectFile, ProgressAfterEachStep) {
    TempDir dir;
    std::vector<int> values;
    ReadProjectFile(dir.write("p.vbp", "Form=A.frm\r\n"), [&](int v) { values.push_back(v); });
    EXPECT_EQ(values, (std::vector<int>{1, 2, 3}));
}

TEST(ReadProjectFile, Counts32767LinesAndOverflowsAt32768) {
    TempDir dir;
    std::string bytes;
    for (int i = 0; i < 32767; ++i)
        bytes += "Class=C; C" + std::to_string(i) + ".cls\r\n";
    const auto lists = Read(dir, bytes);
    EXPECT_EQ(lists.ClassModuleCount, 32767);
    EXPECT_EQ(lists.ClassModules.back(), "C32766.cls");

    std::vector<int> progress;
    try {
        ReadProjectFile(dir.write("big.vbp", bytes + "Class=D; D.cls\r\n"),
                        [&](int v) { progress.push_back(v); });
        FAIL();
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.number(), 6);
    }
    EXPECT_TRUE(progress.empty()) << "the overflow happens in the first pass";
}

TEST(ReadProjectFile, AFileChangedBetweenThePassesFillsNoMoreThanItsCounts) {
    TempDir dir;
    const std::string path = dir.write("p.vbp", "Form=A.frm\r\nModule=M; M.bas\r\nForm=B.frm\r\n");
    const auto readChangedTo = [&](std::string_view bytes) {
        return ReadProjectFile(path, [&](int step) {
            if (step == 1)
                dir.write("p.vbp", bytes);
        });
    };
    // Grown: the counts of the first pass hold; the lines after them are not stored.
    auto lists = readChangedTo("Form=\r\nForm=X.frm\r\nModule=N; N.bas\r\nForm=Y.frm\r\nForm=Z.frm\r\n"
                               "Module=O; O.bas\r\nClass=K; K.cls\r\n");
    EXPECT_EQ(lists.FormCount, 2);
    EXPECT_EQ(lists.Forms, (Entries{"X.frm", "Y.frm"}));
    EXPECT_EQ(lists.Modules, Entries{"N.bas"});
    EXPECT_EQ(lists.ClassModuleCount, 0);
    EXPECT_TRUE(lists.ClassModules.empty());
    // Shrunk: what the second pass does not find stays empty.
    dir.write("p.vbp", "Form=A.frm\r\nForm=B.frm\r\nForm=C.frm\r\n");
    lists = readChangedTo("Form=Q.frm\r\n");
    EXPECT_EQ(lists.Forms, (Entries{"Q.frm", "", ""}));
}

TEST(ReadProjectFile, ManyLinesOverManyReadsWithEveryLineEndAndTheTextOfEachPart) {
    // Far more than one read: lines and CR LF pairs fall across the reads; the text of a line deep in
    // the file still decides the text of the whole file.
    constexpr std::string_view kEnds[] = {"\r\n", "\r", "\n"};
    std::string bytes;
    Entries forms;
    Entries modules;
    for (int i = 0; i < 6000; ++i) {
        forms.push_back("Formulare\\frmTeil" + std::to_string(i) + ".frm");
        bytes += "Form=" + forms.back() + std::string(kEnds[i % 3]);
        if (i % 7 == 0) {
            modules.push_back("mod" + std::to_string(i) + ".bas");
            bytes += "Module=M; " + modules.back() + std::string(kEnds[(i / 7) % 3]);
        }
        bytes += "Title=\"kein Mitglied\"" + std::string(kEnds[(i + 1) % 3]);
    }
    TempDir dir;
    auto lists = Read(dir, bytes);
    EXPECT_EQ(lists.FormCount, 6000);
    EXPECT_EQ(lists.Forms, forms);
    EXPECT_EQ(lists.Modules, modules);
    EXPECT_EQ(lists.Text, vb::TextKind::Ascii);

    EXPECT_EQ(Read(dir, bytes + "Title=\"Gr\xC3\xBC\xC3\x9F"
                                "e\"\r\n")
                  .Text,
              vb::TextKind::Utf8);
    EXPECT_EQ(Read(dir, bytes + "Title=\"Gr\xC3\r\n\xBC"
                                "e\"\r\n")
                  .Text,
              vb::TextKind::EightBit);
    lists = Read(dir, bytes + "Form=Gr\xFC\xDF"
                              "e.frm");
    EXPECT_EQ(lists.Text, vb::TextKind::EightBit);
    EXPECT_EQ(lists.Forms.back(), "Gr\xFC\xDF"
                                  "e.frm");
}

TEST(ReadProjectFile, MissingFileIs53) {
    TempDir dir;
    try {
        ReadProjectFile(dir.file("nope.vbp"));
        FAIL();
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.number(), 53);
    }
}

TEST(ReadProjectFile, ASecondReadLeavesNoTraceOfTheFirst) {
    TempDir dir;
    ProjectFileLists lists = Read(dir, "Form=A.frm\r\nModule=M; M.bas\r\nUserControl=U.ctl\r\n");
    lists = Read(dir, "Class=K; K.cls\r\n");
    ProjectFileLists expected;
    expected.ClassModuleCount = 1;
    expected.ClassModules = {"K.cls"};
    EXPECT_EQ(lists, expected);
}

TEST(FolderOfPath, CutsAfterTheLastSeparator) {
    EXPECT_EQ(vb::FolderOfPath("D:\\Projekte\\Test.vbp"), "D:\\Projekte\\");
    EXPECT_EQ(vb::FolderOfPath("/home/anna/projekte/Test.vbp"), "/home/anna/projekte/");
    EXPECT_EQ(vb::FolderOfPath("/home/anna\\mixed/Test.vbp"), "/home/anna\\mixed/");
    EXPECT_EQ(vb::FolderOfPath("Test.vbp"), "");
    EXPECT_EQ(vb::FolderOfPath(""), "");
    EXPECT_EQ(vb::FolderOfPath("/Test.vbp"), "/");
}

} // namespace

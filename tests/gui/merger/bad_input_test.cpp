// Messy projects and output paths in the project merger, driven through its window: every bad input ends
// in a prompt, a refusal, a sound merged file or the fatal-error report with the right number; input files
// stay unchanged and the lines written before a failure are in the file when the report shows.
#include "bad_input.h"
#include "fake_desktop.h"
#include "gui/merger/frm_haupt.h"
#include "input_snapshot.h"
#include "member_texts.h"
#include "merger/merged_file.h"
#include "resource_probe.h"
#include "temp_dir.h"
#include "window_test.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using vbtest::ReadBytes;
using vbtest::Repeated;
using vbtest::TempDir;

class MergerBadInput : public vbtest::WindowTest {
protected:
    void SetUp() override {
        window_.show();
        // The merged file as it stands at the moment the report is shown.
        desktop_.whileReporting = [this] {
            const auto path = output();
            outputAtReport_ = std::filesystem::is_regular_file(path) ? ReadBytes(path) : "<none>";
        };
    }
    void readProject(const std::string& path) { chooseProjectWatchingInputs(window_.cmdPw, path); }
    // Generates into `path` (by default Zusammen.txt in the test's folder).
    void generate(const std::string& path = {}) {
        window_.txtAD->setText(QString::fromStdString(path.empty() ? dir_.file("Zusammen.txt") : path));
        QTest::mouseClick(window_.cmdDg, Qt::LeftButton);
    }
    std::string output() const { return window_.txtAD->text().toStdString(); }
    std::string outputAtReport_;
    merger::frmHaupt window_{desktop_};
};

using vbtest::kEmptyMergedFile;

TEST_F(MergerBadInput, ProjectFileMissingFolderOrBinary) {
    chooseProjectsThatAreNoProjectFiles(window_.cmdPw);
    EXPECT_EQ(window_.lblF->text(), "0");
    generate();
    EXPECT_EQ(ReadBytes(output()), kEmptyMergedFile);
}

TEST_F(MergerBadInput, MemberEntriesThatLeadNowhereOrOutside) {
    dir_.write("Aussen/Werkzeuge.bas", "Attribute VB_Name = \"W\"\nCode\n");
    dir_.write("Projekt/Ordner/x.bas", "");
    const std::string project = dir_.write("Projekt/Test.vbp", "Module=W; ..\\Aussen\\werkzeuge.BAS\r\n");
    readProject(project);
    generate();
    EXPECT_EQ(reported(), 0);
    EXPECT_NE(ReadBytes(output()).find("MODULE:\r\n..\\Aussen\\werkzeuge.BAS:\r\n"
                                       "Attribute VB_Name = \"W\"\r\nCode\r\n"),
              std::string::npos);
    // Every failed merge below leaves this earlier result as it was, also while the report shows.
    const std::string earlier = ReadBytes(output());

    struct Case {
        std::string line;
        std::string header;
        int number;
    };
    for (const Case& c :
         {Case{"Module=F; Fehlt.bas\r\n", "Fehlt.bas:\r\n", 53},
          Case{"Module=O; Ordner\r\n", "Ordner:\r\n", 75}, Case{"Module=Leer;\r\n", ":\r\n", 75}}) {
        readProject(dir_.write("Projekt/Test2.vbp", "Module=W; ..\\Aussen\\Werkzeuge.bas\r\n" + c.line));
        generate();
        EXPECT_EQ(reported(), c.number) << c.line;
        EXPECT_EQ(outputAtReport_, earlier) << c.header;
        EXPECT_EQ(ReadBytes(output()), earlier);
    }
}

TEST_F(MergerBadInput, MemberFilesOfEveryShape) {
    dir_.write("Leer.bas", "");
    dir_.write("Cr.bas", "Attribute VB_Name = \"Cr\"\rA\rB");
    dir_.write("Lf.bas", "Attribute VB_Name = \"Lf\"\nA\nB\n");
    dir_.write("Gemischt.bas", "Attribute VB_Name = \"G\"\r\nA\nB\r");
    std::string binary;
    for (int i = 0; i < 70000; ++i)
        binary += static_cast<char>(i % 3 == 0 ? '\0' : (i * 7919) % 256);
    dir_.write("Binaer.bas", binary);
    dir_.write("Kurz.cls", "VERSION 1.0 CLASS\r\nBEGIN\r\n"); // ends inside its head
    dir_.write("Kopf.frm", "VERSION 5.00\r\nBegin VB.Form f \r\nEnd\r\nAttribute\r\n"); // likewise
    readProject(dir_.write("Test.vbp",
                           "Form=Kopf.frm\r\nModule=a; Leer.bas\r\nModule=a; Cr.bas\r\n"
                           "Module=a; Lf.bas\r\nModule=a; Gemischt.bas\r\nModule=a; Binaer.bas\r\n"
                           "Class=k; Kurz.cls\r\n"));
    generate();
    EXPECT_EQ(reported(), 0);
    std::string binaryLines;
    for (const char c : binary)
        binaryLines += c == '\r' || c == '\n' ? std::string() : std::string(1, c);
    const std::string merged = ReadBytes(output());
    EXPECT_NE(merged.find("Leer.bas:\r\n\r\n\r\nCr.bas:\r\nAttribute VB_Name = \"Cr\"\r\nA\r\nB\r\n\r\n\r\n"
                          "Lf.bas:\r\nAttribute VB_Name = \"Lf\"\r\nA\r\nB\r\n\r\n\r\n"
                          "Gemischt.bas:\r\nAttribute VB_Name = \"G\"\r\nA\r\nB\r\n\r\n\r\nBinaer.bas:\r\n"),
              std::string::npos)
        << merged.substr(0, 400);
    EXPECT_NE(merged.find("KLASSENMODULE:\r\nKurz.cls:\r\nBEGIN\r\n\r\n\r\n\r\n\r\nBENUTZER"),
              std::string::npos);
    EXPECT_NE(merged.find("Kopf.frm:\r\nBegin VB.Form f \r\nEnd\r\nAttribute\r\n\r\n\r\n\r\n\r\nMODULE:"),
              std::string::npos);
    // Binary bytes, NUL included, pass unchanged; only their line ends become CR LF.
    std::string binaryCopied;
    const auto start = merged.find("Binaer.bas:\r\n") + 13;
    const auto end = merged.find("\r\n\r\n\r\nKLASSENMODULE:");
    for (const char c : merged.substr(start, end - start))
        if (c != '\r' && c != '\n')
            binaryCopied += c;
    EXPECT_EQ(binaryCopied, binaryLines);
}

TEST_F(MergerBadInput, OutputPathsThatCannotBeWrittenOrAreTheProjectsOwn) {
    dir_.write("Projekt/Formulare/haupt.frm", "Begin VB.Form f \r\nAttribute\r\n");
    const std::string project = dir_.write("Projekt/Test.vbp", "Form=Formulare\\Haupt.frm\r\n");
    readProject(project);
    generate(dir_.file("Fehlt/Zusammen.txt"));
    EXPECT_EQ(reported(), 76);
    generate(dir_.file("Projekt"));
    EXPECT_EQ(reported(), 75);
    EXPECT_TRUE(desktop_.messages.empty());
    // The project file by another spelling, a member through a link, and names that the member lookup
    // would find before the member (the entry as written, the member's name in another letter case):
    // refused with a message, nothing created.
    std::filesystem::create_symlink(dir_.file("Projekt/Formulare/haupt.frm"), dir_.file("Link.txt"));
    for (const std::string& path :
         {dir_.file("Projekt/Formulare/../Test.vbp"), dir_.file("Link.txt"),
          dir_.file("Projekt/Formulare\\Haupt.frm"), dir_.file("Projekt/Formulare/Haupt.frm"),
          dir_.file("Projekt/Formulare/HAUPT.FRM")}) {
        const auto messages = desktop_.messages.size();
        generate(path);
        EXPECT_EQ(desktop_.messages.size(), messages + 1) << path;
        EXPECT_EQ(reported(), 0);
    }
    EXPECT_FALSE(std::filesystem::exists(dir_.file("Projekt/Formulare\\Haupt.frm")));
    EXPECT_FALSE(std::filesystem::exists(dir_.file("Projekt/Formulare/Haupt.frm")));
}

// A missing member's name in another letter case (ASCII, Windows-1252 written, Latin-1 beyond ASCII) and a
// dangling link to a member's case twin: created, each would be read as the member. Refused, nothing made.
TEST_F(MergerBadInput, OutputsThatWouldBecomeAMemberAreRefused) {
    dir_.write("main.frm", "Attribute VB_Name = \"m\"\n");
    dir_.write("\xC3\xBC"
               "ber.frm",
               "Attribute VB_Name = \"u\"\n");
    readProject(dir_.write("P.vbp", "Form=ghost.frm\r\nForm=\xC4nderung.frm\r\nForm=\xC3\x9c"
                                    "ber.frm\r\n"
                                    "Form=Main.frm\r\n"));
    std::filesystem::create_symlink("Main.frm", dir_.file("out.txt"));
    for (const char* name : {"GHOST.FRM", "\xC3\x84nderung.frm",
                             "\xC3\x9c"
                             "BER.FRM",
                             "out.txt"}) {
        const auto messages = desktop_.messages.size();
        generate(dir_.file(name));
        EXPECT_EQ(desktop_.messages.size(), messages + 1) << name;
        EXPECT_EQ(reported(), 0);
        EXPECT_FALSE(std::filesystem::exists(dir_.file(name))) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(dir_.file("Main.frm")));
}

TEST_F(MergerBadInput, FullDiskLeavesTheEarlierOutputAndNoTemporaryFile) {
    std::string member = "Attribute VB_Name = \"Gross\"\r\n";
    for (int i = 0; i < 4000; ++i)
        member += "' Zeile " + std::to_string(i) + " mit etwas Text, damit die Datei wächst\r\n";
    dir_.write("Gross.bas", member);
    readProject(dir_.write("Test.vbp", Repeated("Module=G; Gross.bas\r\n", 4)));
    vbtest::SmallFileSystem disk(dir_.path() / "voll", 64);
    if (!disk.mounted()) {
        // Without root no small file system: the device that is always full still gives error 61.
        generate("/dev/full");
        EXPECT_EQ(reported(), 61);
        GTEST_SKIP() << "no tmpfs (needs root): only /dev/full checked";
    }
    const std::string path = dir_.file("voll/Zusammen.txt");
    generate(path);
    EXPECT_EQ(reported(), 61);
    EXPECT_EQ(desktop_.fatalReports.back().path, path);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(std::filesystem::is_empty(dir_.path() / "voll")) << "no temporary file is left";
    // An earlier output on that disk is still whole after the failed merge.
    dir_.write("voll/Zusammen.txt", "frühere Ausgabe\r\n");
    generate(path);
    EXPECT_EQ(reported(), 61);
    EXPECT_EQ(outputAtReport_, "frühere Ausgabe\r\n");
    EXPECT_EQ(ReadBytes(path), "frühere Ausgabe\r\n");
}

TEST_F(MergerBadInput, MemberCountsAtAndPastTheSixteenBitLimit) {
    dir_.write("a.bas", "Attribute VB_Name = \"a\"\r\nx\r\n");
    readProject(dir_.write("Max.vbp", Repeated("Module=a; a.bas\r\n", 32767)));
    EXPECT_EQ(window_.lblM->text(), "32767");
    generate();
    EXPECT_EQ(reported(), 0);
    const std::string block = "a.bas:\r\nAttribute VB_Name = \"a\"\r\nx\r\n\r\n\r\n";
    EXPECT_EQ(ReadBytes(output()).size(), kEmptyMergedFile.size() + 32767 * block.size());

    readProject(dir_.write("Zuviel.vbp", Repeated("Module=a; a.bas\r\n", 32768)));
    EXPECT_EQ(reported(), 6);

    // Each kind within its limit, the sum past it: error 6 before the output file is opened.
    readProject(dir_.write("Summe.vbp",
                           Repeated("Module=a; a.bas\r\n", 20000) + Repeated("Class=a; a.bas\r\n", 20000)));
    EXPECT_EQ(reported(), 0);
    generate(dir_.file("Neu.txt"));
    EXPECT_EQ(reported(), 6);
    EXPECT_FALSE(std::filesystem::exists(dir_.file("Neu.txt")));
}

// A member of one 200 MB line streams through: read once, written once, memory a small multiple of it.
TEST(MergerHugeMember, TwoHundredMegabyteLineIsStreamed) {
    TempDir dir;
    constexpr std::size_t kLine = 200u << 20;
    const std::string member = dir.file("riesig.bas");
    vbtest::WriteHugeFile(member, "Attribute VB_Name = \"Riesig\"\r\n", kLine, 'r');
    const std::string output = dir.file("Zusammen.txt");
    const auto usage = vbtest::MeasureInChild([&] {
        vb::ProjectFileLists lists;
        lists.Modules = {"riesig.bas"};
        lists.ModuleCount = 1;
        merger::MergeIntoFile(lists, dir.file("P.vbp"), dir.path().string() + "/", output,
                              [] { return false; });
    });
    ASSERT_TRUE(usage.completed) << usage.failure;
    const auto memberSize = static_cast<long long>(std::filesystem::file_size(member));
    EXPECT_GE(usage.bytesRead, memberSize);
    EXPECT_LT(usage.bytesRead, memberSize + (1 << 20)) << "read more than once";
    if (!vbtest::kSanitized) {
        EXPECT_LT(usage.peakGrowthKb, 3 * static_cast<long>(kLine >> 10)) << "memory of the 200 MB line";
    }
    EXPECT_EQ(std::filesystem::file_size(output), kEmptyMergedFile.size() + 13 + kLine + 2 + 4);
}

} // namespace

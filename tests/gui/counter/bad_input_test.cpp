// Messy projects in the object counter: every bad input ends in a sound result or in the fatal-error
// report with the right number, through the window as a user drives it; input files stay unchanged.
#include "bad_input.h"
#include "counter/count_project_objects.h"
#include "counter/scan_member_file.h"
#include "fake_desktop.h"
#include "gui/counter/frm_haupt.h"
#include "gui/shell/sorted_list_box.h"
#include "input_snapshot.h"
#include "resource_probe.h"
#include "temp_dir.h"
#include "window_probe.h"
#include "window_test.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using vbtest::ClickEntry;
using vbtest::Repeated;
using vbtest::TempDir;

// A form file that declares `types` object types with `names` objects each.
std::string FormDeclaring(int types, int names) {
    std::string text = "VERSION 5.00\r\nBegin VB.Form frmGross \r\n";
    for (int t = 0; t < types; ++t)
        for (int n = 0; n < names; ++n)
            text += "   Begin Typ" + std::to_string(t) + ".Ding obj" + std::to_string(n) + " \r\n   End\r\n";
    return text + "End\r\nAttribute VB_Name = \"frmGross\"\r\n";
}

class CounterBadInput : public vbtest::WindowTest {
protected:
    void SetUp() override { window_.show(); }
    // Chooses the project file through the dialog; the first call notes every input file's bytes.
    void readProject(const std::string& path) { chooseProjectWatchingInputs(window_.cmdPw, path); }
    void countAll() { QTest::mouseClick(window_.cmdAO, Qt::LeftButton); }
    counter::frmHaupt window_{desktop_};
};

TEST_F(CounterBadInput, ProjectFileMissingFolderOrBinary) {
    chooseProjectsThatAreNoProjectFiles(window_.cmdPw);
    EXPECT_EQ(window_.lstE1->count(), 0);
    EXPECT_EQ(window_.lblE1->text(), "0");
}

TEST_F(CounterBadInput, MemberEntriesThatLeadNowhereOrOutside) {
    dir_.write("Projekt/Ordner/x.frm", "");
    dir_.write("Aussen/Aussen.frm", "Begin VB.Label lblAussen \r\nAttribute VB_Name = \"A\"\r\n");
    const std::string project = dir_.write("Projekt/Test.vbp", "Form=Fehlt.frm\r\n"
                                                               "Form=Ordner\r\n"
                                                               "Form=..\\Aussen\\AUSSEN.FRM\r\n"
                                                               "UserControl=\r\n");
    readProject(project);
    ClickEntry(window_.lstE1, "Formulare");
    ClickEntry(window_.lstObj, "Fehlt.frm");
    EXPECT_EQ(reported(), 53);
    ClickEntry(window_.lstObj, "Ordner");
    EXPECT_EQ(reported(), 75);
    // Outside the project's folder, in another letter case: found and scanned like any member.
    ClickEntry(window_.lstObj, "..\\Aussen\\AUSSEN.FRM");
    EXPECT_EQ(reported(), 0);
    EXPECT_EQ(window_.lstUObj->entries(), QStringList{"VB.Label"});
    ClickEntry(window_.lstE1, "Benutzersteuerelemente");
    ClickEntry(window_.lstObj, "");
    EXPECT_EQ(reported(), 52);
    EXPECT_EQ(desktop_.fatalReports.back().title, "Tallimar");
}

TEST_F(CounterBadInput, MemberFilesOfEveryShape) {
    const std::string body = "Begin VB.Form f \rBegin VB.Label a \rEnd\rBegin VB.Label b \r";
    dir_.write("Leer.frm", "");
    dir_.write("Cr.frm", body + "Attribute VB_Name = \"x\"\rBegin VB.Code nie \r");
    std::string lf = body + "Attribute\r";
    std::replace(lf.begin(), lf.end(), '\r', '\n');
    dir_.write("Lf.frm", lf);
    dir_.write("Gemischt.frm", "Begin VB.Label a \r\nBegin VB.Label b \nEnd\rAttribute\n");
    std::string binary;
    for (int i = 0; i < 100000; ++i)
        binary += static_cast<char>((i * 7919) % 256);
    dir_.write("Binaer.frm", binary);
    dir_.write("Kopf.frm",
               "VERSION 5.00\r\nBegin VB.Form f \r\n   Begin VB.Label a \r\n"); // ends in the head
    const std::string project =
        dir_.write("Test.vbp", "Form=Leer.frm\r\nForm=Cr.frm\r\nForm=Lf.frm\r\nForm=Gemischt.frm\r\nForm="
                               "Binaer.frm\r\nForm=Kopf.frm\r\n");
    readProject(project);
    ClickEntry(window_.lstE1, "Formulare");
    const auto groupsOf = [&](const QString& member) {
        ClickEntry(window_.lstObj, member);
        EXPECT_EQ(reported(), 0) << member.toStdString();
        return window_.lblUObj->text();
    };
    EXPECT_EQ(groupsOf("Leer.frm"), "0");
    for (const char* member : {"Cr.frm", "Lf.frm", "Gemischt.frm"}) {
        EXPECT_EQ(groupsOf(member), "1") << member;
        ClickEntry(window_.lstUObj, "VB.Label");
        EXPECT_EQ(window_.lstUObjN->entries(), (QStringList{"a", "b"})) << member;
    }
    groupsOf("Binaer.frm"); // whatever the junk declares, it is no error
    EXPECT_EQ(groupsOf("Kopf.frm"), "1");
    countAll();
    EXPECT_EQ(reported(), 0);
    counter::ObjectGroupTable table;
    counter::ScanMemberFile(dir_.file("Binaer.frm"), table);
    EXPECT_EQ(window_.txtAaO->text().toInt(), 0 + 3 * 2 + table.ObjectCount() + 1);
}

// "Begin " with no blank after the type text: the type runs to the line's end and the name is empty.
// An empty type text (two blanks, or "Begin " as the line's last characters) is a group of its own.
TEST_F(CounterBadInput, BeginWithoutBlankEmptyTypeAndAtTheLinesEnd) {
    dir_.write("Begin.frm", "   Begin VB.Label\r\n"
                            "   Begin  lblOhneTyp\r\n"
                            "   Caption = Begin \r\n"
                            "Begin \r\n"
                            "Attribute VB_Name = \"Begin\"\r\n");
    readProject(dir_.write("Test.vbp", "Form=Begin.frm\r\n"));
    ClickEntry(window_.lstE1, "Formulare");
    ClickEntry(window_.lstObj, "Begin.frm");
    EXPECT_EQ(reported(), 0);
    EXPECT_EQ(window_.lstUObj->entries(), (QStringList{"", "VB.Label"}));
    ClickEntry(window_.lstUObj, "VB.Label");
    EXPECT_EQ(window_.lstUObjN->entries(), QStringList{""});
    // With an empty type text the name starts one character into the line, blanks trimmed.
    ClickEntry(window_.lstUObj, "");
    EXPECT_EQ(window_.lstUObjN->entries(), (QStringList{"Begin  lblOhneTyp", "Caption = Begin", "egin"}));
    countAll();
    EXPECT_EQ(window_.txtAaO->text(), "4");
}

TEST_F(CounterBadInput, HundredTypesAndThousandNamesFitOneMoreIsError9) {
    dir_.write("T100.frm", FormDeclaring(100, 1));
    dir_.write("T101.frm", FormDeclaring(101, 1));
    dir_.write("N1000.frm", FormDeclaring(1, 1000));
    dir_.write("N1001.frm", FormDeclaring(1, 1001));
    readProject(
        dir_.write("Test.vbp", "Form=T100.frm\r\nForm=T101.frm\r\nForm=N1000.frm\r\nForm=N1001.frm\r\n"));
    ClickEntry(window_.lstE1, "Formulare");
    ClickEntry(window_.lstObj, "T100.frm");
    EXPECT_EQ(reported(), 0);
    EXPECT_EQ(window_.lblUObj->text(), "100");
    ClickEntry(window_.lstObj, "N1000.frm");
    ClickEntry(window_.lstUObj, "Typ0.Ding");
    EXPECT_EQ(window_.lblAdO->text(), "1000");
    ClickEntry(window_.lstObj, "T101.frm");
    EXPECT_EQ(reported(), 9);
    EXPECT_EQ(desktop_.fatalReports.back().path, "T101.frm");
    ClickEntry(window_.lstObj, "N1001.frm");
    EXPECT_EQ(reported(), 9);
    window_.txtAaO->setText("alt");
    countAll();
    EXPECT_EQ(reported(), 9);
    EXPECT_EQ(window_.txtAaO->text(), "alt") << "a failed count shows no number";
}

TEST_F(CounterBadInput, MemberCountsAtAndPastTheSixteenBitLimit) {
    dir_.write("a.frm", "Begin VB.Form f \r\nBegin VB.Label l \r\nAttribute\r\n");
    readProject(dir_.write("Max.vbp", Repeated("Form=a.frm\r\n", 32767)));
    EXPECT_EQ(reported(), 0);
    EXPECT_EQ(window_.lblE1->text(), "1");
    ClickEntry(window_.lstE1, "Formulare");
    EXPECT_EQ(window_.lblObj->text(), "32767");
    // The bar's maximum is the member count plus one: 32768 passes 32767 before anything is scanned.
    countAll();
    EXPECT_EQ(reported(), 6);
    EXPECT_EQ(window_.txtAaO->text(), "");

    readProject(dir_.write("Zuviel.vbp", Repeated("Form=a.frm\r\n", 32768)));
    EXPECT_EQ(reported(), 6);

    readProject(dir_.write("Summe.vbp",
                           Repeated("Form=a.frm\r\n", 16384) + Repeated("UserControl=a.frm\r\n", 16384)));
    EXPECT_EQ(reported(), 0);
    countAll();
    EXPECT_EQ(reported(), 6);

    readProject(dir_.write("Knapp.vbp",
                           Repeated("Form=a.frm\r\n", 16383) + Repeated("PropertyPage=a.frm\r\n", 16383)));
    countAll();
    EXPECT_EQ(reported(), 0);
    EXPECT_EQ(window_.txtAaO->text(), "32766");
}

// A member of one 200 MB line is scanned once, in memory of a small multiple of the line.
TEST(CounterHugeMember, TwoHundredMegabyteLineIsScannedOnceAndStreamed) {
    TempDir dir;
    constexpr std::size_t kLine = 200u << 20;
    const std::string path = dir.file("riesig.frm");
    vbtest::WriteHugeFile(path, "Begin VB.Form f \r\n   Begin VB.Label ", kLine, 'n',
                          " \r\nAttribute VB_Name = \"x\"\r\n");
    const auto usage = vbtest::MeasureInChild([&] {
        vb::ProjectFileLists lists;
        lists.Forms = {path};
        lists.FormCount = 1;
        counter::ObjectGroupTable table;
        if (counter::CountProjectObjects(lists, table) != 1 || table.Groups[0].Names[0].size() != kLine)
            throw std::runtime_error("the long name was not counted");
    });
    ASSERT_TRUE(usage.completed) << usage.failure;
    const auto fileSize = static_cast<long long>(std::filesystem::file_size(path));
    EXPECT_GE(usage.bytesRead, fileSize);
    EXPECT_LT(usage.bytesRead, fileSize + (1 << 20)) << "read more than once";
    if (!vbtest::kSanitized) {
        EXPECT_LT(usage.peakGrowthKb, 4 * static_cast<long>(kLine >> 10)) << "memory of the 200 MB line";
    }
}

} // namespace

#include "fake_desktop.h"
#include "gui/merger/frm_haupt.h"
#include "gui/shell/picture_button.h"
#include "member_texts.h"
#include "merger/merged_file.h"
#include "project/read_project_file.h"
#include "temp_dir.h"
#include "window_probe.h"
#include "window_test.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using vbtest::FakeDesktop;
using vbtest::ProgressRecorder;
using vbtest::ReadBytes;
using vbtest::TempDir;

constexpr std::string_view kProject = "Type=Exe\r\n"
                                      "Form=Formulare\\Haupt.frm\r\n"
                                      "Module=Werkzeuge; Werkzeuge.bas\r\n"
                                      "Class=Kunde; Kunde.cls\r\n";
const std::string kForm = std::string("VERSION 5.00\r\n"
                                      "Begin VB.Form frmHaupt \r\n"
                                      "   Caption = \"Gr\xF6\xDF"
                                      "e\"\r\n"
                                      "End\r\n") +
                          std::string(vbtest::kFrmHauptAttributes) +
                          "Private Sub Form_Load()\r\n"
                          "End Sub\r\n";
constexpr std::string_view kModule = "Attribute VB_Name = \"Werkzeuge\"\r\nOption Explicit\r\n";
constexpr std::string_view kClass = "VERSION 1.0 CLASS\r\n"
                                    "BEGIN\r\n"
                                    "  MultiUse = -1  'True\r\n"
                                    "END\r\n"
                                    "Attribute VB_Name = \"Kunde\"\r\n"
                                    "Attribute VB_GlobalNameSpace = False\r\n"
                                    "Attribute VB_Creatable = True\r\n"
                                    "Attribute VB_PredeclaredId = False\r\n"
                                    "Attribute VB_Exposed = False\r\n"
                                    "Option Explicit\r\n";

class MergerWindow : public vbtest::WindowTest {
protected:
    void SetUp() override {
        projectPath_ = dir_.write("Projekt/Test.vbp", kProject);
        dir_.write("Projekt/Formulare/Haupt.frm", kForm);
        dir_.write("Projekt/Werkzeuge.bas", kModule);
        dir_.write("Projekt/Kunde.cls", kClass);
        window_.show();
    }
    void readProject() {
        desktop_.answerFileDialog(QString::fromStdString(projectPath_));
        QTest::mouseClick(window_.cmdPw, Qt::LeftButton);
    }
    void generate() { QTest::mouseClick(window_.cmdDg, Qt::LeftButton); }
    // What the generator writes for the project, driven directly.
    std::string expectedMerge(bool option) const {
        const std::string path = dir_.file("expected.txt");
        merger::MergeIntoFile(vb::ReadProjectFile(projectPath_), projectPath_, vb::FolderOfPath(projectPath_),
                              path, [option] { return option; });
        return ReadBytes(path);
    }

    std::string projectPath_;
    merger::frmHaupt window_{desktop_};
};

TEST_F(MergerWindow, InitialState) {
    EXPECT_EQ(window_.windowTitle(), "Fugabar");
    EXPECT_EQ(window_.size(), QSize(593, 369));
    EXPECT_FALSE(window_.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window_.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(window_.cmdPw->text(), "Projekt wählen");
    EXPECT_EQ(window_.cmdADw->text(), "Ausgabe - Datei wählen");
    EXPECT_EQ(window_.cmdDg->text(), "Datei generieren");
    EXPECT_EQ(window_.CheckFaT->text(), "Voduvov der Formulare als Text mit speichern");
    EXPECT_TRUE(window_.CheckFaT->isChecked());
    EXPECT_EQ(window_.lblFormulare->text(), "Formulare:");
    EXPECT_EQ(window_.lblModule->text(), "Module:");
    EXPECT_EQ(window_.lblKlassenmodule->text(), "Klassenmodule:");
    EXPECT_EQ(window_.lblBenutzersteuerelemente->text(), "Benutzersteuerelemente:");
    EXPECT_EQ(window_.lblEigenschaftenseiten->text(), "Eigenschaftenseiten:");
    EXPECT_TRUE(window_.lblKlassenmodule->alignment() & Qt::AlignRight);
    EXPECT_TRUE(window_.lblEigenschaftenseiten->alignment() & Qt::AlignRight);
    EXPECT_TRUE(window_.lblModule->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(window_.lblF->alignment() & Qt::AlignLeft);
    EXPECT_EQ(window_.Label1->font().family(), "Arial");
    EXPECT_EQ(window_.cmdEnde->geometry(), QRect(16, 16, 49, 65));
    EXPECT_EQ(window_.cmdInfo->geometry(), QRect(528, 16, 49, 65));
    EXPECT_EQ(window_.txtP->geometry(), QRect(16, 88, 369, 19));
    EXPECT_EQ(window_.lblK->geometry(), QRect(544, 128, 33, 17));
    EXPECT_EQ(window_.lblE->geometry(), QRect(544, 160, 33, 17));
    EXPECT_EQ(window_.fraLinie->geometry(), QRect(16, 192, 561, 9));
    EXPECT_EQ(window_.CheckFaT->geometry(), QRect(176, 264, 233, 17));
    EXPECT_EQ(window_.cmdDg->geometry(), QRect(216, 304, 161, 25));
    EXPECT_EQ(window_.lblAktion->geometry(), QRect(0, 352, 161, 17));
    EXPECT_EQ(window_.PB->geometry(), QRect(168, 352, 425, 17));
    for (const QLabel* label :
         {window_.lblF, window_.lblM, window_.lblK, window_.lblB, window_.lblE, window_.lblAktion})
        EXPECT_TRUE(label->text().isEmpty());
    EXPECT_EQ(window_.PB->maximum(), 5);
    EXPECT_EQ(window_.PB->value(), 0);
    EXPECT_EQ(window_.focusWidget(), window_.txtP);
    const QWidget* expected[] = {window_.txtP,     window_.cmdPw, window_.txtAD,   window_.cmdADw,
                                 window_.CheckFaT, window_.cmdDg, window_.cmdInfo, window_.cmdEnde};
    for (std::size_t i = 0; i + 1 < std::size(expected); ++i)
        EXPECT_EQ(vbtest::NextTabStop(expected[i]), expected[i + 1]) << i;
    for (const QPushButton* button : {window_.cmdPw, window_.cmdADw, window_.cmdDg}) {
        EXPECT_FALSE(button->isDefault());
        EXPECT_FALSE(button->autoDefault());
    }
    // Controls keep their places when the window is resized.
    window_.resize(900, 700);
    EXPECT_EQ(window_.PB->geometry(), QRect(168, 352, 425, 17));
}

TEST_F(MergerWindow, ProjectReadShowsTheFiveCounts) {
    ProgressRecorder progress(window_.PB, window_.lblAktion);
    readProject();
    EXPECT_EQ(progress.statusAtEventPass, "Einlesen der Projektinformationen");
    EXPECT_EQ(progress.maximumAtEventPass, 5);
    EXPECT_EQ(progress.values, (std::vector<int>{1, 2, 3, 4, 5, 0}));
    EXPECT_EQ(window_.lblF->text(), "1");
    EXPECT_EQ(window_.lblM->text(), "1");
    EXPECT_EQ(window_.lblK->text(), "1");
    EXPECT_EQ(window_.lblB->text(), "0");
    EXPECT_EQ(window_.lblE->text(), "0");
    EXPECT_EQ(window_.projectFolder(), std::filesystem::path(projectPath_).parent_path().string() + "/");
}

TEST_F(MergerWindow, PromptsForEmptyPathsAndWritesNothing) {
    generate();
    EXPECT_EQ(window_.txtP->text(), "Geben sie hier bitte die Projekt - Datei an!");
    EXPECT_EQ(window_.txtAD->text(), "Geben sie hier bitte die Ausgabe - Datei an!");
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    window_.txtP->setText("projekt.vbp");
    window_.txtAD->clear();
    generate();
    EXPECT_EQ(window_.txtP->text(), "projekt.vbp");
    EXPECT_EQ(window_.txtAD->text(), "Geben sie hier bitte die Ausgabe - Datei an!");

    window_.txtP->clear();
    window_.txtAD->setText("aus.txt");
    generate();
    EXPECT_EQ(window_.txtP->text(), "Geben sie hier bitte die Projekt - Datei an!");
    EXPECT_EQ(window_.txtAD->text(), "aus.txt");
    EXPECT_EQ(window_.lblAktion->text(), "");
    EXPECT_TRUE(desktop_.fatalReports.empty());
    EXPECT_FALSE(std::filesystem::exists("aus.txt"));
}

TEST_F(MergerWindow, ASecondClickWritesToTheFileNamedLikeThePrompt) {
    vbtest::WorkingDirectory cwd(dir_.path());
    generate();
    generate(); // both prompts now count as filled; no project read: the five headings only
    const std::string prompt = dir_.file("Geben sie hier bitte die Ausgabe - Datei an!");
    ASSERT_TRUE(std::filesystem::exists(prompt));
    EXPECT_EQ(ReadBytes(prompt), vbtest::kEmptyMergedFile);
    EXPECT_EQ(window_.PB->maximum(), 5);
}

TEST_F(MergerWindow, GeneratesTheMergedFileWithAndWithoutTheOption) {
    readProject();
    const std::string output = dir_.file("Zusammen.txt");
    window_.txtAD->setText(QString::fromStdString(output));
    ProgressRecorder progress(window_.PB, window_.lblAktion);
    generate();
    EXPECT_EQ(progress.statusAtEventPass, "Datei wird generiert");
    EXPECT_EQ(progress.maximumAtEventPass, 5) << "the maximum is set after the status text";
    EXPECT_EQ(progress.values, (std::vector<int>{1, 2, 3, 0}));
    EXPECT_EQ(window_.PB->maximum(), 5);
    EXPECT_EQ(window_.lblAktion->text(), "");
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(ReadBytes(output), expectedMerge(true));
    EXPECT_NE(ReadBytes(output).find("Formulare\\Haupt.frm:\r\nBegin VB.Form frmHaupt \r\n"),
              std::string::npos);

    window_.CheckFaT->setChecked(false);
    generate();
    EXPECT_EQ(ReadBytes(output), expectedMerge(false));
    window_.CheckFaT->setCheckState(Qt::PartiallyChecked); // grayed counts as not set
    generate();
    EXPECT_EQ(ReadBytes(output), expectedMerge(false));
    EXPECT_NE(expectedMerge(true), expectedMerge(false));
    EXPECT_TRUE(desktop_.fatalReports.empty());
}

TEST_F(MergerWindow, RefusesToOverwriteTheProjectsOwnFiles) {
    readProject();
    const std::string before = ReadBytes(projectPath_);
    const std::string formBefore = ReadBytes(dir_.file("Projekt/Formulare/Haupt.frm"));
    // The project file by another spelling, and a member through a link.
    window_.txtAD->setText(QString::fromStdString(dir_.file("Projekt/Formulare/../Test.vbp")));
    generate();
    std::filesystem::create_symlink(dir_.file("Projekt/Formulare/Haupt.frm"), dir_.file("link.frm"));
    window_.txtAD->setText(QString::fromStdString(dir_.file("link.frm")));
    generate();
    ASSERT_EQ(desktop_.messages.size(), 2u);
    EXPECT_EQ(desktop_.messages[0].title, "Fugabar");
    EXPECT_TRUE(desktop_.messages[0].text.contains("Datei des Projekts"));
    EXPECT_EQ(ReadBytes(projectPath_), before);
    EXPECT_EQ(ReadBytes(dir_.file("Projekt/Formulare/Haupt.frm")), formBefore);
    EXPECT_EQ(window_.lblAktion->text(), "");
    EXPECT_EQ(window_.PB->maximum(), 5);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(desktop_.fatalReports.empty());
}

TEST_F(MergerWindow, MissingMemberKeepsTheEarlierOutputAndReportsTheFile) {
    readProject();
    std::filesystem::remove(dir_.file("Projekt/Kunde.cls"));
    const std::string output = dir_.write("Zusammen.txt", "frühere Ausgabe\r\n");
    window_.txtAD->setText(QString::fromStdString(output));
    generate();
    ASSERT_EQ(desktop_.fatalReports.size(), 1u);
    EXPECT_EQ(desktop_.fatalReports[0].number, 53);
    EXPECT_NE(desktop_.fatalReports[0].path.find("Kunde.cls"), std::string::npos);
    EXPECT_EQ(ReadBytes(output), "frühere Ausgabe\r\n");
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
        EXPECT_FALSE(entry.path().filename().string().starts_with(".Zusammen.txt")) << "temporary file left";
}

TEST_F(MergerWindow, ChoosingTheOutputFile) {
    desktop_.answerFileDialog(QString());
    QTest::mouseClick(window_.cmdADw, Qt::LeftButton);
    EXPECT_EQ(window_.txtAD->text(), "");
    ASSERT_EQ(desktop_.dialogCalls.size(), 1u);
    EXPECT_EQ(desktop_.dialogCalls[0].mode, shell::FileDialogMode::Save);
    EXPECT_EQ(desktop_.dialogCalls[0].filters, (QStringList{"*.txt (*.txt)", "*.* (*)"}));

    generate(); // leaves prompts in both boxes
    desktop_.answerFileDialog(QString());
    QTest::mouseClick(window_.cmdADw, Qt::LeftButton);
    EXPECT_EQ(window_.txtAD->text(), "Geben sie hier bitte die Ausgabe - Datei an!");

    readProject();
    const QString chosen = QString::fromStdString(dir_.file("Ausgabe"));
    desktop_.answerFileDialog(chosen);
    QTest::mouseClick(window_.cmdADw, Qt::LeftButton);
    EXPECT_EQ(window_.txtAD->text(), chosen); // taken as chosen, no extension added
    // The dialog started from the project file, its last use.
    EXPECT_EQ(desktop_.dialogCalls.back().startName, QString::fromStdString(projectPath_));
    EXPECT_EQ(std::filesystem::current_path(), dir_.path());
}

} // namespace

namespace {

TEST_F(MergerWindow, EndAndInfoButtons) {
    QTest::mouseClick(window_.cmdEnde, Qt::LeftButton);
    EXPECT_EQ(desktop_.endRequests, 1);
    QTest::mouseClick(window_.cmdInfo, Qt::LeftButton);
    ASSERT_TRUE(window_.infoDialog());
    EXPECT_EQ(window_.infoDialog()->lbl(0)->text(), "Fugabar");
    EXPECT_EQ(window_.infoDialog()->lblVersion->text(), "Version 1.2");
    EXPECT_EQ(window_.infoDialog()->lbl(1)->width(), 5055 / 15);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

} // namespace

namespace {

TEST_F(MergerWindow, ProjectFromOutsideAndDroppedFiles) {
    window_.openProject(QString::fromStdString(projectPath_));
    EXPECT_EQ(window_.lblF->text(), "1");
    EXPECT_EQ(window_.lblK->text(), "1");
    EXPECT_EQ(window_.lblE->text(), "0");
    EXPECT_EQ(window_.PB->maximum(), 5);
    EXPECT_TRUE(desktop_.dialogCalls.empty());

    // Any one file dropped on txtAD names the output; nothing is read or written.
    const QString output = QString::fromStdString(dir_.file("Ausgabe/Alles.txt"));
    EXPECT_TRUE(vbtest::DropFiles(window_.txtAD, {output}));
    EXPECT_EQ(window_.txtAD->text(), output);
    EXPECT_FALSE(std::filesystem::exists(output.toStdString()));
    EXPECT_EQ(window_.lblF->text(), "1");

    const std::string other = dir_.write("Zwei/Zwei.vbp", "Form=A.frm\r\nForm=B.frm\r\n");
    EXPECT_TRUE(vbtest::DropFiles(&window_, {QString::fromStdString(other)}));
    EXPECT_EQ(window_.txtP->text(), QString::fromStdString(other));
    EXPECT_EQ(window_.lblF->text(), "2");
    EXPECT_EQ(window_.lblK->text(), "0");
    EXPECT_EQ(window_.txtAD->text(), output);

    window_.lblF->actions().value(0)->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "2");
    EXPECT_TRUE(desktop_.fatalReports.empty());
}

TEST_F(MergerWindow, EveryControlShowsTheFocus) {
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    EXPECT_EQ(vbtest::ControlsWithoutFocusMark(window_.txtP), QStringList{});
}

// Fugabar has no maximise button; where a window manager maximises it anyway, it returns to its size.
TEST_F(MergerWindow, StaysOutOfMaximisedAndFullScreen) {
    const QSize size = window_.size();
    window_.showMaximized();
    QTest::qWait(50);
    EXPECT_FALSE(window_.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(window_.size(), size);
    window_.showFullScreen();
    QTest::qWait(50);
    EXPECT_FALSE(window_.windowState() & Qt::WindowFullScreen);
    EXPECT_EQ(window_.size(), size);
}

} // namespace

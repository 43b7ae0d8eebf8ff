#include "fake_desktop.h"
#include "gui/counter/frm_haupt.h"
#include "gui/shell/picture_button.h"
#include "gui/shell/sorted_list_box.h"
#include "temp_dir.h"
#include "window_probe.h"
#include "window_test.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using vbtest::ClickEntry;
using vbtest::FakeDesktop;
using vbtest::ProgressRecorder;
using vbtest::TempDir;

// A small project: a form with a frame holding two buttons, a label and a menu; a dialog form in a
// sub-folder written with a backslash; a module; a user control.
constexpr std::string_view kProject = "Type=Exe\r\n"
                                      "Form=Haupt.frm\r\n"
                                      "Module=Werkzeuge; Werkzeuge.bas\r\n"
                                      "Form=Formulare\\Dialog.frm\r\n"
                                      "UserControl=Anzeige.ctl\r\n";
constexpr std::string_view kHaupt = "VERSION 5.00\r\n"
                                    "Begin VB.Form frmHaupt \r\n"
                                    "   Caption         =   \"Gr\xF6\xDF"
                                    "e\"\r\n"
                                    "   Begin VB.Frame fraRahmen \r\n"
                                    "      Begin VB.CommandButton cmdOK \r\n"
                                    "      End\r\n"
                                    "      Begin VB.CommandButton cmdAbbruch  \r\n"
                                    "      End\r\n"
                                    "   End\r\n"
                                    "   Begin VB.Label lbl\xC4nderung \r\n"
                                    "   End\r\n"
                                    "   Begin VB.Menu mnuDatei \r\n"
                                    "      Begin VB.Menu mnuEnde \r\n"
                                    "      End\r\n"
                                    "   End\r\n"
                                    "End\r\n"
                                    "Attribute VB_Name = \"frmHaupt\"\r\n"
                                    "Private Sub Form_Load()\r\n"
                                    "   ' Begin VB.Code never counted\r\n"
                                    "End Sub\r\n";
constexpr std::string_view kDialog = "VERSION 5.00\r\n"
                                     "Begin VB.Form frmDialog \r\n"
                                     "   Begin VB.Label lblText \r\n"
                                     "   End\r\n"
                                     "End\r\n"
                                     "Attribute VB_Name = \"frmDialog\"\r\n";
constexpr std::string_view kModule = "Attribute VB_Name = \"Werkzeuge\"\r\nOption Explicit\r\n";
constexpr std::string_view kControl = "VERSION 5.00\r\n"
                                      "Begin VB.UserControl Anzeige \r\n"
                                      "   Begin VB.TextBox txtWert \r\n"
                                      "   End\r\n"
                                      "End\r\n"
                                      "Attribute VB_Name = \"Anzeige\"\r\n";

class CounterWindow : public vbtest::WindowTest {
protected:
    void SetUp() override {
        projectPath_ = dir_.write("Projekt/Test.vbp", kProject);
        dir_.write("Projekt/Haupt.frm", kHaupt);
        dir_.write("Projekt/Formulare/Dialog.frm", kDialog);
        dir_.write("Projekt/Werkzeuge.bas", kModule);
        dir_.write("Projekt/Anzeige.ctl", kControl);
        window_.show();
    }
    void readProject(const std::string& path) {
        desktop_.answerFileDialog(QString::fromStdString(path));
        QTest::mouseClick(window_.cmdPw, Qt::LeftButton);
    }
    void readProject() { readProject(projectPath_); }

    std::string projectPath_;
    counter::frmHaupt window_{desktop_};
};

TEST_F(CounterWindow, InitialState) {
    EXPECT_EQ(window_.windowTitle(), "Tallimar");
    EXPECT_EQ(window_.size(), QSize(632, 393));
    EXPECT_FALSE(window_.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window_.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(window_.Label1->text(),
              "Falls sie Probleme mit dem Programm haben sollten, schreiben sie mir!");
    EXPECT_EQ(window_.Label2->text(), "(Siehe Info)");
    EXPECT_EQ(window_.Label1->font().family(), "Arial");
    EXPECT_DOUBLE_EQ(window_.Label1->font().pointSizeF(), 9.75);
    EXPECT_EQ(window_.cmdPw->text(), "Projekt wählen");
    EXPECT_EQ(window_.cmdAO->text(), "Alle Voduvov:");
    EXPECT_EQ(window_.cmdEnde->text(), "Ende");
    EXPECT_EQ(window_.cmdInfo->text(), "Info");
    // Positions: twips / 15.
    EXPECT_EQ(window_.cmdEnde->geometry(), QRect(16, 16, 49, 65));
    EXPECT_EQ(window_.cmdInfo->geometry(), QRect(568, 16, 49, 65));
    EXPECT_EQ(window_.txtP->geometry(), QRect(16, 96, 449, 19));
    EXPECT_EQ(window_.cmdPw->geometry(), QRect(472, 96, 145, 19));
    EXPECT_EQ(window_.lstE1->geometry(), QRect(16, 128, 145, 199));
    EXPECT_EQ(window_.lstUObjN->geometry(), QRect(472, 128, 145, 199));
    EXPECT_EQ(window_.lblAdO->geometry(), QRect(472, 328, 145, 17));
    EXPECT_EQ(window_.cmdAO->geometry(), QRect(472, 352, 89, 17));
    EXPECT_EQ(window_.txtAaO->geometry(), QRect(568, 352, 49, 19));
    EXPECT_EQ(window_.lblAktion->geometry(), QRect(0, 376, 169, 17));
    EXPECT_EQ(window_.PB->geometry(), QRect(176, 376, 457, 17));
    EXPECT_TRUE(window_.txtAaO->isReadOnly());
    EXPECT_EQ(window_.lblAktion->frameShape(), QFrame::Panel);
    for (const auto* list : {window_.lstE1, window_.lstObj, window_.lstUObj, window_.lstUObjN})
        EXPECT_EQ(list->count(), 0);
    for (const auto* label :
         {window_.lblE1, window_.lblObj, window_.lblUObj, window_.lblAdO, window_.lblAktion})
        EXPECT_TRUE(label->text().isEmpty());
    EXPECT_TRUE(window_.txtP->text().isEmpty());
    EXPECT_TRUE(window_.txtAaO->text().isEmpty());
    EXPECT_EQ(window_.PB->minimum(), 0);
    EXPECT_EQ(window_.PB->maximum(), 5);
    EXPECT_EQ(window_.PB->value(), 0);
    EXPECT_FALSE(window_.PB->isTextVisible());
    EXPECT_EQ(window_.focusWidget(), window_.txtP);
    // Tab order: txtP, cmdPw, cmdInfo, cmdEnde, the four lists, cmdAO, txtAaO.
    const QWidget* expected[] = {window_.txtP,  window_.cmdPw,  window_.cmdInfo, window_.cmdEnde,
                                 window_.lstE1, window_.lstObj, window_.lstUObj, window_.lstUObjN,
                                 window_.cmdAO, window_.txtAaO};
    for (std::size_t i = 0; i + 1 < std::size(expected); ++i)
        EXPECT_EQ(vbtest::NextTabStop(expected[i]), expected[i + 1]) << i;
}

TEST_F(CounterWindow, ProjectReadFillsTheGroupsWithBusyIndication) {
    ProgressRecorder progress(window_.PB, window_.lblAktion);
    readProject();
    ASSERT_EQ(desktop_.dialogCalls.size(), 1u);
    EXPECT_EQ(desktop_.dialogCalls[0].mode, shell::FileDialogMode::Open);
    EXPECT_EQ(desktop_.dialogCalls[0].filters, QStringList{"*.vbp (*.vbp)"});
    EXPECT_EQ(progress.statusAtEventPass, "Einlesen der Projektinformationen");
    EXPECT_TRUE(progress.hourglassAtEventPass);
    EXPECT_EQ(progress.values, (std::vector<int>{1, 2, 3, 4, 5, 0}));
    EXPECT_EQ(window_.lstE1->entries(), (QStringList{"Benutzersteuerelemente", "Formulare", "Module"}));
    EXPECT_EQ(window_.lblE1->text(), "3");
    EXPECT_EQ(window_.txtP->text(), QString::fromStdString(projectPath_));
    EXPECT_EQ(window_.lblAktion->text(), "");
    EXPECT_EQ(window_.PB->value(), 0);
    EXPECT_EQ(window_.PB->maximum(), 5);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(projectPath_).parent_path());
    EXPECT_TRUE(desktop_.fatalReports.empty());
}

TEST_F(CounterWindow, CancellingTheDialogChangesNothing) {
    readProject();
    desktop_.answerFileDialog(QString());
    int valueChanges = 0;
    QObject::connect(window_.PB, &QProgressBar::valueChanged, [&] { ++valueChanges; });
    QTest::mouseClick(window_.cmdPw, Qt::LeftButton);
    EXPECT_EQ(valueChanges, 0);
    EXPECT_EQ(window_.lstE1->count(), 3);
    EXPECT_EQ(window_.txtP->text(), QString::fromStdString(projectPath_));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    // The dialog starts at the last chosen file.
    EXPECT_EQ(desktop_.dialogCalls.back().startName, QString::fromStdString(projectPath_));
}

TEST_F(CounterWindow, MissingProjectFileGoesToTheFatalReport) {
    readProject(dir_.file("Projekt/Fehlt.vbp"));
    ASSERT_EQ(desktop_.fatalReports.size(), 1u);
    EXPECT_EQ(desktop_.fatalReports[0].number, 53);
    EXPECT_EQ(desktop_.fatalReports[0].title, "Tallimar");
    EXPECT_TRUE(desktop_.fatalReports[0].text.startsWith("Laufzeitfehler '53':\n\nDatei nicht gefunden"));
}

TEST_F(CounterWindow, WalksDownToObjectNames) {
    readProject();
    ProgressRecorder progress(window_.PB, window_.lblAktion);
    ClickEntry(window_.lstE1, "Formulare");
    EXPECT_EQ(progress.statusAtEventPass, "Laden der Formulare");
    EXPECT_EQ(progress.maximumAtEventPass, 2);
    EXPECT_EQ(progress.values, (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(window_.lstObj->entries(), (QStringList{"Formulare\\Dialog.frm", "Haupt.frm"}));
    EXPECT_EQ(window_.lblObj->text(), "2");

    progress.clear();
    ClickEntry(window_.lstObj, "Haupt.frm");
    EXPECT_EQ(progress.statusAtEventPass, "Laden der Objektgruppen");
    EXPECT_EQ(progress.maximumAtEventPass, 3);
    EXPECT_EQ(progress.values, (std::vector<int>{1, 2, 3, 0}));
    EXPECT_EQ(window_.lstUObj->entries(),
              (QStringList{"VB.CommandButton", "VB.Frame", "VB.Label", "VB.Menu"}));
    EXPECT_EQ(window_.lblUObj->text(), "4");

    progress.clear();
    ClickEntry(window_.lstUObj, "VB.Label");
    EXPECT_EQ(progress.statusAtEventPass, "Laden der Voduvov");
    EXPECT_EQ(progress.maximumAtEventPass, 2);
    EXPECT_EQ(progress.values, (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(window_.lstUObjN->entries(), QStringList{"lblÄnderung"}); // Windows-1252 shown as text
    EXPECT_EQ(window_.lblAdO->text(), "1");
    ClickEntry(window_.lstUObj, "VB.CommandButton");
    EXPECT_EQ(window_.lstUObjN->entries(), (QStringList{"cmdAbbruch", "cmdOK"}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(window_.lblAktion->text(), "");

    // A member in a sub-folder written with a backslash is found from the working directory.
    ClickEntry(window_.lstObj, "Formulare\\Dialog.frm");
    EXPECT_EQ(window_.lstUObj->entries(), QStringList{"VB.Label"});
    EXPECT_TRUE(desktop_.fatalReports.empty());
}

TEST_F(CounterWindow, Utf8ProjectsAndMembersAreShownAsUtf8AndTheSelectionScansTheirFile) {
    // An archive re-encoded to UTF-8, checked out with LF line ends. A file whose name holds the
    // Windows-1252 byte of the same letter lies beside it and must not be the one scanned.
    const std::string path = dir_.write("Neu/Neu.vbp", "Type=Exe\nForm=Er\xC3\xB6"
                                                       "ffnung.frm\n");
    dir_.write("Neu/Er\xC3\xB6"
               "ffnung.frm",
               "VERSION 5.00\nBegin VB.Form frm\n   Begin VB.Label lblGr\xC3\xBC\xC3\x9F"
               "e\n"
               "   End\nEnd\nAttribute VB_Name = \"frm\"\n");
    dir_.write("Neu/Er\xF6"
               "ffnung.frm",
               "VERSION 5.00\nBegin VB.Form frm\n   Begin VB.Timer tmrFalsch\n   End\nEnd\n");
    readProject(path);
    ClickEntry(window_.lstE1, "Formulare");
    EXPECT_EQ(window_.lstObj->entries(), QStringList{"Eröffnung.frm"});
    ClickEntry(window_.lstObj, "Eröffnung.frm");
    EXPECT_EQ(window_.lstUObj->entries(), QStringList{"VB.Label"});
    ClickEntry(window_.lstUObj, "VB.Label");
    EXPECT_EQ(window_.lstUObjN->entries(), QStringList{"lblGrüße"});
    EXPECT_TRUE(desktop_.fatalReports.empty());
}

TEST_F(CounterWindow, EachSelectionEmptiesWhatDependsOnIt) {
    readProject();
    ClickEntry(window_.lstE1, "Formulare");
    ClickEntry(window_.lstObj, "Haupt.frm");
    ClickEntry(window_.lstUObj, "VB.Menu");
    EXPECT_EQ(window_.lblAdO->text(), "2");

    ClickEntry(window_.lstUObj, "VB.Frame"); // lstUObjN refilled, the rest kept
    EXPECT_EQ(window_.lstUObjN->entries(), QStringList{"fraRahmen"});
    EXPECT_EQ(window_.lblUObj->text(), "4");

    ClickEntry(window_.lstObj, "Haupt.frm"); // the same entry again: rebuilt, names emptied
    EXPECT_EQ(window_.lstUObj->count(), 4);
    EXPECT_EQ(window_.lstUObjN->count(), 0);
    EXPECT_EQ(window_.lblAdO->text(), "");
    EXPECT_EQ(window_.lblObj->text(), "2");

    ClickEntry(window_.lstUObj, "VB.Menu");
    ClickEntry(window_.lstE1, "Module");
    EXPECT_EQ(window_.lstObj->entries(), QStringList{"Werkzeuge.bas"});
    EXPECT_EQ(window_.lstUObj->count(), 0);
    EXPECT_EQ(window_.lstUObjN->count(), 0);
    EXPECT_EQ(window_.lblUObj->text(), "");
    EXPECT_EQ(window_.lblAdO->text(), "");

    ClickEntry(window_.lstObj, "Werkzeuge.bas"); // a module declares no objects
    EXPECT_EQ(window_.lstUObj->count(), 0);
    EXPECT_EQ(window_.lblUObj->text(), "0");

    // A new project read empties all four lists and their counts.
    readProject();
    EXPECT_EQ(window_.lstObj->count(), 0);
    EXPECT_EQ(window_.lblObj->text(), "");
    EXPECT_EQ(window_.lblUObj->text(), "");
    EXPECT_EQ(window_.lblE1->text(), "3");
}

TEST_F(CounterWindow, SelectionInTheNamesListDoesNothing) {
    readProject();
    ClickEntry(window_.lstE1, "Formulare");
    ClickEntry(window_.lstObj, "Haupt.frm");
    ClickEntry(window_.lstUObj, "VB.Menu");
    ProgressRecorder progress(window_.PB, window_.lblAktion);
    ClickEntry(window_.lstUObjN, "mnuEnde");
    EXPECT_TRUE(progress.values.empty());
    EXPECT_EQ(window_.lstUObjN->count(), 2);
}

TEST_F(CounterWindow, CountingAllObjects) {
    ProgressRecorder progress(window_.PB, window_.lblAktion);
    QTest::mouseClick(window_.cmdAO, Qt::LeftButton); // before any project
    EXPECT_EQ(window_.txtAaO->text(), "0");
    EXPECT_EQ(progress.maximumAtEventPass, 1);

    readProject();
    ClickEntry(window_.lstE1, "Formulare");
    ClickEntry(window_.lstObj, "Haupt.frm");
    const QStringList types = window_.lstUObj->entries();
    int sumOfGroups = 0;
    for (const QString& type : types) {
        ClickEntry(window_.lstUObj, type);
        sumOfGroups += window_.lblAdO->text().toInt();
    }
    ClickEntry(window_.lstUObj, "VB.CommandButton");

    progress.clear();
    QTest::mouseClick(window_.cmdAO, Qt::LeftButton);
    EXPECT_EQ(progress.statusAtEventPass, "Zählen aller Voduvov");
    EXPECT_EQ(progress.maximumAtEventPass, 4); // 2 forms + 1 user control + 1
    EXPECT_EQ(progress.values, (std::vector<int>{1, 2, 3, 4, 0}));
    // Haupt.frm 6, Dialog.frm 1, the user control 2 (its own declaration counts).
    EXPECT_EQ(sumOfGroups, 6);
    EXPECT_EQ(window_.txtAaO->text(), "9");
    QTest::mouseClick(window_.cmdAO, Qt::LeftButton);
    EXPECT_EQ(window_.txtAaO->text(), "9");

    // The lists are untouched, and the names of the file on screen are still found.
    EXPECT_EQ(window_.lstUObj->entries(), types);
    EXPECT_EQ(window_.lstUObjN->entries(), (QStringList{"cmdAbbruch", "cmdOK"}));
    EXPECT_EQ(window_.lblUObj->text(), "4");
    ClickEntry(window_.lstUObj, "VB.Menu");
    EXPECT_EQ(window_.lstUObjN->entries(), (QStringList{"mnuDatei", "mnuEnde"}));

    readProject();
    EXPECT_EQ(window_.txtAaO->text(), "");
}

TEST_F(CounterWindow, MissingMemberInTheCountGoesToTheFatalReport) {
    dir_.write("Projekt/Test.vbp", "Form=Haupt.frm\r\nForm=Weg.frm\r\n");
    readProject();
    QTest::mouseClick(window_.cmdAO, Qt::LeftButton);
    ASSERT_EQ(desktop_.fatalReports.size(), 1u);
    EXPECT_EQ(desktop_.fatalReports[0].number, 53);
    EXPECT_EQ(desktop_.fatalReports[0].path, "Weg.frm");
    EXPECT_EQ(window_.txtAaO->text(), "");
}

TEST_F(CounterWindow, EndAndInfoButtons) {
    QTest::mouseClick(window_.cmdEnde, Qt::LeftButton);
    EXPECT_EQ(desktop_.endRequests, 1);
    QTest::mouseClick(window_.cmdInfo, Qt::LeftButton);
    QTest::mouseClick(window_.cmdInfo, Qt::LeftButton);
    ASSERT_TRUE(window_.infoDialog());
    EXPECT_EQ(window_.infoDialog()->windowTitle(), "Info");
    EXPECT_EQ(window_.infoDialog()->lbl(0)->text(), "Tallimar");
    EXPECT_EQ(window_.infoDialog()->lblVersion->text(), "Version 1.1");
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

} // namespace

namespace {

TEST_F(CounterWindow, AGroupChosenDuringTheEventPassLeavesNothingToScan) {
    readProject();
    ClickEntry(window_.lstE1, "Formulare");
    // A click on another group, queued while the scan of a file starts: it runs at the scan's event pass
    // and empties lstObj before the scan would read the selected file's name.
    const auto* item = window_.lstE1->findItems("Module", Qt::MatchExactly).constFirst();
    const QPoint at = window_.lstE1->visualItemRect(item).center();
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(window_.lstE1->viewport(),
                                    new QMouseEvent(type, at, window_.lstE1->viewport()->mapToGlobal(at),
                                                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    ClickEntry(window_.lstObj, "Haupt.frm");
    EXPECT_TRUE(desktop_.fatalReports.empty());
    EXPECT_EQ(window_.lstObj->entries(), QStringList{"Werkzeuge.bas"});
    EXPECT_EQ(window_.lstUObj->count(), 0);
    EXPECT_EQ(window_.lblAktion->text(), "");
    EXPECT_EQ(window_.PB->value(), 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

} // namespace

namespace {

TEST_F(CounterWindow, KeyboardInTheListsSelectsAndStartsTheListsCommand) {
    readProject();
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    window_.lstE1->setFocus(Qt::TabFocusReason);
    ProgressRecorder progress(window_.PB, window_.lblAktion);
    QTest::keyClick(window_.lstE1, Qt::Key_Down); // the first entry, not the second
    EXPECT_EQ(progress.statusAtEventPass, "Laden der Benutzersteuerelemente");
    EXPECT_EQ(window_.lstObj->entries(), QStringList{"Anzeige.ctl"});
    QTest::keyClick(window_.lstE1, Qt::Key_End);
    EXPECT_EQ(window_.lstObj->entries(), QStringList{"Werkzeuge.bas"});
    QTest::keyClick(window_.lstE1, Qt::Key_Up);
    EXPECT_EQ(window_.lstObj->count(), 2);

    window_.lstObj->setFocus(Qt::TabFocusReason);
    QTest::keyClick(window_.lstObj, Qt::Key_Home);
    EXPECT_EQ(window_.lstUObj->entries(), QStringList{"VB.Label"}); // Formulare\Dialog.frm
    window_.lstUObj->setFocus(Qt::TabFocusReason);
    QTest::keyClick(window_.lstUObj, Qt::Key_Up);
    EXPECT_EQ(window_.lstUObjN->entries(), QStringList{"lblText"});
    EXPECT_EQ(window_.lblAdO->text(), "1");
    EXPECT_TRUE(desktop_.fatalReports.empty());
}

} // namespace

namespace {

TEST_F(CounterWindow, FixedSizeWhateverTheWindowManagerAsks) {
    EXPECT_EQ(window_.minimumSize(), QSize(632, 393));
    EXPECT_EQ(window_.maximumSize(), QSize(632, 393));
    window_.showMaximized();
    EXPECT_EQ(window_.size(), QSize(632, 393));
    window_.resize(800, 600);
    EXPECT_EQ(window_.size(), QSize(632, 393));
}

} // namespace

namespace {

// A project named from outside the window (the program's argument, a drop) goes through the project read
// of cmdPw: the same status text and progress, the working directory at its folder, the dialog's next
// start at the file.
TEST_F(CounterWindow, ProjectFromOutsideIsReadAsIfChosen) {
    const vbtest::WorkingDirectory here(dir_.path());
    ProgressRecorder progress(window_.PB, window_.lblAktion);
    window_.openProject(QStringLiteral("Projekt/Test.vbp")); // relative, as typed on the command line
    EXPECT_TRUE(desktop_.dialogCalls.empty());
    EXPECT_EQ(progress.statusAtEventPass, "Einlesen der Projektinformationen");
    EXPECT_EQ(progress.values, (std::vector<int>{1, 2, 3, 4, 5, 0}));
    EXPECT_EQ(window_.txtP->text(), QString::fromStdString(projectPath_));
    EXPECT_EQ(window_.lstE1->entries(), (QStringList{"Benutzersteuerelemente", "Formulare", "Module"}));
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(projectPath_).parent_path());
    // Members are found relative to the project's folder, as after a choice in the dialog.
    ClickEntry(window_.lstE1, "Formulare");
    ClickEntry(window_.lstObj, "Haupt.frm");
    EXPECT_EQ(window_.lblUObj->text(), "4");
    desktop_.answerFileDialog(QString());
    QTest::mouseClick(window_.cmdPw, Qt::LeftButton);
    EXPECT_EQ(desktop_.dialogCalls.back().startName, QString::fromStdString(projectPath_));

    window_.openProject(QString::fromStdString(dir_.file("Projekt/Fehlt.vbp")));
    EXPECT_EQ(reported(), 53);
}

TEST_F(CounterWindow, DroppedProjectFileIsRead) {
    const QString other = QString::fromStdString(dir_.write("Anders/ZWEI.VBP", "Module=M; M.bas\r\n"));
    const QString text = QString::fromStdString(dir_.write("Anders/liesmich.txt", "x"));
    EXPECT_FALSE(vbtest::DropFiles(&window_, {text}));
    EXPECT_FALSE(vbtest::DropFiles(&window_, {other, QString::fromStdString(projectPath_)}));
    EXPECT_TRUE(window_.txtP->text().isEmpty());

    EXPECT_TRUE(vbtest::DropFiles(&window_, {QString::fromStdString(projectPath_)}));
    EXPECT_EQ(window_.lblE1->text(), "3");
    // On txtP too, instead of the file's address as text.
    EXPECT_TRUE(vbtest::DropFiles(window_.txtP, {other}));
    EXPECT_EQ(window_.txtP->text(), other);
    EXPECT_EQ(window_.lstE1->entries(), QStringList{"Module"});
    EXPECT_TRUE(desktop_.dialogCalls.empty());
    EXPECT_EQ(reported(), 0);
}

TEST_F(CounterWindow, ListsAndCountsCanBeCopied) {
    readProject();
    QGuiApplication::clipboard()->clear();
    window_.lstE1->copyAction()->trigger(); // nothing selected: nothing copied
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "");
    window_.lstE1->copyAllAction()->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Benutzersteuerelemente\nFormulare\nModule");

    ClickEntry(window_.lstE1, "Formulare");
    ClickEntry(window_.lstObj, "Formulare\\Dialog.frm");
    window_.lstObj->setFocus();
    QTest::keySequence(window_.lstObj, QKeySequence::Copy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Formulare\\Dialog.frm");
    EXPECT_EQ(window_.lstUObj->entries(), QStringList{"VB.Label"}); // Ctrl+C selects nothing
    EXPECT_EQ(window_.lstObj->copyAction()->text(), "Kopieren");
    EXPECT_EQ(window_.lstObj->copyAllAction()->text(), "Alle kopieren");

    ASSERT_EQ(window_.lblObj->actions().size(), 1);
    EXPECT_EQ(window_.lblObj->actions()[0]->text(), "Kopieren");
    EXPECT_EQ(window_.lblObj->contextMenuPolicy(), Qt::ActionsContextMenu);
    window_.lblObj->actions()[0]->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "2");
}

// Every control shows when it has the focus, the empty lists right after the start included.
TEST_F(CounterWindow, EveryControlShowsTheFocus) {
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    EXPECT_EQ(vbtest::ControlsWithoutFocusMark(window_.txtP), QStringList{});
}

} // namespace

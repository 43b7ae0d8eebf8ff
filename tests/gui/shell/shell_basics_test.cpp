#include "gui/shell/command.h"
#include "gui/shell/common_dialog.h"
#include "gui/shell/desktop.h"
#include "gui/shell/display_text.h"
#include "gui/shell/start.h"

#include "fake_desktop.h"
#include "temp_dir.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <new>

namespace {

TEST(DisplayText, AllByteValuesRoundTrip) {
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    const QString text = shell::DisplayText(bytes);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(shell::BytesOfDisplayText(text), bytes);

    EXPECT_EQ(text[0x80], QChar(0x20AC)); // euro sign
    EXPECT_EQ(text[0x81], QChar(0x0081)); // undefined in Windows-1252: the C1 control
    EXPECT_EQ(text[0x9F], QChar(0x0178));
    EXPECT_EQ(text[0xE4], QChar(0x00E4));
    EXPECT_EQ(shell::BytesOfDisplayText(QStringLiteral("a\u4E2Db")), "a?b");
}

TEST(FatalErrorText, NumberDescriptionAndTheFileTried) {
    EXPECT_EQ(shell::FatalErrorText(vb::RuntimeError(53, "/projekt/Formulare/Haupt.frm")),
              "Laufzeitfehler '53':\n\nDatei nicht gefunden\n\n/projekt/Formulare/Haupt.frm");
    EXPECT_EQ(shell::FatalErrorText(vb::RuntimeError(6)),
              QString::fromUtf8("Laufzeitfehler '6':\n\nÜberlauf"));
}

TEST(RunCommand, RuntimeErrorsAndMemoryShortageGoToTheFatalErrorReport) {
    vbtest::FakeDesktop desktop;
    bool ran = false;
    shell::RunCommand(desktop, QStringLiteral("Fugabar"), [&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(desktop.fatalReports.empty());

    shell::RunCommand(desktop, QStringLiteral("Fugabar"), [] { throw vb::RuntimeError(76, "a/b.bas"); });
    shell::RunCommand(desktop, QStringLiteral("Tallimar"), [] { throw std::bad_alloc(); });
    ASSERT_EQ(desktop.fatalReports.size(), 2u);
    EXPECT_EQ(desktop.fatalReports[0].title, "Fugabar");
    EXPECT_EQ(desktop.fatalReports[0].number, 76);
    EXPECT_EQ(desktop.fatalReports[0].path, "a/b.bas");
    EXPECT_EQ(desktop.fatalReports[1].title, "Tallimar");
    EXPECT_EQ(desktop.fatalReports[1].number, 7);
    EXPECT_EQ(desktop.fatalReports[1].text, "Laufzeitfehler '7':\n\nNicht genügend Speicher");
}

class CommonDialogTest : public testing::Test {
protected:
    vbtest::TempDir folder;
    vbtest::WorkingDirectory keepCwd{std::filesystem::current_path()}; // restores the cwd afterwards
    vbtest::FakeDesktop desktop;
    shell::CommonDialog dialog{desktop};
};

TEST_F(CommonDialogTest, PassesFiltersAndStartsAtTheLastChoice) {
    const QString project = QString::fromStdString(folder.write("Projekt.vbp", "Form=a.frm\r\n"));
    desktop.answerFileDialog(project);
    desktop.answerFileDialog(QString());
    desktop.answerFileDialog(QStringLiteral("/nirgends/Ausgabe.txt"));

    EXPECT_EQ(dialog.showOpen({QStringLiteral("*.vbp (*.vbp)")}), project);
    EXPECT_EQ(dialog.showOpen({QStringLiteral("*.vbp (*.vbp)")}), QString()); // cancelled
    EXPECT_EQ(dialog.fileName(), project);
    EXPECT_EQ(dialog.showSave({QStringLiteral("*.txt (*.txt)"), QStringLiteral("*.* (*)")}),
              "/nirgends/Ausgabe.txt");

    ASSERT_EQ(desktop.dialogCalls.size(), 3u);
    EXPECT_EQ(desktop.dialogCalls[0].mode, shell::FileDialogMode::Open);
    EXPECT_EQ(desktop.dialogCalls[0].filters, QStringList{"*.vbp (*.vbp)"});
    EXPECT_EQ(desktop.dialogCalls[0].startName, QString());
    EXPECT_EQ(desktop.dialogCalls[1].startName, project);
    EXPECT_EQ(desktop.dialogCalls[2].mode, shell::FileDialogMode::Save);
    EXPECT_EQ(desktop.dialogCalls[2].filters, (QStringList{"*.txt (*.txt)", "*.* (*)"}));
    EXPECT_EQ(desktop.dialogCalls[2].startName, project); // the cancel kept the old name
}

TEST_F(CommonDialogTest, WorkingDirectoryBecomesTheChosenFilesFolder) {
    const QString project = QString::fromStdString(folder.write("sub/Projekt.vbp", ""));
    desktop.answerFileDialog(project);
    desktop.answerFileDialog(QString());
    desktop.answerFileDialog(QStringLiteral("/nirgends/gibt/es/das.txt"));

    dialog.showOpen({});
    const auto chosenFolder = std::filesystem::canonical(folder.path() / "sub");
    EXPECT_EQ(std::filesystem::current_path(), chosenFolder);
    dialog.showOpen({}); // cancelled: stays
    EXPECT_EQ(std::filesystem::current_path(), chosenFolder);
    dialog.showSave({}); // a folder that does not exist: stays
    EXPECT_EQ(std::filesystem::current_path(), chosenFolder);
}

TEST(LoadGermanTranslations, QtsOwnTextsSpeakGerman) {
    ASSERT_TRUE(shell::LoadGermanTranslations());
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Abbrechen");
    QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), "Abbrechen");
}

} // namespace

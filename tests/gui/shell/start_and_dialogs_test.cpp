#include "gui/shell/desktop_file_dialog.h"
#include "gui/shell/file_dialog.h"
#include "gui/shell/message_box.h"
#include "gui/shell/start.h"

#include <QAbstractFileIconProvider>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QTest>

#include "temp_dir.h"

#include <gtest/gtest.h>

namespace {

using shell::ParseStartArguments;
using Kind = shell::StartRequest::Kind;

TEST(StartArguments, OneProjectFileHelpVersionAndMistakes) {
    EXPECT_EQ(ParseStartArguments({"voduvov"}).kind, Kind::Window);
    EXPECT_EQ(ParseStartArguments({"voduvov"}).projectFile, "");
    EXPECT_EQ(ParseStartArguments({"voduvov", "Projekte/Kunden.vbp"}).projectFile, "Projekte/Kunden.vbp");
    // Qt's own options and their values are no project file.
    const auto withQt = ParseStartArguments({"voduvov", "-platform", "offscreen", "-reverse", "a.vbp"});
    EXPECT_EQ(withQt.kind, Kind::Window);
    EXPECT_EQ(withQt.projectFile, "a.vbp");
    EXPECT_EQ(ParseStartArguments({"voduvov", "--", "-x.vbp"}).projectFile, "-x.vbp");

    EXPECT_EQ(ParseStartArguments({"voduvov", "a.vbp", "--help"}).kind, Kind::Help);
    EXPECT_EQ(ParseStartArguments({"voduvov", "-h"}).kind, Kind::Help);
    EXPECT_EQ(ParseStartArguments({"voduvov", "--version"}).kind, Kind::Version);
    EXPECT_EQ(ParseStartArguments({"voduvov", "a.vbp", "b.vbp"}).kind, Kind::UsageError);
    EXPECT_EQ(ParseStartArguments({"voduvov", "--verbose"}).kind, Kind::UsageError);
}

TEST(MessageBox, WideEnoughForItsTitle) {
    const QString text = QString::fromUtf8("Laufzeitfehler '6':\n\nÜberlauf");
    for (const QString& title :
         {QStringLiteral("Tallimar"), QStringLiteral("Ein recht langer Titel für ein Fenster")}) {
        const auto box = shell::NewMessageBox(QMessageBox::Critical, title, text);
        box->show();
        EXPECT_GE(box->width(), shell::TitleRoomWidth(title)) << title.toStdString();
        EXPECT_GT(shell::TitleRoomWidth(title), box->fontMetrics().horizontalAdvance(title) + 100);
        EXPECT_EQ(box->windowTitle(), title);
        EXPECT_EQ(box->text(), text);
        box->close();
    }
}

// The program's file dialog shows the filters' labels as given, lists by their patterns, and is the same
// dialog at every use.
TEST(FileDialog, LabelsPatternsAndOneDialog) {
    shell::FileDialog dialogs;
    QFileDialog& save = dialogs.prepare(
        shell::FileDialogMode::Save, {QStringLiteral("*.txt (*.txt)"), QStringLiteral("*.* (*)")}, QString());
    EXPECT_EQ(save.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_TRUE(save.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(save.fileMode(), QFileDialog::AnyFile);
    const auto* types = save.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->count(), 2);
    EXPECT_EQ(types->itemText(0), "*.txt");
    EXPECT_EQ(types->itemText(1), "*.*");
    // The patterns behind the labels: "*.*" lists every file, also those without a dot.
    const auto* listing = save.findChild<QFileSystemModel*>();
    ASSERT_NE(listing, nullptr);
    EXPECT_EQ(listing->nameFilters(), QStringList{"*.txt"});
    save.selectNameFilter(QStringLiteral("*.* (*)"));
    EXPECT_EQ(listing->nameFilters(), QStringList{"*"});

    QFileDialog& open = dialogs.prepare(shell::FileDialogMode::Open, {QStringLiteral("*.vbp (*.vbp)")},
                                        QStringLiteral("/tmp/Projekt.vbp"));
    EXPECT_EQ(&open, &save);
    EXPECT_EQ(open.acceptMode(), QFileDialog::AcceptOpen);
    ASSERT_EQ(types->count(), 1);
    EXPECT_EQ(types->itemText(0), "*.vbp");
    // No look-up of a file's type by its content: every file is "Datei".
    ASSERT_NE(open.iconProvider(), nullptr);
    EXPECT_EQ(open.iconProvider()->type(QFileInfo(QStringLiteral("/etc/passwd"))), "Datei");
}

// A desktop offers its own file dialog through the portal when a backend for it serves file choosers.
TEST(DesktopFileDialog, PortalBackendThatServesTheDesktop) {
    vbtest::TempDir portals;
    portals.write("gtk.portal", "[portal]\nDBusName=org.freedesktop.impl.portal.desktop.gtk\n"
                                "Interfaces=org.freedesktop.impl.portal.FileChooser;"
                                "org.freedesktop.impl.portal.AppChooser;\nUseIn=gnome;xfce\n");
    portals.write("shots.portal",
                  "[portal]\nInterfaces=org.freedesktop.impl.portal.Screenshot;\nUseIn=lxqt\n");
    const std::string folder = portals.path().string();
    EXPECT_TRUE(shell::DesktopOffersFileChooserPortal("GNOME", folder));
    EXPECT_TRUE(shell::DesktopOffersFileChooserPortal("ubuntu:GNOME", folder));
    EXPECT_TRUE(shell::DesktopOffersFileChooserPortal("XFCE", folder));
    EXPECT_FALSE(shell::DesktopOffersFileChooserPortal("LXQt", folder));
    EXPECT_FALSE(shell::DesktopOffersFileChooserPortal("", folder));
    EXPECT_FALSE(shell::DesktopOffersFileChooserPortal("GNOME", folder + "/fehlt"));
}

} // namespace

#pragma once
// What both main windows share: the end and Info buttons in the upper corners with their handlers, the two
// hint lines between them, the window's one Info dialog, and the boundary every command of the window runs
// in. Each program's frmHaupt builds its own controls on top.

#include "gui/shell/common_dialog.h"
#include "gui/shell/controls.h"
#include "gui/shell/frm_info.h"
#include "gui/shell/pictures.h"

#include "project/project_file_lists.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace shell {

class Desktop;
class PictureButton;

// The design values in which the two main windows differ.
struct MainWindowDesign {
    // The Info dialog's values; its title, the product title, is also the window's caption and the title
    // of its message boxes.
    InfoParameters info;
    int widthTwips; // client area
    int heightTwips;
    Program program; // the window icon
    Twips cmdInfo;   // cmdEnde stands at the upper left corner in both windows
    Twips Label1;
    Twips Label2;
    Twips txtP; // the project file's path and the button that chooses it
    Twips cmdPw;
};

class MainWindow : public QWidget {
    Q_OBJECT
public:
    ~MainWindow() override;

    PictureButton* cmdEnde;
    PictureButton* cmdInfo;
    QLabel* Label1;
    QLabel* Label2;
    // The project choice; each window connects cmdPw to its own handler.
    QLineEdit* txtP;
    QPushButton* cmdPw;

    const QPointer<frmInfo>& infoDialog() const { return Info; }
    const vb::ProjectFileLists& projectFileLists() const { return ProjectFileLists; }
    const std::string& projectFolder() const { return ProjectFolder; }

protected:
    MainWindow(Desktop& desktop, const MainWindowDesign& design);

    // Runs one command of the window; a runtime error it does not handle goes to the fatal-error report.
    void runCommand(const std::function<void()>& command);

    Desktop& desktop_;
    // The file dialogs, and the project chosen with cmdPw: its lists and its folder.
    shell::CommonDialog CommonDialog;
    vb::ProjectFileLists ProjectFileLists;
    std::string ProjectFolder;

private:
    void on_cmdInfo_clicked();
    void on_cmdEnde_clicked();

    InfoParameters infoParameters_;
    QPointer<frmInfo> Info;
};

} // namespace shell

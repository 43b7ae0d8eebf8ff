#pragma once
// What both main windows share: the end and Info buttons in the upper corners with their handlers, the two
// hint lines between them, the window's one Info dialog, the boundary every command of the window runs
// in, and the project read from outside the window (the program's argument, a project file dropped on the
// window or on txtP), which runs the same project read as cmdPw. Each program's frmHaupt builds its own
// controls on top.

#include "gui/shell/common_dialog.h"
#include "gui/shell/controls.h"
#include "gui/shell/frm_info.h"
#include "gui/shell/pictures.h"

#include "project/project_file_lists.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
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

    // Reads the project file `path` as if it had been chosen in the dialog of cmdPw.
    void openProject(const QString& path);

    const QPointer<frmInfo>& infoDialog() const { return Info; }
    const vb::ProjectFileLists& projectFileLists() const { return ProjectFileLists; }
    const std::string& projectFolder() const { return ProjectFolder; }

protected:
    MainWindow(Desktop& desktop, const MainWindowDesign& design);

    // Runs one command of the window; a runtime error it does not handle goes to the fatal-error report.
    void runCommand(const std::function<void()>& command);

    // The project read of cmdPw: the file chosen in the dialog, or `given` when it is not empty.
    virtual void ChooseProject(const QString& given) = 0;
    // Makes a file dropped on `box` its text, instead of the file's address.
    void takeDroppedFiles(QLineEdit* box);

    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    Desktop& desktop_;
    // The file dialogs, and the project chosen with cmdPw: its lists and its folder.
    shell::CommonDialog CommonDialog;
    vb::ProjectFileLists ProjectFileLists;
    std::string ProjectFolder;

private:
    void on_cmdInfo_clicked();
    void on_cmdEnde_clicked();

    // Accepts a drag that carries a project file and reads it once dropped; false for any other drag.
    bool takeProjectDrop(QDropEvent* event);

    InfoParameters infoParameters_;
    QPointer<frmInfo> Info;
    std::vector<QLineEdit*> fileDropBoxes_;
};

} // namespace shell

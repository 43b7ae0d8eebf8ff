#include "gui/shell/main_window.h"

#include "gui/shell/command.h"
#include "gui/shell/desktop.h"
#include "gui/shell/dropped_file.h"
#include "gui/shell/fonts.h"
#include "gui/shell/picture_button.h"
#include "gui/shell/window_states.h"

#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>

namespace shell {

MainWindow::MainWindow(Desktop& desktop, const MainWindowDesign& design)
    : QWidget(nullptr), desktop_(desktop), CommonDialog(desktop), infoParameters_(design.info) {
    setObjectName(QStringLiteral("frmHaupt"));
    SetUpMainWindow(this, design.info.title, design.widthTwips, design.heightTwips);
    setWindowIcon(ProgramIcon(design.program));
    // No maximise button: where the window manager shows one anyway, the window stays as it is.
    RefuseWindowStates(this, Qt::WindowMaximized | Qt::WindowFullScreen);

    const auto centred = Qt::AlignHCenter | Qt::AlignTop;
    cmdEnde = NewEndButton(this, {240, 240, 735, 975});
    cmdInfo = NewInfoButton(this, design.cmdInfo);
    Label1 = NewLabel(this, "Label1",
                      QStringLiteral("Falls sie Probleme mit dem Programm haben sollten, schreiben sie mir!"),
                      design.Label1, centred);
    Label2 = NewLabel(this, "Label2", QStringLiteral("(Siehe Info)"), design.Label2, centred);
    for (QLabel* label : {Label1, Label2})
        label->setFont(ArialFont(9.75));
    txtP = NewTextBox(this, "txtP", design.txtP);
    cmdPw = NewButton(this, "cmdPw", QStringLiteral("Projekt wählen"), design.cmdPw);

    // A project file dropped on the window or on txtP is read; the text box takes other drops as text.
    setAcceptDrops(true);
    txtP->installEventFilter(this);

    connect(cmdInfo, &QToolButton::clicked, this, &MainWindow::on_cmdInfo_clicked);
    connect(cmdEnde, &QToolButton::clicked, this, &MainWindow::on_cmdEnde_clicked);
}

MainWindow::~MainWindow() {
    if (Info)
        delete Info.data(); // the Info dialog has no owner window; it goes with the program's main window
}

void MainWindow::runCommand(const std::function<void()>& command) {
    RunCommand(desktop_, infoParameters_.title, command);
}

void MainWindow::openProject(const QString& path) {
    runCommand([this, path] { ChooseProject(path); });
}

void MainWindow::takeDroppedFiles(QLineEdit* box) {
    fileDropBoxes_.push_back(box);
    box->installEventFilter(this);
}

bool MainWindow::takeProjectDrop(QDropEvent* event) {
    const QString path = DroppedFile(event->mimeData());
    if (!IsProjectFileName(path))
        return false;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // The drop ends before the project is read, so that the program the file came from is not kept
    // waiting; the read runs as a command of its own, like a click of cmdPw.
    if (event->type() == QEvent::Drop)
        QTimer::singleShot(0, this, [this, path] { openProject(path); });
    return true;
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!takeProjectDrop(event))
        event->ignore();
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
    if (!takeProjectDrop(event))
        event->ignore();
}

void MainWindow::dropEvent(QDropEvent* event) {
    if (!takeProjectDrop(event))
        event->ignore();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QWidget::eventFilter(watched, event);
    auto* drop = static_cast<QDropEvent*>(event);
    if (watched == txtP)
        return takeProjectDrop(drop);
    const auto box = std::find(fileDropBoxes_.begin(), fileDropBoxes_.end(), watched);
    if (box == fileDropBoxes_.end())
        return false;
    const QString path = DroppedFile(drop->mimeData());
    if (path.isEmpty())
        return false;
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop)
        (*box)->setText(path);
    return true;
}

void MainWindow::on_cmdInfo_clicked() {
    runCommand([this] { ShowInfo(Info, infoParameters_, desktop_); });
}

void MainWindow::on_cmdEnde_clicked() {
    desktop_.endProgram();
}

} // namespace shell

#include "gui/shell/main_window.h"

#include "gui/shell/command.h"
#include "gui/shell/desktop.h"
#include "gui/shell/fonts.h"
#include "gui/shell/picture_button.h"

#include <QLabel>

namespace shell {

MainWindow::MainWindow(Desktop& desktop, const MainWindowDesign& design)
    : QWidget(nullptr), desktop_(desktop), CommonDialog(desktop), infoParameters_(design.info) {
    setObjectName(QStringLiteral("frmHaupt"));
    SetUpMainWindow(this, design.info.title, design.widthTwips, design.heightTwips);
    setWindowIcon(ProgramIcon(design.program));

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

void MainWindow::on_cmdInfo_clicked() {
    runCommand([this] { ShowInfo(Info, infoParameters_, desktop_); });
}

void MainWindow::on_cmdEnde_clicked() {
    desktop_.endProgram();
}

} // namespace shell

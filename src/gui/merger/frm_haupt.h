#pragma once
// The main window of the project merger: the project file with the number of members of each kind, the
// output file with the option for the forms' objects, the command that writes the merged file, the status
// line and the progress bar, and the Info and end buttons. Each control event has one handler; the work is
// done by the merger's core.

#include "gui/shell/busy.h"
#include "gui/shell/desktop.h"
#include "gui/shell/main_window.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <string>

namespace merger {

// The end and Info buttons, the two hint lines, the file dialogs and the chosen project's lists and
// folder come with shell::MainWindow.
class frmHaupt : public shell::MainWindow {
    Q_OBJECT
public:
    explicit frmHaupt(shell::Desktop& desktop);
    QLabel* lblFormulare;
    QLabel* lblF;
    QLabel* lblModule;
    QLabel* lblM;
    QLabel* lblKlassenmodule;
    QLabel* lblK;
    QLabel* lblBenutzersteuerelemente;
    QLabel* lblB;
    QLabel* lblEigenschaftenseiten;
    QLabel* lblE;
    QFrame* fraLinie;
    QLineEdit* txtAD;
    QPushButton* cmdADw;
    QCheckBox* CheckFaT;
    QPushButton* cmdDg;
    QLabel* lblAktion;
    QProgressBar* PB;

private:
    void on_cmdPw_clicked();
    void on_cmdADw_clicked();
    void on_cmdDg_clicked();

    void ChooseProject(const QString& given) override;
    void ShowMemberCounts();
    void ChooseOutputFile();
    void GenerateMergedFile();
    // The message that the output is a file of the project and is not overwritten.
    void refuseOwnFile(const std::string& path);
    // The check box's answer for one member: checked means set; unchecked and grayed mean not set.
    bool formsObjectsWanted() const;
    shell::BusyIndication busy() const { return {lblAktion, PB}; }

    // The project file the lists were read from, which the output must never overwrite.
    std::string ProjectPath;
};

} // namespace merger

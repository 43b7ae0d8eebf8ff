#pragma once
// The main window of the object counter: the project chooser, the four lists of the object browser with a
// count under each, the all-objects count, the status line, the progress bar, and the Info and end buttons.
// Each control event has one handler; the work is done by the counter's core.

#include "counter/object_group_table.h"
#include "gui/shell/busy.h"
#include "gui/shell/desktop.h"
#include "gui/shell/main_window.h"
#include "gui/shell/sorted_list_box.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <string>

namespace counter {

// The end and Info buttons, the two hint lines, the file dialogs and the chosen project's lists and
// folder come with shell::MainWindow.
class frmHaupt : public shell::MainWindow {
    Q_OBJECT
public:
    explicit frmHaupt(shell::Desktop& desktop);
    shell::SortedListBox* lstE1;
    shell::SortedListBox* lstObj;
    shell::SortedListBox* lstUObj;
    shell::SortedListBox* lstUObjN;
    QLabel* lblE1;
    QLabel* lblObj;
    QLabel* lblUObj;
    QLabel* lblAdO;
    QPushButton* cmdAO;
    QLineEdit* txtAaO;
    QLabel* lblAktion;
    QProgressBar* PB;

    const ObjectGroupTable& objectGroupTable() const { return ObjectGroups; }

private:
    void on_cmdPw_clicked();
    void on_lstE1_selectionMade();
    void on_lstObj_selectionMade();
    void on_lstUObj_selectionMade();
    void on_cmdAO_clicked();

    void ChooseProject(const QString& given) override;
    void ShowProjectGroups();
    void ListGroupMembers();
    void ListObjectGroups();
    void ListObjectNames();
    void CountAllObjects();
    shell::BusyIndication busy() const { return {lblAktion, PB}; }

    // The table of the file selected in lstObj; the all-objects count scans into a table of its own, so
    // that a selection in lstUObj after a count still finds the groups of the file on screen.
    ObjectGroupTable ObjectGroups;
    ObjectGroupTable CountingTable;
};

} // namespace counter

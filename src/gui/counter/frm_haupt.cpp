#include "gui/counter/frm_haupt.h"

#include "counter/count_project_objects.h"
#include "counter/scan_member_file.h"
#include "gui/shell/busy.h"
#include "gui/shell/choose_project.h"
#include "gui/shell/command.h"
#include "gui/shell/controls.h"
#include "gui/shell/desktop.h"
#include "gui/shell/display_text.h"
#include "gui/shell/fonts.h"
#include "gui/shell/picture_button.h"
#include "gui/shell/pictures.h"
#include "gui/shell/sorted_list_box.h"
#include "gui/shell/twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace counter {

namespace {

const QString kTitle = QStringLiteral("Tallimar");

shell::SortedListBox* NewList(QWidget* parent, const char* name, shell::Twips place) {
    auto* list = new shell::SortedListBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    shell::PlaceTwips(list, place.left, place.top, place.width, place.height);
    return list;
}

QLabel* NewCountLabel(QWidget* parent, const char* name, shell::Twips place) {
    return shell::NewLabel(parent, name, QString(), place, Qt::AlignHCenter | Qt::AlignTop);
}

// Starts a selection handler: hourglass, the bar's maximum, the status text and the one event pass.
void BeginSelection(QProgressBar* PB, QLabel* lblAktion, int maximum, const QString& status) {
    shell::SetHourglass();
    PB->setMaximum(maximum);
    lblAktion->setText(status);
    shell::EventPass();
}

void EndCommand(QProgressBar* PB, QLabel* lblAktion) {
    lblAktion->setText(QString());
    PB->setValue(0);
    shell::SetNormalPointer();
}

} // namespace

frmHaupt::frmHaupt(shell::Desktop& desktop) : QWidget(nullptr), desktop_(desktop), CommonDialog(desktop) {
    setObjectName(QStringLiteral("frmHaupt"));
    shell::SetUpMainWindow(this, kTitle, 9480, 5895);
    setWindowIcon(shell::ProgramIcon(shell::Program::Counter));

    cmdEnde = shell::NewEndButton(this, {240, 240, 735, 975});
    cmdInfo = shell::NewInfoButton(this, {8520, 240, 735, 975});
    Label1 = shell::NewLabel(
        this, "Label1",
        QStringLiteral("Falls sie Probleme mit dem Programm haben sollten, schreiben sie mir!"),
        {1560, 480, 6375, 375}, Qt::AlignHCenter | Qt::AlignTop);
    Label1->setFont(shell::ArialFont(9.75));
    Label2 = shell::NewLabel(this, "Label2", QStringLiteral("(Siehe Info)"), {4200, 720, 1095, 255},
                             Qt::AlignHCenter | Qt::AlignTop);
    Label2->setFont(shell::ArialFont(9.75));
    txtP = shell::NewTextBox(this, "txtP", {240, 1440, 6735, 285});
    cmdPw = shell::NewButton(this, "cmdPw", QStringLiteral("Projekt wählen"), {7080, 1440, 2175, 285});
    lstE1 = NewList(this, "lstE1", {240, 1920, 2175, 2985});
    lstObj = NewList(this, "lstObj", {2520, 1920, 2175, 2985});
    lstUObj = NewList(this, "lstUObj", {4800, 1920, 2175, 2985});
    lstUObjN = NewList(this, "lstUObjN", {7080, 1920, 2175, 2985});
    lblE1 = NewCountLabel(this, "lblE1", {240, 4920, 2175, 255});
    lblObj = NewCountLabel(this, "lblObj", {2520, 4920, 2175, 255});
    lblUObj = NewCountLabel(this, "lblUObj", {4800, 4920, 2175, 255});
    lblAdO = NewCountLabel(this, "lblAdO", {7080, 4920, 2175, 255});
    cmdAO = shell::NewButton(this, "cmdAO", QStringLiteral("Alle Voduvov:"), {7080, 5280, 1335, 255});
    txtAaO = shell::NewTextBox(this, "txtAaO", {8520, 5280, 735, 285});
    txtAaO->setReadOnly(true);
    lblAktion = shell::NewStatusLabel(this, {0, 5640, 2535, 255});
    PB = shell::NewProgressBar(this, {2640, 5640, 6855, 255});

    // Keyboard order: txtP, cmdPw, cmdInfo, cmdEnde, the lists from left to right, cmdAO, txtAaO.
    const QWidget* order[] = {txtP, cmdPw, cmdInfo, cmdEnde, lstE1, lstObj, lstUObj, lstUObjN, cmdAO, txtAaO};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));
    txtP->setFocus();

    connect(cmdPw, &QPushButton::clicked, this, &frmHaupt::on_cmdPw_clicked);
    connect(lstE1, &shell::SortedListBox::selectionMade, this, &frmHaupt::on_lstE1_selectionMade);
    connect(lstObj, &shell::SortedListBox::selectionMade, this, &frmHaupt::on_lstObj_selectionMade);
    connect(lstUObj, &shell::SortedListBox::selectionMade, this, &frmHaupt::on_lstUObj_selectionMade);
    connect(cmdAO, &QPushButton::clicked, this, &frmHaupt::on_cmdAO_clicked);
    connect(cmdInfo, &QToolButton::clicked, this, &frmHaupt::on_cmdInfo_clicked);
    connect(cmdEnde, &QToolButton::clicked, this, &frmHaupt::on_cmdEnde_clicked);
}

frmHaupt::~frmHaupt() {
    if (Info)
        delete Info.data(); // the Info dialog has no owner window; it goes with the program's main window
}

void frmHaupt::runCommand(void (frmHaupt::*command)()) {
    shell::RunCommand(desktop_, kTitle, [this, command] { (this->*command)(); });
}

void frmHaupt::on_cmdPw_clicked() {
    runCommand(&frmHaupt::ChooseProject);
}
void frmHaupt::on_lstE1_selectionMade() {
    runCommand(&frmHaupt::ListGroupMembers);
}
void frmHaupt::on_lstObj_selectionMade() {
    runCommand(&frmHaupt::ListObjectGroups);
}
void frmHaupt::on_lstUObj_selectionMade() {
    runCommand(&frmHaupt::ListObjectNames);
}
void frmHaupt::on_cmdAO_clicked() {
    runCommand(&frmHaupt::CountAllObjects);
}

void frmHaupt::on_cmdInfo_clicked() {
    shell::RunCommand(desktop_, kTitle, [this] {
        shell::ShowInfo(Info, {kTitle, PROGRAM_VERSION_MAJOR, PROGRAM_VERSION_MINOR, 4935}, desktop_);
    });
}

void frmHaupt::on_cmdEnde_clicked() {
    desktop_.endProgram();
}

void frmHaupt::ChooseProject() {
    shell::ChooseProject({CommonDialog, txtP, lblAktion, PB, ProjectFileLists, ProjectFolder,
                          /*setProgressMaximum=*/true, [this] { ShowProjectGroups(); },
                          [this] { lblE1->setText(shell::CountText(lstE1->count())); }});
}

void frmHaupt::ShowProjectGroups() {
    lstE1->clear();
    lstObj->clear();
    lstUObj->clear();
    lstUObjN->clear();
    txtAaO->setText(QString());
    lblAdO->setText(QString());
    lblObj->setText(QString());
    lblUObj->setText(QString());
    for (const vb::SourceKind kind : vb::kSourceKinds)
        if (ProjectFileLists.count(kind) > 0)
            lstE1->addEntry(QString::fromUtf8(vb::GroupCaptionOf(kind)));
}

void frmHaupt::ListGroupMembers() {
    BeginSelection(PB, lblAktion, 2, QStringLiteral("Laden der ") + lstE1->selectedText());
    lstObj->clear();
    lstUObj->clear();
    lstUObjN->clear();
    lblAdO->setText(QString());
    lblUObj->setText(QString());
    PB->setValue(1);
    if (const auto kind = vb::KindOfGroupCaption(lstE1->selectedText().toStdString()))
        for (const std::string& entry : ProjectFileLists.entries(*kind))
            lstObj->addEntry(shell::DisplayText(entry));
    PB->setValue(2);
    lblObj->setText(shell::CountText(lstObj->count()));
    EndCommand(PB, lblAktion);
}

void frmHaupt::ListObjectGroups() {
    BeginSelection(PB, lblAktion, 3, QStringLiteral("Laden der Objektgruppen"));
    lstUObj->clear();
    lstUObjN->clear();
    lblAdO->setText(QString());
    // A click queued before the event pass may have refilled the lists (a group chosen in lstE1 empties
    // lstObj): with no file selected any more there is nothing to scan.
    if (lstObj->selectedItems().isEmpty()) {
        EndCommand(PB, lblAktion);
        return;
    }
    ScanMemberFile(shell::BytesOfDisplayText(lstObj->selectedText()), ObjectGroups,
                   [this] { PB->setValue(1); });
    PB->setValue(2);
    for (const std::string& typeText : ObjectGroups.TypesInUse())
        lstUObj->addEntry(shell::DisplayText(typeText));
    PB->setValue(3);
    lblUObj->setText(shell::CountText(lstUObj->count()));
    EndCommand(PB, lblAktion);
}

void frmHaupt::ListObjectNames() {
    BeginSelection(PB, lblAktion, 2, QStringLiteral("Laden der Voduvov"));
    lstUObjN->clear();
    PB->setValue(1);
    const std::string type = shell::BytesOfDisplayText(lstUObj->selectedText());
    if (const ObjectGroup* group = ObjectGroups.GroupOfType(type))
        for (const std::string& name : group->NamesInUse())
            lstUObjN->addEntry(shell::DisplayText(name));
    PB->setValue(2);
    lblAdO->setText(shell::CountText(lstUObjN->count()));
    EndCommand(PB, lblAktion);
}

void frmHaupt::CountAllObjects() {
    shell::SetHourglass();
    PB->setMaximum(CountProgressMaximum(ProjectFileLists));
    lblAktion->setText(QStringLiteral("Zählen aller Voduvov"));
    shell::EventPass();
    PB->setValue(1);
    const std::int32_t total = CountProjectObjects(
        ProjectFileLists, CountingTable, [this](const MemberObjects&) { PB->setValue(PB->value() + 1); });
    PB->setValue(PB->maximum());
    txtAaO->setText(shell::CountText(total));
    EndCommand(PB, lblAktion);
}

} // namespace counter

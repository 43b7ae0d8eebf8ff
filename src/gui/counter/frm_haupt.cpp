#include "gui/counter/frm_haupt.h"

#include "counter/count_project_objects.h"
#include "counter/scan_member_file.h"
#include "gui/shell/busy.h"
#include "gui/shell/choose_project.h"
#include "gui/shell/controls.h"
#include "gui/shell/display_text.h"
#include "gui/shell/picture_button.h"
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
    QLabel* label = shell::NewLabel(parent, name, QString(), place, Qt::AlignHCenter | Qt::AlignTop);
    shell::OfferCopy(label);
    return label;
}

// The Info dialog's values, the client area, the icon and the places of the controls both main windows
// share.
// clang-format off
const shell::MainWindowDesign kDesign{{kTitle, PROGRAM_VERSION_MAJOR, PROGRAM_VERSION_MINOR, 4935},
    9480, 5895, shell::Program::Counter,
    /*cmdInfo=*/{8520, 240, 735, 975}, /*Label1=*/{1560, 480, 6375, 375}, /*Label2=*/{4200, 720, 1095, 255},
    /*txtP=*/{240, 1440, 6735, 285}, /*cmdPw=*/{7080, 1440, 2175, 285}};
// clang-format on

} // namespace

frmHaupt::frmHaupt(shell::Desktop& desktop) : shell::MainWindow(desktop, kDesign) {
    // The window cannot be maximised: a fixed size holds under every window manager, also those that ignore
    // the missing maximise button.
    setFixedSize(size());
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
}

void frmHaupt::on_cmdPw_clicked() {
    runCommand([this] { ChooseProject(QString()); });
}
void frmHaupt::on_lstE1_selectionMade() {
    runCommand([this] { ListGroupMembers(); });
}
void frmHaupt::on_lstObj_selectionMade() {
    runCommand([this] { ListObjectGroups(); });
}
void frmHaupt::on_lstUObj_selectionMade() {
    runCommand([this] { ListObjectNames(); });
}
void frmHaupt::on_cmdAO_clicked() {
    runCommand([this] { CountAllObjects(); });
}

void frmHaupt::ChooseProject(const QString& given) {
    std::optional<shell::ProjectRead> read = shell::ChooseProject(CommonDialog, given, *txtP, busy(), 5);
    if (!read)
        return;
    ProjectFileLists = std::move(read->lists);
    ProjectFolder = std::move(read->folder);
    ShowProjectGroups();
    PB->setValue(5);
    lblE1->setText(shell::CountText(lstE1->count()));
    busy().end();
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
    busy().begin(QStringLiteral("Laden der ") + lstE1->selectedText(), 2);
    lstObj->clear();
    lstUObj->clear();
    lstUObjN->clear();
    lblAdO->setText(QString());
    lblUObj->setText(QString());
    PB->setValue(1);
    if (const auto kind = vb::KindOfGroupCaption(lstE1->selectedText().toStdString()))
        for (const std::string_view entry : ProjectFileLists.entries(*kind))
            lstObj->addEntry(shell::DisplayText(entry, ProjectFileLists.Text));
    PB->setValue(2);
    lblObj->setText(shell::CountText(lstObj->count()));
    busy().end();
}

void frmHaupt::ListObjectGroups() {
    busy().begin(QStringLiteral("Laden der Objektgruppen"), 3);
    lstUObj->clear();
    lstUObjN->clear();
    lblAdO->setText(QString());
    // A click queued before the event pass may have refilled the lists (a group chosen in lstE1 empties
    // lstObj): with no file selected any more there is nothing to scan.
    if (lstObj->selectedItems().isEmpty()) {
        busy().end();
        return;
    }
    ScanMemberFile(shell::BytesOfDisplayText(lstObj->selectedText(), ProjectFileLists.Text), ObjectGroups,
                   [this] { PB->setValue(1); });
    PB->setValue(2);
    for (const std::string& typeText : ObjectGroups.TypesInUse())
        lstUObj->addEntry(shell::DisplayText(typeText, ObjectGroups.Text));
    PB->setValue(3);
    lblUObj->setText(shell::CountText(lstUObj->count()));
    busy().end();
}

void frmHaupt::ListObjectNames() {
    busy().begin(QStringLiteral("Laden der Voduvov"), 2);
    lstUObjN->clear();
    PB->setValue(1);
    const std::string type = shell::BytesOfDisplayText(lstUObj->selectedText(), ObjectGroups.Text);
    if (const ObjectGroup* group = ObjectGroups.GroupOfType(type))
        for (const std::string& name : group->NamesInUse())
            lstUObjN->addEntry(shell::DisplayText(name, ObjectGroups.Text));
    PB->setValue(2);
    lblAdO->setText(shell::CountText(lstUObjN->count()));
    busy().end();
}

void frmHaupt::CountAllObjects() {
    busy().begin(QStringLiteral("Zählen aller Voduvov"), CountProgressMaximum(ProjectFileLists));
    PB->setValue(1);
    const std::int32_t total = CountProjectObjects(
        ProjectFileLists, CountingTable, [this](const MemberObjects&) { PB->setValue(PB->value() + 1); });
    PB->setValue(PB->maximum());
    txtAaO->setText(shell::CountText(total));
    busy().end();
}

} // namespace counter

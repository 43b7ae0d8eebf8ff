#include "gui/merger/frm_haupt.h"

#include "gui/shell/busy.h"
#include "gui/shell/choose_project.h"
#include "gui/shell/controls.h"
#include "gui/shell/desktop.h"
#include "gui/shell/picture_button.h"
#include "gui/shell/twips.h"
#include "merger/merged_file.h"
#include "merger/output_guard.h"

#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace merger {

namespace {

const QString kTitle = QStringLiteral("Fugabar");
const QString kProjectPrompt = QStringLiteral("Geben sie hier bitte die Projekt - Datei an!");
const QString kOutputPrompt = QStringLiteral("Geben sie hier bitte die Ausgabe - Datei an!");

// The Info dialog's values, the client area, the icon and the places of the controls both main windows
// share.
// clang-format off
const shell::MainWindowDesign kDesign{{kTitle, PROGRAM_VERSION_MAJOR, PROGRAM_VERSION_MINOR, 5055},
    8895, 5535, shell::Program::Merger,
    /*cmdInfo=*/{7920, 240, 735, 975}, /*Label1=*/{1200, 480, 6495, 375}, /*Label2=*/{3960, 720, 975, 255},
    /*txtP=*/{240, 1320, 5535, 285}, /*cmdPw=*/{6000, 1320, 2655, 285}};
// clang-format on

} // namespace

frmHaupt::frmHaupt(shell::Desktop& desktop) : shell::MainWindow(desktop, kDesign) {
    const auto centred = Qt::AlignHCenter | Qt::AlignTop;
    const auto right = Qt::AlignRight | Qt::AlignTop;

    lblFormulare = shell::NewLabel(this, "lblFormulare", QStringLiteral("Formulare:"), {240, 1920, 735, 255});
    lblF = shell::NewLabel(this, "lblF", QString(), {1080, 1920, 495, 255});
    lblModule =
        shell::NewLabel(this, "lblModule", QStringLiteral("Module:"), {3840, 1920, 615, 255}, centred);
    lblM = shell::NewLabel(this, "lblM", QString(), {4560, 1920, 495, 255});
    lblKlassenmodule = shell::NewLabel(this, "lblKlassenmodule", QStringLiteral("Klassenmodule:"),
                                       {6960, 1920, 1095, 255}, right);
    lblK = shell::NewLabel(this, "lblK", QString(), {8160, 1920, 495, 255});
    lblBenutzersteuerelemente = shell::NewLabel(
        this, "lblBenutzersteuerelemente", QStringLiteral("Benutzersteuerelemente:"), {240, 2400, 1815, 255});
    lblB = shell::NewLabel(this, "lblB", QString(), {2160, 2400, 495, 255});
    lblEigenschaftenseiten =
        shell::NewLabel(this, "lblEigenschaftenseiten", QStringLiteral("Eigenschaftenseiten:"),
                        {6480, 2400, 1575, 255}, right);
    lblE = shell::NewLabel(this, "lblE", QString(), {8160, 2400, 495, 255});
    for (QLabel* count : {lblF, lblM, lblK, lblB, lblE})
        shell::OfferCopy(count);
    fraLinie = new QFrame(this);
    fraLinie->setObjectName(QStringLiteral("fraLinie"));
    fraLinie->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    shell::PlaceTwips(fraLinie, 240, 2880, 8415, 135);
    txtAD = shell::NewTextBox(this, "txtAD", {240, 3360, 5535, 285});
    cmdADw =
        shell::NewButton(this, "cmdADw", QStringLiteral("Ausgabe - Datei wählen"), {6000, 3360, 2655, 285});
    CheckFaT = new QCheckBox(QStringLiteral("Voduvov der Formulare als Text mit speichern"), this);
    CheckFaT->setObjectName(QStringLiteral("CheckFaT"));
    CheckFaT->setChecked(true);
    shell::PlaceTwips(CheckFaT, 2640, 3960, 3495, 255);
    cmdDg = shell::NewButton(this, "cmdDg", QStringLiteral("Datei generieren"), {3240, 4560, 2415, 375});
    lblAktion = shell::NewStatusLabel(this, {0, 5280, 2415, 255});
    PB = shell::NewProgressBar(this, {2520, 5280, 6375, 255});

    // Keyboard order: txtP, cmdPw, txtAD, cmdADw, CheckFaT, cmdDg, cmdInfo, cmdEnde.
    QWidget* const order[] = {txtP, cmdPw, txtAD, cmdADw, CheckFaT, cmdDg, cmdInfo, cmdEnde};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    txtP->setFocus();

    // A file dropped on txtAD names the output file.
    takeDroppedFiles(txtAD);

    connect(cmdPw, &QPushButton::clicked, this, &frmHaupt::on_cmdPw_clicked);
    connect(cmdADw, &QPushButton::clicked, this, &frmHaupt::on_cmdADw_clicked);
    connect(cmdDg, &QPushButton::clicked, this, &frmHaupt::on_cmdDg_clicked);
}

void frmHaupt::on_cmdPw_clicked() {
    runCommand([this] { ChooseProject(QString()); });
}
void frmHaupt::on_cmdADw_clicked() {
    runCommand([this] { ChooseOutputFile(); });
}
void frmHaupt::on_cmdDg_clicked() {
    runCommand([this] { GenerateMergedFile(); });
}

void frmHaupt::ChooseProject(const QString& given) {
    // The bar keeps its design maximum of 5, which the generator restores after each run.
    std::optional<shell::ProjectRead> read =
        shell::ChooseProject(CommonDialog, given, *txtP, busy(), std::nullopt);
    if (!read)
        return;
    ProjectFileLists = std::move(read->lists);
    ProjectFolder = std::move(read->folder);
    ProjectPath = std::move(read->path);
    ShowMemberCounts();
    PB->setValue(5);
    busy().end();
}

void frmHaupt::ShowMemberCounts() {
    lblF->setText(shell::CountText(ProjectFileLists.FormCount));
    lblM->setText(shell::CountText(ProjectFileLists.ModuleCount));
    lblK->setText(shell::CountText(ProjectFileLists.ClassModuleCount));
    lblB->setText(shell::CountText(ProjectFileLists.UserControlCount));
    lblE->setText(shell::CountText(ProjectFileLists.PropertyPageCount));
}

void frmHaupt::ChooseOutputFile() {
    const QString chosen =
        CommonDialog.showSave({QStringLiteral("*.txt (*.txt)"), QStringLiteral("*.* (*)")});
    if (!chosen.isEmpty())
        txtAD->setText(chosen);
}

bool frmHaupt::formsObjectsWanted() const {
    return CheckFaT->checkState() == Qt::Checked;
}

void frmHaupt::refuseOwnFile(const std::string& path) {
    shell::SetNormalPointer();
    desktop_.showMessage(kTitle, QStringLiteral("Die Ausgabe - Datei ist eine Datei des Projekts:\n\n%1\n\n"
                                                "Sie wird nicht überschrieben. Bitte wählen sie eine andere "
                                                "Ausgabe - Datei.")
                                     .arg(QFile::decodeName(QByteArray::fromStdString(path))));
}

void frmHaupt::GenerateMergedFile() {
    shell::SetHourglass();
    const bool projectEmpty = txtP->text().isEmpty();
    const bool outputEmpty = txtAD->text().isEmpty();
    if (projectEmpty || outputEmpty) {
        if (projectEmpty)
            txtP->setText(kProjectPrompt);
        if (outputEmpty)
            txtAD->setText(kOutputPrompt);
        shell::SetNormalPointer();
        return;
    }

    // Never write over the project's own files: the merged file would destroy what it is made from.
    const std::string outputPath = shell::FilePathOfText(txtAD->text());
    // The guard and the merge find members with the same folder listings.
    vb::MemberLookup lookup;
    if (const auto own = OwnFileNamedBy(outputPath, ProjectPath, ProjectFileLists, ProjectFolder, &lookup)) {
        refuseOwnFile(*own);
        return;
    }

    busy().begin(QStringLiteral("Datei wird generiert"));
    PB->setMaximum(MergeProgressMaximum(ProjectFileLists));
    try {
        // The earlier output stays whole until the new one is complete.
        MergeIntoFile(
            ProjectFileLists, ProjectPath, ProjectFolder, outputPath, [this] { return formsObjectsWanted(); },
            [this] { PB->setValue(PB->value() + 1); }, &lookup);
    } catch (const MergeReadsItsOutput& e) {
        // No new file is left; the earlier output stays as it was.
        busy().end();
        PB->setMaximum(5);
        refuseOwnFile(e.path());
        return;
    }
    busy().end();
    PB->setMaximum(5);
}

} // namespace merger

#include "gui/shell/choose_project.h"

#include "gui/shell/busy.h"
#include "gui/shell/common_dialog.h"
#include "project/read_project_file.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

namespace shell {

std::string FilePathOfText(const QString& text) {
    return QFile::encodeName(text).toStdString();
}

bool ChooseProject(const ProjectChoice& choice) {
    const QString fileName = choice.dialog.showOpen({QStringLiteral("*.vbp (*.vbp)")});
    if (fileName.isEmpty())
        return false;

    SetHourglass();
    if (choice.setProgressMaximum)
        choice.PB->setMaximum(5);
    choice.lblAktion->setText(QStringLiteral("Einlesen der Projektinformationen"));
    EventPass();
    choice.txtP->setText(fileName);

    // The path is taken back from the text box, as the user sees it.
    const std::string path = FilePathOfText(choice.txtP->text());
    choice.lists = vb::ReadProjectFile(path, [&](int value) { choice.PB->setValue(value); });

    choice.projectFolder = vb::FolderOfPath(FilePathOfText(choice.txtP->text()));
    choice.PB->setValue(4);
    if (choice.showProject)
        choice.showProject();
    choice.PB->setValue(5);
    if (choice.afterRead)
        choice.afterRead();

    choice.lblAktion->setText(QString());
    choice.PB->setValue(0);
    SetNormalPointer();
    return true;
}

} // namespace shell

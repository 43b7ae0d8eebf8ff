#include "gui/shell/choose_project.h"

#include "gui/shell/busy.h"
#include "gui/shell/common_dialog.h"
#include "project/read_project_file.h"

#include <QFile>
#include <QLineEdit>
#include <QProgressBar>

namespace shell {

std::string FilePathOfText(const QString& text) {
    return QFile::encodeName(text).toStdString();
}

std::optional<ProjectRead> ChooseProject(CommonDialog& dialog, const QString& given, QLineEdit& txtP,
                                         const BusyIndication& busy, std::optional<int> progressMaximum) {
    const QString fileName =
        given.isEmpty() ? dialog.showOpen({QStringLiteral("*.vbp (*.vbp)")}) : dialog.take(given);
    if (fileName.isEmpty())
        return std::nullopt;

    busy.begin(QStringLiteral("Einlesen der Projektinformationen"), progressMaximum);
    txtP.setText(fileName);

    // The path is taken back from the text box, as the user sees it.
    ProjectRead read;
    read.path = FilePathOfText(txtP.text());
    read.lists = vb::ReadProjectFile(read.path, [&](int value) { busy.PB->setValue(value); });
    read.folder = vb::FolderOfPath(read.path);
    busy.PB->setValue(4);
    return read;
}

} // namespace shell

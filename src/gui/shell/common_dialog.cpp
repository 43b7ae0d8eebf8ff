#include "gui/shell/common_dialog.h"

#include "gui/shell/desktop.h"

#include <QDir>
#include <QFileInfo>

namespace shell {

QString CommonDialog::showOpen(const QStringList& filters) {
    return show(static_cast<int>(FileDialogMode::Open), filters);
}

QString CommonDialog::showSave(const QStringList& filters) {
    return show(static_cast<int>(FileDialogMode::Save), filters);
}

QString CommonDialog::show(int mode, const QStringList& filters) {
    const QString chosen = desktop_.askFileName(static_cast<FileDialogMode>(mode), filters, fileName_);
    if (chosen.isEmpty())
        return {};
    fileName_ = chosen;
    const QString folder = QFileInfo(chosen).absolutePath();
    if (QFileInfo(folder).isDir())
        QDir::setCurrent(folder);
    return chosen;
}

} // namespace shell

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
    return chosen(desktop_.askFileName(static_cast<FileDialogMode>(mode), filters, fileName_));
}

QString CommonDialog::take(const QString& path) {
    return chosen(path.isEmpty() ? path : QFileInfo(path).absoluteFilePath());
}

QString CommonDialog::chosen(const QString& path) {
    if (path.isEmpty())
        return {};
    fileName_ = path;
    const QString folder = QFileInfo(path).absolutePath();
    if (QFileInfo(folder).isDir())
        QDir::setCurrent(folder);
    return path;
}

} // namespace shell

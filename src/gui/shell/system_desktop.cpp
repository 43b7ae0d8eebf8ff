#include "gui/shell/system_desktop.h"

#include "errors/runtime_error.h"
#include "gui/shell/busy.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include <cstdio>
#include <cstdlib>

namespace shell {

namespace {

// Ends the process without running destructors of windows that may be inside a handler; every file the
// programs write is closed (and flushed) by the time this is called.
[[noreturn]] void EndProcess(int status) {
    std::fflush(nullptr);
    std::_Exit(status);
}

} // namespace

QString SystemDesktop::askFileName(FileDialogMode mode, const QStringList& filters, const QString& fileName) {
    QFileDialog dialog(nullptr);
    dialog.setAcceptMode(mode == FileDialogMode::Open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(filters);
    if (!fileName.isEmpty())
        dialog.selectFile(fileName);
    // The dialog runs with the normal pointer, whatever a command set before.
    const PointerSuspension normal;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void SystemDesktop::openAddress(const QByteArray& address) {
    QDesktopServices::openUrl(QUrl::fromEncoded(address, QUrl::TolerantMode));
}

void SystemDesktop::showMessage(const QString& title, const QString& text) {
    const PointerSuspension normal;
    QMessageBox::information(QApplication::activeWindow(), title, text);
}

void SystemDesktop::reportFatalError(const QString& title, const vb::RuntimeError& error) {
    SetNormalPointer();
    QMessageBox::critical(QApplication::activeWindow(), title, FatalErrorText(error));
    EndProcess(1);
}

void SystemDesktop::endProgram() {
    QApplication::closeAllWindows();
    EndProcess(0);
}

} // namespace shell

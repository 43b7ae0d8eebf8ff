#include "gui/shell/system_desktop.h"

#include "errors/runtime_error.h"
#include "gui/shell/busy.h"
#include "gui/shell/message_box.h"

#include <QApplication>
#include <QDesktopServices>
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
    return fileDialog_.ask(mode, filters, fileName);
}

void SystemDesktop::openAddress(const QByteArray& address) {
    QDesktopServices::openUrl(QUrl::fromEncoded(address, QUrl::TolerantMode));
}

void SystemDesktop::showMessage(const QString& title, const QString& text) {
    const PointerSuspension normal;
    NewMessageBox(QMessageBox::Information, title, text)->exec();
}

void SystemDesktop::reportFatalError(const QString& title, const vb::RuntimeError& error) {
    SetNormalPointer();
    NewMessageBox(QMessageBox::Critical, title, FatalErrorText(error))->exec();
    EndProcess(1);
}

void SystemDesktop::endProgram() {
    QApplication::closeAllWindows();
    EndProcess(0);
}

} // namespace shell

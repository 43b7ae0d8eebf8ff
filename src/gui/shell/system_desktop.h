#pragma once
// The desktop of the running program: the program's file dialog and message boxes, QDesktopServices, process
// exit.

#include "gui/shell/desktop.h"
#include "gui/shell/file_dialog.h"

namespace shell {

class SystemDesktop final : public Desktop {
public:
    QString askFileName(FileDialogMode mode, const QStringList& filters, const QString& fileName) override;
    void openAddress(const QByteArray& address) override;
    void showMessage(const QString& title, const QString& text) override;
    void reportFatalError(const QString& title, const vb::RuntimeError& error) override;
    void endProgram() override;

private:
    // The program's one file dialog (each program has one main window).
    FileDialog fileDialog_;
};

} // namespace shell

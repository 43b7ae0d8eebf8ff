#pragma once
// What the windows need from the desktop beyond their own widgets: file dialogs, message boxes, handing an
// address to the default program, and ending the program. The programs use SystemDesktop; tests use a
// stand-in that answers from a script and records what was asked.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vb {
class RuntimeError;
}

namespace shell {

enum class FileDialogMode { Open, Save };

class Desktop {
public:
    virtual ~Desktop() = default;

    // Shows a modal file dialog starting at `fileName`, with filters such as "*.vbp (*.vbp)"; no
    // overwrite question, no demand that the file exist. The chosen path, or empty text when cancelled.
    virtual QString askFileName(FileDialogMode mode, const QStringList& filters, const QString& fileName) = 0;

    // Hands an address (web page or mailto:) to the desktop; the outcome is not examined.
    virtual void openAddress(const QByteArray& address) = 0;

    // A message box with an information text, for refusals that end a command normally.
    virtual void showMessage(const QString& title, const QString& text) = 0;

    // The fatal-error report: a critical message box titled `title` with the error's number, description
    // and file, after which the program ends with exit status 1.
    virtual void reportFatalError(const QString& title, const vb::RuntimeError& error) = 0;

    // Ends the program at once: no further event or command runs.
    virtual void endProgram() = 0;
};

// The text of the fatal-error report: "Laufzeitfehler '53':", an empty line, the description, and where a
// file was involved an empty line and its path.
QString FatalErrorText(const vb::RuntimeError& error);

} // namespace shell

#pragma once
// The program's own file dialog, as the desktop stand-in of the windows shows it: one dialog object kept
// between uses, so that a folder it has read is not read again; no overwrite question, no demand that the
// file exist; the filters' labels shown without their patterns ("*.vbp", not "*.vbp (*.vbp)"); and no
// look-up per file beyond what listing a folder needs (no file type or icon from a file's content), so
// that a folder of tens of thousands of files shows at once. Where the desktop offers its own dialog
// (through Qt's platform theme, e.g. the XDG desktop portal), that one is shown instead; but the portal's
// save dialog asks before it replaces a file, so saving then keeps to Qt's own dialog (a second object).

#include "gui/shell/desktop.h"

#include <QStringList>

#include <memory>

class QFileDialog;
class QFileIconProvider;

namespace shell {

class FileDialog {
public:
    FileDialog();
    ~FileDialog();
    FileDialog(const FileDialog&) = delete;
    FileDialog& operator=(const FileDialog&) = delete;

    // Shows the dialog modally, starting at `fileName`; the chosen path or empty text when cancelled.
    QString ask(FileDialogMode mode, const QStringList& filters, const QString& fileName);

    // The dialog, made on first use and set up for `mode`, `filters` and `fileName`, not yet shown.
    QFileDialog& prepare(FileDialogMode mode, const QStringList& filters, const QString& fileName);

private:
    // The kept dialog for `mode`, made on first use.
    QFileDialog& dialogFor(FileDialogMode mode);

    std::unique_ptr<QFileIconProvider> icons_;
    std::unique_ptr<QFileDialog> dialog_;
    // Saving through the desktop portal would ask before replacing a file.
    bool portalAsksBeforeReplacing_;
    std::unique_ptr<QFileDialog> ownSaveDialog_;
};

} // namespace shell

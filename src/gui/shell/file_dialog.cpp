#include "gui/shell/file_dialog.h"

#include "gui/shell/busy.h"

#include <QFileDialog>
#include <QFileIconProvider>

namespace shell {

namespace {

// Icons and type names by kind alone (folder or file): the default provider asks the MIME database for
// every file of a folder, which reads the content of every file whose name it does not know.
class PlainFileIcons final : public QFileIconProvider {
public:
    PlainFileIcons() { setOptions(DontUseCustomDirectoryIcons); }
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override { return icon(info.isDir() ? Folder : File); }
    QString type(const QFileInfo& info) const override {
        return info.isDir() ? QStringLiteral("Ordner") : QStringLiteral("Datei");
    }
};

} // namespace

FileDialog::FileDialog()
    : icons_(std::make_unique<PlainFileIcons>()),
      portalAsksBeforeReplacing_(qgetenv("QT_QPA_PLATFORMTHEME") == "xdgdesktopportal") {}

FileDialog::~FileDialog() = default;

QFileDialog& FileDialog::dialogFor(FileDialogMode mode) {
    const bool own = mode == FileDialogMode::Save && portalAsksBeforeReplacing_;
    std::unique_ptr<QFileDialog>& kept = own ? ownSaveDialog_ : dialog_;
    if (!kept) {
        kept = std::make_unique<QFileDialog>(nullptr);
        QFileDialog::Options options = QFileDialog::DontConfirmOverwrite |
                                       QFileDialog::HideNameFilterDetails |
                                       QFileDialog::DontUseCustomDirectoryIcons;
        if (own)
            options |= QFileDialog::DontUseNativeDialog;
        kept->setOptions(options);
        kept->setIconProvider(icons_.get());
        kept->setFileMode(QFileDialog::AnyFile);
    }
    return *kept;
}

QFileDialog& FileDialog::prepare(FileDialogMode mode, const QStringList& filters, const QString& fileName) {
    QFileDialog& dialog = dialogFor(mode);
    dialog.setAcceptMode(mode == FileDialogMode::Open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.constFirst());
    if (fileName.isEmpty())
        dialog.setDirectory(QDir::currentPath());
    else
        dialog.selectFile(fileName);
    return dialog;
}

QString FileDialog::ask(FileDialogMode mode, const QStringList& filters, const QString& fileName) {
    QFileDialog& dialog = prepare(mode, filters, fileName);
    // The dialog runs with the normal pointer, whatever a command set before.
    const PointerSuspension normal;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace shell

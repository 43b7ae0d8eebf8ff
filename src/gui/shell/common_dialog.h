#pragma once
// A main window's one file dialog. It keeps the name of its last choice as the start of the next use, and
// after a choice the program's working directory becomes the chosen file's folder, as the Windows dialog
// left it.

#include <QString>
#include <QStringList>

namespace shell {

class Desktop;

class CommonDialog {
public:
    explicit CommonDialog(Desktop& desktop) : desktop_(desktop) {}

    // The chosen path, or empty text when the user cancelled (then nothing changes).
    QString showOpen(const QStringList& filters);
    QString showSave(const QStringList& filters);

    const QString& fileName() const noexcept { return fileName_; }

private:
    QString show(int mode, const QStringList& filters);

    Desktop& desktop_;
    QString fileName_;
};

} // namespace shell

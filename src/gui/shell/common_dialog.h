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
    // Takes `path`, chosen outside the dialog (the program's argument, a dropped file), as if it had been
    // chosen in it: the absolute path is returned and kept as the next use's start, and its folder becomes
    // the working directory.
    QString take(const QString& path);

    const QString& fileName() const noexcept { return fileName_; }

private:
    QString show(int mode, const QStringList& filters);
    QString chosen(const QString& path);

    Desktop& desktop_;
    QString fileName_;
};

} // namespace shell

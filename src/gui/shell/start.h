#pragma once
// The start routine of both programs: set the hourglass, create the main window and show it as an ordinary
// window without owner, set the normal pointer; then the program runs on the user's events until its last
// window closes.

#include <QWidget>

#include <functional>
#include <memory>

namespace shell {

class Desktop;

struct ProgramIdentity {
    QString name;    // the program's file name, e.g. "voduvov"
    QString version; // e.g. "1.1.0"
};

using MainWindowFactory = std::function<std::unique_ptr<QWidget>(Desktop&)>;

int RunProgram(int& argc, char** argv, const ProgramIdentity& identity,
               const MainWindowFactory& createMainWindow);

// Loads Qt's German translations so that dialogs and message box buttons speak German. True when loaded.
bool LoadGermanTranslations();

} // namespace shell

#pragma once
// The start routine of both programs: answer --help and --version, or say that there is no display; set
// the hourglass, create the main window and show it as an ordinary window without owner, set the normal
// pointer; read the project file named as the argument, if any, as if it had been chosen with cmdPw; then
// the program runs on the user's events until its last window closes.

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace shell {

class Desktop;
class MainWindow;

struct ProgramIdentity {
    QString name;    // the program's file name, e.g. "voduvov"
    QString version; // e.g. "1.1.0"
    QString title;   // the product title, e.g. "Tallimar"
};

using MainWindowFactory = std::function<std::unique_ptr<MainWindow>(Desktop&)>;

int RunProgram(int& argc, char** argv, const ProgramIdentity& identity,
               const MainWindowFactory& createMainWindow);

// What the command line asks for: the help, the version, the window with or without a project file, or
// nothing but a usage error (its German text).
struct StartRequest {
    enum class Kind { Window, Help, Version, UsageError } kind = Kind::Window;
    std::string projectFile; // Window: empty for none
    std::string error;       // UsageError
};
StartRequest ParseStartArguments(const std::vector<std::string>& arguments);

// The German help text of a window program.
std::string HelpText(const ProgramIdentity& identity);

// True when Qt would have to open a display that the environment does not name: no QT_QPA_PLATFORM,
// no -platform argument, and neither DISPLAY nor WAYLAND_DISPLAY.
bool DisplayMissing(const std::vector<std::string>& arguments);

// Loads Qt's German translations so that dialogs and message box buttons speak German. True when loaded.
bool LoadGermanTranslations();

} // namespace shell

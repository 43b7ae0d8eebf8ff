#include "gui/shell/start.h"

#include "gui/shell/busy.h"
#include "gui/shell/desktop_file_dialog.h"
#include "gui/shell/fonts.h"
#include "gui/shell/main_window.h"
#include "gui/shell/system_desktop.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

namespace shell {

namespace {

// The arguments Qt's application object takes for itself, which come with a value.
bool IsQtOptionWithValue(const std::string& argument) {
    for (const char* option : {"-platform", "-platformpluginpath", "-platformtheme", "-plugin",
                               "-qmljsdebugger", "-style", "-stylesheet", "-session", "-display", "-title",
                               "-name", "-qwindowgeometry", "-qwindowicon", "-qwindowtitle", "-geometry"})
        if (argument == option || argument == std::string("-") + option)
            return true;
    return false;
}

bool IsQtOptionAlone(const std::string& argument) {
    for (const char* option : {"-reverse", "-widgetcount", "-nograb", "-dograb", "-sync"})
        if (argument == option || argument == std::string("-") + option)
            return true;
    return false;
}

} // namespace

StartRequest ParseStartArguments(const std::vector<std::string>& arguments) {
    StartRequest request;
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            files.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "-h" || argument == "--help") {
            return {StartRequest::Kind::Help, {}, {}};
        } else if (argument == "--version") {
            return {StartRequest::Kind::Version, {}, {}};
        } else if (IsQtOptionWithValue(argument)) {
            ++i; // Qt's own option and its value
        } else if (!IsQtOptionAlone(argument)) {
            return {StartRequest::Kind::UsageError, {}, "unbekannte Option " + argument};
        }
    }
    if (files.size() > 1)
        return {StartRequest::Kind::UsageError, {}, "höchstens eine Projektdatei"};
    if (!files.empty())
        request.projectFile = files.front();
    return request;
}

std::string HelpText(const ProgramIdentity& identity) {
    const std::string name = identity.name.toStdString();
    return "Aufruf: " + name + " [PROJEKTDATEI]\n\n" + identity.title.toStdString() +
           ": öffnet das Fenster. Mit einer Projektdatei (.vbp) liest es diese, als wäre sie mit "
           "„Projekt wählen“ gewählt worden; ohne bleibt es leer.\n\n"
           "Optionen:\n"
           "  -h, --help   diese Hilfe zeigen\n"
           "  --version    die Version zeigen\n";
}

bool DisplayMissing(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments)
        if (argument == "-platform" || argument == "--platform")
            return false;
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return !set("QT_QPA_PLATFORM") && !set("DISPLAY") && !set("WAYLAND_DISPLAY");
}

bool LoadGermanTranslations() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto* translator = new QTranslator(QCoreApplication::instance()); // owned by the application
    if (!translator->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

int RunProgram(int& argc, char** argv, const ProgramIdentity& identity,
               const MainWindowFactory& createMainWindow) {
    // The command line is answered before Qt opens the display, so that --help works without one.
    const std::vector<std::string> arguments(argv, argv + argc);
    const StartRequest request = ParseStartArguments(arguments);
    const std::string name = identity.name.toStdString();
    switch (request.kind) {
    case StartRequest::Kind::Help:
        std::fputs(HelpText(identity).c_str(), stdout);
        return 0;
    case StartRequest::Kind::Version:
        std::printf("%s %s\n", name.c_str(), identity.version.toStdString().c_str());
        return 0;
    case StartRequest::Kind::UsageError:
        std::fprintf(stderr, "%s: %s (Hilfe: %s --help)\n", name.c_str(), request.error.c_str(),
                     name.c_str());
        return 2;
    case StartRequest::Kind::Window:
        break;
    }
    if (DisplayMissing(arguments)) {
        std::fprintf(stderr, "%s: kein Bildschirm: weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt.\n",
                     name.c_str());
        return 1;
    }

    PreferDesktopFileDialog();
    QApplication app(argc, argv);
    QApplication::setApplicationName(identity.name);
    QApplication::setApplicationVersion(identity.version);
    // Ties the windows to the menu entry and icon of the installed program (Wayland's app id).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.") + identity.name);
    QApplication::setFont(WindowFont());
    LoadGermanTranslations();

    SystemDesktop desktop;
    SetHourglass();
    const std::unique_ptr<MainWindow> mainWindow = createMainWindow(desktop);
    mainWindow->show();
    SetNormalPointer();
    // The project named as the argument is read once the window shows, as a command of its own.
    if (!request.projectFile.empty()) {
        const QString path = QFile::decodeName(QByteArray::fromStdString(request.projectFile));
        QTimer::singleShot(0, mainWindow.get(), [&mainWindow, path] { mainWindow->openProject(path); });
    }
    return QApplication::exec();
}

} // namespace shell

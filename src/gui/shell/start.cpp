#include "gui/shell/start.h"

#include "gui/shell/busy.h"
#include "gui/shell/fonts.h"
#include "gui/shell/system_desktop.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

namespace shell {

namespace {

// Test hook, the one environment variable our code reads: the installed-layout smoke test sets
// VBTOOLS_SMOKE_TEST=1 to learn that the program starts. Once the event loop runs, the program prints two
// lines, its main window's caption and the text of a message box's Cancel button (German when Qt's
// translations were loaded), and ends, with status 0 when the window is shown.
void EndOnceRunningForSmokeTest(const QWidget& mainWindow) {
    if (!qEnvironmentVariableIsSet("VBTOOLS_SMOKE_TEST"))
        return;
    QTimer::singleShot(0, &mainWindow, [&mainWindow] {
        std::printf("%s\n%s\n", mainWindow.windowTitle().toUtf8().constData(),
                    QCoreApplication::translate("QPlatformTheme", "Cancel").toUtf8().constData());
        std::fflush(stdout);
        QCoreApplication::exit(mainWindow.isVisible() ? 0 : 1);
    });
}

} // namespace

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
    QApplication app(argc, argv);
    QApplication::setApplicationName(identity.name);
    QApplication::setApplicationVersion(identity.version);
    // Ties the windows to the menu entry and icon of the installed program (Wayland's app id).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.") + identity.name);
    QApplication::setFont(WindowFont());
    LoadGermanTranslations();

    SystemDesktop desktop;
    SetHourglass();
    const std::unique_ptr<QWidget> mainWindow = createMainWindow(desktop);
    mainWindow->show();
    SetNormalPointer();
    EndOnceRunningForSmokeTest(*mainWindow);
    return QApplication::exec();
}

} // namespace shell

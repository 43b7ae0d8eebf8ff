#include "gui/shell/start.h"

#include "gui/shell/busy.h"
#include "gui/shell/fonts.h"
#include "gui/shell/system_desktop.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace shell {

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
    return QApplication::exec();
}

} // namespace shell

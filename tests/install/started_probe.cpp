// A Qt generic plugin that the installed-layout test loads into an installed program unchanged
// (QT_QPA_GENERIC_PLUGINS=vbtoolsstarted, QT_PLUGIN_PATH naming this plugin's folder), so the shipped
// programs carry no test hook. Once the program's event loop runs, it prints two lines, the caption of the
// visible main window and the text of a message box's Cancel button (German when the program loaded Qt's
// translations), and ends the program, with status 0 when a window is shown and 1 otherwise.

#include <QApplication>
#include <QGenericPlugin>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

void ReportStartedProgram() {
    QString caption;
    for (const QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible())
            caption = window->windowTitle();
    std::printf("%s\n%s\n", caption.toUtf8().constData(),
                QCoreApplication::translate("QPlatformTheme", "Cancel").toUtf8().constData());
    std::fflush(stdout);
    QCoreApplication::exit(caption.isEmpty() ? 1 : 0);
}

// Reports once the event loop runs; made while the application object is made.
class StartedReport : public QObject {
public:
    StartedReport() { QTimer::singleShot(0, this, ReportStartedProgram); }
};

} // namespace

class StartedProbe : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "started_probe.json")
public:
    QObject* create(const QString& /*key*/, const QString& /*parameters*/) override {
        return new StartedReport; // the application deletes its generic plugins' objects as it ends
    }
};

#include "started_probe.moc"

// vbbench_dialog: how soon the windows' file dialog can be used in a large folder. Opens the program's own
// file dialog (the one "Projekt wählen" and "Ausgabe - Datei wählen" show) in FOLDER, as a window does,
// and measures from the call on:
//   - shown: until the dialog's event loop first runs (it is on the screen and takes events);
//   - key:   the longest time a key typed into the file name box took to arrive there, one key every
//            50 ms for the first --watch seconds (so a dialog that freezes while it reads the folder, or
//            whose completion freezes, shows here);
//   - stall: the longest gap between two ticks of a 10 ms timer in that time.
// Each use is measured twice: the first use of the program's dialog, and the next one, which a window
// makes with the same dialog. Prints one line per mode and use and, with --target, a figure line
// "dialog NAME: SECONDS (target TARGET)" for the worst of them; exits with 1 when it is missed.
//
//   vbbench_dialog FOLDER [--watch SECONDS] [--target SECONDS]
//
// Needs a display (bench/run starts Xvfb and openbox for it).

#include "gui/shell/desktop.h"
#include "gui/shell/start.h"
#include "gui/shell/system_desktop.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

struct Use {
    double shown = 0;
    double key = 0;
    double stall = 0;
    double worst() const { return std::max({shown, key, stall}); }
};

// Opens the dialog in `mode` and measures it while it is open; the dialog is cancelled at the end.
Use Measure(shell::Desktop& desktop, shell::FileDialogMode mode, const QStringList& filters, double watch) {
    Use use;
    QElapsedTimer clock;
    bool started = false;
    qint64 lastTick = 0;
    qint64 keySent = -1;
    qint64 keysStart = 0;
    int keysSent = 0;

    QTimer ticks;
    ticks.setInterval(10);
    QTimer keys;
    keys.setInterval(50);
    QLineEdit* edit = nullptr;

    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        if (!started) {
            started = true;
            use.shown = now / 1000.0;
        } else {
            use.stall = std::max(use.stall, (now - lastTick) / 1000.0);
        }
        lastTick = now;
        if (now > watch * 1000) {
            ticks.stop();
            keys.stop();
            if (QWidget* dialog = QApplication::activeModalWidget())
                static_cast<QDialog*>(dialog)->reject();
        }
    });
    QObject::connect(&keys, &QTimer::timeout, [&] {
        if (!edit) {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                keysStart = clock.elapsed();
                if (edit)
                    QObject::connect(edit, &QLineEdit::textEdited, [&] {
                        if (keySent >= 0)
                            use.key = std::max(use.key, (clock.elapsed() - keySent) / 1000.0);
                        keySent = -1;
                    });
            }
        }
        if (!edit || keySent >= 0)
            return; // the last key has not arrived yet: its time keeps growing
        // The user typed the key when it was due, whatever kept the dialog from taking it then.
        const qint64 due = keysStart + keysSent * 50;
        // Types "a", "b", ... and starts again with an empty box now and then, so the completion
        // keeps looking through the folder.
        const int key = Qt::Key_A + keysSent % 6;
        if (keysSent % 6 == 0)
            edit->clear();
        keySent = std::min(due, clock.elapsed());
        ++keysSent;
        QCoreApplication::postEvent(edit, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier,
                                                        QString(QChar(u'a' + (key - Qt::Key_A)))));
        QCoreApplication::postEvent(edit, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier,
                                                        QString(QChar(u'a' + (key - Qt::Key_A)))));
    });

    clock.start();
    ticks.start();
    keys.start();
    desktop.askFileName(mode, filters, QString());
    if (keySent >= 0) // a key that never arrived counts from when it was sent
        use.key = std::max(use.key, (clock.elapsed() - keySent) / 1000.0);
    return use;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    shell::LoadGermanTranslations();
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: vbbench_dialog FOLDER [--watch SECONDS] [--target SECONDS]\n");
        return 2;
    }
    double watch = 3;
    double target = 0;
    for (int i = 2; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--watch"))
            watch = args[i + 1].toDouble();
        else if (args[i] == QLatin1String("--target"))
            target = args[i + 1].toDouble();
    }
    const int files = static_cast<int>(QDir(args[1]).entryList(QDir::Files).size());
    if (!QDir::setCurrent(args[1])) {
        std::fprintf(stderr, "vbbench_dialog: no folder %s\n", qPrintable(args[1]));
        return 2;
    }

    shell::SystemDesktop desktop;
    struct Mode {
        const char* name;
        shell::FileDialogMode mode;
        QStringList filters;
    };
    const Mode modes[] = {
        {"open", shell::FileDialogMode::Open, {QStringLiteral("*.vbp (*.vbp)")}},
        {"save", shell::FileDialogMode::Save, {QStringLiteral("*.txt (*.txt)"), QStringLiteral("*.* (*)")}},
    };
    double worst = 0;
    for (const Mode& mode : modes) {
        for (const char* use : {"first use", "next use"}) {
            const Use measured = Measure(desktop, mode.mode, mode.filters, watch);
            std::printf("%s dialog, %s, folder of %d files: shown %.3f s, key %.3f s, stall %.3f s\n",
                        mode.name, use, files, measured.shown, measured.key, measured.stall);
            worst = std::max(worst, measured.worst());
        }
    }
    if (target > 0) {
        std::printf("dialog reacts, folder of %d files: %.2f s (target %.2f s)\n", files, worst, target);
        return worst <= target ? 0 : 1;
    }
    return 0;
}

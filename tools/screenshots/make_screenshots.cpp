// Drives the real windows of both programs through the sample project on Qt's offscreen platform and saves
// what they show as PNG pictures for the README (tools/make-screenshots). File dialogs are answered by the
// desktop stand-in of the window tests; everything else is the programs' own code. Ends with status 1,
// saving nothing more, when a window does not show what the pictures are meant to show.
//
//     vbtools_screenshots SAMPLE.vbp MERGED.txt OUTPUT-FOLDER

#include "fake_desktop.h"
#include "gui/counter/frm_haupt.h"
#include "gui/merger/frm_haupt.h"
#include "gui/shell/fonts.h"
#include "gui/shell/picture_button.h"
#include "gui/shell/sorted_list_box.h"
#include "gui/shell/start.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>
#include <stdexcept>

namespace {

void Check(bool condition, const char* what) {
    if (!condition)
        throw std::runtime_error(what);
}

// Clicks the list entry with exactly this text, as a person would.
void ClickEntry(shell::SortedListBox* list, const QString& text) {
    const auto found = list->findItems(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found.isEmpty())
        throw std::runtime_error("no entry " + text.toStdString() + " in " +
                                 list->objectName().toStdString());
    list->scrollToItem(found.constFirst());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(found.constFirst()).center());
}

class Camera {
public:
    // The folder is fixed now: choosing a project changes the working directory.
    explicit Camera(const QString& folder) : folder_(QDir(folder).absolutePath()) {}

    void take(QWidget& widget, const QString& name) {
        QCoreApplication::processEvents();
        const QString path = folder_.filePath(name + QStringLiteral(".png"));
        if (!widget.grab().save(path))
            throw std::runtime_error("cannot save " + path.toStdString());
        std::printf("%s\n", qPrintable(path));
    }

private:
    QDir folder_;
};

void PhotographCounter(const QString& project, Camera& camera) {
    vbtest::FakeDesktop desktop;
    counter::frmHaupt window(desktop);
    window.show();
    Check(QTest::qWaitForWindowExposed(&window), "the counter window does not show");
    camera.take(window, QStringLiteral("voduvov-start"));

    desktop.answerFileDialog(project);
    QTest::mouseClick(window.cmdPw, Qt::LeftButton);
    ClickEntry(window.lstE1, QStringLiteral("Formulare"));
    ClickEntry(window.lstObj, QStringLiteral("Hauptfenster.frm"));
    ClickEntry(window.lstUObj, QStringLiteral("VB.CommandButton"));
    QTest::mouseClick(window.cmdAO, Qt::LeftButton);
    Check(window.lstUObjN->count() == 3, "VB.CommandButton of Hauptfenster.frm does not list 3 names");
    Check(window.txtAaO->text() == QStringLiteral("40"), "the sample project does not count 40 objects");
    Check(desktop.fatalReports.empty(), "the counter reported a fatal error");
    camera.take(window, QStringLiteral("voduvov-beispiel"));

    QTest::mouseClick(window.cmdInfo, Qt::LeftButton);
    Check(window.infoDialog() != nullptr, "the Info dialog does not open");
    Check(QTest::qWaitForWindowExposed(window.infoDialog()), "the Info dialog does not show");
    camera.take(*window.infoDialog(), QStringLiteral("info"));
}

void PhotographMerger(const QString& project, const QString& mergedFile, Camera& camera) {
    vbtest::FakeDesktop desktop;
    merger::frmHaupt window(desktop);
    window.show();
    Check(QTest::qWaitForWindowExposed(&window), "the merger window does not show");
    camera.take(window, QStringLiteral("vuzaraze-start"));

    desktop.answerFileDialog(project);
    QTest::mouseClick(window.cmdPw, Qt::LeftButton);
    desktop.answerFileDialog(mergedFile);
    QTest::mouseClick(window.cmdADw, Qt::LeftButton);
    QTest::mouseClick(window.cmdDg, Qt::LeftButton);
    Check(window.lblF->text() == QStringLiteral("3"), "the sample project does not show 3 forms");
    Check(desktop.fatalReports.empty() && desktop.messages.empty(), "the merger did not write the file");
    Check(QFileInfo(mergedFile).size() > 0, "the merged file is empty");
    camera.take(window, QStringLiteral("vuzaraze-beispiel"));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: vbtools_screenshots SAMPLE.vbp MERGED.txt OUTPUT-FOLDER\n");
        return 2;
    }
    // As the programs' start routine does.
    QApplication::setFont(shell::WindowFont());
    if (!shell::LoadGermanTranslations())
        std::fprintf(stderr, "vbtools_screenshots: Qt's German translations are missing\n");

    const QString project = QFile::decodeName(argv[1]);
    const QString mergedFile = QFile::decodeName(argv[2]);
    Camera camera(QFile::decodeName(argv[3]));
    try {
        PhotographCounter(project, camera);
        PhotographMerger(project, mergedFile, camera);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vbtools_screenshots: %s\n", error.what());
        return 1;
    }
    return 0;
}

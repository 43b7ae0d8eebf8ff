#include "window_probe.h"

#include "bad_input.h"
#include "gui/shell/sorted_list_box.h"
#include "window_test.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace vbtest {

void ClickEntry(shell::SortedListBox* list, const QString& text) {
    const auto found = list->findItems(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    ASSERT_FALSE(found.isEmpty()) << "no entry " << text.toStdString() << " in "
                                  << list->objectName().toStdString();
    list->scrollToItem(found.constFirst());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(found.constFirst()).center());
}

bool DropFiles(QWidget* target, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    const QPoint where = target->rect().center();
    QDragEnterEvent enter(where, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(where, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    QCoreApplication::processEvents();
    return drop.isAccepted();
}

QStringList ControlsWithoutFocusMark(QWidget* first) {
    QStringList unmarked;
    first->setFocus(Qt::TabFocusReason);
    QWidget* current = first;
    do {
        QWidget* next = NextTabStop(current);
        if (!next)
            break;
        const QImage without = next->grab().toImage();
        QTest::keyClick(current, Qt::Key_Tab);
        if (!next->hasFocus() || next->grab().toImage() == without)
            unmarked << next->objectName();
        current = next;
    } while (current != first);
    return unmarked;
}

QWidget* NextTabStop(const QWidget* widget) {
    for (QWidget* next = widget->nextInFocusChain(); next && next != widget; next = next->nextInFocusChain())
        if ((next->focusPolicy() & Qt::TabFocus) && next->isEnabled() && next->isVisibleTo(widget->window()))
            return next;
    return nullptr;
}

ProgressRecorder::ProgressRecorder(QProgressBar* bar, QLabel* status) : bar_(bar), status_(status) {
    QObject::connect(bar, &QProgressBar::valueChanged, &eventPass_,
                     [this](int value) { values.push_back(value); });
    eventPass_.setSingleShot(true);
    eventPass_.setInterval(0);
    QObject::connect(&eventPass_, &QTimer::timeout, [this] {
        statusAtEventPass = status_->text();
        maximumAtEventPass = bar_->maximum();
        hourglassAtEventPass = QGuiApplication::overrideCursor() != nullptr &&
                               QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
    });
    eventPass_.start();
}

void ProgressRecorder::clear() {
    values.clear();
    statusAtEventPass.clear();
    maximumAtEventPass = -1;
    hourglassAtEventPass = false;
    eventPass_.start();
}

} // namespace vbtest

namespace vbtest {

void WindowTest::chooseProjectWatchingInputs(QAbstractButton* cmdPw, const std::string& path) {
    if (inputs_.empty())
        inputs_ = TakeSnapshot(dir_.path());
    desktop_.answerFileDialog(QString::fromStdString(path));
    QTest::mouseClick(cmdPw, Qt::LeftButton);
}

void WindowTest::chooseProjectsThatAreNoProjectFiles(QAbstractButton* cmdPw) {
    chooseProjectWatchingInputs(cmdPw, dir_.file("Fehlt.vbp"));
    EXPECT_EQ(reported(), 53);
    chooseProjectWatchingInputs(cmdPw, dir_.path().string());
    EXPECT_EQ(reported(), 75);
    chooseProjectWatchingInputs(cmdPw, dir_.write("Junk.vbp", BinaryJunk()));
    EXPECT_EQ(reported(), 0);
}

void WindowTest::TearDown() {
    if (!inputs_.empty()) {
        EXPECT_EQ(Recheck(inputs_), inputs_) << "an input file changed";
    }
    std::filesystem::current_path(startFolder_);
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

} // namespace vbtest

#pragma once
// A stand-in for the desktop in window tests: file dialogs answer from a script, and everything else a
// window asks of the desktop is recorded instead of shown.

#include "errors/runtime_error.h"
#include "gui/shell/desktop.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace vbtest {

class FakeDesktop final : public shell::Desktop {
public:
    struct DialogCall {
        shell::FileDialogMode mode;
        QStringList filters;
        QString startName;
    };
    struct Message {
        QString title;
        QString text;
    };
    struct FatalReport {
        QString title;
        int number;
        std::string path;
        QString text;
    };

    // The next file dialog answers with `path` (empty text: the user cancels).
    void answerFileDialog(const QString& path) { answers.push_back(path); }

    QString askFileName(shell::FileDialogMode mode, const QStringList& filters,
                        const QString& fileName) override;
    void openAddress(const QByteArray& address) override { openedAddresses.push_back(address); }
    void showMessage(const QString& title, const QString& text) override {
        messages.push_back({title, text});
    }
    void reportFatalError(const QString& title, const vb::RuntimeError& error) override;
    void endProgram() override { ++endRequests; }

    // Called while a file dialog is "open", e.g. to look at the window then.
    std::function<void()> whileDialogOpen;
    // Called while the fatal-error report is "shown", e.g. to look at the files on disk then.
    std::function<void()> whileReporting;

    std::deque<QString> answers;
    std::vector<DialogCall> dialogCalls;
    std::vector<QByteArray> openedAddresses;
    std::vector<Message> messages;
    std::vector<FatalReport> fatalReports;
    int endRequests = 0;
};

} // namespace vbtest

#include "fake_desktop.h"

#include <stdexcept>

namespace vbtest {

QString FakeDesktop::askFileName(shell::FileDialogMode mode, const QStringList& filters,
                                 const QString& fileName) {
    dialogCalls.push_back({mode, filters, fileName});
    if (whileDialogOpen)
        whileDialogOpen();
    if (answers.empty())
        throw std::logic_error("the test did not script an answer for the file dialog");
    QString answer = answers.front();
    answers.pop_front();
    return answer;
}

void FakeDesktop::reportFatalError(const QString& title, const vb::RuntimeError& error) {
    fatalReports.push_back({title, error.number(), error.path(), shell::FatalErrorText(error)});
    if (whileReporting)
        whileReporting();
}

} // namespace vbtest

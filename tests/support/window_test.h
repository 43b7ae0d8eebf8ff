#pragma once
// The base of window tests: a fresh folder, the desktop stand-in, and afterwards the working directory and
// the mouse pointer as they were before the test.

#include "fake_desktop.h"
#include "input_snapshot.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <QAbstractButton>

#include <filesystem>

namespace vbtest {

class WindowTest : public ::testing::Test {
protected:
    WindowTest() : startFolder_(std::filesystem::current_path()) {}
    void TearDown() override;

    // Chooses the project file through the dialog by clicking `cmdPw`. The first call notes the bytes of
    // every file in the test's folder; TearDown then expects them unchanged.
    void chooseProjectWatchingInputs(QAbstractButton* cmdPw, const std::string& path);
    // Chooses, in turn, a project file that does not exist (report 53), the test's folder (75) and a file
    // of binary junk, which reads as a project without members (no report).
    void chooseProjectsThatAreNoProjectFiles(QAbstractButton* cmdPw);

    // The number of the last fatal-error report, 0 when there was none since the last call.
    int reported() {
        const int number =
            desktop_.fatalReports.size() > seenReports_ ? desktop_.fatalReports.back().number : 0;
        seenReports_ = desktop_.fatalReports.size();
        return number;
    }

    TempDir dir_;
    FakeDesktop desktop_;

private:
    std::filesystem::path startFolder_;
    Snapshot inputs_;
    std::size_t seenReports_ = 0;
};

} // namespace vbtest

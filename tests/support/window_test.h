#pragma once
// The base of window tests: a fresh folder, the desktop stand-in, and afterwards the working directory and
// the mouse pointer as they were before the test.

#include "fake_desktop.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vbtest {

class WindowTest : public ::testing::Test {
protected:
    WindowTest() : startFolder_(std::filesystem::current_path()) {}
    void TearDown() override;

    TempDir dir_;
    FakeDesktop desktop_;

private:
    std::filesystem::path startFolder_;
};

} // namespace vbtest

#include "temp_dir.h"
#include "text/line_writer.h"
#include "text/runtime_error.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

using vbtest::ReadBytes;
using vbtest::TempDir;

TEST(LineWriter, EndsEveryLineWithCrLfAndKeepsBytes) {
    TempDir dir;
    const std::string path = dir.file("out.txt");
    {
        vb::LineWriter writer(path);
        writer.writeLine("FORMULARE:");
        writer.writeLine("");
        writer.writeLine(std::string("\x00\xE4\r", 3));
        writer.close();
    }
    EXPECT_EQ(ReadBytes(path), std::string("FORMULARE:\r\n\r\n\x00\xE4\r\r\n", 19));
}

TEST(LineWriter, ReplacesAnExistingFile) {
    TempDir dir;
    const std::string path = dir.write("out.txt", "old content that is longer");
    vb::LineWriter writer(path);
    writer.writeLine("new");
    writer.close();
    EXPECT_EQ(ReadBytes(path), "new\r\n");
}

TEST(LineWriter, LinesWrittenBeforeAnErrorReachTheFile) {
    TempDir dir;
    const std::string path = dir.file("out.txt");
    try {
        vb::LineWriter writer(path);
        writer.writeLine("first");
        writer.writeLine(std::string(600 * 1024, 'b')); // larger than the buffer
        writer.writeLine("last");
        throw vb::RuntimeError(53, "member.frm");
    } catch (const vb::RuntimeError&) {
    }
    EXPECT_EQ(ReadBytes(path), "first\r\n" + std::string(600 * 1024, 'b') + "\r\nlast\r\n");
}

TEST(LineWriter, CreationFailures) {
    TempDir dir;
    try {
        vb::LineWriter writer(dir.file("missing/out.txt"));
        FAIL();
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.number(), 76);
    }
    try {
        vb::LineWriter writer(dir.path().string());
        FAIL();
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.number(), 75);
    }
}

TEST(LineWriter, FullDiskIsError61) {
    if (::access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "no /dev/full";
    vb::LineWriter writer("/dev/full");
    writer.writeLine("x");
    try {
        writer.flush();
        FAIL();
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.number(), 61);
    }
}

} // namespace

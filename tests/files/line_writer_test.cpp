#include "errors/runtime_error.h"
#include "files/line_writer.h"
#include "files/replaced_file.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
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

// Writes lines of every length up to the size of a read across `stretches` writeback stretches, through
// writeLine and through room/commit, and returns what was written.
std::string WriteStretches(vb::LineWriter& writer, std::size_t stretches) {
    std::string expected;
    std::size_t length = 0;
    while (expected.size() < stretches * vb::LineWriter::kWritebackStretch + 12345) {
        const std::string line(length, static_cast<char>('a' + length % 26));
        writer.writeLine(line);
        expected += line + "\r\n";
        length = (length * 7 + 13) % 70'000;
        char* room = writer.room(3);
        room[0] = 'r';
        room[1] = '\r';
        room[2] = '\n';
        writer.commit(3);
        expected += "r\r\n";
    }
    return expected;
}

TEST(LineWriter, WritebackBehindKeepsEveryByteOnFilesAndOnDescriptorsThatCannotDoIt) {
    TempDir dir;
    const std::string target = dir.write("Zusammen.txt", "alt");
    std::string expected;
    {
        vb::ReplacedFile file(target);
        ASSERT_TRUE(file.syncsOnCommit());
        vb::LineWriter writer(file.fd(), target, vb::Writeback::Behind);
        expected = WriteStretches(writer, 3);
        writer.close();
        EXPECT_EQ(ReadBytes(target), "alt"); // the stretches started are not the target yet
        file.commit();
    }
    EXPECT_EQ(ReadBytes(target), expected);

    // A pipe has no disk writes to start: the bytes still all arrive, and no error is reported.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const std::string copy = dir.file("Rohr.txt");
    const pid_t reader = ::fork();
    ASSERT_GE(reader, 0);
    if (reader == 0) {
        ::close(ends[1]);
        const int out = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        char chunk[65536];
        for (ssize_t got; (got = ::read(ends[0], chunk, sizeof chunk)) > 0;)
            if (::write(out, chunk, static_cast<std::size_t>(got)) != got)
                ::_exit(1);
        ::_exit(::close(out) == 0 ? 0 : 1);
    }
    ::close(ends[0]);
    {
        vb::LineWriter writer(ends[1], "pipe", vb::Writeback::Behind);
        expected = WriteStretches(writer, 2);
        writer.close();
    }
    ::close(ends[1]);
    int status = 0;
    ASSERT_EQ(::waitpid(reader, &status, 0), reader);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadBytes(copy), expected);
}

} // namespace

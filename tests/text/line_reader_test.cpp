#include "temp_dir.h"
#include "text/line_reader.h"
#include "text/runtime_error.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using vbtest::TempDir;

std::vector<std::string> LinesOf(const TempDir& dir, std::string_view bytes) {
    const std::string path = dir.write("f.txt", bytes);
    vb::LineReader reader(path);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.next(line))
        lines.emplace_back(line);
    return lines;
}

using Lines = std::vector<std::string>;

TEST(LineReader, EveryKindOfLineEndEndsALine) {
    TempDir dir;
    EXPECT_EQ(LinesOf(dir, "a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(LinesOf(dir, "a\rb\r"), (Lines{"a", "b"}));
    EXPECT_EQ(LinesOf(dir, "a\nb\n"), (Lines{"a", "b"}));
    EXPECT_EQ(LinesOf(dir, "a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    // LF CR is two line ends, CR CR two empty lines' worth.
    EXPECT_EQ(LinesOf(dir, "a\n\rb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(LinesOf(dir, "\r\r\n\n"), (Lines{"", "", ""}));
}

TEST(LineReader, LastLineWithoutEndAndEmptyFile) {
    TempDir dir;
    EXPECT_EQ(LinesOf(dir, ""), Lines{});
    EXPECT_EQ(LinesOf(dir, "only"), Lines{"only"});
    EXPECT_EQ(LinesOf(dir, "\r\n"), Lines{""});
    EXPECT_EQ(LinesOf(dir, "x\r\n\r\n"), (Lines{"x", ""}));
}

TEST(LineReader, BytesPassUnchanged) {
    TempDir dir;
    const std::string odd("\x00\x80\xE4\xFF\t \x1A", 7);
    EXPECT_EQ(LinesOf(dir, odd + "\r\n" + odd), (Lines{odd, odd}));
}

TEST(LineReader, CrLfSplitAcrossReadsIsOneLineEnd) {
    TempDir dir;
    // Place a CR as the last byte of every possible first read, so its LF comes with the next one.
    for (const std::size_t chunk : {std::size_t{256 * 1024}, std::size_t{512 * 1024}}) {
        std::string bytes(chunk - 1, 'x');
        bytes += "\r\nnext\r\n";
        const auto lines = LinesOf(dir, bytes);
        ASSERT_EQ(lines.size(), 2u) << chunk;
        EXPECT_EQ(lines[0].size(), chunk - 1);
        EXPECT_EQ(lines[1], "next");
    }
}

TEST(LineReader, LongLinesAndManyShortLines) {
    TempDir dir;
    const std::string longLine(3 * 1024 * 1024 + 17, 'L');
    std::string bytes;
    for (int i = 0; i < 100000; ++i)
        bytes += std::to_string(i) + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\r" : "\n");
    bytes += longLine + "\r" + "tail";
    const auto lines = LinesOf(dir, bytes);
    ASSERT_EQ(lines.size(), 100002u);
    EXPECT_EQ(lines[99999], "99999");
    EXPECT_EQ(lines[100000], longLine);
    EXPECT_EQ(lines[100001], "tail");
}

TEST(LineReader, CrOnlyFileWithLfFarBehind) {
    TempDir dir;
    std::string bytes;
    for (int i = 0; i < 50000; ++i)
        bytes += "line\r";
    bytes += "end\n";
    const auto lines = LinesOf(dir, bytes);
    ASSERT_EQ(lines.size(), 50001u);
    EXPECT_EQ(lines.back(), "end");
}

TEST(LineReader, OpeningFailuresCarryTheirNumbers) {
    TempDir dir;
    const auto numberFor = [](const std::string& path) {
        try {
            vb::LineReader reader(path);
        } catch (const vb::RuntimeError& e) {
            EXPECT_EQ(e.path(), path);
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(numberFor(dir.file("missing.txt")), 53);
    EXPECT_EQ(numberFor(dir.file("no-folder/missing.txt")), 76);
    EXPECT_EQ(numberFor(dir.path().string()), 75);
}

} // namespace

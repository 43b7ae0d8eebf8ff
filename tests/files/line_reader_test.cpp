#include "errors/runtime_error.h"
#include "files/line_reader.h"
#include "memory_file.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using vbtest::TempDir;

using Lines = std::vector<std::string>;

Lines LinesFrom(vb::LineReader& reader) {
    Lines lines;
    std::string_view line;
    while (reader.next(line))
        lines.emplace_back(line);
    return lines;
}

Lines LinesOf(const TempDir& dir, std::string_view bytes) {
    vb::LineReader reader(dir.write("f.txt", bytes));
    return LinesFrom(reader);
}

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
    // Reads grow from small to large; put a CR as the last byte of a read of every size in between.
    for (std::size_t chunk = 4 * 1024; chunk <= 1024 * 1024; chunk *= 2) {
        std::string bytes(chunk - 1, 'x');
        bytes += "\r\nnext\r\n";
        const auto lines = LinesOf(dir, bytes);
        ASSERT_EQ(lines.size(), 2u) << chunk;
        EXPECT_EQ(lines[0].size(), chunk - 1);
        EXPECT_EQ(lines[1], "next");
    }
}

TEST(LineReader, MixedLinesOfEveryLengthAcrossManyReads) {
    TempDir dir;
    // Lines from empty to longer than the first reads, with all three ends, over several megabytes.
    std::string bytes;
    Lines expected;
    std::uint32_t state = 12345;
    const auto random = [&state](std::uint32_t below) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % below;
    };
    while (bytes.size() < 3 * 1024 * 1024) {
        const std::size_t length = random(64) == 0 ? random(70000) : random(120);
        std::string line(length, static_cast<char>('a' + expected.size() % 26));
        // An empty line after a lone CR ends with CR too: CR LF would be one end.
        const bool afterCr = !bytes.empty() && bytes.back() == '\r';
        bytes += line;
        bytes += random(3) == 0 || (line.empty() && afterCr) ? "\r" : random(2) == 0 ? "\n" : "\r\n";
        expected.push_back(std::move(line));
    }
    EXPECT_EQ(LinesOf(dir, bytes), expected);
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

// A descriptor is read from where it stands, in reads as small as asked, and stays open for its owner.
TEST(LineReader, DescriptorIsReadFromItsPositionAndLeftOpen) {
    const vbtest::MemoryFile file("skip\r\na\r\nb\rc");
    ASSERT_EQ(::lseek(file.fd(), 6, SEEK_SET), 6);
    {
        vb::LineReader reader(file.fd(), "Speicher", 1);
        EXPECT_EQ(LinesFrom(reader), (Lines{"a", "b", "c"}));
        EXPECT_EQ(reader.path(), "Speicher");
    }
    EXPECT_NE(::fcntl(file.fd(), F_GETFD), -1) << "the reader closed a descriptor it does not own";
}

// A pipe hands out what its writer wrote so far; lines and CR LF pairs that fall across reads stay whole.
TEST(LineReader, PipeIsReadToItsWritersEnd) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const std::string bytes = "erste\r\nzweite\rdritte\n\r\nletzte";
    ASSERT_EQ(::write(ends[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::close(ends[1]);
    {
        vb::LineReader reader(ends[0], "Rohr", 3);
        EXPECT_EQ(LinesFrom(reader), (Lines{"erste", "zweite", "dritte", "", "letzte"}));
    }
    ::close(ends[0]);
}

// A descriptor that cannot be read is an error naming what the caller called it.
TEST(LineReader, ReadFailureOnADescriptorNamesIt) {
    TempDir dir;
    const int folder = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folder, 0);
    try {
        vb::LineReader reader(folder, "Ordner");
        std::string_view line;
        reader.next(line);
        ADD_FAILURE() << "a folder read as lines";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.number(), 75);
        EXPECT_EQ(e.path(), "Ordner");
    }
    ::close(folder);
}

// "Ä€😀" in UTF-16, little-endian with its mark, in a file of three lines.
const std::string kUtf16Le("\xFF\xFE"
                           "A\0\r\0\n\0\xC4\0\xAC\x20=\xD8\0\xDE\r\0"
                           "b\0",
                           20);

TEST(LineReader, ByteOrderMarksAreNoPartOfTheFirstLineAndUtf16IsReadAsUtf8) {
    TempDir dir;
    EXPECT_EQ(LinesOf(dir, "\xEF\xBB\xBF"
                           "Form=a.frm\r\nx"),
              (Lines{"Form=a.frm", "x"}));
    EXPECT_EQ(LinesOf(dir, "\xEF\xBB\xBF"), Lines{});
    const Lines utf8 = {"A", "\xC3\x84\xE2\x82\xAC\xF0\x9F\x98\x80", "b"};
    const std::string le(kUtf16Le);
    std::string be = "\xFE\xFF";
    for (std::size_t i = 2; i + 1 < le.size(); i += 2)
        be += std::string{le[i + 1], le[i]};
    for (const std::size_t maxRead : {1, 3, 64 * 1024}) {
        vb::LineReader little(dir.write("le.txt", le), maxRead);
        EXPECT_EQ(LinesFrom(little), utf8) << maxRead;
        EXPECT_EQ(little.byteOrderMark(), vb::ByteOrderMark::Utf16Le);
        vb::LineReader big(dir.write("be.txt", be), maxRead);
        EXPECT_EQ(LinesFrom(big), utf8) << maxRead;
    }
    // A lone surrogate and a cut last unit become U+FFFD, so the text stays valid UTF-8.
    EXPECT_EQ(LinesOf(dir, std::string("\xFF\xFE"
                                       "\x00\xD8"
                                       "a\0"
                                       "b",
                                       7)),
              Lines{"\xEF\xBF\xBD"
                    "a\xEF\xBF\xBD"});
}

TEST(LineReader, AReaderThatKeepsBytesKeepsTheUtf8MarkAndRefusesUtf16) {
    TempDir dir;
    vb::LineReader marked(dir.write("m.txt", "\xEF\xBB\xBF"
                                             "a\r\n"));
    marked.keepBytes();
    EXPECT_EQ(LinesFrom(marked), Lines{"\xEF\xBB\xBF"
                                       "a"});
    vb::LineReader utf16(dir.write("u.txt", kUtf16Le));
    utf16.keepBytes();
    std::string_view line;
    try {
        utf16.next(line);
        ADD_FAILURE() << "UTF-16 read as bytes";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.number(), vb::err::BadFileFormat);
        EXPECT_EQ(e.path(), dir.file("u.txt"));
    }
}

TEST(LineReader, AFileThatGrowsWhileReadIsReadToItsSizeWhenOpened) {
    TempDir dir;
    const std::string path = dir.write("g.txt", "a\r\nb\r\n");
    vb::LineReader reader(path, 1);
    const int appender = ::open(path.c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(appender, 0);
    std::string_view line;
    Lines lines;
    while (reader.next(line)) {
        lines.emplace_back(line);
        ASSERT_EQ(::write(appender, "more\r\n", 6), 6);
    }
    ::close(appender);
    EXPECT_EQ(lines, (Lines{"a", "b"}));
}

TEST(LineReader, LinesPastTheLongestAreCutAndTheirRestSkippedInBoundedMemory) {
    TempDir dir;
    const std::string path =
        dir.write("long.txt", "ab\r\n" + std::string(100000, 'x') + "\r\nc\n" + std::string(50, 'y') + "\r");
    for (const std::size_t maxRead : {1, 7, 64 * 1024}) {
        vb::LineReader byLine(path, maxRead);
        byLine.cutLinesLongerThan(20);
        EXPECT_EQ(LinesFrom(byLine), (Lines{"ab", std::string(21, 'x'), "c", std::string(21, 'y')}))
            << maxRead;
        EXPECT_LE(byLine.bufferCapacity(), 2 * maxRead + 64);
        vb::LineReader byRuns(path, maxRead);
        byRuns.cutLinesLongerThan(20);
        std::string_view run;
        std::string all;
        while (byRuns.nextLines(run))
            all += std::string(run) + "|";
        // A run ends after a cut line; nothing of its rest, nor its line end, is handed out.
        EXPECT_EQ(all.find(std::string(22, 'x')), std::string::npos) << maxRead;
        EXPECT_NE(all.find(std::string(21, 'x') + "|c\n"), std::string::npos) << all.substr(0, 80);
        EXPECT_LE(byRuns.bufferCapacity(), 2 * maxRead + 64);
    }
}

} // namespace

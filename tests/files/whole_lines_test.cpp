#include "files/line_reader.h"
#include "files/whole_lines.h"
#include "memory_file.h"
#include "text/text_facts.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

struct Read {
    std::vector<std::string> lines;
    vb::TextKind text = vb::TextKind::Ascii;
};

// Line by line, the text folded over the lines.
Read ByLine(std::string_view bytes, std::size_t maxRead) {
    vbtest::MemoryFile file(bytes);
    vb::LineReader reader(file.fd(), "memory", maxRead);
    Read read;
    std::string_view line;
    while (reader.next(line)) {
        read.lines.emplace_back(line);
        read.text = vb::Together(read.text, vb::TextKindOf(line));
    }
    return read;
}

// In runs of whole lines, the text folded over the runs.
Read ByRun(std::string_view bytes, std::size_t maxRead) {
    vbtest::MemoryFile file(bytes);
    vb::LineReader reader(file.fd(), "memory", maxRead);
    Read read;
    std::string_view run;
    while (reader.nextLines(run)) {
        read.text = vb::Together(read.text, vb::TextKindOf(run));
        vb::WholeLines lines(run);
        std::string_view line;
        while (lines.next(line))
            read.lines.emplace_back(line);
    }
    return read;
}

// Line ends of all three kinds, UTF-8 sequences whole and cut, and bytes that start or continue none.
std::string MessyBytes(std::mt19937& random, std::size_t size) {
    static constexpr std::string_view kPieces[] = {"a",        "Form=",    "\r",   "\n",
                                                   "\r\n",     "\xC3\xA4", "\xC3", "\xA4",
                                                   "\xE2\x82", "\xFF",     "",     "0123456789abcdefXYZ"};
    std::string bytes;
    while (bytes.size() < size)
        bytes += kPieces[random() % std::size(kPieces)];
    return bytes;
}

TEST(WholeLines, GiveTheLinesAndTheTextOfLineByLineReadingForAnyBufferSize) {
    std::mt19937 random(1234);
    for (int round = 0; round < 300; ++round) {
        const std::string bytes = MessyBytes(random, random() % 200);
        for (const std::size_t maxRead :
             {std::size_t{1}, std::size_t{2}, std::size_t{7}, std::size_t{64}, vb::LineReader::kMaxRead}) {
            const Read expected = ByLine(bytes, maxRead);
            const Read got = ByRun(bytes, maxRead);
            ASSERT_EQ(got.lines, expected.lines) << "round " << round << ", reads of " << maxRead;
            ASSERT_EQ(got.text, expected.text) << "round " << round << ", reads of " << maxRead;
        }
    }
}

TEST(WholeLines, EachLineEndAndTheLastLineWithoutOne) {
    const auto linesOf = [](std::string_view run) {
        std::vector<std::string> lines;
        vb::WholeLines whole(run);
        std::string_view line;
        while (whole.next(line))
            lines.emplace_back(line);
        return lines;
    };
    using Lines = std::vector<std::string>;
    EXPECT_EQ(linesOf(""), Lines{});
    EXPECT_EQ(linesOf("\r\n"), Lines{""});
    EXPECT_EQ(linesOf("a\rb\nc\r\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(linesOf("\n\r\r\n\n\r"), (Lines{"", "", "", "", ""}));
    // Lines longer than the sixteen bytes looked at together, ends on either side of such a boundary.
    const std::string longLine(40, 'x');
    EXPECT_EQ(linesOf(longLine + "\r\n" + longLine + "\r\r\n"), (Lines{longLine, longLine, ""}));
    EXPECT_EQ(linesOf(std::string(15, 'y') + "\r\nz"), (Lines{std::string(15, 'y'), "z"}));
}

TEST(WholeLines, TheTextOfARunIsThatOfItsLinesWhereverASequenceStandsInIt) {
    const auto textOfRuns = [](std::string_view bytes) { return ByRun(bytes, 3).text; };
    // A sequence cut by the reads but whole in its line; one cut by a line end; one not started.
    EXPECT_EQ(textOfRuns("Gr\xC3\xBC\xC3\x9F"
                         "e\r\nab\n"),
              vb::TextKind::Utf8);
    EXPECT_EQ(textOfRuns("Gr\xC3\r\n\xBC"
                         "e\n"),
              vb::TextKind::EightBit);
    EXPECT_EQ(textOfRuns("ok\n\xBC\n"), vb::TextKind::EightBit);
    EXPECT_EQ(textOfRuns("plain\r\nascii"), vb::TextKind::Ascii);
}

} // namespace

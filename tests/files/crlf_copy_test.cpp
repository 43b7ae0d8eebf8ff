#include "files/crlf_copy.h"
#include "files/line_reader.h"
#include "files/line_writer.h"
#include "memory_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using vbtest::MemoryFile;

// The merged bytes of `bytes` after `skip` lines were read and dropped, as a head rule does: in runs
// (CopyRestWithCrLf), or line by line with writeLine, which the runs must give byte for byte.
std::string Copied(std::string_view bytes, std::size_t maxRead, int skip, bool inRuns) {
    MemoryFile in(bytes);
    MemoryFile out;
    {
        vb::LineReader reader(in.fd(), "in", maxRead);
        vb::LineWriter writer(out.fd(), "out");
        std::string_view line;
        for (int i = 0; i < skip && reader.next(line); ++i) {
        }
        if (inRuns)
            vb::CopyRestWithCrLf(reader, writer);
        else
            while (reader.next(line))
                writer.writeLine(line);
        writer.close();
    }
    return out.contents();
}

std::string InRuns(std::string_view bytes, std::size_t maxRead, int skip = 0) {
    return Copied(bytes, maxRead, skip, true);
}

// Reads as small as one byte put every line end at the edge of a read, the SSE path's 17-byte windows
// at every offset, and larger reads a long line across many of them.
constexpr std::size_t kReadSizes[] = {1, 2, 3, 5, 16, 17, 31, 64, 4096, vb::LineReader::kMaxRead};

void ExpectSameAsLineByLine(std::string_view bytes, int skip = 0) {
    for (const std::size_t maxRead : kReadSizes)
        ASSERT_EQ(InRuns(bytes, maxRead, skip), Copied(bytes, maxRead, skip, false))
            << "read size " << maxRead << ", " << bytes.size() << " bytes, skip " << skip;
}

TEST(CopyRestWithCrLf, LineEndsOfEveryKindBecomeCrLf) {
    EXPECT_EQ(InRuns("a\r\nb\r\n", 64), "a\r\nb\r\n");
    EXPECT_EQ(InRuns("a\nb\n", 64), "a\r\nb\r\n");
    EXPECT_EQ(InRuns("a\rb\r", 64), "a\r\nb\r\n");
    EXPECT_EQ(InRuns("a\r\nb\rc\nd", 64), "a\r\nb\r\nc\r\nd\r\n");
    // LF CR is two line ends; CR CR LF a lone CR, then a CR LF.
    EXPECT_EQ(InRuns("a\n\rb", 64), "a\r\n\r\nb\r\n");
    EXPECT_EQ(InRuns("\r\r\n\n", 64), "\r\n\r\n\r\n");
}

TEST(CopyRestWithCrLf, EmptyFileAndLastLineWithoutEnd) {
    EXPECT_EQ(InRuns("", 64), "");
    EXPECT_EQ(InRuns("x", 1), "x\r\n");
    EXPECT_EQ(InRuns("only", 64), "only\r\n");
    EXPECT_EQ(InRuns("\r", 64), "\r\n");
    EXPECT_EQ(InRuns("\n", 64), "\r\n");
    // Everything was taken by the head: nothing more, not even a line end.
    EXPECT_EQ(InRuns("head\r\n", 64, 1), "");
    EXPECT_EQ(InRuns("head", 64, 1), "");
}

TEST(CopyRestWithCrLf, CrAtTheEndOfAReadStaysWithItsLf) {
    // A read of every size ends right after the CR of a CR LF, or after a lone CR.
    for (std::size_t at = 1; at < 40; ++at) {
        const std::string before(at - 1, 'x');
        ExpectSameAsLineByLine(before + "\r\nnext\r\n");
        ExpectSameAsLineByLine(before + "\rnext\r\n");
        ExpectSameAsLineByLine(before + "\r\rnext");
        ExpectSameAsLineByLine(before + "\n\nnext\r");
    }
}

TEST(CopyRestWithCrLf, LinesLongerThanTheBufferAndBytesOfAnyValue) {
    const std::string odd("\x00\x80\xE4\xFF\t \x1A\x0B\x0C", 9);
    std::string bytes = std::string(200'000, 'L') + "\n" + odd + "\r\n" + std::string(70'000, 'M') + "\r";
    ExpectSameAsLineByLine(bytes);
    EXPECT_EQ(InRuns(bytes, 64).size(), bytes.size() + 2); // the lone LF and the lone CR
    // Runs of the largest reads are cut into pieces for the writer; lone ends of every kind fall on the
    // cuts. Lines of 16 bytes and an LF: the vector search finds each lone LF as the 17th byte of its
    // window, which for one shift of the lines is the first byte after a cut.
    constexpr auto kLargest = vb::LineReader::kMaxRead;
    std::string pairs;
    while (pairs.size() < 200'000)
        pairs += "\r\nx\n\r\r\n";
    for (const std::string& cut : {std::string(200'000, '\n'), std::string(200'000, '\r'), pairs})
        ASSERT_EQ(InRuns(cut, kLargest), Copied(cut, kLargest, 0, false));
    for (std::size_t shift = 0; shift < 17; ++shift) {
        std::string lines(shift, '-');
        while (lines.size() < 200'000)
            lines += "0123456789abcdef\n";
        ASSERT_EQ(InRuns(lines, kLargest), Copied(lines, kLargest, 0, false)) << "shift " << shift;
    }
}

TEST(CopyRestWithCrLf, LoneEndsAtEveryPlaceOfTheVectorBlocks) {
    // The vector search looks at blocks of 64 positions (the CRs at 0 .. 63, the LFs at 1 .. 64): lines
    // one shorter than, as long as and one longer than a block or a quarter of it put lone CRs, lone LFs
    // and CR LF pairs on the first and last position of a block, and on the LF just after it, for every
    // shift of the lines.
    constexpr auto kLargest = vb::LineReader::kMaxRead;
    for (const std::size_t length : {0, 1, 15, 16, 17, 62, 63, 64, 65, 127, 128})
        for (const std::string_view end : {"\n", "\r", "\r\n", "\n\r", "\r\r\n"})
            for (std::size_t shift = 0; shift <= 65; ++shift) {
                std::string lines(shift, '-');
                while (lines.size() < 5'000)
                    lines += std::string(length, 'x') + std::string(end);
                ASSERT_EQ(InRuns(lines, kLargest), Copied(lines, kLargest, 0, false))
                    << "length " << length << ", shift " << shift << ", end " << end.size();
            }
}

TEST(CopyRestWithCrLf, MixedFilesMatchLineByLineAfterAnyHead) {
    // Lines of real-code lengths with all three ends and the end pairs that trip a windowed search
    // (LF CR, CR CR, LF LF) at random places, several runs of the reader long.
    std::uint32_t state = 4711;
    const auto random = [&state](std::uint32_t below) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % below;
    };
    static constexpr std::string_view kEnds[] = {"\r\n", "\r\n", "\r\n", "\n", "\r", "\n\r", "\r\r", "\n\n"};
    for (int file = 0; file < 8; ++file) {
        std::string bytes;
        while (bytes.size() < 20'000) {
            bytes.append(random(5) == 0 ? 0 : random(90), static_cast<char>('a' + random(26)));
            // Files of only CR LF, of only LF, and of everything mixed.
            const auto end = file < 2 ? kEnds[0] : file < 4 ? kEnds[3] : kEnds[random(8)];
            bytes += end;
        }
        if (file % 2)
            bytes.append(random(50), 'z'); // no line end at the end
        for (const int skip : {0, 1, 7})
            ExpectSameAsLineByLine(bytes, skip);
    }
}

} // namespace

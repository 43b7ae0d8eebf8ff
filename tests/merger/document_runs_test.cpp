// Body lines written in runs must be the very bytes the formats write line by line: every format, with
// and without line numbers, over lines full of what the formats escape, replace or convert, with every
// kind of line end and special bytes on both sides of the 64-byte blocks the run writer works in.

#include "merger/document_format.h"
#include "text/code_page.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

namespace {

using merger::DocumentFormat;
using merger::RunText;

class StringOut : public merger::DocumentOut {
public:
    void write(std::string_view bytes) override { text.append(bytes); }
    std::string text;
};

struct LinesRun {
    std::string bytes;              // lines with their ends
    std::vector<std::string> lines; // the same lines, without
};

// Lines of up to about 150 bytes drawn mostly from what the formats treat specially (`high`: characters
// above 0x7F, each drawn whole); ends CR LF, LF or CR, the last line without one when `openEnd`.
LinesRun MakeRun(std::mt19937& random, const std::vector<std::string>& high, bool openEnd) {
    std::vector<std::string> special = {"\x01", "\x1B", "\t", "\b", "\f", "\x7F", "\"",
                                        "\\",   "&",    "<",  ">",  "`",  "]"};
    special.insert(special.end(), high.begin(), high.end());
    LinesRun run;
    const int count = 1 + static_cast<int>(random() % 60);
    for (int k = 0; k < count; ++k) {
        std::string line;
        const std::size_t length = random() % 8 == 0 ? 0 : random() % 151;
        // A file's last line without an end holds at least one byte, else it would be no line.
        while (line.size() < length || (line.empty() && k + 1 == count && openEnd))
            line += random() % 4 == 0 ? special[random() % special.size()]
                                      : std::string(1, static_cast<char>('a' + random() % 26));
        run.bytes += line;
        run.lines.push_back(line);
        if (k + 1 < count || !openEnd) {
            // After a lone CR, an empty line ended by LF alone would read as one CR LF.
            const bool afterCr =
                run.bytes.size() > line.size() && run.bytes[run.bytes.size() - line.size() - 1] == '\r';
            const std::string_view end =
                std::array<const char*, 3>{"\r\n", "\r", "\n"}[random() % (afterCr && line.empty() ? 2 : 3)];
            run.bytes += end;
        }
    }
    return run;
}

TEST(DocumentRuns, EveryFormatWritesARunAsItsLinesOneByOne) {
    std::mt19937 random(32);
    // UTF-8 text with U+FFFE, U+FFFF, U+FFFD and "ü"; Windows-1252 text with the bytes it leaves undefined.
    const std::vector<std::string> utf8High = {"\xEF\xBF\xBE", "\xEF\xBF\xBF", "\xEF\xBF\xBD", "\xC3\xBC"};
    const std::vector<std::string> windowsHigh = {"\x80", "\x81", "\x9D", "\xDC", "\xEF", "\xBF", "\xFF"};
    for (const DocumentFormat format : {DocumentFormat::Markdown, DocumentFormat::Xml, DocumentFormat::Json})
        for (const bool numbers : {false, true})
            for (const RunText text : {RunText::Utf8, RunText::Windows1252})
                for (int round = 0; round < 40; ++round) {
                    const auto formatter = merger::FormatterOf(format, numbers);
                    const LinesRun run =
                        MakeRun(random, text == RunText::Utf8 ? utf8High : windowsHigh, round % 2 == 1);
                    const std::uint64_t first = 1 + random() % 100000;
                    StringOut expected;
                    for (std::size_t k = 0; k < run.lines.size(); ++k)
                        formatter->line(expected,
                                        text == RunText::Utf8 ? run.lines[k]
                                                              : vb::Utf8FromWindows1252(run.lines[k]),
                                        first + k, false);
                    StringOut written;
                    EXPECT_EQ(formatter->lines(written, run.bytes, text, first), run.lines.size());
                    ASSERT_EQ(written.text, expected.text) << "format " << static_cast<int>(format)
                                                           << ", numbers " << numbers << ", round " << round;
                }
}

TEST(DocumentRuns, AnEmptyLineAndALoneCrAtTheEndAreLinesOfTheirOwn) {
    const auto formatter = merger::FormatterOf(DocumentFormat::Json, false);
    StringOut written;
    EXPECT_EQ(formatter->lines(written, "a\r\n\r\rb\n\n", RunText::Utf8, 7), 5u);
    EXPECT_EQ(written.text, ",\n            \"a\",\n            \"\",\n            \"\",\n            \"b\","
                            "\n            \"\"");
}

} // namespace

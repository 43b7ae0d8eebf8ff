// The count reads a member's head in runs of the read buffer; these compare it with the rules applied
// line by line (ScanLine on every line the reader finds), with reads small enough that lines, CR LF pairs,
// "Begin " and "Attribute" fall across every buffer boundary.
#include "counter/scan_member_file.h"
#include "files/line_reader.h"
#include "memory_file.h"
#include "table_view.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using counter::ObjectGroupTable;
using vbtest::Groups;
using vbtest::GroupsOf;
using vbtest::MemoryFile;

struct Result {
    Groups groups;
    vb::TextKind text;
    std::string rest; // the first line the reader gives after the scan
    bool operator==(const Result&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Result& r) {
    return out << r.groups.size() << " groups, text " << static_cast<int>(r.text) << ", then \"" << r.rest
               << '"';
}

Result Finish(vb::LineReader& reader, const ObjectGroupTable& table) {
    std::string_view line;
    return {GroupsOf(table), table.Text, reader.next(line) ? std::string(line) : "<end>"};
}

Result LineByLine(std::string_view bytes, std::size_t maxRead) {
    MemoryFile file(bytes);
    vb::LineReader reader(file.fd(), "m.frm", maxRead);
    ObjectGroupTable table;
    std::string_view line;
    while (reader.next(line)) {
        table.Text = vb::Together(table.Text, vb::TextKindOf(line));
        if (!counter::ScanLine(line, table, reader.path()))
            break;
    }
    return Finish(reader, table);
}

Result InRuns(std::string_view bytes, std::size_t maxRead) {
    MemoryFile file(bytes);
    vb::LineReader reader(file.fd(), "m.frm", maxRead);
    ObjectGroupTable table;
    counter::ScanLines(reader, table);
    return Finish(reader, table);
}

void ExpectSameAsLineByLine(std::string_view bytes) {
    for (const std::size_t maxRead : {1, 2, 3, 6, 9, 16, 64, 4096, 65536})
        ASSERT_EQ(InRuns(bytes, maxRead), LineByLine(bytes, maxRead)) << "read size " << maxRead;
}

TEST(ScanLines, StopLineAndWhatFollowsItAtEveryBufferBoundary) {
    for (std::size_t pad = 0; pad < 40; ++pad) {
        const std::string before(pad, 'x');
        // The stop line ends with CR LF, CR, LF, or the file.
        for (const std::string_view end : {"\r\n", "\r", "\n", ""}) {
            ExpectSameAsLineByLine(before + "\r\nBegin VB.Label a\r\nAttribute VB_Name" + std::string(end) +
                                   "Begin VB.Label spaet\r\n");
            ExpectSameAsLineByLine(before + "\nAttribute" + std::string(end) + "\nzwei");
            ExpectSameAsLineByLine(before + "\rAttribute" + std::string(end) + "Begin VB.Label spaet");
        }
        // "Attribute" not at a line start, and "Begin " across a line end, declare and stop nothing.
        ExpectSameAsLineByLine(before + " Attribute\r\nBegin\r\n VB.Label x\r\nBegin VB.Label y");
        ExpectSameAsLineByLine("Attribute" + before); // the file's first line is the stop
    }
}

TEST(ScanLines, DeclarationsAndTextOfRealLookingHeads) {
    // Heads of nested controls with ASCII, UTF-8 and 8-bit captions and all three line ends, and a file
    // that has no stop line at all.
    std::uint32_t state = 99;
    const auto random = [&state](std::uint32_t below) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % below;
    };
    static constexpr std::string_view kEnds[] = {"\r\n", "\n", "\r"};
    static constexpr std::string_view kCaptions[] = {"Kunde",
                                                     "Gr\xC3\xB6\xC3\x9F"
                                                     "e",
                                                     "Gr\xF6\xDF"
                                                     "e"};
    for (int file = 0; file < 12; ++file) {
        std::string bytes = "VERSION 5.00\r\nBegin VB.Form frmHaupt \r\n";
        const auto end = [&] { return kEnds[file < 3 ? file : random(3)]; };
        for (int k = 0; k < 300; ++k) {
            bytes += std::string(random(4) * 3, ' ') + "Begin VB.Label lbl" + std::to_string(random(40));
            bytes += random(2) ? " " : "";
            bytes += end();
            bytes += "      Caption = \"";
            bytes += kCaptions[file % 4 == 3 ? 0 : random(file % 4 == 2 ? 3 : 2)];
            bytes += "\"";
            bytes += end();
            if (random(9) == 0)
                bytes += "   BeginProperty Font" + std::string(end()); // a declaration by the rules too
            bytes += "   End" + std::string(end());
        }
        if (file != 11)
            bytes += "End\r\nAttribute VB_Name = \"frmHaupt\"\r\nBegin VB.Label danach\r\n";
        ExpectSameAsLineByLine(bytes);
    }
}

} // namespace

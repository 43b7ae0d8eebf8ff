// The merger's head rules on any member: the body is a run of the member's lines, unchanged and in order,
// each ended with CR LF, and nothing is read past the member's end.
#include "fuzz_support.h"
#include "merger/head_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const auto rule = static_cast<merger::HeadRule>(data[0] % 3);
    const bool option = (data[0] & 0x80) != 0;
    const std::string_view member(reinterpret_cast<const char*>(data) + 1, size - 1);
    // The merge refuses UTF-16 text, whose bytes it cannot copy as they are.
    if (member.starts_with("\xFF\xFE") || member.starts_with("\xFE\xFF"))
        return 0;
    const vbfuzz::MemoryFile in(member);
    const vbfuzz::MemoryFile out("");
    {
        vb::LineReader reader(in.fd(), "fuzz", 1 + data[0] % 5);
        reader.keepBytes(); // as the merge reads a member
        vb::LineWriter writer(out.fd(), "fuzz");
        merger::CopyMemberBody(rule, option, reader, writer);
        writer.flush();
        std::string_view rest;
        vbfuzz::Check(!reader.next(rest), "the member was not read to its end");
    }
    const std::string written = out.contents();
    vbfuzz::Check(written.empty() || written.ends_with("\r\n"), "the body does not end with CR LF");
    const auto inputLines = vbfuzz::SplitLines(member);
    std::vector<std::string_view> outputLines;
    for (std::size_t start = 0; start < written.size();) {
        const auto end = written.find("\r\n", start);
        vbfuzz::Check(end != std::string::npos, "a written line without CR LF");
        outputLines.push_back(std::string_view(written).substr(start, end - start));
        start = end + 2;
    }
    // Every written line is an input line, in order; after the head everything is copied, so the output
    // ends with the input's last line.
    std::size_t at = 0;
    for (const auto line : outputLines) {
        while (at < inputLines.size() && inputLines[at] != line)
            ++at;
        vbfuzz::Check(at < inputLines.size(), "a written line that the member does not hold in that order");
        ++at;
    }
    if (!outputLines.empty())
        vbfuzz::Check(outputLines.back() == inputLines.back(), "the copy stopped before the member's end");
    return 0;
}

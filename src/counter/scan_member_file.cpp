#include "scan_member_file.h"

#include "text/member_path.h"
#include "text/runtime_error.h"

#include <cstddef>

namespace counter {

namespace {

constexpr std::string_view kBegin = "Begin ";
constexpr std::string_view kOwnForm = "VB.Form";
constexpr std::string_view kStop = "Attribute";

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// The name of the object that a declaration of `typeText` makes in `line`.
std::string_view NameAfter(std::string_view line, std::string_view typeText) {
    // The type text stands in the line, so it is found at or before its place after "Begin ".
    const auto start = line.find(typeText) + typeText.size() + 1;
    if (start >= line.size())
        return {};
    return TrimBlanks(line.substr(start));
}

// Adds `name` to the group of `typeText`, creating the group after the last one in use when no group has
// that type text. A 101st type or a 1001st name of one type is RuntimeError 9; the table is then unchanged.
void AddObject(ObjectGroupTable& table, std::string_view typeText, std::string_view name,
               const std::string& path) {
    ObjectGroup* group = table.GroupOfType(typeText);
    if (!group) {
        if (table.GroupCount == kMaxGroups)
            throw vb::RuntimeError(vb::err::SubscriptOutOfRange, path);
        // Slots of an earlier, bigger file are reused; they are empty after Reset.
        const auto slot = static_cast<std::size_t>(table.GroupCount);
        if (table.Groups.size() == slot)
            table.Groups.emplace_back();
        if (table.GroupTypes.size() == slot)
            table.GroupTypes.emplace_back();
        table.GroupTypes[slot].assign(typeText);
        ++table.GroupCount;
        group = &table.Groups[slot];
    }
    if (group->NameCount == kMaxNames)
        throw vb::RuntimeError(vb::err::SubscriptOutOfRange, path);
    group->Names.emplace_back(name);
    ++group->NameCount;
}

constexpr bool IsLineEnd(char c) noexcept {
    return c == '\r' || c == '\n';
}

// Where the line that holds `at` starts and where its end (or the run's end) is.
std::size_t LineStartBefore(std::string_view run, std::size_t at) {
    while (at > 0 && !IsLineEnd(run[at - 1]))
        --at;
    return at;
}

std::size_t LineEndFrom(std::string_view run, std::size_t at) {
    const auto end = run.find_first_of("\r\n", at);
    return end == std::string_view::npos ? run.size() : end;
}

// Notes the text of run[from, to) in table.Text; once a line was 8-bit nothing can change it.
void NoteText(ObjectGroupTable& table, std::string_view run, std::size_t from, std::size_t to) {
    if (table.Text != vb::TextKind::EightBit && to > from)
        table.Text = vb::Together(table.Text, vb::TextKindOf(run.substr(from, to - from)));
}

// Applies the rules to the whole lines of `run` (line ends included) as ScanLine does line by line, but
// looks only where "Begin " stands, and for the stop only at "Attribute" that starts a line. Returns the
// number of bytes after the stop line, or npos when the run holds no stop line.
std::size_t ScanRun(std::string_view run, ObjectGroupTable& table, const std::string& path) {
    std::size_t headEnd = run.size();
    std::size_t after = std::string_view::npos;
    for (auto at = run.find(kStop); at != std::string_view::npos; at = run.find(kStop, at + 1)) {
        if (at == 0 || IsLineEnd(run[at - 1])) {
            // The stop line's end is part of the head: CR LF, or a CR or LF alone.
            headEnd = LineEndFrom(run, at);
            if (headEnd < run.size())
                headEnd +=
                    run[headEnd] == '\r' && headEnd + 1 < run.size() && run[headEnd + 1] == '\n' ? 2 : 1;
            after = run.size() - headEnd;
            break;
        }
    }
    const std::string_view head = run.substr(0, headEnd);
    std::size_t noted = 0; // the text of the lines before this was noted
    for (auto at = head.find(kBegin); at != std::string_view::npos; at = head.find(kBegin, at)) {
        const std::size_t start = LineStartBefore(head, at);
        const std::size_t end = LineEndFrom(head, at);
        // The text of a line is noted before its declaration, which may fail.
        NoteText(table, head, noted, end);
        noted = end;
        ScanLine(head.substr(start, end - start), table, path);
        at = end;
    }
    NoteText(table, head, noted, head.size());
    return after;
}

} // namespace

bool ScanLine(std::string_view line, ObjectGroupTable& table, const std::string& path) {
    const auto begin = line.find(kBegin);
    if (begin != std::string_view::npos) {
        const auto typeStart = begin + kBegin.size();
        const auto blank = line.find(' ', typeStart);
        const auto typeText = blank == std::string_view::npos ? line.substr(typeStart)
                                                              : line.substr(typeStart, blank - typeStart);
        if (typeText != kOwnForm)
            AddObject(table, typeText, NameAfter(line, typeText), path);
    }
    return !line.starts_with(kStop);
}

void ScanLines(vb::LineReader& reader, ObjectGroupTable& table) {
    // Whole lines a buffer at a time: the rules hold line by line, and runs never cut a line.
    std::string_view run;
    while (reader.nextLines(run)) {
        if (const auto after = ScanRun(run, table, reader.path()); after != std::string_view::npos) {
            reader.giveBack(after);
            return;
        }
    }
}

void ScanMemberFile(const std::string& fileName, ObjectGroupTable& table,
                    const std::function<void()>& afterReset) {
    vb::MemberLookup lookup;
    ScanMemberFile(fileName, table, lookup, afterReset);
}

void ScanMemberFile(const std::string& fileName, ObjectGroupTable& table, vb::MemberLookup& lookup,
                    const std::function<void()>& afterReset) {
    if (auto missing = ScanMemberFileIfItOpens(fileName, table, lookup, afterReset))
        throw std::move(*missing);
}

std::optional<vb::RuntimeError> ScanMemberFileIfItOpens(const std::string& fileName, ObjectGroupTable& table,
                                                        vb::MemberLookup& lookup,
                                                        const std::function<void()>& afterReset) {
    table.Reset();
    if (afterReset)
        afterReset();
    std::optional<vb::LineReader> reader;
    if (auto missing = lookup.openInto(fileName, reader))
        return missing;
    ScanLines(*reader, table);
    return std::nullopt;
}

} // namespace counter

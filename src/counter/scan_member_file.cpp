#include "scan_member_file.h"

#include "text/member_path.h"
#include "text/runtime_error.h"

#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Where the line that holds `at` starts, and where its end (or the run's end) is.
std::size_t LineStartBefore(std::string_view run, std::size_t at) {
    while (at > 0 && !IsLineEnd(run[at - 1]))
        --at;
    return at;
}

std::size_t LineEndFrom(std::string_view run, std::size_t at) {
    return static_cast<std::size_t>(vb::FindLineEnd(run.data() + at, run.data() + run.size()) - run.data());
}

// Notes the text of run[from, to) in table.Text; once a line was 8-bit nothing can change it.
void NoteText(ObjectGroupTable& table, std::string_view run, std::size_t from, std::size_t to) {
    if (table.Text != vb::TextKind::EightBit && to > from)
        table.Text = vb::Together(table.Text, vb::TextKindOf(run.substr(from, to - from)));
}

struct Mark {
    std::size_t at;
    bool stop; // "Attribute" at a line start, else "Begin "
};

bool StopAt(std::string_view run, std::size_t at) {
    return (at == 0 || IsLineEnd(run[at - 1])) && run.substr(at).starts_with(kStop);
}

// The first "Begin " or line-starting "Attribute" in `run` at or after `from` (a line start, or
// the line end before one), or run.size().
Mark FindMark(std::string_view run, std::size_t from) {
    if (from == 0 && StopAt(run, 0))
        return {0, true};
    const char* base = run.data();
    std::size_t at = from;
#if defined(__SSE2__)
    // Sixteen places at a time: "Beg" starting there, or a line end followed by "At"; most windows of a
    // head hold neither, and the few that do are checked in full below.
    const __m128i B = _mm_set1_epi8('B'), e = _mm_set1_epi8('e'), g = _mm_set1_epi8('g');
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
    const __m128i A = _mm_set1_epi8('A'), t = _mm_set1_epi8('t');
    for (; run.size() - at >= 18; at += 16) {
        const auto load = [&](std::size_t k) {
            return _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + at + k));
        };
        const __m128i b0 = load(0), b1 = load(1), b2 = load(2);
        const __m128i begin =
            _mm_and_si128(_mm_cmpeq_epi8(b0, B), _mm_and_si128(_mm_cmpeq_epi8(b1, e), _mm_cmpeq_epi8(b2, g)));
        const __m128i stop = _mm_and_si128(_mm_or_si128(_mm_cmpeq_epi8(b0, cr), _mm_cmpeq_epi8(b0, lf)),
                                           _mm_and_si128(_mm_cmpeq_epi8(b1, A), _mm_cmpeq_epi8(b2, t)));
        for (auto hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(begin, stop))); hits != 0;
             hits &= hits - 1) {
            const std::size_t k = at + static_cast<std::size_t>(__builtin_ctz(hits));
            if (run.substr(k).starts_with(kBegin))
                return {k, false};
            if (StopAt(run, k + 1))
                return {k + 1, true};
        }
    }
#endif
    for (; at < run.size(); ++at) {
        if (run[at] == 'B' && run.substr(at).starts_with(kBegin))
            return {at, false};
        if (IsLineEnd(run[at]) && StopAt(run, at + 1))
            return {at + 1, true};
    }
    return {run.size(), false};
}

// Applies the rules to the whole lines of `run` (line ends included) as ScanLine does line by line, but
// looks only where "Begin " or a line-starting "Attribute" stands. Returns the number of bytes after the
// stop line, or npos when the run holds no stop line.
std::size_t ScanRun(std::string_view run, ObjectGroupTable& table, const std::string& path) {
    std::size_t noted = 0; // the text of the lines before this was noted
    for (std::size_t from = 0;;) {
        const Mark mark = FindMark(run, from);
        if (mark.at == run.size()) {
            NoteText(table, run, noted, run.size());
            return std::string_view::npos;
        }
        const std::size_t start = mark.stop ? mark.at : LineStartBefore(run, mark.at);
        std::size_t end = LineEndFrom(run, mark.at);
        // The text of a line is noted before its declaration, which may fail.
        NoteText(table, run, noted, end);
        noted = end;
        ScanLine(run.substr(start, end - start), table, path);
        if (mark.stop) {
            // The stop line's end is part of the head: CR LF, or a CR or LF alone.
            if (end < run.size())
                end += run[end] == '\r' && end + 1 < run.size() && run[end + 1] == '\n' ? 2 : 1;
            return run.size() - end;
        }
        from = end;
    }
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

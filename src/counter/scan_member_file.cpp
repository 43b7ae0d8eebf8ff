#include "scan_member_file.h"

#include "errors/runtime_error.h"
#include "files/member_path.h"

#include <array>
#include <cstddef>
#include <functional>

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace counter {

namespace {

constexpr std::string_view kBegin = "Begin ";
constexpr std::string_view kOwnForm = "VB.Form";
constexpr std::string_view kStop = "Attribute";
// Heads are read in steps of this size: most heads fit in one or two, and no read passes the end of a head
// by more than one step, however large the file behind it.
constexpr std::size_t kHeadRead = 16 * 1024;

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// The name of the object that a declaration of `typeText` makes in `line`, where the type text stands
// from `typeStart` on.
std::string_view NameAfter(std::string_view line, std::string_view typeText, std::size_t typeStart) {
    // Its first occurrence is at or before its place after "Begin ", so only that far is searched.
    const auto start = line.substr(0, typeStart + typeText.size()).find(typeText) + typeText.size() + 1;
    if (start >= line.size())
        return {};
    return TrimBlanks(line.substr(start));
}

// Where a scan last found the groups of a few type texts, so that a head with many types does not compare
// a declaration's type text with every group before its own. A place is only a hint: it is taken when the
// group there has the type text, and the table is searched otherwise.
class TypeHints {
public:
    ObjectGroup* groupOf(ObjectGroupTable& table, std::string_view typeText) {
        const std::size_t hint = hints_[place(typeText)];
        if (hint < static_cast<std::size_t>(table.GroupCount) && table.GroupTypes[hint] == typeText)
            return &table.Groups[hint];
        return table.GroupOfType(typeText);
    }
    void note(std::string_view typeText, std::size_t slot) { hints_[place(typeText)] = slot; }

private:
    // A few bytes and the length tell the type texts of a head apart well enough for a hint, at a
    // fraction of the cost of hashing every byte; a clash only sends the lookup to the table.
    static std::size_t place(std::string_view typeText) noexcept {
        const std::size_t size = typeText.size();
        if (size == 0)
            return 0;
        const auto at = [&](std::size_t k) {
            return static_cast<std::size_t>(static_cast<unsigned char>(typeText[k]));
        };
        return (size * 31 + at(size - 1) * 7 + at(size / 2) * 3 + at(size * 3 / 4)) % kPlaces;
    }
    static constexpr std::size_t kPlaces = 64;
    std::array<std::size_t, kPlaces> hints_{};
};

// Adds the name `nameOf()` gives to the group of `typeText` (or only counts it, without KeepNames),
// creating the group after the last one in use when no group has that type text. A 101st type or a 1001st
// name of one type is RuntimeError 9; the table is then unchanged.
template <class NameOf>
void AddObject(ObjectGroupTable& table, std::string_view typeText, const NameOf& nameOf,
               const std::string& path, TypeHints* hints = nullptr) {
    ObjectGroup* group = hints ? hints->groupOf(table, typeText) : table.GroupOfType(typeText);
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
        if (hints)
            hints->note(typeText, slot);
    }
    if (group->NameCount == kMaxNames)
        throw vb::RuntimeError(vb::err::SubscriptOutOfRange, path);
    if (table.KeepNames)
        group->Names.emplace_back(nameOf());
    ++group->NameCount;
}

// The declaration of a line whose first "Begin " stands at `begin`.
void Declare(std::string_view line, std::size_t begin, ObjectGroupTable& table, const std::string& path,
             TypeHints* hints = nullptr) {
    const auto typeStart = begin + kBegin.size();
    const auto blank = line.find(' ', typeStart);
    const auto typeText =
        blank == std::string_view::npos ? line.substr(typeStart) : line.substr(typeStart, blank - typeStart);
    if (typeText != kOwnForm)
        AddObject(
            table, typeText, [&] { return NameAfter(line, typeText, typeStart); }, path, hints);
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

// Whether place k of `run`, picked by a filter below, is a mark: "Begin " there, or a line end there
// followed by a line-starting "Attribute".
bool MarkAt(std::string_view run, std::size_t k, Mark& mark) {
    if (run[k] == 'B' && run.substr(k).starts_with(kBegin)) {
        mark = {k, false};
        return true;
    }
    if (IsLineEnd(run[k]) && StopAt(run, k + 1)) {
        mark = {k + 1, true};
        return true;
    }
    return false;
}

// The filters look at many places at once for "Be" or a line end followed by "A": most stretches of a
// head hold neither, and the few places that do are checked in full by MarkAt. Each returns the place
// where it stopped looking (fewer bytes than it takes at a time were left), or run.size() with `mark`
// set when it found one.
#if defined(__x86_64__)
__attribute__((target("avx2"))) std::size_t FilterAvx2(std::string_view run, std::size_t at, Mark& mark) {
    const char* base = run.data();
    const __m256i B = _mm256_set1_epi8('B'), e = _mm256_set1_epi8('e'), A = _mm256_set1_epi8('A');
    const __m256i cr = _mm256_set1_epi8('\r'), lf = _mm256_set1_epi8('\n');
    for (; run.size() - at >= 33; at += 32) {
        const __m256i b0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(base + at));
        const __m256i b1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(base + at + 1));
        const __m256i begin = _mm256_and_si256(_mm256_cmpeq_epi8(b0, B), _mm256_cmpeq_epi8(b1, e));
        const __m256i stop = _mm256_and_si256(
            _mm256_or_si256(_mm256_cmpeq_epi8(b0, cr), _mm256_cmpeq_epi8(b0, lf)), _mm256_cmpeq_epi8(b1, A));
        for (auto hits = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_or_si256(begin, stop))); hits != 0;
             hits &= hits - 1)
            if (MarkAt(run, at + static_cast<std::size_t>(__builtin_ctz(hits)), mark))
                return run.size();
    }
    return at;
}

bool HasAvx2() {
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}
#endif

#if defined(__SSE2__)
std::size_t FilterSse2(std::string_view run, std::size_t at, Mark& mark) {
    const char* base = run.data();
    const __m128i B = _mm_set1_epi8('B'), e = _mm_set1_epi8('e'), A = _mm_set1_epi8('A');
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
    for (; run.size() - at >= 17; at += 16) {
        const __m128i b0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + at));
        const __m128i b1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + at + 1));
        const __m128i begin = _mm_and_si128(_mm_cmpeq_epi8(b0, B), _mm_cmpeq_epi8(b1, e));
        const __m128i stop = _mm_and_si128(_mm_or_si128(_mm_cmpeq_epi8(b0, cr), _mm_cmpeq_epi8(b0, lf)),
                                           _mm_cmpeq_epi8(b1, A));
        for (auto hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(begin, stop))); hits != 0;
             hits &= hits - 1)
            if (MarkAt(run, at + static_cast<std::size_t>(__builtin_ctz(hits)), mark))
                return run.size();
    }
    return at;
}
#endif

// The first "Begin " or line-starting "Attribute" in `run` at or after `from` (a line start, or
// the line end before one), or run.size().
Mark FindMark(std::string_view run, std::size_t from) {
    Mark mark{run.size(), false};
    if (from == 0 && StopAt(run, 0))
        return {0, true};
    std::size_t at = from;
#if defined(__x86_64__)
    if (HasAvx2() && (at = FilterAvx2(run, at, mark)) == run.size())
        return mark;
#endif
#if defined(__SSE2__)
    if ((at = FilterSse2(run, at, mark)) == run.size())
        return mark;
#endif
    for (; at < run.size(); ++at)
        if (MarkAt(run, at, mark))
            return mark;
    return {run.size(), false};
}

// Applies the rules to the whole lines of `run` (line ends included) as ScanLine does line by line, but
// looks only where "Begin " or a line-starting "Attribute" stands. Returns the number of bytes after the
// stop line, or npos when the run holds no stop line.
std::size_t ScanRun(std::string_view run, ObjectGroupTable& table, const std::string& path,
                    TypeHints& hints) {
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
        // A "Begin " mark is the first in its line, and that line does not start with "Attribute" (that
        // would have been the mark).
        if (mark.stop)
            ScanLine(run.substr(start, end - start), table, path);
        else
            Declare(run.substr(start, end - start), mark.at - start, table, path, &hints);
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
    if (const auto begin = line.find(kBegin); begin != std::string_view::npos)
        Declare(line, begin, table, path);
    return !line.starts_with(kStop);
}

void ScanLines(vb::LineReader& reader, ObjectGroupTable& table) {
    // Whole lines a buffer at a time: the rules hold line by line, and runs never cut a line.
    std::string_view run;
    TypeHints hints;
    while (reader.nextLines(run)) {
        if (const auto after = ScanRun(run, table, reader.path(), hints); after != std::string_view::npos) {
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
    if (auto missing = lookup.openInto(fileName, reader, kHeadRead))
        return missing;
    ScanLines(*reader, table);
    return std::nullopt;
}

} // namespace counter

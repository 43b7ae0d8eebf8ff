#include "merger/head_rules.h"

#include "files/crlf_copy.h"

#include <string_view>

namespace merger {

namespace {

constexpr std::string_view kBegin = "Begin";
constexpr std::string_view kAttribute = "Attribute";

// Reads `count` lines, writing each when `write` is set. False when the file ended first.
template <class In, class Out> bool PassLines(In& in, Out* out, int count, bool write) {
    std::string_view line;
    for (int i = 0; i < count; ++i) {
        if (!in.next(line))
            return false;
        if (write && out)
            out->writeLine(line);
    }
    return true;
}

// Reads lines until one begins with `prefix`, dropping them all, that line included unless `writeFound`.
// False when the file ended first.
template <class In, class Out>
bool SkipToLineBeginning(In& in, Out* out, std::string_view prefix, bool writeFound) {
    std::string_view line;
    do {
        if (!in.next(line))
            return false;
    } while (!line.starts_with(prefix));
    if (writeFound && out)
        out->writeLine(line);
    return true;
}

// Writes lines until one beginning with `prefix` is written. False when the file ended first.
template <class In, class Out> bool WriteThroughLineBeginning(In& in, Out* out, std::string_view prefix) {
    std::string_view line;
    do {
        if (!in.next(line))
            return false;
        if (out)
            out->writeLine(line);
    } while (!line.starts_with(prefix));
    return true;
}

// Each head returns false when the file ended inside it. Without `out` the lines are only read.
template <class In, class Out> bool ObjectDescriptionHead(bool optionSet, In& in, Out* out) {
    if (optionSet) {
        // The "Begin" line is written without being tested for "Attribute".
        return SkipToLineBeginning(in, out, kBegin, true) && WriteThroughLineBeginning(in, out, kAttribute) &&
               PassLines(in, out, 4, true);
    }
    return SkipToLineBeginning(in, out, kAttribute, false) && PassLines(in, out, 4, false);
}

template <class In, class Out> bool ModuleHead(bool optionSet, In& in, Out* out) {
    return PassLines(in, out, 1, optionSet);
}

template <class In, class Out> bool ClassModuleHead(bool optionSet, In& in, Out* out) {
    return PassLines(in, out, 1, false) && PassLines(in, out, 8, optionSet);
}

// The helpers read from `In` (a vb::LineReader or one that counts) and write to `Out` (a vb::LineWriter or
// a sink for the selected lines), so every use runs the same rules.
template <class In, class Out> bool PassHead(HeadRule rule, bool optionSet, In& in, Out* out) {
    switch (rule) {
    case HeadRule::ObjectDescription:
        return ObjectDescriptionHead(optionSet, in, out);
    case HeadRule::Module:
        return ModuleHead(optionSet, in, out);
    case HeadRule::ClassModule:
        break;
    }
    return ClassModuleHead(optionSet, in, out);
}

// Counts the lines read and shows each one to `everyLine`, when given.
class NumberedReader {
public:
    NumberedReader(vb::LineReader& in, const SelectedLine& everyLine) : in_(in), everyLine_(everyLine) {}
    bool next(std::string_view& line) {
        if (!in_.next(line))
            return false;
        ++number_;
        if (everyLine_)
            everyLine_(line, number_);
        return true;
    }
    std::uint64_t number() const noexcept { return number_; }

private:
    vb::LineReader& in_;
    const SelectedLine& everyLine_;
    std::uint64_t number_ = 0;
};

// Hands each line written to `selected` with its number in the file.
class SelectedSink {
public:
    SelectedSink(const NumberedReader& in, const SelectedLine& selected) : in_(in), selected_(selected) {}
    void writeLine(std::string_view line) { selected_(line, in_.number()); }

private:
    const NumberedReader& in_;
    const SelectedLine& selected_;
};

// Stops the head after the first line it selects, so that the rest goes out in runs.
class UpToFirstSelected {
public:
    UpToFirstSelected(NumberedReader& in, const SelectedLine& selected) : in_(in), selected_(selected) {}
    bool next(std::string_view& line) { return !written_ && in_.next(line); }
    void writeLine(std::string_view line) {
        selected_(line, in_.number());
        written_ = true;
    }
    bool written() const noexcept { return written_; }

private:
    NumberedReader& in_;
    const SelectedLine& selected_;
    bool written_ = false;
};

// Runs a head up to the first line it writes and ends it there: every rule drops lines only before the
// first line it writes and writes every line after that one, so the rest of the file from there on goes
// to the writer in runs of the read buffer (CopyRestWithCrLf) instead of line by line.
class UpToFirstWritten {
public:
    UpToFirstWritten(vb::LineReader& in, vb::LineWriter& out) : in_(in), out_(out) {}
    bool next(std::string_view& line) { return !written_ && in_.next(line); }
    void writeLine(std::string_view line) {
        out_.writeLine(line);
        written_ = true;
    }
    bool written() const noexcept { return written_; }

private:
    vb::LineReader& in_;
    vb::LineWriter& out_;
    bool written_ = false;
};

} // namespace

HeadRule HeadRuleOf(vb::SourceKind kind) {
    switch (kind) {
    case vb::SourceKind::Module:
        return HeadRule::Module;
    case vb::SourceKind::ClassModule:
        return HeadRule::ClassModule;
    case vb::SourceKind::Form:
    case vb::SourceKind::UserControl:
    case vb::SourceKind::PropertyPage:
        break;
    }
    return HeadRule::ObjectDescription;
}

void CopyMemberBody(HeadRule rule, bool optionSet, vb::LineReader& in, vb::LineWriter& out) {
    UpToFirstWritten head(in, out);
    // A head cut at its first written line reads as one whose file ended; the rest follows that line.
    if (PassHead(rule, optionSet, head, &head) || head.written())
        vb::CopyRestWithCrLf(in, out);
}

bool HoldsItsHead(HeadRule rule, bool optionSet, vb::LineReader& in) {
    return PassHead(rule, optionSet, in, static_cast<vb::LineWriter*>(nullptr));
}

void SelectMemberLines(HeadRule rule, bool optionSet, vb::LineReader& in, const SelectedLine& selected,
                       const SelectedLine& everyLine) {
    NumberedReader numbered(in, everyLine);
    SelectedSink sink(numbered, selected);
    if (!PassHead(rule, optionSet, numbered, &sink))
        return;
    std::string_view line;
    while (numbered.next(line))
        sink.writeLine(line);
}

void SelectMemberRuns(HeadRule rule, bool optionSet, vb::LineReader& in, const SelectedLine& selected,
                      const SelectedRun& rest, const SelectedLine& everyLine) {
    NumberedReader numbered(in, everyLine);
    UpToFirstSelected head(numbered, selected);
    if (!PassHead(rule, optionSet, head, &head) && !head.written())
        return;
    std::string_view lines;
    while (in.nextLines(lines))
        rest(lines, numbered.number());
}

} // namespace merger

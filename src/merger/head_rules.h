#pragma once
// How much of a member file reaches the merged file. Each kind has a head rule that drops a fixed head of
// the file (or, with the option set, only the lines before the object description); every line after the
// head is copied unchanged. No rule drops a line after one it wrote: each drops a first stretch of lines
// and writes all the others.

#include "files/line_reader.h"
#include "files/line_writer.h"
#include "project/source_kind.h"

#include <cstdint>
#include <functional>
#include <string_view>

namespace merger {

enum class HeadRule {
    // Forms, user controls, property pages. Option set: lines before the first line beginning with "Begin"
    // are dropped; that line and the following ones are written up to and including the first later line
    // beginning with "Attribute", then four more. Option not set: everything up to and including the first
    // line beginning with "Attribute" is dropped, then four more lines.
    ObjectDescription,
    // The first line is written only with the option set.
    Module,
    // The first line is dropped; the next eight are written only with the option set.
    ClassModule,
};

HeadRule HeadRuleOf(vb::SourceKind kind);

// Applies `rule` to the lines of `in`, then copies the rest of them to `out`. "Begins with" compares the
// first bytes of a line exactly, so an indented line never matches and "BeginProperty" matches "Begin".
// A file that ends inside its head contributes what the rule wrote until then; once the end is reached
// nothing more is read.
void CopyMemberBody(HeadRule rule, bool optionSet, vb::LineReader& in, vb::LineWriter& out);

// True when `in` holds every line the head of `rule` needs (a member that ends inside its head gives the
// merged file only part of it). Reads the head's lines and nothing after them.
bool HoldsItsHead(HeadRule rule, bool optionSet, vb::LineReader& in);

// A line of a member file with its number in the file (the first line is 1).
using SelectedLine = std::function<void(std::string_view line, std::uint64_t number)>;

// The same rule as CopyMemberBody, for a writer that is no vb::LineWriter: `selected` gets each line
// CopyMemberBody would write, in order; `everyLine` (when given) every line read, the dropped ones too.
void SelectMemberLines(HeadRule rule, bool optionSet, vb::LineReader& in, const SelectedLine& selected,
                       const SelectedLine& everyLine = {});

// Whole lines with their ends (CR LF, CR or LF; the file's last line perhaps without one), in runs of the
// read buffer; `headLines` is the number of lines read before the first run (the same in every call), so
// a caller that numbers lines counts on from there.
using SelectedRun = std::function<void(std::string_view lines, std::uint64_t headLines)>;

// SelectMemberLines for a writer that works through many lines at once: the lines of the head up to and
// including the first selected one go to `selected` (and `everyLine`) one by one, every line after that
// one to `rest` in runs.
void SelectMemberRuns(HeadRule rule, bool optionSet, vb::LineReader& in, const SelectedLine& selected,
                      const SelectedRun& rest, const SelectedLine& everyLine = {});

} // namespace merger

#include "merger/head_rules.h"

#include <string_view>

namespace merger {

namespace {

constexpr std::string_view kBegin = "Begin";
constexpr std::string_view kAttribute = "Attribute";

// Reads `count` lines, writing each when `write` is set. False when the file ended first.
bool PassLines(vb::LineReader& in, vb::LineWriter* out, int count, bool write) {
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
bool SkipToLineBeginning(vb::LineReader& in, vb::LineWriter* out, std::string_view prefix, bool writeFound) {
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
bool WriteThroughLineBeginning(vb::LineReader& in, vb::LineWriter* out, std::string_view prefix) {
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
bool ObjectDescriptionHead(bool optionSet, vb::LineReader& in, vb::LineWriter* out) {
    if (optionSet) {
        // The "Begin" line is written without being tested for "Attribute".
        return SkipToLineBeginning(in, out, kBegin, true) && WriteThroughLineBeginning(in, out, kAttribute) &&
               PassLines(in, out, 4, true);
    }
    return SkipToLineBeginning(in, out, kAttribute, false) && PassLines(in, out, 4, false);
}

bool ModuleHead(bool optionSet, vb::LineReader& in, vb::LineWriter* out) {
    return PassLines(in, out, 1, optionSet);
}

bool ClassModuleHead(bool optionSet, vb::LineReader& in, vb::LineWriter* out) {
    return PassLines(in, out, 1, false) && PassLines(in, out, 8, optionSet);
}

bool PassHead(HeadRule rule, bool optionSet, vb::LineReader& in, vb::LineWriter* out) {
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
    if (!PassHead(rule, optionSet, in, &out))
        return;
    std::string_view line;
    while (in.next(line))
        out.writeLine(line);
}

bool HoldsItsHead(HeadRule rule, bool optionSet, vb::LineReader& in) {
    return PassHead(rule, optionSet, in, nullptr);
}

} // namespace merger

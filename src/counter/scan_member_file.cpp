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
    std::string_view line;
    while (reader.next(line)) {
        table.Text = vb::Together(table.Text, vb::TextKindOf(line));
        if (!ScanLine(line, table, reader.path()))
            return;
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

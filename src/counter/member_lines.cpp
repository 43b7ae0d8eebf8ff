#include "member_lines.h"

namespace counter {

namespace {

constexpr std::string_view kBegin = "Begin";
constexpr std::string_view kAttribute = "Attribute";

bool IsBlankOrTab(char c) noexcept {
    return c == ' ' || c == '\t';
}

bool IsBlank(std::string_view line) noexcept {
    for (const char c : line)
        if (!IsBlankOrTab(c))
            return false;
    return true;
}

bool IsComment(std::string_view line) noexcept {
    std::size_t i = 0;
    while (i < line.size() && IsBlankOrTab(line[i]))
        ++i;
    const std::string_view text = line.substr(i);
    if (text.starts_with('\''))
        return true;
    if (text.size() < 3)
        return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(text[0]) != 'r' || lower(text[1]) != 'e' || lower(text[2]) != 'm')
        return false;
    return text.size() == 3 || IsBlankOrTab(text[3]);
}

LineKind CountCode(LineTally& tally, std::string_view line) noexcept {
    ++tally.code;
    if (IsBlank(line)) {
        ++tally.blank;
        return LineKind::Blank;
    }
    if (IsComment(line)) {
        ++tally.comments;
        return LineKind::Comment;
    }
    return LineKind::Code;
}

} // namespace

LineTally& LineTally::operator+=(const LineTally& other) noexcept {
    lines += other.lines;
    description += other.description;
    attributes += other.attributes;
    code += other.code;
    blank += other.blank;
    comments += other.comments;
    return *this;
}

bool HasObjectDescription(vb::SourceKind kind) noexcept {
    return kind == vb::SourceKind::Form || kind == vb::SourceKind::UserControl ||
           kind == vb::SourceKind::PropertyPage;
}

LineKind LineCounter::add(std::string_view line) {
    ++counted_.lines;
    if (line.starts_with(kAttribute)) {
        ++counted_.attributes;
        afterAttribute_ = true;
        return LineKind::Attribute;
    }
    if (afterAttribute_)
        return CountCode(counted_, line);
    if (objectDescription_ && (inDescription_ || line.starts_with(kBegin))) {
        inDescription_ = true;
        ++counted_.description;
        return LineKind::Description;
    }
    return CountCode(beforeAttribute_, line);
}

LineTally LineCounter::tally() const {
    LineTally tally = counted_;
    if (!afterAttribute_ && tally.description == 0) {
        tally.code = beforeAttribute_.code;
        tally.blank = beforeAttribute_.blank;
        tally.comments = beforeAttribute_.comments;
    }
    return tally;
}

LineTally CountMemberLines(vb::LineReader& reader, vb::SourceKind kind) {
    LineCounter counter(HasObjectDescription(kind));
    std::string_view line;
    while (reader.next(line))
        counter.add(line);
    return counter.tally();
}

} // namespace counter

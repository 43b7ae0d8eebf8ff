#pragma once
// What the lines of a member file are: its object description, its attribute lines and its code.
//
// - All lines: every line of the file.
// - Object description (forms, user controls, property pages only): from the first line beginning with
//   "Begin" up to the line before the first line beginning with "Attribute" (to the end of the file when
//   there is none).
// - Attribute lines: the lines beginning with "Attribute".
// - Code lines: every line after the first attribute line that is not itself an attribute line. A member
//   without attribute lines: every line when it has no object description, none otherwise.
// - Of the code lines, blank lines (empty, or only blanks and tabs) and comment lines (the first text
//   that is no blank or tab is "'", or "Rem" in any letter case followed by a blank, a tab or the end).
// Letter case counts for "Begin" and "Attribute", as the counter's scan has it.

#include "files/line_reader.h"
#include "project/source_kind.h"

#include <cstdint>
#include <string_view>

namespace counter {

struct LineTally {
    std::int64_t lines = 0;
    std::int64_t description = 0;
    std::int64_t attributes = 0;
    std::int64_t code = 0;
    std::int64_t blank = 0;
    std::int64_t comments = 0;

    LineTally& operator+=(const LineTally& other) noexcept;
    bool operator==(const LineTally&) const = default;
};

// True for the kinds whose members carry an object description: forms, user controls, property pages.
bool HasObjectDescription(vb::SourceKind kind) noexcept;

// What one line is. Code, Blank and Comment lines met before any attribute line or object description
// are code lines only if neither follows (LineCounter::tally).
enum class LineKind { Description, Attribute, Code, Blank, Comment };

// Counts the lines one after another, without keeping them.
class LineCounter {
public:
    explicit LineCounter(bool objectDescription) : objectDescription_(objectDescription) {}
    LineKind add(std::string_view line);
    // The tally of the lines added so far, as if the file ended here.
    LineTally tally() const;

private:
    bool objectDescription_;
    bool inDescription_ = false;
    bool afterAttribute_ = false;
    LineTally counted_;
    LineTally beforeAttribute_; // code, blank and comments of the lines before any attribute or description
};

// Reads the member file to its end and counts its lines as a member of `kind`.
LineTally CountMemberLines(vb::LineReader& reader, vb::SourceKind kind);

} // namespace counter

#pragma once
// Reading the head of a member file for the objects it declares.
//
// Per line, positions counted from 1:
// - A line that contains "Begin " (capital B, one blank) declares an object; p is its first occurrence.
//   The type text runs from p + 6 up to the first blank after it, or to the end of the line when no blank
//   follows. The type text "VB.Form" (a form's own declaration) is not counted.
// - The name is everything after the first occurrence of the type text in the line (searched from
//   position 1) and one more character, with blanks (not tabs) removed at both ends.
// - Objects are grouped by exact, case-sensitive type text, groups in order of first appearance.
// - Reading stops after the first line whose first nine characters are "Attribute"; that line is
//   scanned first. A file without such a line is read to its end.

#include "counter/object_group_table.h"
#include "files/line_reader.h"
#include "files/member_path.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace counter {

// Applies the rules to one line. False when reading must stop after this line. `path` names the file in
// a RuntimeError 9 when a limit of the table is passed.
bool ScanLine(std::string_view line, ObjectGroupTable& table, const std::string& path);

// Scans the reader's lines up to and including the first "Attribute" line, or to the end of the file,
// noting the text of each line read in table.Text.
void ScanLines(vb::LineReader& reader, ObjectGroupTable& table);

// Resets `table`, calls `afterReset`, then opens the member file by its entry relative to the working
// directory (RuntimeError 53 / 76 when it is missing) and scans its head. The file is closed on return.
void ScanMemberFile(const std::string& fileName, ObjectGroupTable& table,
                    const std::function<void()>& afterReset = {});

// The same, finding the file with the folder listings the command's `lookup` keeps.
void ScanMemberFile(const std::string& fileName, ObjectGroupTable& table, vb::MemberLookup& lookup,
                    const std::function<void()>& afterReset = {});
// The same for a command that goes on past a member file that cannot be opened: the error that kept it
// from opening is returned instead of thrown, and the table stays empty. Errors while reading still throw.
std::optional<vb::RuntimeError> ScanMemberFileIfItOpens(const std::string& fileName, ObjectGroupTable& table,
                                                        vb::MemberLookup& lookup,
                                                        const std::function<void()>& afterReset = {});

} // namespace counter

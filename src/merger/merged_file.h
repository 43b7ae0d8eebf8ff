#pragma once
// The merged file: a whole project written into one text file, group by group under a German heading,
// each member under a line with its entry.

#include "project/project_file_lists.h"
#include "text/checked_int16.h"
#include "text/line_writer.h"

#include <functional>
#include <string>
#include <string_view>

namespace merger {

// ModuleCount + FormCount + ClassModuleCount + UserControlCount + PropertyPageCount added as 16-bit in
// that order (RuntimeError 6 past 32767); 0 allowed.
vb::Int16 MergeProgressMaximum(const vb::ProjectFileLists& lists);

// The heading of a kind's group: "FORMULARE:", "MODULE:", "KLASSENMODULE:", "BENUTZERSTEUERELEMENTE:",
// "EIGENSCHAFTENSEITEN:".
std::string_view HeadingOf(vb::SourceKind kind);

// Writes the merged file to `out`: per kind (forms, modules, class modules, user controls, property pages)
// its heading, two empty lines before every heading but the first, and per member a block: the entry as
// held followed by ":", the member's body by the head rule of its kind, and two empty lines, except after
// the last property page. The member path is projectFolder + entry (plain concatenation), opened through
// vb::OpenMemberFile: each member is opened once, streamed and closed before the next.
// `optionSet` is asked anew for each member, after its file is opened; `memberDone` is called after each
// member. Errors (a missing member: 53 with its path) propagate; the lines written before stay in `out`.
// Everything is flushed before returning, so a write error surfaces here; closing `out` is the caller's.
void WriteMergedFile(const vb::ProjectFileLists& lists, const std::string& projectFolder, vb::LineWriter& out,
                     const std::function<bool()>& optionSet, const std::function<void()>& memberDone = {});

} // namespace merger

#pragma once
// The merged file: a whole project written into one text file, group by group under a German heading,
// each member under a line with its entry.

#include "errors/checked_int16.h"
#include "errors/runtime_error.h"
#include "files/file_identity.h"
#include "files/line_writer.h"
#include "files/member_path.h"
#include "project/project_file_lists.h"

#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace merger {

// Told about a member file that cannot be opened, for a merge that goes on past it: the member keeps its
// line with the entry and gets no body. Without one, the error ends the merge.
using MissingMember = std::function<void(const vb::RuntimeError&)>;

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
// the member lookup: each member is opened once, streamed and closed before the next.
// A member file whose identity is one of `written` (the file being written, the target it replaces,
// standard output) is not read: MergeReadsItsOutput names it, and the output is left unfinished.
// `optionSet` is asked anew for each member, after its file is opened; `memberDone` is called after each
// member. `lookup` is the command's member lookup (its folder listings shared with the output guard); a
// fresh one when null. Errors (a missing member: 53 with its path) propagate, unless `memberMissing` is
// given: then a member file that cannot be opened is told to it and gets no body. The lines written before
// an error stay in `out`. Everything is flushed before returning, so a write error surfaces here; closing
// `out` is the caller's. With `lineNumbers` each body line is preceded by its number in the member file
// (LineNumberPrefix); the headings and empty lines stay as they are.
void WriteMergedFile(const vb::ProjectFileLists& lists, const std::string& projectFolder, vb::LineWriter& out,
                     const std::function<bool()>& optionSet, const std::function<void()>& memberDone = {},
                     std::span<const vb::FileIdentity> written = {}, vb::MemberLookup* lookup = nullptr,
                     const MissingMember& memberMissing = {}, bool lineNumbers = false);

// The merge into the file `outputPath`, as both front ends run it: written to a new file that replaces the
// output only once complete (vb::ReplacedFile), so that on any failure, also MergeReadsItsOutput for a
// member that is the output or the file it replaces, the earlier output stays whole and no new file is
// left. An output that has to be written in place is compared by identity with the project file
// `projectPath` and the members, and every member is opened once (CheckBeforeWritingInPlace), before it
// is emptied; a failure after that (a full disk, a read error) is OutputLeftIncomplete. `lookup` is the
// command's member lookup, shared with the output guard; a fresh one when null. Errors name `outputPath` as
// given.
void MergeIntoFile(const vb::ProjectFileLists& lists, const std::string& projectPath,
                   const std::string& projectFolder, const std::string& outputPath,
                   const std::function<bool()>& optionSet, const std::function<void()>& memberDone = {},
                   vb::MemberLookup* lookup = nullptr, const MissingMember& memberMissing = {},
                   bool lineNumbers = false);

// The merge into a descriptor that stays open and is not owned (standard output), written directly;
// `name` is shown in errors. A member that is the descriptor's file is MergeReadsItsOutput; what was
// written before stays written.
void MergeIntoDescriptor(const vb::ProjectFileLists& lists, const std::string& projectFolder, int fd,
                         const std::string& name, const std::function<bool()>& optionSet,
                         const std::function<void()>& memberDone = {}, vb::MemberLookup* lookup = nullptr,
                         const MissingMember& memberMissing = {}, bool lineNumbers = false);

// A member file that is the merge's own output, found by identity once it was opened: the merge is
// refused like an output path that names a file of the project. `path()` is projectFolder + entry.
class MergeReadsItsOutput : public std::runtime_error {
public:
    explicit MergeReadsItsOutput(std::string path)
        : std::runtime_error("output is input: " + path), path_(std::move(path)) {}
    const std::string& path() const noexcept { return path_; }

private:
    std::string path_;
};

// A failure after an output written in place (vb::ReplacedFile::writtenInPlace) was emptied: the error
// that ended the merge, and the output, which now holds only what was written before it.
class OutputLeftIncomplete : public vb::RuntimeError {
public:
    OutputLeftIncomplete(const vb::RuntimeError& cause, std::string output)
        : vb::RuntimeError(cause), output_(std::move(output)) {}
    const std::string& output() const noexcept { return output_; }

private:
    std::string output_;
};

// Throws MergeReadsItsOutput(path) when the member file open as `fd` is one of `written`. Checked after
// opening, so neither another spelling nor a link made meanwhile escapes.
void RefuseReadingOutput(int fd, std::span<const vb::FileIdentity> written, const std::string& path);

// The identities a merge into `fd` must not read: the descriptor's file and, when it differs, the file
// that `target` names now (the target a temporary file will replace). Empty for what is no plain file.
std::vector<vb::FileIdentity> IdentitiesOfOutput(int fd, const std::string& target = {});

} // namespace merger

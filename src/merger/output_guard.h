#pragma once
// Keeps the merged file from overwriting the files it is made from.

#include "files/member_path.h"
#include "project/project_file_lists.h"

#include <optional>
#include <string>

namespace merger {

// The project's own file (the project file itself or a member file: projectFolder + entry, resolved as the
// member path opening does) that writing to outputPath would overwrite, judged by file identity (device and
// inode via stat, so another spelling, a relative path, a ".." path or a (sym/hard) link to the same file is
// caught), or nullopt when the output is none of them. A missing output file is refused when creating it
// would make a member's lookup find it instead of the member: the member's path as written, or the member
// file's name in another letter case in the same folder.
// The result is projectPath, or the member path projectFolder + entry as written. Members that cannot be
// found are passed over. `lookup` is the command's member lookup, whose folder listings the merge then
// reuses; a fresh one when null.
std::optional<std::string> OwnFileNamedBy(const std::string& outputPath, const std::string& projectPath,
                                          const vb::ProjectFileLists& lists, const std::string& projectFolder,
                                          vb::MemberLookup* lookup = nullptr);

// Throws MergeReadsItsOutput naming the file when the open file `fd` is the project file or one of its
// member files, by identity: for an output opened before it is written, since its name may lead
// elsewhere by the time it is opened.
void RefuseOwnFileOpened(int fd, const std::string& projectPath, const vb::ProjectFileLists& lists,
                         const std::string& projectFolder, vb::MemberLookup& lookup);

// For an output that is about to be emptied and written in place (its folder takes no new file): opens
// every member file once, as the merge will, and closes it again, so that a member that is missing, no
// plain file or the output itself (MergeReadsItsOutput) is found while the output still holds its
// earlier content. A member that does not open is thrown as its RuntimeError unless `goesOnPastMissing`
// (the merge then goes on past it anyway). Also refuses the project's own files as RefuseOwnFileOpened.
void CheckBeforeWritingInPlace(int fd, const std::string& projectPath, const vb::ProjectFileLists& lists,
                               const std::string& projectFolder, vb::MemberLookup& lookup,
                               bool goesOnPastMissing);

} // namespace merger

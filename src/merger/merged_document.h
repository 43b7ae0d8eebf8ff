#pragma once
// The merged project in a document format (Markdown, XML, JSON): the same members in the same order, the
// same lines selected by the head rules as the merged file, but as UTF-8 with LF line ends, each member's
// bytes shown by its own text (vb::ShownText: UTF-8 as it is, other files by the code page). Each member is
// opened once and read in two passes (three when split): the first learns the file's text and what the
// document must know before its lines (the fence, replaced characters), the next writes. Memory stays
// flat whatever the size of a member.

#include "merger/document_format.h"
#include "merger/merged_file.h"
#include "text/shown_text.h"

#include <cstdint>
#include <string>

namespace merger {

struct DocumentMerge {
    DocumentFormat format = DocumentFormat::Markdown;
    bool lineNumbers = false;
    vb::CodePage codePage;
    // Bytes a part may hold at most; 0 writes one document. A member goes whole into one part unless it
    // alone is larger, then it is cut at line boundaries into pieces that say so. A single line longer
    // than what a part can hold still goes whole into its own piece.
    std::uint64_t splitSize = 0;
};

// The file name of part `number` of `outputPath`: "NAME.EXT" gives "NAME.1.EXT", a name without an
// extension (or one that only begins with a dot) "NAME.1".
std::string PartPath(const std::string& outputPath, int number);

// Writes the document into `outputPath`, or with a split size into its parts (PartPath 1, 2, ...). Every
// file is written as a vb::ReplacedFile and all are put in place only once the whole document is written,
// so on a failure every earlier output stays whole. A part that would overwrite the project file or a
// member is refused (MergeReadsItsOutput) before it is opened, and a member that turns out to be an output
// when it is opened is refused as in MergeIntoFile. The other arguments are those of MergeIntoFile.
void MergeDocumentIntoFile(const vb::ProjectFileLists& lists, const std::string& projectPath,
                           const std::string& projectFolder, const std::string& outputPath,
                           const DocumentMerge& how, const std::function<bool()>& optionSet,
                           const std::function<void()>& memberDone = {}, vb::MemberLookup* lookup = nullptr,
                           const MissingMember& memberMissing = {});

// Writes one document (no split) to a descriptor that stays open, as MergeIntoDescriptor.
void MergeDocumentIntoDescriptor(const vb::ProjectFileLists& lists, const std::string& projectPath,
                                 const std::string& projectFolder, int fd, const std::string& name,
                                 const DocumentMerge& how, const std::function<bool()>& optionSet,
                                 const std::function<void()>& memberDone = {},
                                 vb::MemberLookup* lookup = nullptr, const MissingMember& memberMissing = {});

} // namespace merger

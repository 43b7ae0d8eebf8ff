#pragma once
// The merged project as a document for today's readers (review, search, diff tools, assistants): UTF-8
// with LF line ends, each member told from the next by the form of the document. The formats write their
// pieces one call at a time, so a document of any size streams through a small buffer; the merge decides
// what goes into which piece (merged_document.h).

#include "errors/runtime_error.h"
#include "project/source_kind.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace merger {

enum class DocumentFormat { Text, Markdown, Xml, Json };

// The format called `name` on the command line: "text", "markdown", "xml", "json".
std::optional<DocumentFormat> DocumentFormatNamed(std::string_view name);
// The extension of a file written in `format`, with its dot: ".txt", ".md", ".xml", ".json".
std::string_view FileExtensionOf(DocumentFormat format);

// Where the pieces go: the output file, or a counter that measures a piece before it is written.
class DocumentOut {
public:
    virtual ~DocumentOut() = default;
    virtual void write(std::string_view bytes) = 0;
};

// Counts the bytes written to it.
class CountingOut : public DocumentOut {
public:
    void write(std::string_view bytes) override { bytes_ += bytes.size(); }
    std::uint64_t bytes() const noexcept { return bytes_; }

private:
    std::uint64_t bytes_ = 0;
};

// A member as its heading shows it. Texts are UTF-8.
struct MemberHead {
    std::string entry;
    std::string path;
    // Markdown: the number of backticks of the fence, more than any run of them in the member.
    std::size_t fence = 3;
    // A character of the member's lines was replaced because the document cannot carry it.
    bool replaced = false;
    // For a member cut at line boundaries: its piece (1, 2, ...) and whether another follows; 0 when whole.
    int piece = 0;
    bool continues = false;
};

// What the bytes of a run of body lines are: UTF-8 already, or Windows-1252, converted on the way.
enum class RunText { Utf8, Windows1252 };

// Writes the pieces of one format. Every call gets what it needs to know about its place (first of its
// kind, part of a split document), so a piece can be written to a CountingOut to measure it and then to
// the file with the same bytes. A member is beginMember, then beginBody, its lines and endBody, or
// missing, then endMember. `text` of a line is UTF-8 with no line end; the format replaces what it cannot
// carry.
class DocumentFormatter {
public:
    virtual ~DocumentFormatter() = default;
    // `project` is the project path as given; `part` is 0 for a whole document, else the part's number.
    virtual void begin(DocumentOut& out, std::string_view project, int part) const = 0;
    // `first` for the first group of the document (or part); `continued` when an earlier part began it.
    virtual void beginGroup(DocumentOut& out, vb::SourceKind kind, bool first, bool continued) const = 0;
    // `first` for the first member of the group in this document (or part).
    virtual void beginMember(DocumentOut& out, const MemberHead& member, bool first) const = 0;
    virtual void beginBody(DocumentOut& out, const MemberHead& member) const = 0;
    // `number` is the line's number in the member file; `first` for the first line of the body.
    virtual void line(DocumentOut& out, std::string_view text, std::uint64_t number, bool first) const = 0;
    // Body lines in a run: whole lines of valid UTF-8 (or of Windows-1252, shown as UTF-8), each ended by
    // CR LF, CR or LF (the last one perhaps by nothing), none the first of its body, the first of them
    // numbered `number`. The same bytes as line() for each of them; the formats write them in one go.
    // Returns the number of lines.
    virtual std::uint64_t lines(DocumentOut& out, std::string_view run, RunText text,
                                std::uint64_t number) const;
    virtual void endBody(DocumentOut& out, const MemberHead& member) const = 0;
    // The note for a member file that could not be opened (a merge that goes on past it).
    virtual void missing(DocumentOut& out, const vb::RuntimeError& error) const = 0;
    virtual void endMember(DocumentOut& out, const MemberHead& member) const = 0;
    virtual void endGroup(DocumentOut& out, bool empty) const = 0;
    virtual void end(DocumentOut& out) const = 0;
};

// The formatter of a document format (not Text, which keeps its own writer); with `lineNumbers` every
// body line carries its number in the member file.
std::unique_ptr<DocumentFormatter> FormatterOf(DocumentFormat format, bool lineNumbers);

// Each format's own formatter.
std::unique_ptr<DocumentFormatter> MarkdownFormatter(bool lineNumbers);
std::unique_ptr<DocumentFormatter> XmlFormatter(bool lineNumbers);
std::unique_ptr<DocumentFormatter> JsonFormatter(bool lineNumbers);

// The number shown in front of a body line in the merged file and in Markdown: right-aligned in six places,
// then " | ".
std::string LineNumberPrefix(std::uint64_t number);

} // namespace merger

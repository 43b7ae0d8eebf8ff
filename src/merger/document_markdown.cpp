// The Markdown document: a title with the project file's name, a second-level heading per group, a
// third-level heading per member and its lines in a fenced code block with the info string "vb".

#include "merger/document_format.h"

#include "merger/document_runs.h"
#include "text/control_pictures.h"

#include <string>

namespace merger {

namespace {

// What a heading or a line shows: the characters as they are, but controls (the tab aside) as their
// pictures, since a reader that meets a NUL or an escape takes the file for binary or breaks its lines.
std::string Shown(std::string_view text) {
    std::string out;
    vb::AppendCarriable(out, text);
    return out;
}

std::string_view FileNameOf(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string PartSuffix(int number, std::string_view word) {
    return number == 0 ? std::string() : " (" + std::string(word) + " " + std::to_string(number) + ")";
}

class Markdown : public DocumentFormatter {
public:
    explicit Markdown(bool lineNumbers) : lineNumbers_(lineNumbers) {}

    void begin(DocumentOut& out, std::string_view project, int part) const override {
        out.write("# " + Shown(FileNameOf(project)) + PartSuffix(part, "Teil") + "\n");
    }
    void beginGroup(DocumentOut& out, vb::SourceKind kind, bool, bool continued) const override {
        out.write("\n## " + std::string(vb::GroupCaptionOf(kind)) + (continued ? " (Fortsetzung)" : "") +
                  "\n");
    }
    void beginMember(DocumentOut& out, const MemberHead& member, bool) const override {
        out.write("\n### " + Shown(member.entry) + PartSuffix(member.piece, "Stück") + "\n");
    }
    void beginBody(DocumentOut& out, const MemberHead& member) const override {
        out.write("\n" + std::string(member.fence, '`') + "vb\n");
    }
    void line(DocumentOut& out, std::string_view text, std::uint64_t number, bool) const override {
        std::string shown = lineNumbers_ ? LineNumberPrefix(number) : std::string();
        vb::AppendCarriable(shown, text);
        shown += '\n';
        out.write(shown);
    }
    std::uint64_t lines(DocumentOut& out, std::string_view run, RunText text,
                        std::uint64_t number) const override {
        struct Lines {
            bool numbered;
            std::uint64_t number;
            void open(runs::Sink& to) {
                if (numbered)
                    runs::AppendNumberPrefix(to, number);
                ++number;
            }
            void close(runs::Sink& to) { to.push('\n'); }
            std::size_t escape(runs::Sink& to, std::string_view text, std::size_t at) {
                return runs::AppendCarriedAt(to, text, at);
            }
        } format{lineNumbers_, number};
        buffer_.clear();
        const std::uint64_t count = runs::WriteLines<false, 0xEF>(buffer_, run, text, format);
        out.write(buffer_.view());
        return count;
    }
    void endBody(DocumentOut& out, const MemberHead& member) const override {
        out.write(std::string(member.fence, '`') + "\n");
        if (member.continues)
            out.write("\n> Fortsetzung im nächsten Teil\n");
    }
    void missing(DocumentOut& out, const vb::RuntimeError& error) const override {
        out.write("\n> Nicht gelesen: " + vb::ErrorLine(error.number()) + "\n");
    }
    void endMember(DocumentOut&, const MemberHead&) const override {}
    void endGroup(DocumentOut&, bool) const override {}
    void end(DocumentOut&) const override {}

private:
    bool lineNumbers_;
    mutable runs::Sink buffer_; // the run's lines as written, reused from run to run
};

} // namespace

std::unique_ptr<DocumentFormatter> MarkdownFormatter(bool lineNumbers) {
    return std::make_unique<Markdown>(lineNumbers);
}

} // namespace merger

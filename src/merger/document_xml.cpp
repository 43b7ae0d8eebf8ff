// The XML document, written by a small escaping writer so that it streams: a "project" element, a
// "group" element per kind, a "member" element per member whose text is its lines, each ended by LF (with
// line numbers: a "line" element per line with the attribute "number").

#include "merger/document_format.h"

#include "merger/document_runs.h"
#include "text/control_pictures.h"

#include <string>

namespace merger {

namespace {

// `text` as XML character data or attribute value: markup characters as references, and what XML 1.0
// cannot carry at all replaced (vb::AppendCarriable). "]]>" is written "]]&gt;". In attributes the tab
// is a reference, so that a reader's attribute normalisation keeps it.
std::string Escaped(std::string_view text, bool attribute = false) {
    std::string carried;
    vb::AppendCarriable(carried, text);
    std::string out;
    out.reserve(carried.size());
    for (const char ch : carried) {
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += attribute ? "&quot;" : "\"";
            break;
        case '\t':
            out += attribute ? "&#9;" : "\t";
            break;
        default:
            out += ch;
        }
    }
    return out;
}

std::string Attribute(std::string_view name, std::string_view value) {
    return " " + std::string(name) + "=\"" + Escaped(value, true) + "\"";
}

class Xml : public DocumentFormatter {
public:
    explicit Xml(bool lineNumbers) : lineNumbers_(lineNumbers) {}

    void begin(DocumentOut& out, std::string_view project, int part) const override {
        out.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<project" + Attribute("path", project) +
                  (part == 0 ? std::string() : Attribute("part", std::to_string(part))) + ">\n");
    }
    void beginGroup(DocumentOut& out, vb::SourceKind kind, bool, bool continued) const override {
        out.write("  <group" + Attribute("kind", vb::KindNameOf(kind)) +
                  Attribute("heading", vb::GroupCaptionOf(kind)) +
                  (continued ? Attribute("continued", "true") : std::string()) + ">\n");
    }
    void beginMember(DocumentOut& out, const MemberHead& member, bool) const override {
        std::string tag = "    <member" + Attribute("entry", member.entry) + Attribute("path", member.path);
        if (member.replaced)
            tag += Attribute("replaced", "true");
        if (member.piece != 0) {
            tag += Attribute("piece", std::to_string(member.piece));
            if (member.continues)
                tag += Attribute("continues", "true");
        }
        out.write(tag + ">");
    }
    void beginBody(DocumentOut& out, const MemberHead&) const override {
        if (lineNumbers_)
            out.write("\n");
    }
    void line(DocumentOut& out, std::string_view text, std::uint64_t number, bool) const override {
        if (lineNumbers_)
            out.write("      <line" + Attribute("number", std::to_string(number)) + ">" + Escaped(text) +
                      "</line>\n");
        else
            out.write(Escaped(text) + "\n");
    }
    std::uint64_t lines(DocumentOut& out, std::string_view run, RunText text,
                        std::uint64_t number) const override {
        struct Lines {
            bool numbered;
            std::uint64_t number;
            void open(runs::Sink& to) {
                if (numbered) {
                    to.append(std::string_view("      <line number=\""));
                    runs::AppendNumber(to, number);
                    to.append(std::string_view("\">"));
                }
                ++number;
            }
            void close(runs::Sink& to) {
                if (numbered)
                    to.append(std::string_view("</line>"));
                to.push('\n');
            }
            std::size_t escape(runs::Sink& to, std::string_view text, std::size_t at) {
                switch (text[at]) {
                case '&':
                    to.append(std::string_view("&amp;"));
                    return 1;
                case '<':
                    to.append(std::string_view("&lt;"));
                    return 1;
                case '>':
                    to.append(std::string_view("&gt;"));
                    return 1;
                default:
                    return runs::AppendCarriedAt(to, text, at);
                }
            }
        } format{lineNumbers_, number};
        buffer_.clear();
        const std::uint64_t count = runs::WriteLines<false, 0xEF, '&', '<', '>'>(buffer_, run, text, format);
        out.write(buffer_.view());
        return count;
    }
    void endBody(DocumentOut& out, const MemberHead&) const override {
        if (lineNumbers_)
            out.write("    ");
    }
    void missing(DocumentOut& out, const vb::RuntimeError& error) const override {
        out.write("<missing" + Attribute("error", std::to_string(error.number())) +
                  Attribute("description", error.description()) + "/>");
    }
    void endMember(DocumentOut& out, const MemberHead&) const override { out.write("</member>\n"); }
    void endGroup(DocumentOut& out, bool) const override { out.write("  </group>\n"); }
    void end(DocumentOut& out) const override { out.write("</project>\n"); }

private:
    bool lineNumbers_;
    mutable runs::Sink buffer_; // the run's lines as written, reused from run to run
};

} // namespace

std::unique_ptr<DocumentFormatter> XmlFormatter(bool lineNumbers) {
    return std::make_unique<Xml>(lineNumbers);
}

} // namespace merger

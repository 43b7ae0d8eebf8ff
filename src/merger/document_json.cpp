// The JSON document {"project": ..., "groups": [{"kind", "heading", "members": [{"entry", "path",
// "lines": [...]}]}]}, streamed around strings that nlohmann-json escapes one by one. With line numbers a
// line is {"number": N, "text": "..."}; a member file that could not be opened has "missing" instead of
// "lines".

#include "merger/document_format.h"

#include "merger/document_runs.h"

#include <nlohmann/json.hpp>

#include <string>

namespace merger {

namespace {

// One JSON string. The texts are UTF-8 (the merge shows every member's bytes so); a byte that is not
// would be replaced rather than end the merge.
std::string Quoted(std::string_view text) {
    return nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

class Json : public DocumentFormatter {
public:
    explicit Json(bool lineNumbers) : lineNumbers_(lineNumbers) {}

    void begin(DocumentOut& out, std::string_view project, int part) const override {
        out.write("{\n  \"project\": " + Quoted(project) +
                  (part == 0 ? std::string() : ",\n  \"part\": " + std::to_string(part)) +
                  ",\n  \"groups\": [");
    }
    void beginGroup(DocumentOut& out, vb::SourceKind kind, bool first, bool continued) const override {
        out.write(std::string(first ? "\n" : ",\n") + "    {\n      \"kind\": " +
                  Quoted(vb::KindNameOf(kind)) + ",\n      \"heading\": " + Quoted(vb::GroupCaptionOf(kind)) +
                  (continued ? ",\n      \"continued\": true" : "") + ",\n      \"members\": [");
    }
    void beginMember(DocumentOut& out, const MemberHead& member, bool first) const override {
        std::string head = std::string(first ? "\n" : ",\n") +
                           "        {\n          \"entry\": " + Quoted(member.entry) +
                           ",\n          \"path\": " + Quoted(member.path);
        if (member.piece != 0)
            head += ",\n          \"piece\": " + std::to_string(member.piece) +
                    ",\n          \"continues\": " + (member.continues ? "true" : "false");
        out.write(head);
    }
    void beginBody(DocumentOut& out, const MemberHead&) const override {
        out.write(",\n          \"lines\": [");
    }
    void line(DocumentOut& out, std::string_view text, std::uint64_t number, bool first) const override {
        std::string item = first ? "\n            " : ",\n            ";
        if (lineNumbers_)
            item += "{\"number\": " + std::to_string(number) + ", \"text\": " + Quoted(text) + "}";
        else
            item += Quoted(text);
        out.write(item);
    }
    std::uint64_t lines(DocumentOut& out, std::string_view run, RunText text,
                        std::uint64_t number) const override {
        struct Lines {
            bool numbered;
            std::uint64_t number;
            void open(runs::Sink& to) {
                if (numbered) {
                    to.append(std::string_view(",\n            {\"number\": "));
                    runs::AppendNumber(to, number);
                    to.append(std::string_view(", \"text\": \""));
                } else {
                    to.append(std::string_view(",\n            \""));
                }
                ++number;
            }
            void close(runs::Sink& to) {
                to.push('"');
                if (numbered)
                    to.push('}');
            }
            // As nlohmann-json escapes a string: the short escapes where JSON has them, other controls as
            // \u00XX with small hex digits.
            std::size_t escape(runs::Sink& to, std::string_view text, std::size_t at) {
                const auto b = static_cast<unsigned char>(text[at]);
                switch (b) {
                case '"':
                    to.append(std::string_view("\\\""));
                    break;
                case '\\':
                    to.append(std::string_view("\\\\"));
                    break;
                case '\b':
                    to.append(std::string_view("\\b"));
                    break;
                case '\t':
                    to.append(std::string_view("\\t"));
                    break;
                case '\f':
                    to.append(std::string_view("\\f"));
                    break;
                default: {
                    constexpr char kHex[] = "0123456789abcdef";
                    const char code[] = {'\\', 'u', '0', '0', kHex[b >> 4], kHex[b & 15]};
                    to.append(code, sizeof code);
                }
                }
                return 1;
            }
        } format{lineNumbers_, number};
        buffer_.clear();
        const std::uint64_t count = runs::WriteLines<true, '"', '\\'>(buffer_, run, text, format);
        out.write(buffer_.view());
        return count;
    }
    void endBody(DocumentOut& out, const MemberHead&) const override { out.write("\n          ]"); }
    void missing(DocumentOut& out, const vb::RuntimeError& error) const override {
        out.write(",\n          \"missing\": {\"error\": " + std::to_string(error.number()) +
                  ", \"description\": " + Quoted(error.description()) + "}");
    }
    void endMember(DocumentOut& out, const MemberHead&) const override { out.write("\n        }"); }
    void endGroup(DocumentOut& out, bool empty) const override {
        out.write(empty ? "]\n    }" : "\n      ]\n    }");
    }
    void end(DocumentOut& out) const override { out.write("\n  ]\n}\n"); }

private:
    bool lineNumbers_;
    mutable runs::Sink buffer_; // the run's lines as written, reused from run to run
};

} // namespace

std::unique_ptr<DocumentFormatter> JsonFormatter(bool lineNumbers) {
    return std::make_unique<Json>(lineNumbers);
}

} // namespace merger

// The code reader on any bytes, read through line readers of different read sizes: the same procedures,
// events and declarations every time; procedures in order, never overlapping, inside the file, with
// their code lines among their lines.
#include "counter/code_reader.h"
#include "fuzz_support.h"

namespace {

std::string Summary(const counter::MemberCode& code) {
    std::string out;
    for (const counter::Procedure& p : code.procedures)
        out += p.name + ' ' + std::to_string(p.line) + ' ' + std::to_string(p.lines) + ' ' +
               std::to_string(p.code) + ' ' + std::to_string(p.complexity) + (p.unclosed ? "u\n" : "\n");
    for (const counter::EventDeclaration& e : code.events)
        out += e.name + ' ' + std::to_string(e.line) + '\n';
    for (const counter::ApiDeclaration& d : code.declarations)
        out += d.name + ' ' + d.library + ' ' + d.function + ' ' + std::to_string(d.line) + '\n';
    return out;
}

// Where the procedures and events are and what they count, without their names (a name cut by the end
// of its line would take the blanks after it).
std::string Procedures(const counter::MemberCode& code) {
    std::string out;
    for (const counter::Procedure& p : code.procedures)
        out += std::to_string(p.line) + ' ' + std::to_string(p.lines) + ' ' + std::to_string(p.code) + ' ' +
               std::to_string(p.complexity) + (p.unclosed ? "u\n" : "\n");
    for (const counter::EventDeclaration& e : code.events)
        out += std::to_string(e.line) + '\n';
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const bool form = (data[0] & 1) != 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const auto lines = vbfuzz::SplitLines(bytes);
    const counter::CompileConstants project = counter::ProjectConstantsOf("A = 1 : B = 0");
    const vb::SourceKind kind = form ? vb::SourceKind::Form : vb::SourceKind::Module;

    // Short lines are counted from masks of their bytes, long ones token by token: the same lines made
    // long by trailing blanks must give the same procedures and events.
    // (A file read as UTF-16 has other lines than its bytes split, and the blanks would become part of a
    // name in brackets that its line does not close, so such files are left out.)
    std::string padded;
    for (const std::string_view line : lines)
        padded.append(line).append(64, ' ').push_back('\n');
    if (!bytes.starts_with("\xFF\xFE") && !bytes.starts_with("\xFE\xFF") &&
        bytes.find('[') == std::string_view::npos) {
        const vbfuzz::MemoryFile shortFile(bytes);
        const vbfuzz::MemoryFile longFile(padded);
        vb::LineReader shortReader(shortFile.fd(), "fuzz");
        vb::LineReader longReader(longFile.fd(), "fuzz");
        vbfuzz::Check(Procedures(counter::ReadMemberCode(shortReader, kind, project)) ==
                          Procedures(counter::ReadMemberCode(longReader, kind, project)),
                      "long lines give other procedures than short ones");
    }

    std::string first;
    for (const std::size_t readSize :
         {std::size_t{1}, std::size_t{3}, std::size_t{7} + data[0] % 64, vb::LineReader::kMaxRead}) {
        const vbfuzz::MemoryFile file(bytes);
        vb::LineReader reader(file.fd(), "fuzz", readSize);
        const counter::MemberCode code = counter::ReadMemberCode(reader, kind, project);
        const std::string summary = Summary(code);
        if (first.empty())
            first = summary;
        vbfuzz::Check(summary == first, "another read size gives another result");

        std::int64_t end = 0; // the last line of the procedure before
        for (const counter::Procedure& p : code.procedures) {
            vbfuzz::Check(p.line >= 1 && p.lines >= 0, "a procedure before the file's first line");
            vbfuzz::Check(p.line + p.lines - 1 <= static_cast<std::int64_t>(lines.size()),
                          "a procedure past the file's end");
            vbfuzz::Check(p.line >= end, "procedures overlap");
            vbfuzz::Check(p.code >= 0 && p.code <= p.lines, "more code lines than lines");
            vbfuzz::Check(p.complexity >= 1, "complexity below 1");
            if (p.lines > 0)
                end = p.line + p.lines - 1;
        }
        for (const counter::ApiDeclaration& d : code.declarations)
            vbfuzz::Check(d.line >= 1 && d.line <= static_cast<std::int64_t>(lines.size()),
                          "a declaration outside the file");
    }
    return 0;
}

#pragma once
// The code of a member: its procedures with their size and complexity, its events and its API
// declarations, read line by line in one pass without keeping the file.
//
// Only the member's code lines (member_lines.h) are read. A line ending in a blank or tab followed by "_"
// (and blanks) continues on the next. Statements are cut at ":" outside strings (not at ":="); a string
// runs from '"' to the next '"' that is not doubled; a comment begins at "'" outside a string or with the
// statement "Rem" and runs to the end of the line and its continuations. Of each #If block only the
// branch that compiles is read (compile_constants.h; a condition that does not evaluate counts as true).
//
// A procedure runs from its header ([Public|Private|Friend|Global] [Static] Sub|Function|Property
// Get|Let|Set NAME) to End Sub|Function|Property; one still open at the next header ends on the line
// before it, one open at the end of the file on its last line, both marked unclosed. Its complexity is
// 1 + its decision points: If (not End If), ElseIf, Case (not Select Case, not Case Else), For (not
// Exit For, not For Input|Output|Append|Binary|Random), While, Until.

#include "counter/compile_constants.h"
#include "counter/member_lines.h"
#include "files/line_reader.h"
#include "project/source_kind.h"
#include "text/text_facts.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace counter {

enum class ProcedureKind { Sub, Function, PropertyGet, PropertyLet, PropertySet };
// "Sub", "Function", "Property Get", "Property Let", "Property Set".
std::string_view ProcedureKindName(ProcedureKind kind);

struct Procedure {
    ProcedureKind kind = ProcedureKind::Sub;
    std::string name;       // bytes as in the file
    std::string_view scope; // "Public" (also when none is written), "Private", "Friend", "Global"
    bool isStatic = false;
    std::int64_t line = 0;  // physical line of its header, 1 for the file's first line
    std::int64_t lines = 0; // physical lines from the header to its end, both included
    std::int64_t code = 0;  // of these, the code lines that are neither blank nor comment lines
    std::int64_t complexity = 1;
    bool unclosed = false;
};

struct EventDeclaration {
    std::string name;
    std::string_view scope;
    std::int64_t line = 0;
};

struct ApiDeclaration {
    std::string name;
    std::string library;  // in lower case, without a trailing ".dll"
    std::string function; // the alias when given, else the name
    std::string_view scope;
    bool isFunction = false; // Function, else Sub
    std::int64_t line = 0;
};

struct MemberCode {
    std::vector<Procedure> procedures;        // in file order
    std::vector<EventDeclaration> events;     // in file order
    std::vector<ApiDeclaration> declarations; // in file order
    vb::TextKind text = vb::TextKind::Ascii;  // of the whole file, for showing the names
};

class CodeReader {
public:
    CodeReader(bool objectDescription, const CompileConstants& project);
    void add(std::string_view line);
    // The code of the lines added, the file ending there. Called once, after the last line.
    MemberCode finish();

private:
    enum class TokenType { Word, Bracketed, String, Other };
    struct Token {
        TokenType type = TokenType::Other;
        std::string text;
    };
    enum class Previous { None, End, Exit, Select, Other };
    struct Frame {
        bool outerActive;
        bool taken;
        bool active;
    };
    struct OpenProcedure {
        Procedure procedure;
        std::int64_t codeBefore; // code lines before its header's line
    };

    void reset();
    bool quickLine(std::string_view line);
    void readLine(std::string_view content, bool continued);
    std::size_t skipPlain(std::string_view content, std::size_t from);
    // Reads a string's text from `from` to its closing quote; the index after it, or the line's end.
    std::size_t readString(std::string_view content, std::size_t from);
    void startToken();
    void word(std::string_view text);
    void otherToken(TokenType type, std::string_view text);
    void keepToken(TokenType type, std::string_view text);
    void countDecision(std::string_view lowerWordOrEmpty);
    void resolvePending();
    void endStatement();
    void readHead();
    void runDirective();
    bool active() const noexcept { return frames_.empty() || frames_.back().active; }
    void closeOpen(std::int64_t endLine, std::int64_t codeAtEnd, bool unclosed);

    LineCounter counter_;
    const CompileConstants& project_;
    CompileConstants member_;
    MemberCode code_;
    std::int64_t lineNo_ = 0;
    std::int64_t codeLines_ = 0;      // code lines (not blank, not comment) up to this line
    std::int64_t lineCodeBefore_ = 0; // the same before this line
    bool structureSeen_ = false;      // an attribute line or object description was met
    bool continuing_ = false;
    bool inComment_ = false;
    bool inString_ = false;
    bool inDirective_ = false;
    std::string directive_;
    std::vector<Frame> frames_;
    std::optional<OpenProcedure> open_;
    // The statement being read.
    std::int64_t statementLine_ = 0;
    std::int64_t statementCodeBefore_ = 0;
    std::size_t tokens_ = 0;
    bool keeping_ = false; // its first word may begin a header, so its first tokens are kept
    std::array<Token, 10> head_;
    std::size_t kept_ = 0;
    bool keptString_ = false; // the last token kept is the string being read
    bool afterDot_ = false;
    Previous previous_ = Previous::None;
    bool pendingFor_ = false;
    bool pendingCase_ = false;
};

// Reads the member file to its end as a member of `kind`.
MemberCode ReadMemberCode(vb::LineReader& reader, vb::SourceKind kind, const CompileConstants& project);

} // namespace counter

#include "counter/code_reader.h"

#include <array>

namespace counter {

namespace {

constexpr std::size_t kMaxTokenBytes = 4096;      // longer names and strings are cut there
constexpr std::size_t kMaxDirectiveBytes = 65536; // a directive's text beyond is not read

constexpr std::string_view kPublic = "Public";
constexpr std::string_view kPrivate = "Private";
constexpr std::string_view kFriend = "Friend";
constexpr std::string_view kGlobal = "Global";

char Lower(char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// `text` equals the lower-case ASCII `lower` without regard to letter case.
bool Is(std::string_view text, std::string_view lower) noexcept {
    if (text.size() != lower.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (Lower(text[i]) != lower[i])
            return false;
    return true;
}

// Letters, "_" and bytes above 0x7F begin words; digits go on with them. The first letters of the
// words that may decide something, and the characters that begin strings, comments, statements and
// bracketed names, are marked for the scan that skips everything else.
enum CharClass : unsigned char { kOther = 0, kWordStart = 1, kDigit = 2, kDecideLetter = 4, kSpecial = 8 };

constexpr std::array<unsigned char, 256> kCharClasses = [] {
    std::array<unsigned char, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80)
            classes[c] = kWordStart;
        else if (c >= '0' && c <= '9')
            classes[c] = kDigit;
    }
    for (const char c : std::string_view("iecfwusIECFWUS"))
        classes[static_cast<unsigned char>(c)] |= kDecideLetter;
    for (const char c : std::string_view("\"':["))
        classes[static_cast<unsigned char>(c)] = kSpecial;
    return classes;
}();

bool IsWordStart(char c) noexcept {
    return (kCharClasses[static_cast<unsigned char>(c)] & kWordStart) != 0;
}

bool IsWordChar(char c) noexcept {
    return (kCharClasses[static_cast<unsigned char>(c)] & (kWordStart | kDigit)) != 0;
}

bool IsTypeCharacter(char c) noexcept {
    return c == '$' || c == '%' || c == '&' || c == '!' || c == '#' || c == '@';
}

bool IsBlankOrTab(char c) noexcept {
    return c == ' ' || c == '\t';
}

// The line without its continuation mark (blank or tab, "_", blanks), and whether it had one.
std::string_view WithoutContinuation(std::string_view line, bool& continued) noexcept {
    std::size_t end = line.size();
    while (end > 0 && IsBlankOrTab(line[end - 1]))
        --end;
    continued = end >= 2 && line[end - 1] == '_' && IsBlankOrTab(line[end - 2]);
    return continued ? line.substr(0, end - 1) : line;
}

// The first letter and length of If, ElseIf, Case, For, While, Until and of End, Exit, Select before them.
bool MayDecide(char first, std::size_t length) noexcept {
    if (length < 2 || length > 6)
        return false;
    switch (Lower(first)) {
    case 'i':
    case 'e':
    case 'c':
    case 'f':
    case 'w':
    case 'u':
    case 's':
        return true;
    default:
        return false;
    }
}

// The words that count as decision points, or decide whether the next one does.
bool IsDecisionWord(std::string_view w) noexcept {
    switch (w.size()) {
    case 2:
        return Is(w, "if");
    case 3:
        return Is(w, "for") || Is(w, "end");
    case 4:
        return Is(w, "case") || Is(w, "exit");
    case 5:
        return Is(w, "while") || Is(w, "until");
    case 6:
        return Is(w, "elseif") || Is(w, "select");
    default:
        return false;
    }
}

// Words that may begin a procedure header, an end statement or a declaration.
bool MayBeginHead(std::string_view w) noexcept {
    switch (w.size()) {
    case 3:
        return Is(w, "sub") || Is(w, "end");
    case 5:
        return Is(w, "event");
    case 6:
        return Is(w, "public") || Is(w, "friend") || Is(w, "global") || Is(w, "static");
    case 7:
        return Is(w, "private") || Is(w, "declare");
    case 8:
        return Is(w, "function") || Is(w, "property");
    default:
        return false;
    }
}

std::string_view FirstWord(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && IsBlankOrTab(text[pos]))
        ++pos;
    const std::size_t start = pos;
    while (pos < text.size() && IsWordChar(text[pos]))
        ++pos;
    return text.substr(start, pos - start);
}

} // namespace

std::string_view ProcedureKindName(ProcedureKind kind) {
    switch (kind) {
    case ProcedureKind::Sub:
        return "Sub";
    case ProcedureKind::Function:
        return "Function";
    case ProcedureKind::PropertyGet:
        return "Property Get";
    case ProcedureKind::PropertyLet:
        return "Property Let";
    case ProcedureKind::PropertySet:
        return "Property Set";
    }
    return "Sub";
}

CodeReader::CodeReader(bool objectDescription, const CompileConstants& project)
    : counter_(objectDescription), project_(project) {}

void CodeReader::reset() {
    const vb::TextKind text = code_.text;
    code_ = MemberCode{};
    code_.text = text;
    member_ = CompileConstants{};
    codeLines_ = 0;
    lineCodeBefore_ = 0;
    continuing_ = inComment_ = inString_ = inDirective_ = false;
    frames_.clear();
    open_.reset();
    tokens_ = 0;
    kept_ = 0;
    keptString_ = false;
    keeping_ = false;
    afterDot_ = pendingFor_ = pendingCase_ = false;
    previous_ = Previous::None;
}

void CodeReader::add(std::string_view line) {
    ++lineNo_;
    if (code_.text != vb::TextKind::EightBit) // no line makes it anything else again
        code_.text = vb::Together(code_.text, vb::TextKindOf(line));
    const LineKind kind = counter_.add(line);
    if (kind == LineKind::Attribute || kind == LineKind::Description) {
        // Lines before the first of these are no code lines after all.
        if (!structureSeen_) {
            structureSeen_ = true;
            reset();
        }
        return;
    }
    lineCodeBefore_ = codeLines_;
    if (kind == LineKind::Code)
        ++codeLines_;
    bool continued = false;
    const std::string_view content = WithoutContinuation(line, continued);
    // A whole comment line or blank line holds no statement; a comment goes on on the continuations.
    if (!continuing_ && (kind == LineKind::Blank || kind == LineKind::Comment) && !inDirective_) {
        continuing_ = continued;
        inComment_ = continued;
        return;
    }
    readLine(content, continued);
}

void CodeReader::readLine(std::string_view content, bool continued) {
    std::size_t first = 0; // the indentation of a line that begins a statement is skipped at once
    if (!continuing_) {
        while (first < content.size() && IsBlankOrTab(content[first]))
            ++first;
        inDirective_ = first < content.size() && content[first] == '#';
        if (inDirective_)
            directive_.clear();
    }
    continuing_ = continued;
    if (inDirective_) {
        if (directive_.size() < kMaxDirectiveBytes)
            directive_.append(content.substr(0, kMaxDirectiveBytes - directive_.size())).push_back(' ');
        if (!continued) {
            runDirective();
            inDirective_ = false;
        }
        return;
    }
    if (!active())
        return;

    const std::size_t n = content.size();
    const char* const text = content.data();
    std::size_t i = first;
    if (inString_)
        i = readString(content, 0);
    while (i < n && !inComment_) {
        if (tokens_ > 0 && !keeping_ && !pendingFor_ && !pendingCase_) {
            i = skipPlain(content, i);
            if (i >= n)
                break;
        }
        const char c = text[i];
        if (IsWordStart(c)) {
            std::size_t j = i + 1;
            while (j < n && IsWordChar(text[j]))
                ++j;
            if (j < n && IsTypeCharacter(text[j]) && (j + 1 >= n || !IsWordChar(text[j + 1])))
                ++j;
            // Most words are neither a statement's first word nor one that may decide anything.
            if (tokens_ > 0 && !keeping_ && !pendingFor_ && !pendingCase_ &&
                (!open_ || !MayDecide(c, j - i))) {
                previous_ = Previous::Other;
                afterDot_ = false;
            } else {
                word(content.substr(i, j - i));
            }
            i = j;
            continue;
        }
        switch (c) {
        case ' ':
        case '\t':
            ++i;
            break;
        case '"':
            otherToken(TokenType::String, {});
            i = readString(content, i + 1);
            break;
        case '\'':
            inComment_ = true;
            break;
        case ':':
            if (i + 1 < n && text[i + 1] == '=') {
                otherToken(TokenType::Other, content.substr(i, 2));
                i += 2;
            } else {
                endStatement();
                ++i;
            }
            break;
        case '[': {
            const std::size_t close = content.find(']', i);
            const std::size_t end = close == std::string_view::npos ? n : close;
            otherToken(TokenType::Bracketed, content.substr(i + 1, end - i - 1));
            i = close == std::string_view::npos ? n : close + 1;
            break;
        }
        default:
            if ((c >= '0' && c <= '9') || (c == '&' && i + 1 < n && IsWordChar(text[i + 1]))) {
                std::size_t j = i + 1;
                while (j < n && (IsWordChar(text[j]) || text[j] == '.' || IsTypeCharacter(text[j])))
                    ++j;
                otherToken(TokenType::Other, content.substr(i, j - i));
                i = j;
            } else {
                otherToken(TokenType::Other, content.substr(i, 1));
                afterDot_ = c == '.' || c == '!';
                ++i;
            }
            break;
        }
    }
    if (!continued) {
        endStatement();
        inComment_ = false;
        inString_ = false;
    }
}

// Inside a statement that has nothing pending, skips to what may matter: a string, a comment, the next
// statement, a bracketed name, or (inside a procedure) a word that may be a decision point.
std::size_t CodeReader::skipPlain(std::string_view content, std::size_t i) {
    const std::size_t n = content.size();
    const char* const text = content.data();
    const bool inProcedure = open_.has_value();
    while (i < n) {
        const unsigned char k = kCharClasses[static_cast<unsigned char>(text[i])];
        if (k & (kWordStart | kDigit)) {
            std::size_t j = i + 1;
            while (j < n && (kCharClasses[static_cast<unsigned char>(text[j])] & (kWordStart | kDigit)))
                ++j;
            if ((k & kDecideLetter) && inProcedure && IsDecisionWord(content.substr(i, j - i)))
                return i;
            i = j;
            afterDot_ = false;
            previous_ = Previous::Other;
            continue;
        }
        if (k & kSpecial)
            return i;
        const char c = text[i++];
        if (!IsBlankOrTab(c)) {
            afterDot_ = c == '.' || c == '!';
            previous_ = Previous::Other;
        }
    }
    return n;
}

std::size_t CodeReader::readString(std::string_view content, std::size_t from) {
    const std::size_t n = content.size();
    std::size_t j = from;
    inString_ = true;
    while (true) {
        j = content.find('"', j);
        if (j == std::string_view::npos || j + 1 >= n || content[j + 1] != '"')
            break;
        j += 2;
    }
    const std::size_t end = j == std::string_view::npos ? n : j;
    if (keptString_) {
        std::string& kept = head_[kept_ - 1].text;
        for (std::size_t k = from; k < end && kept.size() < kMaxTokenBytes; ++k) {
            kept.push_back(content[k]);
            if (content[k] == '"')
                ++k; // a doubled quote stands for one
        }
    }
    if (j == std::string_view::npos)
        return n; // the string goes on on the continuation
    inString_ = false;
    return j + 1;
}

void CodeReader::startToken() {
    if (tokens_++ == 0) {
        statementLine_ = lineNo_;
        statementCodeBefore_ = lineCodeBefore_;
    }
}

void CodeReader::keepToken(TokenType type, std::string_view text) {
    keptString_ = false;
    if (!keeping_ || kept_ >= head_.size())
        return;
    keptString_ = type == TokenType::String;
    Token& token = head_[kept_++];
    token.type = type;
    token.text.assign(text.substr(0, kMaxTokenBytes));
}

void CodeReader::word(std::string_view text) {
    if (tokens_ == 0) {
        if (Is(text, "rem")) {
            inComment_ = true;
            return;
        }
        keeping_ = MayBeginHead(text);
    }
    startToken();
    keepToken(TokenType::Word, text);
    if (open_) {
        if (afterDot_)
            countDecision({});
        else
            countDecision(text);
    }
    afterDot_ = false;
}

void CodeReader::otherToken(TokenType type, std::string_view text) {
    if (tokens_ > 0 && !keeping_ && !pendingFor_ && !pendingCase_) { // nothing here depends on it
        previous_ = Previous::Other;
        afterDot_ = false;
        return;
    }
    startToken();
    keepToken(type, text);
    if (open_)
        countDecision({});
    afterDot_ = false;
}

// One token of a statement inside a procedure: `w` a word that may be a decision, empty for anything
// else. For and Case decide by the word after them.
void CodeReader::countDecision(std::string_view w) {
    std::int64_t& complexity = open_->procedure.complexity;
    if (pendingFor_) {
        pendingFor_ = false;
        if (!(Is(w, "input") || Is(w, "output") || Is(w, "append") || Is(w, "binary") || Is(w, "random")))
            ++complexity;
    }
    if (pendingCase_) {
        pendingCase_ = false;
        if (!Is(w, "else"))
            ++complexity;
    }
    Previous previous = Previous::Other;
    switch (w.size()) {
    case 2:
        if (Is(w, "if") && previous_ != Previous::End)
            ++complexity;
        break;
    case 3:
        if (Is(w, "for"))
            pendingFor_ = previous_ != Previous::Exit;
        else if (Is(w, "end"))
            previous = Previous::End;
        break;
    case 4:
        if (Is(w, "case"))
            pendingCase_ = previous_ != Previous::Select;
        else if (Is(w, "exit"))
            previous = Previous::Exit;
        break;
    case 5:
        if (Is(w, "while") || Is(w, "until"))
            ++complexity;
        break;
    case 6:
        if (Is(w, "elseif"))
            ++complexity;
        else if (Is(w, "select"))
            previous = Previous::Select;
        break;
    default:
        break;
    }
    previous_ = previous;
}

void CodeReader::resolvePending() {
    if (open_ && (pendingFor_ || pendingCase_))
        countDecision({});
}

void CodeReader::endStatement() {
    resolvePending();
    if (tokens_ > 0 && keeping_)
        readHead();
    tokens_ = 0;
    kept_ = 0;
    keptString_ = false;
    keeping_ = false;
    afterDot_ = pendingFor_ = pendingCase_ = false;
    previous_ = Previous::None;
}

void CodeReader::closeOpen(std::int64_t endLine, std::int64_t codeAtEnd, bool unclosed) {
    Procedure procedure = std::move(open_->procedure);
    procedure.lines = endLine >= procedure.line ? endLine - procedure.line + 1 : 0;
    procedure.code = procedure.lines > 0 ? codeAtEnd - open_->codeBefore : 0;
    procedure.unclosed = unclosed;
    code_.procedures.push_back(std::move(procedure));
    open_.reset();
}

void CodeReader::readHead() {
    const auto wordAt = [&](std::size_t k, std::string_view lower) {
        return k < kept_ && head_[k].type == TokenType::Word && Is(head_[k].text, lower);
    };
    const auto nameAt = [&](std::size_t k) {
        return k < kept_ && (head_[k].type == TokenType::Word || head_[k].type == TokenType::Bracketed) &&
               !head_[k].text.empty();
    };
    if (wordAt(0, "end")) {
        if (open_ && (wordAt(1, "sub") || wordAt(1, "function") || wordAt(1, "property")))
            closeOpen(lineNo_, codeLines_, false);
        return;
    }
    std::size_t i = 0;
    std::string_view scope = kPublic;
    constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kScopes = {
        {{"public", kPublic}, {"private", kPrivate}, {"friend", kFriend}, {"global", kGlobal}}};
    for (const auto& [lower, given] : kScopes)
        if (wordAt(0, lower)) {
            scope = given;
            i = 1;
        }
    const bool isStatic = wordAt(i, "static");
    if (isStatic)
        ++i;
    std::optional<ProcedureKind> kind;
    std::size_t name = i + 1;
    if (wordAt(i, "sub"))
        kind = ProcedureKind::Sub;
    else if (wordAt(i, "function"))
        kind = ProcedureKind::Function;
    else if (wordAt(i, "property")) {
        name = i + 2;
        if (wordAt(i + 1, "get"))
            kind = ProcedureKind::PropertyGet;
        else if (wordAt(i + 1, "let"))
            kind = ProcedureKind::PropertyLet;
        else if (wordAt(i + 1, "set"))
            kind = ProcedureKind::PropertySet;
    }
    if (kind && nameAt(name)) {
        if (open_)
            closeOpen(statementLine_ - 1, statementCodeBefore_, true);
        Procedure procedure;
        procedure.kind = *kind;
        procedure.name = head_[name].text;
        procedure.scope = scope;
        procedure.isStatic = isStatic;
        procedure.line = statementLine_;
        open_ = OpenProcedure{std::move(procedure), statementCodeBefore_};
        return;
    }
    if (isStatic)
        return;
    if (wordAt(i, "event") && nameAt(i + 1)) {
        code_.events.push_back({head_[i + 1].text, scope, statementLine_});
        return;
    }
    if (!wordAt(i, "declare"))
        return;
    std::size_t k = i + 1;
    if (wordAt(k, "ptrsafe"))
        ++k;
    const bool isFunction = wordAt(k, "function");
    if (!(isFunction || wordAt(k, "sub")) || !nameAt(k + 1) || !wordAt(k + 2, "lib") || k + 3 >= kept_ ||
        head_[k + 3].type != TokenType::String)
        return;
    ApiDeclaration declaration;
    declaration.name = head_[k + 1].text;
    declaration.library = LowerAscii(head_[k + 3].text);
    if (declaration.library.ends_with(".dll"))
        declaration.library.resize(declaration.library.size() - 4);
    const bool alias = wordAt(k + 4, "alias") && k + 5 < kept_ && head_[k + 5].type == TokenType::String;
    declaration.function = alias ? head_[k + 5].text : declaration.name;
    declaration.scope = scope;
    declaration.isFunction = isFunction;
    declaration.line = statementLine_;
    code_.declarations.push_back(std::move(declaration));
}

void CodeReader::runDirective() {
    std::string_view text = directive_;
    const auto quote = text.find('\'');
    if (quote != std::string_view::npos)
        text = text.substr(0, quote);
    std::size_t pos = text.find('#') + 1;
    const std::string_view keyword = FirstWord(text, pos);
    std::string_view rest = text.substr(pos);
    const auto condition = [&]() -> bool {
        // Without its closing Then.
        std::string_view expression = rest;
        while (!expression.empty() && IsBlankOrTab(expression.back()))
            expression.remove_suffix(1);
        if (expression.size() >= 4 && Is(expression.substr(expression.size() - 4), "then") &&
            (expression.size() == 4 || !IsWordChar(expression[expression.size() - 5])))
            expression.remove_suffix(4);
        return EvaluateCondition(expression, member_, project_).value_or(-1) != 0;
    };
    if (Is(keyword, "if")) {
        const bool outer = active();
        const bool holds = outer && condition();
        frames_.push_back({outer, holds, holds});
    } else if (Is(keyword, "elseif")) {
        if (frames_.empty())
            return;
        Frame& frame = frames_.back();
        const bool holds = frame.outerActive && !frame.taken && condition();
        frame.active = holds;
        frame.taken = frame.taken || holds;
    } else if (Is(keyword, "else")) {
        if (frames_.empty())
            return;
        Frame& frame = frames_.back();
        frame.active = frame.outerActive && !frame.taken;
        frame.taken = true;
    } else if (Is(keyword, "endif") || (Is(keyword, "end") && Is(FirstWord(text, pos), "if"))) {
        if (!frames_.empty())
            frames_.pop_back();
    } else if (Is(keyword, "const") && active()) {
        const std::string_view name = FirstWord(text, pos);
        while (pos < text.size() && IsBlankOrTab(text[pos]))
            ++pos;
        if (name.empty() || pos >= text.size() || text[pos] != '=')
            return;
        if (auto value = EvaluateCondition(text.substr(pos + 1), member_, project_))
            member_.set(name, *value);
    }
}

MemberCode CodeReader::finish() {
    if (continuing_ && !inDirective_ && active())
        endStatement();
    if (open_)
        closeOpen(lineNo_, codeLines_, true);
    return std::move(code_);
}

MemberCode ReadMemberCode(vb::LineReader& reader, vb::SourceKind kind, const CompileConstants& project) {
    CodeReader code(HasObjectDescription(kind), project);
    std::string_view line;
    while (reader.next(line))
        code.add(line);
    return code.finish();
}

} // namespace counter

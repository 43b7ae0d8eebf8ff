#include "counter/code_reader.h"

#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
enum class Keyword { None, If, ElseIf, Case, For, While, Until, End, Exit, Select };

Keyword KeywordOf(std::string_view w) noexcept {
    switch (w.size()) {
    case 2:
        return Is(w, "if") ? Keyword::If : Keyword::None;
    case 3:
        return Is(w, "for") ? Keyword::For : Is(w, "end") ? Keyword::End : Keyword::None;
    case 4:
        return Is(w, "case") ? Keyword::Case : Is(w, "exit") ? Keyword::Exit : Keyword::None;
    case 5:
        return Is(w, "while") ? Keyword::While : Is(w, "until") ? Keyword::Until : Keyword::None;
    case 6:
        return Is(w, "elseif") ? Keyword::ElseIf : Is(w, "select") ? Keyword::Select : Keyword::None;
    default:
        return Keyword::None;
    }
}

bool IsDecisionWord(std::string_view w) noexcept {
    return KeywordOf(w) != Keyword::None;
}

// The words after For that make it the For of an Open statement.
bool IsOpenMode(std::string_view w) noexcept {
    return Is(w, "input") || Is(w, "output") || Is(w, "append") || Is(w, "binary") || Is(w, "random");
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
    if (!continuing_ && !continued && quickLine(content))
        return;
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
            // A type character ends the word, as when the word is read as a token ("x!" is no "x" and "!").
            if (j < n && IsTypeCharacter(text[j]) && (j + 1 >= n || !IsWordChar(text[j + 1])))
                ++j;
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

#if defined(__SSE2__)
namespace {

// The bytes of a line of at most 64 bytes as bit masks, bit i for byte i.
struct LineMasks {
    std::uint64_t word = 0;       // letters, digits, "_", bytes above 0x7F
    std::uint64_t decide = 0;     // the letters that may begin a decision word
    std::uint64_t quote = 0;      // '"'
    std::uint64_t apostrophe = 0; // "'"
    std::uint64_t colon = 0;
    std::uint64_t bracket = 0; // "["
    std::uint64_t blank = 0;   // blank or tab
};

// Adds the classes of the 16 bytes at `at` to the masks, as bits `shift` to `shift` + 15.
void AddMasks(LineMasks& masks, const char* at, unsigned shift) noexcept {
    const auto eq = [](__m128i v, char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
    const auto bits = [shift](__m128i m) {
        return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(m))) << shift;
    };
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i lower = _mm_or_si128(v, _mm_set1_epi8(0x20));
    const __m128i letter = _mm_and_si128(_mm_cmpgt_epi8(lower, _mm_set1_epi8('a' - 1)),
                                         _mm_cmplt_epi8(lower, _mm_set1_epi8('z' + 1)));
    const __m128i digit =
        _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8('0' - 1)), _mm_cmplt_epi8(v, _mm_set1_epi8('9' + 1)));
    const __m128i word = _mm_or_si128(_mm_or_si128(letter, digit),
                                      _mm_or_si128(eq(v, '_'), _mm_cmplt_epi8(v, _mm_setzero_si128())));
    const __m128i decide = _mm_and_si128(
        letter, _mm_or_si128(_mm_or_si128(_mm_or_si128(eq(lower, 'i'), eq(lower, 'e')),
                                          _mm_or_si128(eq(lower, 'c'), eq(lower, 'f'))),
                             _mm_or_si128(_mm_or_si128(eq(lower, 'w'), eq(lower, 'u')), eq(lower, 's'))));
    masks.word |= bits(word);
    masks.decide |= bits(decide);
    masks.quote |= bits(eq(v, '"'));
    masks.apostrophe |= bits(eq(v, '\''));
    masks.colon |= bits(eq(v, ':'));
    masks.bracket |= bits(eq(v, '['));
    masks.blank |= bits(_mm_or_si128(eq(v, ' '), eq(v, '\t')));
}

// The masks of a line of 1 to 64 bytes. Only its own bytes are read: from 16 bytes on, in loads of 16 of
// them, the last one ending with the line (its bytes overlap the load before, which is harmless for masks).
LineMasks MasksOf(std::string_view line) noexcept {
    LineMasks masks;
    const std::size_t n = line.size();
    if (n < 16) {
        alignas(16) char bytes[16] = {};
        std::memcpy(bytes, line.data(), n);
        AddMasks(masks, bytes, 0);
        return masks;
    }
    std::size_t k = 0;
    for (; k + 16 <= n; k += 16)
        AddMasks(masks, line.data() + k, static_cast<unsigned>(k));
    if (k < n)
        AddMasks(masks, line.data() + n - 16, static_cast<unsigned>(n - 16));
    return masks;
}

// Bits [from, to) set, for from, to <= 64 (none when from >= to).
std::uint64_t Bits(std::size_t from, std::size_t to) noexcept {
    if (from >= to)
        return 0;
    const std::uint64_t below = to >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << to) - 1;
    return below & ~((std::uint64_t{1} << from) - 1);
}

// The tokens of one line of at most 64 bytes, found from its masks.
class QuickLine {
public:
    QuickLine(std::string_view line, const LineMasks& masks, std::uint64_t inString, std::uint64_t code)
        : text_(line), masks_(masks), words_(masks.word & ~inString & code), starts_(words_ & ~(words_ << 1)),
          tokens_(~masks.blank & code) {}

    std::uint64_t tokens() const noexcept { return tokens_; }
    bool wordStartsAt(std::size_t at) const noexcept { return (starts_ >> at & 1) != 0; }
    // The word token that starts at `at`: its letters and digits, and a type character right after them
    // that no letter or digit follows.
    std::string_view wordAt(std::size_t at) const noexcept {
        const std::uint64_t after = ~(words_ >> at);
        std::size_t end = after == 0 ? 64 : at + static_cast<std::size_t>(__builtin_ctzll(after));
        if (end < text_.size() && IsTypeCharacter(text_[end]) &&
            (end + 1 >= text_.size() || !IsWordChar(text_[end + 1])))
            ++end;
        return text_.substr(at, end - at);
    }
    // The first token at or after `from` and before `to`, or `to` when there is none.
    std::size_t nextToken(std::size_t from, std::size_t to) const noexcept {
        const std::uint64_t found = tokens_ & Bits(from, to);
        return found == 0 ? to : static_cast<std::size_t>(__builtin_ctzll(found));
    }
    // Whether the word at `at` stands inside a number or a literal that begins with "&" ("1.If", "&HEnd",
    // "x&Case"): the token reading takes such a run as one token, so lines with them are left to it.
    bool inLiteral(std::size_t at) const noexcept {
        std::size_t start = at;
        bool ampersand = false;
        for (; start > 0; --start) {
            const char c = text_[start - 1];
            if (!IsWordChar(c) && c != '.' && !IsTypeCharacter(c))
                break;
            ampersand = ampersand || (c == '&' && IsWordChar(text_[start]));
        }
        return ampersand || (start < at && text_[start] >= '0' && text_[start] <= '9');
    }
    // Whether the last token byte in [from, at) is a "." or a "!" that makes the word at `at` a member's
    // name (a "!" right after a word and before no letter or digit is that word's type character).
    bool followsDot(std::size_t from, std::size_t at) const noexcept {
        const std::uint64_t before = tokens_ & Bits(from, at);
        if (before == 0)
            return false;
        const auto last = static_cast<std::size_t>(63 - __builtin_clzll(before));
        const char c = text_[last];
        if (c == '!')
            return !(last > 0 && (words_ >> (last - 1) & 1) != 0 && (words_ >> (last + 1) & 1) == 0);
        return c == '.';
    }
    enum class Candidate { Word, Member, Literal };
    // What the word that begins at `at` is: a word that may be a keyword, a member's name, or part of a
    // literal; `previous` is set to the keyword of the word before it in [from, at) (None for any other
    // token, and for a member's name).
    Candidate candidateAt(std::size_t from, std::size_t at, Keyword& previous) const noexcept {
        previous = Keyword::None;
        if (inLiteral(at))
            return Candidate::Literal;
        if (followsDot(from, at))
            return Candidate::Member;
        const std::uint64_t before = tokens_ & Bits(from, at);
        if (before != 0) {
            const auto last = static_cast<std::size_t>(63 - __builtin_clzll(before));
            if ((words_ >> last & 1) != 0) {
                const auto start =
                    static_cast<std::size_t>(63 - __builtin_clzll(starts_ & Bits(0, last + 1)));
                if (inLiteral(start))
                    return Candidate::Literal;
                if (!followsDot(from, start))
                    previous = KeywordOf(wordAt(start));
            }
        }
        return Candidate::Word;
    }
    // The decision points of the statement in [from, to), or nullopt when a literal leaves the line to
    // the token reading.
    std::optional<std::int64_t> decisions(std::size_t from, std::size_t to) const noexcept {
        std::int64_t count = 0;
        for (std::uint64_t candidates = starts_ & masks_.decide & Bits(from, to); candidates != 0;
             candidates &= candidates - 1) {
            const auto at = static_cast<std::size_t>(__builtin_ctzll(candidates));
            Keyword previous;
            const Candidate candidate = candidateAt(from, at, previous);
            if (candidate == Candidate::Literal)
                return std::nullopt;
            if (candidate == Candidate::Member)
                continue;
            const std::string_view w = wordAt(at);
            const auto nextWord = [&]() -> std::string_view {
                const std::size_t next = nextToken(at + w.size(), to);
                return next < to && wordStartsAt(next) ? wordAt(next) : std::string_view();
            };
            switch (KeywordOf(w)) {
            case Keyword::If:
                count += previous != Keyword::End;
                break;
            case Keyword::ElseIf:
            case Keyword::While:
            case Keyword::Until:
                ++count;
                break;
            case Keyword::For:
                if (previous != Keyword::Exit) {
                    const std::string_view n = nextWord();
                    count += !IsOpenMode(n);
                }
                break;
            case Keyword::Case:
                if (previous != Keyword::Select)
                    count += !Is(nextWord(), "else");
                break;
            default:
                break;
            }
        }
        return count;
    }

private:
    std::string_view text_;
    const LineMasks& masks_;
    std::uint64_t words_;  // letters and digits of the code outside strings
    std::uint64_t starts_; // where words begin
    std::uint64_t tokens_; // every byte of a token: what is neither blank nor comment
};

} // namespace
#endif

// A line of at most 64 bytes that begins and ends its statements, holds no bracketed name and no line
// that may begin a procedure, a declaration or an end of a procedure (those take readLine): its decision
// points are counted from bit masks of its bytes, without the token by token reading. False when the
// line is not such a line; nothing has changed then.
bool CodeReader::quickLine(std::string_view line) {
#if defined(__SSE2__)
    const std::size_t n = line.size();
    if (n == 0 || n > 64)
        return false;
    const LineMasks masks = MasksOf(line);
    const std::uint64_t valid = Bits(0, n);
    if ((masks.bracket & valid) != 0)
        return false;
    const std::uint64_t firstByte = ~masks.blank & valid;
    if (firstByte == 0)
        return true;
    if (line[static_cast<std::size_t>(__builtin_ctzll(firstByte))] == '#')
        return false; // a directive
    if (!active())
        return true;
    // A string runs from its quote to the next (a doubled quote ends one and begins the next), or to the
    // end of the line; a comment from the first apostrophe outside strings.
    std::uint64_t inString = 0;
    for (std::uint64_t q = masks.quote & valid; q != 0;) {
        const auto open = static_cast<std::size_t>(__builtin_ctzll(q));
        q &= q - 1;
        const std::size_t close = q == 0 ? n - 1 : static_cast<std::size_t>(__builtin_ctzll(q));
        q &= q - 1;
        inString |= Bits(open, close + 1);
    }
    std::uint64_t code = valid;
    if (const std::uint64_t comment = masks.apostrophe & ~inString & valid)
        code &= Bits(0, static_cast<std::size_t>(__builtin_ctzll(comment)));
    std::uint64_t separators = masks.colon & ~inString & code;
    for (std::uint64_t s = separators; s != 0; s &= s - 1) {
        const auto at = static_cast<std::size_t>(__builtin_ctzll(s));
        if (at + 1 < n && line[at + 1] == '=')
            separators &= ~(std::uint64_t{1} << at); // ":=" of a named argument
    }
    const QuickLine tokens(line, masks, inString, code);
    std::int64_t decisions = 0;
    for (std::size_t from = 0;;) {
        const std::size_t to = separators == 0 ? n : static_cast<std::size_t>(__builtin_ctzll(separators));
        const std::size_t first = tokens.nextToken(from, to);
        bool comment = false;
        if (first < to && tokens.wordStartsAt(first)) {
            const std::string_view w = tokens.wordAt(first);
            comment = Is(w, "rem");
            if (!comment && MayBeginHead(w)) {
                if (!Is(w, "end"))
                    return false;
                const std::size_t next = tokens.nextToken(first + w.size(), to);
                if (next < to && tokens.wordStartsAt(next) && MayBeginHead(tokens.wordAt(next)))
                    return false; // End Sub, End Function, End Property
            }
        }
        if (comment)
            break;
        if (open_) {
            const std::optional<std::int64_t> found = tokens.decisions(from, to);
            if (!found)
                return false;
            decisions += *found;
        }
        if (separators == 0)
            break;
        from = to + 1;
        separators &= separators - 1;
    }
    if (open_)
        open_->procedure.complexity += decisions;
    return true;
#else
    (void)line;
    return false;
#endif
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
        if (!IsOpenMode(w))
            ++complexity;
    }
    if (pendingCase_) {
        pendingCase_ = false;
        if (!Is(w, "else"))
            ++complexity;
    }
    Previous previous = Previous::Other;
    switch (KeywordOf(w)) {
    case Keyword::If:
        if (previous_ != Previous::End)
            ++complexity;
        break;
    case Keyword::ElseIf:
    case Keyword::While:
    case Keyword::Until:
        ++complexity;
        break;
    case Keyword::For:
        pendingFor_ = previous_ != Previous::Exit;
        break;
    case Keyword::Case:
        pendingCase_ = previous_ != Previous::Select;
        break;
    case Keyword::End:
        previous = Previous::End;
        break;
    case Keyword::Exit:
        previous = Previous::Exit;
        break;
    case Keyword::Select:
        previous = Previous::Select;
        break;
    case Keyword::None:
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

#include "counter/compile_constants.h"

#include <algorithm>
#include <charconv>

namespace counter {

namespace {

constexpr int kMaxDepth = 64; // nesting of parentheses and Not; deeper conditions do not evaluate

char Lower(char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

bool IsNameChar(char c) noexcept {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool IsDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

// Reads a condition from left to right; any failure leaves `failed` set.
class Condition {
public:
    Condition(std::string_view text, const CompileConstants& member, const CompileConstants& project)
        : text_(text), member_(member), project_(project) {}

    std::optional<std::int64_t> value() {
        const std::int64_t v = orXor(0);
        skipBlanks();
        if (failed_ || pos_ != text_.size())
            return std::nullopt;
        return v;
    }

private:
    void skipBlanks() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t'))
            ++pos_;
    }

    // The next word (letters, digits, "_") in lower case, without taking it.
    std::string peekWord() {
        skipBlanks();
        std::size_t end = pos_;
        while (end < text_.size() && IsNameChar(text_[end]))
            ++end;
        return LowerAscii(text_.substr(pos_, end - pos_));
    }

    bool takeWord(std::string_view word) {
        if (peekWord() != word)
            return false;
        pos_ += word.size();
        return true;
    }

    std::int64_t fail() {
        failed_ = true;
        return 0;
    }

    std::int64_t orXor(int depth) {
        std::int64_t v = orOf(depth);
        while (!failed_ && takeWord("xor"))
            v ^= orOf(depth);
        return v;
    }
    std::int64_t orOf(int depth) {
        std::int64_t v = andOf(depth);
        while (!failed_ && takeWord("or"))
            v |= andOf(depth);
        return v;
    }
    std::int64_t andOf(int depth) {
        std::int64_t v = notOf(depth);
        while (!failed_ && takeWord("and"))
            v &= notOf(depth);
        return v;
    }
    std::int64_t notOf(int depth) {
        if (depth > kMaxDepth)
            return fail();
        if (takeWord("not"))
            return ~notOf(depth + 1);
        return comparison(depth);
    }
    std::int64_t comparison(int depth) {
        std::int64_t v = unary(depth);
        while (!failed_) {
            skipBlanks();
            const std::string_view rest = text_.substr(pos_);
            std::string_view op;
            for (const std::string_view candidate : {"<>", "<=", ">=", "=", "<", ">"})
                if (rest.starts_with(candidate)) {
                    op = candidate;
                    break;
                }
            if (op.empty())
                return v;
            pos_ += op.size();
            const std::int64_t w = unary(depth);
            const bool holds = op == "="    ? v == w
                               : op == "<>" ? v != w
                               : op == "<"  ? v < w
                               : op == ">"  ? v > w
                               : op == "<=" ? v <= w
                                            : v >= w;
            v = holds ? -1 : 0;
        }
        return v;
    }
    std::int64_t unary(int depth) {
        if (depth > kMaxDepth)
            return fail();
        skipBlanks();
        if (pos_ < text_.size() && text_[pos_] == '-') {
            ++pos_;
            return -static_cast<std::uint64_t>(unary(depth + 1));
        }
        return primary(depth);
    }
    std::int64_t primary(int depth) {
        skipBlanks();
        if (pos_ >= text_.size())
            return fail();
        const char c = text_[pos_];
        if (c == '(') {
            ++pos_;
            const std::int64_t v = orXor(depth + 1);
            skipBlanks();
            if (pos_ >= text_.size() || text_[pos_] != ')')
                return fail();
            ++pos_;
            return v;
        }
        if (c == '&')
            return radixNumber();
        if (IsDigit(c)) {
            std::int64_t v = 0;
            const auto [end, error] = std::from_chars(text_.data() + pos_, text_.data() + text_.size(), v);
            if (error != std::errc())
                return fail();
            pos_ = static_cast<std::size_t>(end - text_.data());
            return v;
        }
        const std::string word = peekWord();
        if (word.empty() || IsDigit(word.front()))
            return fail();
        pos_ += word.size();
        if (word == "true")
            return -1;
        if (word == "false")
            return 0;
        if (word == "not" || word == "and" || word == "or" || word == "xor")
            return fail();
        if (auto v = member_.find(word))
            return *v;
        if (auto v = project_.find(word))
            return *v;
        return word == "win32" ? -1 : 0;
    }
    std::int64_t radixNumber() {
        if (pos_ + 1 >= text_.size())
            return fail();
        const char radix = Lower(text_[pos_ + 1]);
        const int base = radix == 'h' ? 16 : radix == 'o' ? 8 : 0;
        if (base == 0)
            return fail();
        pos_ += 2;
        std::uint64_t v = 0;
        const auto [end, error] = std::from_chars(text_.data() + pos_, text_.data() + text_.size(), v, base);
        if (error != std::errc())
            return fail();
        pos_ = static_cast<std::size_t>(end - text_.data());
        if (pos_ < text_.size() && text_[pos_] == '&') // a Long's type character
            ++pos_;
        return static_cast<std::int64_t>(v);
    }

    std::string_view text_;
    const CompileConstants& member_;
    const CompileConstants& project_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = Lower(c);
    return lower;
}

void CompileConstants::set(std::string_view name, std::int64_t value) {
    std::string key = LowerAscii(name);
    for (auto& [known, v] : values_)
        if (known == key) {
            v = value;
            return;
        }
    values_.emplace_back(std::move(key), value);
}

std::optional<std::int64_t> CompileConstants::find(std::string_view name) const {
    for (const auto& [known, v] : values_)
        if (known.size() == name.size()) {
            bool same = true;
            for (std::size_t i = 0; same && i < name.size(); ++i)
                same = known[i] == Lower(name[i]);
            if (same)
                return v;
        }
    return std::nullopt;
}

std::optional<std::int64_t> EvaluateCondition(std::string_view expression, const CompileConstants& member,
                                              const CompileConstants& project) {
    return Condition(expression, member, project).value();
}

CompileConstants ProjectConstantsOf(std::string_view condComp) {
    condComp = Trimmed(condComp);
    if (condComp.size() >= 2 && condComp.front() == '"' && condComp.back() == '"')
        condComp = condComp.substr(1, condComp.size() - 2);
    CompileConstants constants;
    const CompileConstants none;
    while (!condComp.empty()) {
        const auto colon = condComp.find(':');
        const std::string_view pair = condComp.substr(0, colon);
        condComp = colon == std::string_view::npos ? std::string_view{} : condComp.substr(colon + 1);
        const auto equals = pair.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view name = Trimmed(pair.substr(0, equals));
        if (name.empty() || !std::all_of(name.begin(), name.end(), IsNameChar))
            continue;
        if (auto value = EvaluateCondition(pair.substr(equals + 1), constants, none))
            constants.set(name, *value);
    }
    return constants;
}

} // namespace counter

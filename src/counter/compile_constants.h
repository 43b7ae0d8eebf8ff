#pragma once
// Conditional compilation: the constants a member's #If lines test, and the value of a condition.
//
// A condition is made of integers (decimal, &H hex, &O octal), True (-1), False (0), names, the
// comparisons =, <>, <, >, <=, >= (true is -1, false 0), Not, And, Or, Xor (bitwise, in this order of
// binding) and parentheses. A name is looked up without regard to letter case: first among the member's
// #Const lines met so far, then among the project's CondComp constants, then Win32 (-1) and Win16 (0);
// any other name is 0.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace counter {

class CompileConstants {
public:
    void set(std::string_view name, std::int64_t value);
    std::optional<std::int64_t> find(std::string_view name) const;
    bool empty() const noexcept { return values_.empty(); }

private:
    std::vector<std::pair<std::string, std::int64_t>> values_; // names in lower case
};

// The value of `expression`, or nullopt when it holds anything else than the above (or nothing).
std::optional<std::int64_t> EvaluateCondition(std::string_view expression, const CompileConstants& member,
                                              const CompileConstants& project);

// The constants of a project file's CondComp value: NAME = VALUE pairs separated by ":", the whole
// with or without its quotes. A pair that does not read is left out.
CompileConstants ProjectConstantsOf(std::string_view condComp);

// The ASCII letters of `text` in lower case.
std::string LowerAscii(std::string_view text);

} // namespace counter

#pragma once
// The rules a command line must keep beyond what CLI11 checks by itself. Each throws UsageError with a
// German message naming the offending word.

#include <CLI/CLI.hpp>

namespace cli {

// Before parsing: a flag given a value ("--json=false", "--code-only=yes"). CLI11 would read it as the
// flag switched on or off; the program's flags are switches without values. Words after "--" are operands.
void RejectFlagValues(const CLI::App& app, int argc, const char* const* argv);

// Before parsing: whether the option `name` is among the words before "--" (alone or as name=value).
bool NamesOption(int argc, const char* const* argv, std::string_view name);

// The message for a word no operand takes: "überzähliges Argument für COMMAND: WORD".
std::string OneWordTooMany(const CLI::App& command, const std::string& word);

// After parsing: exactly one command, and no word that neither the command nor an option took.
void CheckCommandWords(const CLI::App& app);

// After CLI11 found a required operand missing: names the first missing operand of the command.
void ReportMissingOperand(const CLI::App& command);

// Several operands all name projects (a folder, a .vbp or .vbg file). A project file named otherwise
// stands alone, and a word after it is one too many, as it always was.
void RequireProjectOperands(const CLI::App& command, const std::vector<std::string>& operands);

// The German message for what CLI11 found wrong, naming the option; none of CLI11's own words.
std::string GermanParseError(const CLI::ParseError& error);

// An operand given as empty text is missing too.
void RequireOperand(const CLI::App& command, const char* name);

} // namespace cli

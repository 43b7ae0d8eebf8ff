#pragma once
// The rules a command line must keep beyond what CLI11 checks by itself. Each throws UsageError with a
// German message naming the offending word.

#include <CLI/CLI.hpp>

namespace cli {

// After parsing: a command, and no word that neither the command nor an option took.
void CheckCommandWords(const CLI::App& app);

// An operand given as empty text is missing too.
void RequireOperand(const CLI::App& command, const char* name);

} // namespace cli

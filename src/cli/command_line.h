#pragma once
// The command line of vbprojekt: its four commands, their operands and options, their help texts, and
// the run of the command that was named.

namespace cli {

// The program's name, in front of every message it writes.
inline constexpr const char* kProgram = "vbprojekt";

// Parses the arguments and runs the command they name, or writes the help or the version asked for.
// Returns when that succeeded. UsageError for a command line the program does not take; the command's
// own failures (RuntimeError, Refusal) pass through.
void RunCommandLine(int argc, char** argv);

} // namespace cli

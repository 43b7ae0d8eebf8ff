#pragma once
// The command line of vbprojekt: its commands, their operands and options, their help texts, and
// the run of the command that was named.

namespace cli {

// The program's name, in front of every message it writes.
inline constexpr const char* kProgram = "vbprojekt";

// Parses the arguments and runs the command they name, or writes the help or the version asked for.
// Returns true when that succeeded, false when the command went on past a member file that could not be
// opened (its output is complete otherwise). UsageError for a command line the program does not take; the
// command's own failures (RuntimeError, Refusal) pass through.
bool RunCommandLine(int argc, char** argv);

} // namespace cli

#pragma once
// Runs the built vbprojekt as a child process and captures what it says and how it ends.

#include <string>
#include <vector>

namespace clitest {

struct RunResult {
    int status = -1; // exit status; 128 + signal number when a signal ended it
    std::string out;
    std::string err;
    long peakRssKb = 0; // the child's peak resident memory (rusage of wait4)
};

struct RunOptions {
    std::string workingDirectory;         // empty: the test's own
    std::string standardOutputPath;       // empty: captured through a pipe; otherwise opened for writing
    bool appendStandardOutput = false;    // opened as the shell's ">>" does, not emptied
    bool terminalStandardError = false;   // standard error is a pseudo terminal instead of a pipe
    unsigned short terminalColumns = 0;   // that terminal's width; 0: none set
    std::vector<std::string> environment; // NAME=VALUE set in the child, over the test's own
};

inline RunOptions InFolder(std::string folder) {
    RunOptions options;
    options.workingDirectory = std::move(folder);
    return options;
}
inline RunOptions StandardOutputTo(std::string path) {
    RunOptions options;
    options.standardOutputPath = std::move(path);
    return options;
}
inline RunOptions OnATerminal() {
    RunOptions options;
    options.terminalStandardError = true;
    return options;
}

RunResult RunVbprojekt(const std::vector<std::string>& args, const RunOptions& options = {});

// The sample project's file, absolute.
std::string SampleProject();

} // namespace clitest

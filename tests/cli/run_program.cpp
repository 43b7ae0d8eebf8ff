#include "run_program.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace clitest {

namespace {

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    void reset() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

void Check(bool ok, const char* what) {
    if (!ok)
        throw std::runtime_error(std::string(what) + " failed: " + std::to_string(errno));
}

// How long the child may stay silent before it counts as hung. A merge says nothing until it ends, and it
// syncs its output to disk first: on a slow or busy disk a merge of a large member takes tens of seconds
// with no sign of life, which is no hang. The limit stays below the test's own timeout so that a real hang
// is named as one.
constexpr int kSilenceLimitMs = 240 * 1000;

// Reads both descriptors until each reports its end (a pseudo terminal ends with EIO once the child's
// side is closed). False when the child stayed silent for longer than kSilenceLimitMs.
bool Drain(int outFd, int errFd, RunResult& result) {
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = (outFd >= 0) + (errFd >= 0);
    if (outFd < 0)
        fds[0].fd = -1;
    char buffer[4096];
    while (open > 0) {
        const int ready = ::poll(fds, 2, kSilenceLimitMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
            if (got > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                fds[i].fd = -1;
                --open;
            }
        }
    }
    return true;
}

} // namespace

RunResult RunVbprojekt(const std::vector<std::string>& args, const RunOptions& options) {
    int outPipe[2] = {-1, -1};
    int errPair[2] = {-1, -1}; // read end, write end
    if (options.standardOutputPath.empty())
        Check(::pipe2(outPipe, O_CLOEXEC) == 0, "pipe");
    Fd outRead(outPipe[0]), outWrite(outPipe[1]);
    if (options.terminalStandardError) {
        winsize size{};
        size.ws_col = options.terminalColumns;
        size.ws_row = 24;
        Check(::openpty(&errPair[0], &errPair[1], nullptr, nullptr,
                        options.terminalColumns ? &size : nullptr) == 0,
              "openpty");
        ::fcntl(errPair[0], F_SETFD, FD_CLOEXEC);
        ::fcntl(errPair[1], F_SETFD, FD_CLOEXEC);
    } else
        Check(::pipe2(errPair, O_CLOEXEC) == 0, "pipe");
    Fd errRead(errPair[0]), errWrite(errPair[1]);

    std::vector<std::string> argv = {VBPROJEKT_PROGRAM};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (auto& arg : argv)
        pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    // The test's environment with the options' variables in place of those of the same name.
    std::vector<std::string> environment;
    for (char** variable = environ; *variable; ++variable) {
        const std::string text = *variable;
        const std::string name = text.substr(0, text.find('=') + 1);
        bool replaced = false;
        for (const std::string& own : options.environment)
            replaced = replaced || own.starts_with(name);
        if (!replaced)
            environment.push_back(text);
    }
    environment.insert(environment.end(), options.environment.begin(), options.environment.end());
    std::vector<char*> environmentPointers;
    for (auto& variable : environment)
        environmentPointers.push_back(variable.data());
    environmentPointers.push_back(nullptr);

    const pid_t child = ::fork();
    Check(child >= 0, "fork");
    if (child == 0) {
        const int in = ::open("/dev/null", O_RDONLY);
        const int out =
            options.standardOutputPath.empty()
                ? outWrite.get()
                : ::open(options.standardOutputPath.c_str(),
                         O_WRONLY | O_CREAT | (options.appendStandardOutput ? O_APPEND : O_TRUNC), 0666);
        if (in < 0 || out < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(errWrite.get(), 2) < 0)
            ::_exit(126);
        if (!options.workingDirectory.empty() && ::chdir(options.workingDirectory.c_str()) != 0)
            ::_exit(126);
        ::execve(pointers[0], pointers.data(), environmentPointers.data());
        ::_exit(127);
    }
    outWrite.reset();
    errWrite.reset();

    RunResult result;
    const bool ended = Drain(outRead.get(), errRead.get(), result);
    if (!ended)
        ::kill(child, SIGKILL); // reaped below, so that no hung child outlives the test and its folder
    int status = 0;
    rusage usage{};
    while (::wait4(child, &status, 0, &usage) < 0)
        Check(errno == EINTR, "wait4");
    if (!ended)
        throw std::runtime_error("vbprojekt hangs: silent for " + std::to_string(kSilenceLimitMs / 1000) +
                                 " s; said so far: " + result.err);
    result.peakRssKb = usage.ru_maxrss;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

std::string SampleProject() {
    return (std::filesystem::path(VB_EXAMPLES_DIR) / "Beispiel" / "Beispiel.vbp").string();
}

} // namespace clitest

#include "replaced_file.h"

#include "errors/runtime_error.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vb {

namespace {

// Temporary files not yet renamed, for the signal handler. A split document holds one per part until the
// last is written, and tests hold several; written before the handler can see them, read only there.
constexpr std::size_t kSlots = 1024;
std::array<std::atomic<const char*>, kSlots> pendingTemporaries{};

// The signals whose default action ends the process and that come from outside it: the terminal and
// kill (INT, QUIT, TERM, HUP, USR1, USR2, the real-time ones), a pipe without reader, timers and
// limits. The faults of the process itself (SEGV, BUS, ILL, FPE, ABRT, TRAP, SYS) keep their default.
sigset_t EndingSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int s : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE, SIGALRM, SIGUSR1, SIGUSR2, SIGVTALRM,
                        SIGPROF, SIGXCPU, SIGXFSZ, SIGIO, SIGPWR, SIGSTKFLT})
        sigaddset(&set, s);
    for (int s = SIGRTMIN; s <= SIGRTMAX; ++s)
        sigaddset(&set, s);
    return set;
}

void RemovePendingAndRaise(int signalNumber) {
    const int savedErrno = errno;
    for (auto& slot : pendingTemporaries)
        if (const char* path = slot.load())
            ::unlink(path);
    std::signal(signalNumber, SIG_DFL);
    ::raise(signalNumber); // delivered, with its default action, once the handler returns
    errno = savedErrno;
}

void InstallSignalHandlers() {
    static const bool installed = [] {
        const sigset_t ending = EndingSignals();
        for (int s = 1; s < NSIG; ++s) {
            if (sigismember(&ending, s) != 1)
                continue;
            struct sigaction old {};
            if (::sigaction(s, nullptr, &old) != 0 || old.sa_handler != SIG_DFL)
                continue; // a signal the caller ignores stays ignored, one handled elsewhere stays so
            struct sigaction action {};
            action.sa_handler = RemovePendingAndRaise;
            sigemptyset(&action.sa_mask);
            ::sigaction(s, &action, nullptr);
        }
        return true;
    }();
    (void)installed;
}

void Register(const char* path) {
    for (auto& slot : pendingTemporaries) {
        const char* expected = nullptr;
        if (slot.compare_exchange_strong(expected, path))
            return;
    }
}

void Unregister(const char* path) {
    for (auto& slot : pendingTemporaries) {
        const char* expected = path;
        if (slot.compare_exchange_strong(expected, nullptr))
            return;
    }
}

// Holds back the signals the handler removes temporaries for, while a temporary file exists but is not
// registered yet; a signal arriving meanwhile is delivered when they are let through again.
class HeldSignals {
public:
    HeldSignals() {
        const sigset_t held = EndingSignals();
        ::pthread_sigmask(SIG_BLOCK, &held, &before_);
    }
    ~HeldSignals() { ::pthread_sigmask(SIG_SETMASK, &before_, nullptr); }
    HeldSignals(const HeldSignals&) = delete;
    HeldSignals& operator=(const HeldSignals&) = delete;

private:
    sigset_t before_;
};

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::string FileReachedThrough(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0)
            return path;
        target.resize(static_cast<std::size_t>(n));
        path = target.starts_with('/') ? target : FolderOf(path) + target;
    }
    throw RuntimeError::FromErrno(ELOOP, path);
}

ReplacedFile::ReplacedFile(const std::string& target, const std::function<void(int fd)>& beforeWritingInPlace)
    : target_(target) {
    if (target.empty() || target.find('\0') != std::string::npos)
        throw RuntimeError(err::BadFileName, target);
    final_ = FileReachedThrough(target);
    struct stat existing {};
    const bool exists = ::stat(final_.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        // A pipe, a terminal or a device: nothing to replace. A pipe without a reader fails at once.
        fd_ = ::open(final_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0)
            throw RuntimeError::FromErrno(errno, target);
        ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
        return;
    }
    InstallSignalHandlers();
    std::string pattern = FolderOf(final_) + "." + NameOf(final_) + ".XXXXXX";
    // mkstemp creates the name exclusively, so it never opens a file or link that appeared meanwhile.
    std::optional<HeldSignals> held(std::in_place);
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0) {
        held.reset();
        const int error = errno;
        if (exists && (error == EACCES || error == EPERM || error == EROFS)) {
            // The folder takes no new file; the existing target is written in place, but only after the
            // file actually opened has been looked at, since the name may lead elsewhere by now.
            const int fd = ::open(final_.c_str(), O_WRONLY | O_CLOEXEC);
            if (fd < 0)
                throw RuntimeError::FromErrno(errno, target);
            try {
                if (beforeWritingInPlace)
                    beforeWritingInPlace(fd);
                if (::ftruncate(fd, 0) != 0)
                    throw RuntimeError::FromErrno(errno, target);
            } catch (...) {
                ::close(fd);
                throw;
            }
            fd_ = fd;
            inPlace_ = true;
            return;
        }
        // The name is new, so a missing file can only be a missing folder on the way.
        if (error == ENOENT || error == ENOTDIR)
            throw RuntimeError(err::PathNotFound, target);
        throw RuntimeError::FromErrno(error, target);
    }
    temporary_ = std::move(pattern);
    Register(temporary_.c_str());
    held.reset();
    // An existing target keeps its permission bits; a new one gets what the umask leaves of rw-rw-rw-.
    mode_t mode = existing.st_mode & 07777;
    if (!exists) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd_, mode);
}

ReplacedFile::~ReplacedFile() {
    if (fd_ >= 0)
        ::close(fd_);
    if (!temporary_.empty() && !committed_) {
        ::unlink(temporary_.c_str());
        Unregister(temporary_.c_str());
    }
}

void ReplacedFile::sync() {
    if (temporary_.empty() || committed_ || fd_ < 0)
        return;
    if (::fsync(fd_) != 0)
        throw RuntimeError::FromErrno(errno, target_);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        throw RuntimeError::FromErrno(errno, target_);
}

void ReplacedFile::commit() {
    if (temporary_.empty() || committed_)
        return;
    sync();
    if (::rename(temporary_.c_str(), final_.c_str()) != 0)
        throw RuntimeError::FromErrno(errno, target_);
    committed_ = true;
    Unregister(temporary_.c_str());
}

} // namespace vb

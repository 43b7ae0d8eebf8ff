#include "resource_probe.h"

#include <cstring>
#include <exception>
#include <fstream>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vbtest {

namespace {

long PeakKb() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

long long BytesReadSoFar() {
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value)
        if (key == "rchar:")
            return value;
    return -1;
}

void WriteAll(int fd, const void* data, std::size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n <= 0)
            return;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
}

} // namespace

ChildUsage MeasureInChild(const std::function<void()>& work) {
    int channel[2];
    if (::pipe(channel) != 0)
        return {false, "pipe failed", 0, 0};
    const pid_t child = ::fork();
    if (child < 0)
        return {false, "fork failed", 0, 0};
    if (child == 0) {
        ::close(channel[0]);
        const long peakBefore = PeakKb();
        const long long readBefore = BytesReadSoFar();
        std::string failure;
        try {
            work();
        } catch (const std::exception& e) {
            failure = e.what();
            if (failure.empty())
                failure = "exception";
        } catch (...) {
            failure = "exception";
        }
        // Measured before the reading of /proc/self/io, which costs a few hundred bytes itself.
        const long long readAfter = BytesReadSoFar();
        const long growth = PeakKb() - peakBefore;
        const long long read = readAfter - readBefore;
        WriteAll(channel[1], &growth, sizeof growth);
        WriteAll(channel[1], &read, sizeof read);
        WriteAll(channel[1], failure.data(), failure.size());
        ::_exit(0);
    }
    ::close(channel[1]);
    ChildUsage usage;
    std::string received;
    char chunk[4096];
    for (ssize_t n; (n = ::read(channel[0], chunk, sizeof chunk)) > 0;)
        received.append(chunk, static_cast<std::size_t>(n));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        received.size() < sizeof(long) + sizeof(long long)) {
        usage.failure = "the child process did not finish";
        return usage;
    }
    std::memcpy(&usage.peakGrowthKb, received.data(), sizeof(long));
    std::memcpy(&usage.bytesRead, received.data() + sizeof(long), sizeof(long long));
    usage.failure = received.substr(sizeof(long) + sizeof(long long));
    usage.completed = usage.failure.empty();
    return usage;
}

SmallFileSystem::SmallFileSystem(const std::filesystem::path& folder, int kilobytes) : folder_(folder) {
    std::filesystem::create_directories(folder_);
    const std::string options = "size=" + std::to_string(kilobytes) + "k";
    mounted_ = ::geteuid() == 0 && ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

SmallFileSystem::~SmallFileSystem() {
    if (mounted_)
        ::umount2(folder_.c_str(), MNT_DETACH);
}

} // namespace vbtest

#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

namespace vbfuzz {

MemoryFile::MemoryFile(std::string_view bytes) : fd_(::memfd_create("vbfuzz", MFD_CLOEXEC)) {
    Check(fd_ >= 0, "memfd_create");
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        Check(n > 0, "write to the memory file");
        done += static_cast<std::size_t>(n);
    }
    path_ = "/proc/self/fd/" + std::to_string(fd_);
}

MemoryFile::~MemoryFile() {
    ::close(fd_);
}

std::string MemoryFile::contents() const {
    std::string out;
    char chunk[65536];
    off_t at = 0;
    for (;;) {
        const ssize_t n = ::pread(fd_, chunk, sizeof chunk, at);
        Check(n >= 0, "read the memory file");
        if (n == 0)
            return out;
        out.append(chunk, static_cast<std::size_t>(n));
        at += n;
    }
}

std::vector<std::string_view> SplitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines.push_back(bytes.substr(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.push_back(bytes.substr(start));
    return lines;
}

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

} // namespace vbfuzz

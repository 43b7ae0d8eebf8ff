#include "memory_file.h"

#include <stdexcept>
#include <sys/mman.h>
#include <unistd.h>

namespace vbtest {

MemoryFile::MemoryFile(std::string_view bytes) : fd_(::memfd_create("vbtest", MFD_CLOEXEC)) {
    if (fd_ < 0)
        throw std::runtime_error("memfd_create failed");
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            ::close(fd_);
            throw std::runtime_error("cannot write the memory file");
        }
        done += static_cast<std::size_t>(n);
    }
    ::lseek(fd_, 0, SEEK_SET);
    path_ = "/proc/self/fd/" + std::to_string(fd_);
}

MemoryFile::~MemoryFile() {
    ::close(fd_);
}

std::string MemoryFile::contents() const {
    std::string out;
    char chunk[64 * 1024];
    for (ssize_t n; (n = ::pread(fd_, chunk, sizeof chunk, static_cast<off_t>(out.size()))) != 0;) {
        if (n < 0)
            throw std::runtime_error("cannot read the memory file");
        out.append(chunk, static_cast<std::size_t>(n));
    }
    return out;
}

} // namespace vbtest

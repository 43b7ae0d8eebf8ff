#include "files/file_facts.h"

#include "errors/runtime_error.h"
#include "files/line_reader.h"

#include <cerrno>
#include <unistd.h>
#include <vector>

namespace vb {

TextFacts FactsOfFile(const std::string& path) {
    struct Descriptor {
        int fd;
        ~Descriptor() { ::close(fd); }
    } file{OpenForReading(path)};
    TextFactsScan scan;
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const ssize_t n = ::read(file.fd, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR || (errno == EAGAIN && ClearNonBlocking(file.fd)))
                continue;
            throw RuntimeError::FromErrno(errno, path);
        }
        if (n == 0)
            return scan.facts();
        scan.feed({buffer.data(), static_cast<std::size_t>(n)});
    }
}

} // namespace vb

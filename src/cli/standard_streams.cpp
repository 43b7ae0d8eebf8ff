#include "standard_streams.h"

#include "errors/runtime_error.h"

#include <cerrno>
#include <unistd.h>

namespace cli {

namespace {

// True when all bytes were written; false with errno set. Retries after interrupts and partial writes.
bool WriteFully(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t done = ::write(fd, bytes.data(), bytes.size());
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(done));
    }
    return true;
}

} // namespace

void WriteAll(int fd, std::string_view bytes, const std::string& name) {
    if (!WriteFully(fd, bytes))
        throw vb::RuntimeError::FromErrno(errno, name);
}

void WriteToStandardError(std::string_view line) {
    std::string text(line);
    text += '\n';
    WriteFully(STDERR_FILENO, text);
}

} // namespace cli

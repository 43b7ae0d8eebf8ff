#include "line_writer.h"

#include "errors/runtime_error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace vb {

namespace {

constexpr std::size_t kBufferSize = 256 * 1024;

int OpenForWriting(const std::string& path) {
    // A NUL byte would end the name early and another file than the one named would be written.
    if (path.empty() || path.find('\0') != std::string::npos)
        throw RuntimeError(err::BadFileName, path);
    int fd;
    // Without O_NONBLOCK, opening a named pipe would wait for a reader that never comes; such a pipe
    // gives ENXIO (error 75) instead.
    do {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int e = errno;
        // open() says ENOENT only when a folder on the way is missing.
        throw RuntimeError(e == ENOENT ? err::PathNotFound : ErrorNumberOfErrno(e), path);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

} // namespace

LineWriter::LineWriter(std::string path)
    : path_(std::move(path)), fd_(OpenForWriting(path_)), owned_(true), buffer_(kBufferSize) {}

LineWriter::LineWriter(int fd, std::string name, Writeback writeback)
    : path_(std::move(name)), fd_(fd), owned_(false), buffer_(kBufferSize), writeback_(writeback) {}

LineWriter::~LineWriter() {
    try {
        if (!failed_)
            flush();
    } catch (...) {
        // The error that unwinds the stack is the one reported; this one would only hide it.
    }
    if (owned_ && fd_ >= 0)
        ::close(fd_);
}

void LineWriter::writeLine(std::string_view line) {
    append(line.data(), line.size());
    append("\r\n", 2);
}

void LineWriter::write(std::string_view text) {
    append(text.data(), text.size());
}

char* LineWriter::room(std::size_t size) {
    if (size > buffer_.size() - used_)
        flush();
    return buffer_.data() + used_;
}

void LineWriter::append(const char* data, std::size_t size) {
    if (size == 0)
        return; // an empty line's view may hold no address at all, which memcpy must not get
    if (size > buffer_.size() - used_) {
        flush();
        if (size >= buffer_.size()) {
            writeOut(data, size);
            return;
        }
    }
    std::memcpy(buffer_.data() + used_, data, size);
    used_ += size;
}

void LineWriter::flush() {
    const std::size_t size = used_;
    used_ = 0;
    writeOut(buffer_.data(), size);
}

void LineWriter::writeOut(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t done = ::write(fd_, data, size);
        if (done < 0) {
            if (errno == EINTR)
                continue;
            failed_ = true;
            throw RuntimeError::FromErrno(errno, path_);
        }
        data += done;
        size -= static_cast<std::size_t>(done);
        unstarted_ += static_cast<std::size_t>(done);
    }
    if (writeback_ == Writeback::Behind && unstarted_ >= kWritebackStretch) {
        unstarted_ = 0;
#if defined(__linux__)
        // The whole file: pages already on their way are passed over, so only the new stretch is started.
        // A failure only means the sync does all the work, as without this.
        (void)::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
    }
}

void LineWriter::close() {
    flush();
    if (owned_ && fd_ >= 0) {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0 && errno != EINTR)
            throw RuntimeError::FromErrno(errno, path_);
    }
}

} // namespace vb

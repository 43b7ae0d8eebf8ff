#include "line_reader.h"

#include "runtime_error.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vb {

namespace {

// The first read asks for kMinRead bytes; each later one for as many as were read before, up to kMaxRead.
constexpr std::size_t kMinRead = 16 * 1024;
constexpr std::size_t kMaxRead = 256 * 1024;
constexpr std::size_t npos = static_cast<std::size_t>(-1);

// For a path that open() reported missing: 53 when its folder exists, 76 when the folder is missing.
int MissingErrorNumber(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos || slash == 0)
        return err::FileNotFound;
    struct stat st {};
    const std::string folder = path.substr(0, slash);
    if (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return err::FileNotFound;
    return err::PathNotFound;
}

} // namespace

int OpenForReading(const std::string& path) {
    if (path.empty())
        throw RuntimeError(err::BadFileName, path);
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int e = errno;
        if (e == ENOENT)
            throw RuntimeError(MissingErrorNumber(path), path);
        throw RuntimeError::FromErrno(e, path);
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        throw RuntimeError(err::PathFileAccess, path);
    }
    return fd;
}

LineReader::LineReader(std::string path) : path_(std::move(path)), fd_(OpenForReading(path_)) {}

LineReader::~LineReader() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool LineReader::fill() {
    // Keep the unread bytes, moved to the front; grow when one line fills the whole buffer.
    if (lfFound_ && lfAt_ < begin_) {
        lfFound_ = false;
        lfTo_ = begin_;
    }
    if (begin_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
        end_ -= begin_;
        lfAt_ = lfAt_ > begin_ ? lfAt_ - begin_ : 0;
        lfTo_ = lfTo_ > begin_ ? lfTo_ - begin_ : 0;
        begin_ = 0;
    }
    const std::size_t want = std::min(std::max(read_, kMinRead), kMaxRead);
    // Grow when the wanted read does not fit; a line longer than the buffer at least doubles it.
    if (capacity_ - end_ < want && (end_ == capacity_ || capacity_ < kMaxRead)) {
        const std::size_t capacity = std::max(end_ + want, capacity_ * 2);
        auto grown = std::make_unique_for_overwrite<char[]>(capacity);
        if (end_ > 0)
            std::memcpy(grown.get(), buffer_.get(), end_);
        buffer_ = std::move(grown);
        capacity_ = capacity;
    }
    for (;;) {
        const ssize_t got = ::read(fd_, buffer_.get() + end_, std::min(want, capacity_ - end_));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw RuntimeError::FromErrno(errno, path_);
        }
        if (got == 0) {
            atEof_ = true;
            return false;
        }
        end_ += static_cast<std::size_t>(got);
        read_ += static_cast<std::size_t>(got);
        return true;
    }
}

// Position of the first CR or LF at or after begin_, or npos.
std::size_t LineReader::findLineEnd() {
    const char* base = buffer_.get();
    if ((lfFound_ && lfAt_ < begin_) || (!lfFound_ && lfTo_ < end_)) {
        const std::size_t from = (!lfFound_ && lfTo_ > begin_) ? lfTo_ : begin_;
        const void* p = std::memchr(base + from, '\n', end_ - from);
        lfFound_ = p != nullptr;
        lfAt_ = lfFound_ ? static_cast<std::size_t>(static_cast<const char*>(p) - base) : end_;
        lfTo_ = lfFound_ ? lfAt_ : end_;
    }
    const std::size_t limit = lfFound_ ? lfAt_ : end_;
    const void* cr = std::memchr(base + begin_, '\r', limit - begin_);
    if (cr)
        return static_cast<std::size_t>(static_cast<const char*>(cr) - base);
    return lfFound_ ? lfAt_ : npos;
}

bool LineReader::next(std::string_view& line) {
    for (;;) {
        const std::size_t at = begin_ < end_ ? findLineEnd() : npos;
        if (at != npos) {
            // A CR at the end of what is read so far may be the first half of a CR LF.
            if (buffer_[at] == '\r' && at + 1 == end_ && !atEof_) {
                fill(); // moves the buffer: search again
                continue;
            }
            const std::size_t lineStart = begin_;
            std::size_t after = at + 1;
            if (buffer_[at] == '\r' && after < end_ && buffer_[after] == '\n')
                ++after;
            begin_ = after;
            line = std::string_view(buffer_.get() + lineStart, at - lineStart);
            return true;
        }
        if (atEof_ || !fill()) {
            if (begin_ < end_) {
                line = std::string_view(buffer_.get() + begin_, end_ - begin_);
                begin_ = end_;
                return true;
            }
            return false;
        }
    }
}

} // namespace vb

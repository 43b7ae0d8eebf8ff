#include "line_reader.h"

#include "errors/runtime_error.h"
#include "files/utf16_decoder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vb {

namespace {

// The first read asks for kMinRead bytes; each later one for as many as were read before, up to the
// reader's largest read.
// The buffer holds a read and half as much again for the line it cuts; at 96 KiB it stays below the size
// from which the C library maps (and faults in) fresh memory for every allocation.
constexpr std::size_t kMinRead = 16 * 1024;

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

// One pass for both bytes, 16 at a time where SSE2 is there.
const char* FindLineEnd(const char* p, const char* end) noexcept {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int hits =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
        if (hits != 0)
            return p + __builtin_ctz(static_cast<unsigned>(hits));
        p += 16;
    }
#endif
    while (p < end && *p != '\r' && *p != '\n')
        ++p;
    return p;
}

namespace {

int OpenWithFlags(const std::string& path, int flags) {
    int fd;
    // Without O_NONBLOCK, opening a named pipe would wait for a writer that never comes.
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | flags);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Only plain files are text files: a folder, a pipe or a device (one that never ends, such as /dev/zero)
// is refused rather than read.
int PlainFileOnly(int fd, const std::string& path, std::uint64_t* size, FileIdentity* identity) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw RuntimeError(err::PathFileAccess, path);
    }
    if (size)
        *size = static_cast<std::uint64_t>(st.st_size);
    if (identity)
        *identity = {st.st_dev, st.st_ino};
    // O_NONBLOCK stays: reading a plain file does not wait either way, and two more system calls per file
    // are a large share of opening a small member.
    return fd;
}

} // namespace

int OpenForReading(const std::string& path, std::uint64_t* size, FileIdentity* identity) {
    // A NUL byte would end the name early, and another file than the one named would be read.
    if (path.empty() || path.find('\0') != std::string::npos)
        throw RuntimeError(err::BadFileName, path);
    const int fd = OpenWithFlags(path, 0);
    if (fd < 0) {
        const int e = errno;
        if (e == ENOENT)
            throw RuntimeError(MissingErrorNumber(path), path);
        throw RuntimeError::FromErrno(e, path);
    }
    return PlainFileOnly(fd, path, size, identity);
}

int OpenExistingForReading(const std::string& path, std::uint64_t* size, FileIdentity* identity) {
    if (path.empty() || path.find('\0') != std::string::npos)
        throw RuntimeError(err::BadFileName, path);
    const int fd = OpenWithFlags(path, O_NOFOLLOW);
    return fd < 0 ? fd : PlainFileOnly(fd, path, size, identity);
}

bool ClearNonBlocking(int fd) noexcept {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

// A file read as UTF-16: its bytes as read, and their UTF-8 not yet moved into the line buffer.
struct LineReader::Utf16Input {
    Utf16Input(bool bigEndian, std::size_t rawSize)
        : decoder(bigEndian), raw(std::make_unique_for_overwrite<char[]>(rawSize)) {}
    Utf16Decoder decoder;
    std::unique_ptr<char[]> raw;
    std::string decoded;
    std::size_t taken = 0; // bytes of `decoded` moved into the line buffer
    bool ended = false;
};

LineReader::LineReader(std::string path, std::size_t maxRead)
    : path_(std::move(path)), limit_(kWholeFile), identity_(FileIdentity{}),
      fd_(OpenForReading(path_, &limit_, &*identity_)), owned_(true),
      maxRead_(std::max<std::size_t>(maxRead, 1)) {}

LineReader::LineReader(AdoptedDescriptor fd, std::string path, std::size_t maxRead)
    : path_(std::move(path)), limit_(fd.size), identity_(fd.identity), fd_(fd.fd), owned_(true),
      maxRead_(std::max<std::size_t>(maxRead, 1)) {}

LineReader::LineReader(int fd, std::string name, std::size_t maxRead, std::uint64_t limit)
    : path_(std::move(name)), limit_(limit), fd_(fd), maxRead_(std::max<std::size_t>(maxRead, 1)) {}

LineReader::~LineReader() {
    if (owned_ && fd_ >= 0)
        ::close(fd_);
}

bool LineReader::fill() {
    keepUnread();
    return readMore(makeRoom());
}

void LineReader::keepUnread() {
    // The bytes of lines handed out are done with; the rest moves to the front.
    if (begin_ == 0)
        return;
    std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    scanned_ -= begin_;
    begin_ = 0;
}

std::size_t LineReader::makeRoom() {
    // The first read takes at least the longest byte order mark and the byte after it.
    const std::size_t want = std::max(std::min(std::max(read_, kMinRead), maxRead_),
                                      fileBytes_ == 0 ? std::size_t{4} : std::size_t{0});
    // Grow when the wanted read does not fit; a line longer than the buffer at least doubles it.
    if (capacity_ - end_ < want && (end_ == capacity_ || capacity_ < maxRead_ + maxRead_ / 2)) {
        const std::size_t capacity =
            end_ == capacity_ ? std::max(end_ + want, capacity_ * 2) : std::max(end_ + want, want + want / 2);
        auto grown = std::make_unique_for_overwrite<char[]>(capacity);
        if (end_ > 0)
            std::memcpy(grown.get(), buffer_.get(), end_);
        buffer_ = std::move(grown);
        capacity_ = capacity;
    }
    return std::min(want, capacity_ - end_);
}

std::size_t LineReader::readFile(char* into, std::size_t want) {
    want = static_cast<std::size_t>(std::min<std::uint64_t>(want, limit_ - fileBytes_));
    if (want == 0)
        return 0;
    for (;;) {
        const ssize_t got = ::read(fd_, into, want);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            // A file opened here without waiting may still say "try again" on some file systems.
            if (errno == EAGAIN && owned_ && ClearNonBlocking(fd_))
                continue;
            throw RuntimeError::FromErrno(errno, path_);
        }
        fileBytes_ += static_cast<std::uint64_t>(got);
        return static_cast<std::size_t>(got);
    }
}

bool LineReader::readMore(std::size_t want) {
    if (utf16_)
        return readDecoded(want);
    const bool first = fileBytes_ == 0;
    std::size_t got = readFile(buffer_.get() + end_, want);
    if (got == 0) {
        atEof_ = true;
        return false;
    }
    end_ += got;
    read_ += got;
    if (first) {
        // A short first read that may be the start of a mark is completed before the mark is judged.
        const auto at = [&](std::size_t i) { return static_cast<unsigned char>(buffer_[i]); };
        while (end_ < 3 && got > 0 && (at(0) == 0xEF || (end_ < 2 && (at(0) == 0xFF || at(0) == 0xFE))) &&
               want > end_) {
            got = readFile(buffer_.get() + end_, want - end_);
            end_ += got;
            read_ += got;
        }
        takeMark();
        if (utf16_)
            return readDecoded(want);
    }
    return true;
}

void LineReader::takeMark() {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(buffer_[i]); };
    if (end_ >= 3 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF) {
        mark_ = ByteOrderMark::Utf8;
        if (!keepsBytes_)
            begin_ = scanned_ = 3;
        return;
    }
    if (end_ < 2 || !((at(0) == 0xFF && at(1) == 0xFE) || (at(0) == 0xFE && at(1) == 0xFF)))
        return;
    mark_ = at(0) == 0xFF ? ByteOrderMark::Utf16Le : ByteOrderMark::Utf16Be;
    if (keepsBytes_)
        throw RuntimeError(err::BadFileFormat, path_);
    utf16_ = std::make_unique<Utf16Input>(mark_ == ByteOrderMark::Utf16Be, maxRead_);
    utf16_->decoder.decode({buffer_.get() + 2, end_ - 2}, utf16_->decoded);
    read_ -= end_;
    begin_ = scanned_ = end_ = 0;
}

// Moves UTF-8 of a UTF-16 file into the line buffer, decoding more of the file when all is moved.
bool LineReader::readDecoded(std::size_t want) {
    Utf16Input& in = *utf16_;
    for (;;) {
        if (in.taken < in.decoded.size()) {
            const std::size_t n = std::min(want, in.decoded.size() - in.taken);
            std::memcpy(buffer_.get() + end_, in.decoded.data() + in.taken, n);
            in.taken += n;
            end_ += n;
            read_ += n;
            return true;
        }
        in.decoded.clear();
        in.taken = 0;
        if (in.ended) {
            atEof_ = true;
            return false;
        }
        const std::size_t got = readFile(in.raw.get(), maxRead_);
        if (got == 0) {
            in.ended = true;
            in.decoder.finish(in.decoded);
        } else {
            in.decoder.decode({in.raw.get(), got}, in.decoded);
        }
    }
}

// Hands out the start of an over-long line that holds the unread bytes, when there is one.
bool LineReader::cutLongLine(std::string_view& lines) {
    if (longest_ == 0 || end_ - begin_ <= longest_)
        return false;
    lines = std::string_view(buffer_.get() + begin_, longest_ + 1);
    // A CR kept back at the end may end this line; skipping starts there.
    begin_ = scanned_ = !atEof_ && buffer_[end_ - 1] == '\r' ? end_ - 1 : end_;
    skip_ = Skip::Line;
    return true;
}

void LineReader::skipRestOfCutLine() {
    while (skip_ != Skip::None) {
        if (begin_ == end_) {
            if (atEof_ || !fill()) {
                skip_ = Skip::None;
                break;
            }
            continue;
        }
        const char* base = buffer_.get();
        if (skip_ == Skip::Lf) {
            if (base[begin_] == '\n')
                ++begin_;
            skip_ = Skip::None;
            break;
        }
        const char* at = FindLineEnd(base + begin_, base + end_);
        if (at == base + end_) {
            begin_ = end_;
            continue;
        }
        begin_ = static_cast<std::size_t>(at - base) + 1;
        skip_ = *at == '\r' ? Skip::Lf : Skip::None;
    }
    scanned_ = begin_;
}

bool LineReader::next(std::string_view& line) {
    if (skip_ != Skip::None)
        skipRestOfCutLine();
    for (;;) {
        const char* base = buffer_.get();
        if (scanned_ < end_) {
            const std::size_t at = static_cast<std::size_t>(FindLineEnd(base + scanned_, base + end_) - base);
            if (at < end_) {
                // A CR at the end of what is read so far may be the first half of a CR LF.
                if (base[at] == '\r' && at + 1 == end_ && !atEof_) {
                    scanned_ = at;
                    fill(); // moves the buffer: search again from the CR
                    continue;
                }
                std::size_t after = at + 1;
                if (base[at] == '\r' && after < end_ && base[after] == '\n')
                    ++after;
                line = std::string_view(base + begin_,
                                        longest_ != 0 ? std::min(at - begin_, longest_ + 1) : at - begin_);
                begin_ = scanned_ = after;
                return true;
            }
            scanned_ = end_;
        }
        if (cutLongLine(line))
            return true;
        if (atEof_ || !fill()) {
            if (begin_ < end_) {
                line = std::string_view(buffer_.get() + begin_, end_ - begin_);
                begin_ = scanned_ = end_;
                return true;
            }
            return false;
        }
    }
}

bool LineReader::nextBytes(std::string_view& bytes) {
    for (;;) {
        std::size_t stop = end_;
        if (stop > begin_ && !atEof_ && buffer_[stop - 1] == '\r')
            --stop;
        if (stop > begin_) {
            bytes = std::string_view(buffer_.get() + begin_, stop - begin_);
            begin_ = scanned_ = stop;
            return true;
        }
        if (atEof_)
            return false;
        fill();
    }
}

bool LineReader::nextLines(std::string_view& lines) {
    if (skip_ != Skip::None)
        skipRestOfCutLine();
    for (;;) {
        std::size_t stop = end_;
        if (!atEof_) {
            // Back to just after the last line end; a CR at the very end waits for the byte after it.
            if (stop > begin_ && buffer_[stop - 1] == '\r')
                --stop;
            while (stop > scanned_ && buffer_[stop - 1] != '\n' && buffer_[stop - 1] != '\r')
                --stop;
        }
        if (stop > begin_ && (atEof_ || stop > scanned_)) {
            lines = std::string_view(buffer_.get() + begin_, stop - begin_);
            begin_ = scanned_ = stop;
            return true;
        }
        if (atEof_)
            return false;
        // No line end after begin_: what is buffered is the start of one line; search only the new bytes.
        if (cutLongLine(lines))
            return true;
        scanned_ = end_ > begin_ && buffer_[end_ - 1] == '\r' ? end_ - 1 : end_;
        fill();
    }
}

void LineReader::giveBack(std::size_t count) noexcept {
    begin_ -= count;
    scanned_ = begin_;
}

} // namespace vb

#pragma once
// Streams the lines of a file. A line ends at CR LF, at CR alone or at LF alone; the end is not part of
// the line, the last line may lack one, and an empty file has no lines. Lines are bytes, handed out as
// views into the reader's buffer, so nothing is decoded or copied per line. Memory stays a small multiple
// of the longest line, whatever the size of the file. Reads start small and grow with what was read, so a
// caller that stops after the head of a big file has not read much more than that head.
//
// A file is read up to the size it had when it was opened, so a file that a program keeps appending to
// still ends. A byte order mark at the start is not part of the first line: a UTF-8 mark is passed over,
// and a file that starts with a UTF-16 mark is read as UTF-16 and handed out as UTF-8, for callers that
// look at the text. A caller that must pass the bytes on as they are calls keepBytes() first: the UTF-8
// mark then stays on the first line, and UTF-16 text is refused with RuntimeError 321.

#include "files/file_identity.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vb {

// No limit on the bytes a reader reads: the file is read until it ends.
inline constexpr std::uint64_t kWholeFile = UINT64_MAX;

// A descriptor opened elsewhere for reading, which a LineReader takes over and closes, and the size of the
// file when it was opened (the most the reader reads).
struct AdoptedDescriptor {
    int fd;
    std::uint64_t size = kWholeFile;
    std::optional<FileIdentity> identity; // when known from opening it
};

// The byte order mark a file starts with.
enum class ByteOrderMark { None, Utf8, Utf16Le, Utf16Be };

class LineReader {
public:
    // Reads take at most this many bytes; the buffer holds one read and half as much again, and grows
    // only for a line longer than that. Tests and fuzzing make it small so that lines and CR LF pairs
    // fall across reads.
    static constexpr std::size_t kMaxRead = 64 * 1024;

    // Opens the file through OpenForReading; RuntimeError (53, 76, 70, 75, ...) when that fails.
    explicit LineReader(std::string path, std::size_t maxRead = kMaxRead);
    // Reads a descriptor that stays open and is not owned (a pipe, an in-memory file), from where it
    // stands, at most `limit` bytes; `name` is shown in errors.
    LineReader(int fd, std::string name, std::size_t maxRead = kMaxRead, std::uint64_t limit = kWholeFile);
    // Reads a file opened for reading at `path` (OpenExistingForReading), closing it when done.
    LineReader(AdoptedDescriptor fd, std::string path, std::size_t maxRead = kMaxRead);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // Lines longer than `longest` bytes are handed out cut, as their first `longest` + 1 bytes (so a
    // caller knows them by their length), the rest of the line skipped: memory stays bounded by the
    // buffer for a file of one endless line. For readers of lines that are never that long when sound
    // (project and group files); 0 hands out every line whole. A run of nextLines() may still hold such a
    // line whole when the buffer held it anyway.
    void cutLinesLongerThan(std::size_t longest) noexcept { longest_ = longest; }
    // Keeps the bytes of the file as they are (see above); called before the first read.
    void keepBytes() noexcept { keepsBytes_ = true; }
    // The mark the file starts with; known after the first read.
    ByteOrderMark byteOrderMark() const noexcept { return mark_; }
    // The bytes read from the file so far, a mark included, before any conversion.
    std::uint64_t fileBytes() const noexcept { return fileBytes_; }
    // The most this reader reads from the file: its size when opened.
    std::uint64_t limit() const noexcept { return limit_; }

    // The next line, without its end, valid until the next call. False at the end of the file.
    bool next(std::string_view& line);

    // Reading in runs of the buffer instead of line by line, for a caller that looks at many lines at
    // once; next() and these may be mixed. A view stays valid until the next call that reads.
    //
    // All unread bytes the buffer holds, line ends included, as they are: the rest of the line next()
    // would give, then whole lines, then the start of a line. A CR at the end of what is read so far is
    // kept back until the byte after it is read, so a CR LF pair is never split between two runs. Reads
    // more when nothing is buffered. False at the end of the file.
    bool nextBytes(std::string_view& bytes);
    // The unread bytes up to and including the last line end the buffer holds, or up to the end of the
    // file: only whole lines, with their ends (CR LF, CR or LF), the file's last line also without one.
    // Reads more (and grows for a line longer than the buffer) until a line is whole. False at the end.
    bool nextLines(std::string_view& lines);
    // Makes the last `count` bytes of the view handed out last unread again, for a caller that stops
    // inside it. `count` must not exceed that view's size.
    void giveBack(std::size_t count) noexcept;

    // The path opened, or the name given with a descriptor.
    const std::string& path() const noexcept { return path_; }
    // The descriptor of the open file, so a caller can tell which file it is.
    int fd() const noexcept { return fd_; }
    // The identity of the file, as found when it was opened; nullopt for a descriptor opened elsewhere
    // (IdentityOfDescriptor tells it then).
    const std::optional<FileIdentity>& identity() const noexcept { return identity_; }
    // The bytes the buffer holds now: a read and half as much again, or about twice the longest line.
    std::size_t bufferCapacity() const noexcept { return capacity_; }

private:
    // One refill: keeps the unread bytes, makes room for the next read, reads. False at the end.
    bool fill();
    void keepUnread();
    std::size_t makeRoom();
    bool readMore(std::size_t want);
    std::size_t readFile(char* into, std::size_t want);
    void takeMark();
    bool cutLongLine(std::string_view& lines);
    void skipRestOfCutLine();
    bool readDecoded(std::size_t want);

    std::string path_;
    std::uint64_t limit_;                  // set before fd_: opening the file sets it to the file's size
    std::optional<FileIdentity> identity_; // set before fd_ too
    int fd_ = -1;
    bool owned_ = false;
    std::unique_ptr<char[]> buffer_; // allocated at the first read, not initialised
    std::size_t capacity_ = 0;
    std::size_t maxRead_;
    std::size_t read_ = 0;    // bytes read from the file so far
    std::size_t begin_ = 0;   // first byte of the next line
    std::size_t scanned_ = 0; // no line end lies between begin_ and here
    std::size_t end_ = 0;     // one past the last byte read
    bool atEof_ = false;
    bool keepsBytes_ = false;
    std::size_t longest_ = 0;
    enum class Skip { None, Line, Lf } skip_ = Skip::None; // the rest of a cut line, then its LF
    ByteOrderMark mark_ = ByteOrderMark::None;
    std::uint64_t fileBytes_ = 0;
    struct Utf16Input;
    std::unique_ptr<Utf16Input> utf16_; // only for a file that starts with a UTF-16 mark
};

// The first CR or LF in [p, end), or end: where the line that holds p ends.
const char* FindLineEnd(const char* p, const char* end) noexcept;

// Opens a file for reading with the platform's open(); throws the matching RuntimeError.
// A missing file gives 53 and a missing folder on the way 76; a folder, pipe or device gives 75 (only
// plain files are read); an empty name or one holding a NUL byte gives 52. The descriptor is left
// non-blocking, which reading a plain file ignores; a read that still says EAGAIN calls ClearNonBlocking
// and reads again.
// `size` and `identity`, when given, receive the file's size and identity.
int OpenForReading(const std::string& path, std::uint64_t* size = nullptr, FileIdentity* identity = nullptr);
// OpenForReading for a caller that tries several spellings of a name in turn: a name that does not
// exist, or whose last part is a symbolic link, is not opened but reported as -1 with errno ENOENT or
// ELOOP (and -1 with errno set for any other failure of open()). An existing name opens as with
// OpenForReading, including RuntimeError 75 for what is no plain file.
int OpenExistingForReading(const std::string& path, std::uint64_t* size = nullptr,
                           FileIdentity* identity = nullptr);
// Puts `fd` into blocking mode; false when the system refuses.
bool ClearNonBlocking(int fd) noexcept;

} // namespace vb

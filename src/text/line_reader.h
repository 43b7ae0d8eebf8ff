#pragma once
// Streams the lines of a file. A line ends at CR LF, at CR alone or at LF alone; the end is not part of
// the line, the last line may lack one, and an empty file has no lines. Lines are bytes, handed out as
// views into the reader's buffer, so nothing is decoded or copied per line. Memory stays a small multiple
// of the longest line, whatever the size of the file.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vb {

class LineReader {
public:
    static constexpr std::size_t kDefaultBufferSize = 256 * 1024;

    // Opens the file for reading; RuntimeError (53, 76, 70, 75, ...) when that fails. The buffer starts at
    // `bufferSize` bytes (at least 1) and doubles whenever one line fills it.
    explicit LineReader(std::string path, std::size_t bufferSize = kDefaultBufferSize);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line, without its end, valid until the next call. False at the end of the file.
    bool next(std::string_view& line);

    const std::string& path() const noexcept { return path_; }
    // The bytes the buffer holds now: at most twice the longest line read so far, or the starting size.
    std::size_t bufferCapacity() const noexcept { return buffer_.size(); }

private:
    bool fill();
    std::size_t findLineEnd();

    std::string path_;
    int fd_ = -1;
    std::vector<char> buffer_;
    std::size_t begin_ = 0; // first byte of the next line
    std::size_t end_ = 0;   // one past the last byte read
    bool atEof_ = false;
    // The next LF at or after begin_ (lfAt_), or none up to lfTo_ (lfAt_ == end of search). Kept between
    // lines so that a file with CR alone is not searched for LF again on every line.
    std::size_t lfAt_ = 0;
    std::size_t lfTo_ = 0;
    bool lfFound_ = false;
};

// Opens a file for reading with the platform's open(); throws the matching RuntimeError.
// A missing file gives 53 and a missing folder on the way 76; a folder, pipe or device gives 75 (only
// plain files are read); an empty name or one holding a NUL byte gives 52.
int OpenForReading(const std::string& path);

} // namespace vb

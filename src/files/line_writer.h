#pragma once
// Writes text lines, each ended with CR LF, through a buffer. Whatever was handed over before a failure
// or before the writer is destroyed (also while an error unwinds the stack) reaches the file.

#include <string>
#include <string_view>
#include <vector>

namespace vb {

// What the writer does about the disk writes of the bytes it hands over.
enum class Writeback {
    // Left to the system, which writes them whenever it likes.
    Later,
    // For a file that is synced once complete (vb::ReplacedFile): every kWritebackStretch bytes the writes of
    // what the file holds so far are started, so that the sync at the end waits for the last stretch only
    // instead of the whole file. Nothing is waited for here; a descriptor that cannot do it is left alone.
    Behind,
};

class LineWriter {
public:
    static constexpr std::size_t kWritebackStretch = 8 * 1024 * 1024;

    // Creates the file or empties an existing one; RuntimeError when that fails.
    explicit LineWriter(std::string path);
    // Writes to a descriptor that stays open and is not owned (standard output); `name` is shown in errors.
    LineWriter(int fd, std::string name, Writeback writeback = Writeback::Later);
    ~LineWriter();
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;

    // Writes the bytes of `line` unchanged, then CR LF.
    void writeLine(std::string_view line);
    // Writes the bytes of `text` unchanged and no line end, for output that ends its own lines.
    void write(std::string_view text);
    // For a caller that makes its bytes in place: room for `size` bytes (at most kMaxRoom) at the end of
    // the buffer, which is flushed first when it has less. The first `count` bytes put there are written
    // by commit(count); nothing else may happen to the writer in between.
    static constexpr std::size_t kMaxRoom = 128 * 1024;
    char* room(std::size_t size);
    void commit(std::size_t count) noexcept { used_ += count; }
    // Hands everything buffered to the system; RuntimeError (61 when the disk is full, ...) on failure.
    void flush();
    // Flushes and closes; errors are reported here rather than lost in the destructor.
    void close();

    const std::string& path() const noexcept { return path_; }

private:
    void append(const char* data, std::size_t size);
    void writeOut(const char* data, std::size_t size);

    std::string path_;
    int fd_ = -1;
    bool owned_ = false;
    bool failed_ = false;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    Writeback writeback_ = Writeback::Later;
    std::size_t unstarted_ = 0; // bytes handed over since the disk writes were last started
};

} // namespace vb

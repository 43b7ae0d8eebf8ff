#pragma once
// Writes text lines, each ended with CR LF, through a buffer. Whatever was handed over before a failure
// or before the writer is destroyed (also while an error unwinds the stack) reaches the file.

#include <string>
#include <string_view>
#include <vector>

namespace vb {

class LineWriter {
public:
    // Creates the file or empties an existing one; RuntimeError when that fails.
    explicit LineWriter(std::string path);
    // Writes to a descriptor that stays open and is not owned (standard output); `name` is shown in errors.
    LineWriter(int fd, std::string name);
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
};

} // namespace vb

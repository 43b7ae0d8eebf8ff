// The line reader against a plain split of the same bytes, with buffers small enough that lines, CR LF
// pairs and the file's end fall across refills.
#include "files/line_reader.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::size_t bufferSize = 1 + data[0] % 16;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    // A UTF-8 byte order mark is no part of the first line; UTF-16 text is read as its UTF-8 (not compared
    // with a split of bytes here).
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return 0;
    const auto expected = vbfuzz::SplitLines(bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes);
    const vbfuzz::MemoryFile file(bytes);

    vb::LineReader reader(file.fd(), "fuzz", bufferSize);
    std::string_view line;
    std::size_t count = 0;
    std::size_t longest = 0;
    while (reader.next(line)) {
        vbfuzz::Check(count < expected.size(), "more lines than the bytes hold");
        vbfuzz::Check(line == expected[count], "a line differs from the plain split");
        longest = std::max(longest, line.size());
        ++count;
    }
    vbfuzz::Check(count == expected.size(), "fewer lines than the bytes hold");
    vbfuzz::Check(!reader.next(line), "a line after the end");
    // The buffer holds a read and half as much again, and grows only when one line (with its end) fills it.
    vbfuzz::Check(reader.bufferCapacity() <= 2 * (longest + 2) + 2 * bufferSize, "buffer too big");
    return 0;
}

// The line reader against a plain split of the same bytes, with buffers small enough that lines, CR LF
// pairs and the file's end fall across refills.
#include "files/line_reader.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::size_t bufferSize = 1 + data[0] % 16;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const auto expected = vbfuzz::SplitLines(bytes);
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

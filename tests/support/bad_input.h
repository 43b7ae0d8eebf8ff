#pragma once
// Messy inputs that the bad-input tests of every front end feed: many equal lines, binary junk, and a
// member file of one huge line.

#include <cstddef>
#include <string>
#include <string_view>

namespace vbtest {

// `line` written `times` times.
std::string Repeated(std::string_view line, int times);

// 64 KiB of binary junk: NUL bytes, line ends and every other byte value, with no line that begins with
// a project file's member key.
std::string BinaryJunk();

// Writes `head`, `size` bytes of `fill` and `tail` to `path`, in pieces of 1 MiB, so that the test
// process stays small however big the file is.
void WriteHugeFile(const std::string& path, std::string_view head, std::size_t size, char fill,
                   std::string_view tail = {});

} // namespace vbtest

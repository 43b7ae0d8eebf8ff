#pragma once
// Bytes as an open file without a file on disk: an anonymous in-memory file (memfd), positioned at its
// start, so a reader or writer over a descriptor can be fed directly.

#include <string>
#include <string_view>

namespace vbtest {

class MemoryFile {
public:
    explicit MemoryFile(std::string_view bytes = {});
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    int fd() const { return fd_; }
    // A path that opens the same file anew, for what reads by path only.
    const std::string& path() const { return path_; }
    // Everything the file holds now, wherever its position stands.
    std::string contents() const;

private:
    int fd_;
    std::string path_;
};

} // namespace vbtest

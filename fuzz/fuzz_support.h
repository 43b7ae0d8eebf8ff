#pragma once
// Helpers shared by the fuzz targets: the input as a file, and lines split the plain way to compare with.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vbfuzz {

// An anonymous in-memory file holding some bytes, reachable by a path; closed on destruction.
class MemoryFile {
public:
    explicit MemoryFile(std::string_view bytes);
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    const std::string& path() const { return path_; }
    int fd() const { return fd_; }
    // Everything the file holds now.
    std::string contents() const;

private:
    int fd_;
    std::string path_;
};

// A fresh folder that holds the files an input describes; removed with everything in it on destruction.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder, ending in "/".
    const std::string& path() const { return path_; }
    // Creates the file `relative` ("/" between folders) and the folders on its way; false when the name
    // cannot be made (empty parts, ".", "..", a NUL byte, too long, a file on the way).
    bool addFile(std::string_view relative);

private:
    std::string path_;
};

// The lines of `bytes`: ends are CR LF, CR or LF; the last line may lack one.
std::vector<std::string_view> SplitLines(std::string_view bytes);

// Stops the run with a message when `condition` is false.
void Check(bool condition, const char* what);

} // namespace vbfuzz

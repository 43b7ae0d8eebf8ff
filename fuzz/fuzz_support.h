#pragma once
// Helpers shared by the fuzz targets: the input as a file, and lines split the plain way to compare with.

#include "memory_file.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vbfuzz {

// The input as an in-memory file, shared with the tests.
using vbtest::MemoryFile;

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

#pragma once
// Test helpers: a fresh folder per test that is removed afterwards, and whole-file reads and writes with
// explicit bytes.

#include <filesystem>
#include <string>
#include <string_view>

namespace vbtest {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The path of `name` inside the folder, as text.
    std::string file(std::string_view name) const;
    // Writes `bytes` to `name` (folders on the way are created) and returns its path.
    std::string write(std::string_view name, std::string_view bytes) const;

private:
    std::filesystem::path path_;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, std::string_view bytes);

// Runs `body` with the working directory set to `folder`, restoring it afterwards.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::filesystem::path& folder);
    ~WorkingDirectory();
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::filesystem::path previous_;
};

} // namespace vbtest

#include "project_folder.h"

#include "project/read_project_file.h"
#include "text/runtime_error.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace cli {

namespace {

// Enters a folder and returns to the previous working directory when it goes out of scope.
class EnteredFolder {
public:
    explicit EnteredFolder(const std::string& folder) {
        if (folder.empty())
            return;
        previous_ = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (::chdir(folder.c_str()) != 0) {
            const int e = errno;
            close();
            throw vb::RuntimeError(e == ENOENT ? vb::err::PathNotFound : vb::ErrorNumberOfErrno(e), folder);
        }
    }
    ~EnteredFolder() {
        if (previous_ >= 0) {
            [[maybe_unused]] const int ignored = ::fchdir(previous_);
        }
        close();
    }
    EnteredFolder(const EnteredFolder&) = delete;
    EnteredFolder& operator=(const EnteredFolder&) = delete;

private:
    void close() {
        if (previous_ >= 0)
            ::close(previous_);
        previous_ = -1;
    }

    int previous_ = -1;
};

} // namespace

void ScanInProjectFolder(const std::string& projectPath, const std::function<void()>& scan) {
    const std::string folder = std::filesystem::path(projectPath).parent_path().string();
    const EnteredFolder entered(folder);
    try {
        scan();
    } catch (const vb::RuntimeError& e) {
        if (e.path().empty() || e.path().front() == '/')
            throw;
        throw SeenFromCaller(projectPath, e);
    }
}

vb::RuntimeError SeenFromCaller(const std::string& projectPath, const vb::RuntimeError& error) {
    if (error.path().empty())
        return error;
    return vb::RuntimeError(error.number(), PathSeenFromCaller(projectPath, error.path()));
}

std::string PathSeenFromCaller(const std::string& projectPath, const std::string& path) {
    return path.starts_with('/') ? path : vb::FolderOfPath(projectPath) + path;
}

} // namespace cli

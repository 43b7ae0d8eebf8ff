#include "file_identity.h"

#include <sys/stat.h>

namespace vb {

std::optional<FileIdentity> IdentityOfDescriptor(int fd) noexcept {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return std::nullopt;
    return FileIdentity{st.st_dev, st.st_ino};
}

std::optional<FileIdentity> IdentityOfPath(const std::string& path) noexcept {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return FileIdentity{st.st_dev, st.st_ino};
}

} // namespace vb

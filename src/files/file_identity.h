#pragma once
// A file's identity on this system: its device and inode. Two names, links or descriptors reach the same
// file exactly when their identities are equal, whatever their spelling.

#include <optional>
#include <string>
#include <sys/types.h>

namespace vb {

struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of an open descriptor, or nullopt when fstat fails.
std::optional<FileIdentity> IdentityOfDescriptor(int fd) noexcept;
// The identity of the file a path names (links followed), or nullopt when there is none.
std::optional<FileIdentity> IdentityOfPath(const std::string& path) noexcept;

} // namespace vb

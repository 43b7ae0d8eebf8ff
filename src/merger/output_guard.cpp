#include "merger/output_guard.h"

#include "text/member_path.h"
#include "text/runtime_error.h"

#include <algorithm>
#include <sys/stat.h>

namespace merger {

namespace {

std::optional<struct stat> StatOf(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return st;
}

bool SameFile(const struct stat& a, const std::string& path) {
    const auto b = StatOf(path);
    return b && b->st_dev == a.st_dev && b->st_ino == a.st_ino;
}

} // namespace

std::optional<std::string> OwnFileNamedBy(const std::string& outputPath, const std::string& projectPath,
                                          const vb::ProjectFileLists& lists,
                                          const std::string& projectFolder) {
    const auto output = StatOf(outputPath);
    if (!output)
        return std::nullopt;
    if (SameFile(*output, projectPath))
        return projectPath;
    for (const vb::SourceKind kind : vb::kSourceKinds) {
        const auto& entries = lists.list(kind);
        const std::size_t count = std::min<std::size_t>(entries.size(), std::max<int>(lists.count(kind), 0));
        for (std::size_t i = 0; i < count; ++i) {
            const std::string memberPath = projectFolder + entries[i];
            std::string resolved;
            try {
                resolved = vb::ResolveMemberPath(memberPath);
            } catch (const vb::RuntimeError&) {
                continue; // a member that is not there cannot be overwritten
            }
            if (SameFile(*output, resolved))
                return memberPath;
        }
    }
    return std::nullopt;
}

} // namespace merger

#include "merger/output_guard.h"

#include "errors/runtime_error.h"
#include "files/file_identity.h"
#include "files/line_reader.h"
#include "files/member_path.h"
#include "files/replaced_file.h"
#include "merger/merged_file.h"
#include "text/code_page.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <vector>

namespace merger {

namespace {

namespace fs = std::filesystem;

std::optional<struct stat> StatOf(const std::string& path) {
    struct stat st {};
    if (path.empty() || path.find('\0') != std::string::npos || ::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return st;
}

bool SameFile(const struct stat& a, const std::string& path) {
    const auto b = StatOf(path);
    return b && b->st_dev == a.st_dev && b->st_ino == a.st_ino;
}

// True when the output's folder is `folder`, by identity.
bool InFolder(const fs::path& output, const std::string& folder) {
    const auto outputFolder = StatOf(output.parent_path().empty() ? "." : output.parent_path().string());
    return outputFolder && SameFile(*outputFolder, folder);
}

fs::path Normal(const std::string& path) {
    std::error_code ignored;
    const fs::path normal = fs::weakly_canonical(fs::path(path), ignored);
    return normal.empty() ? fs::path(path).lexically_normal() : normal;
}

// The last part of `path` after its last "/", when the normal form keeps it as it is: not "." or "..".
// Empty for those (and for a path ending in "/").
std::string_view KeptName(std::string_view path) {
    const auto slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return name == "." || name == ".." ? std::string_view() : name;
}

// False when the normal form of `path` cannot be `normal`, the path of an output that does not exist: the
// normal form changes the last name only of a link to an existing file, which is not the output. So only
// a path with the output's last name needs its normal form, which looks at every folder on the way.
bool MayNormaliseTo(const std::string& path, const fs::path& normal) {
    const std::string_view name = KeptName(path);
    return name.empty() || name == normal.filename().string();
}

// For an output file that does not exist yet: true when creating it would put a file where the lookup of
// a member finds it first, so that the member would be read from the merged file being written. That is
// the member's path as written or with "/" for "\" (also for a member that is missing now), or, since the
// lookup matches names without regard to case, the member file's name in another letter case beside it.
bool WouldShadowMember(const fs::path& output, const std::string& memberPath, vb::MemberLookup& lookup) {
    std::string slashed = memberPath;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    if ((MayNormaliseTo(memberPath, output) && output == Normal(memberPath)) ||
        (MayNormaliseTo(slashed, output) && output == Normal(slashed)))
        return true;
    // The file the lookup finds now, or, for a member missing now, the name it would take in its folder.
    const vb::FoundMemberPath found = lookup.find(memberPath);
    if (!found) {
        const fs::path missing(slashed);
        const std::string name = missing.filename().string();
        const bool sameName = vb::SameNameWithoutCase(output.filename().string(), name) ||
                              (!vb::IsUtf8(name) && vb::SameNameWithoutCase(output.filename().string(),
                                                                            vb::Utf8FromWindows1252(name)));
        if (!sameName)
            return false;
        const vb::FoundMemberPath folder =
            lookup.find(missing.parent_path().empty() ? "." : missing.parent_path().string());
        // Without a folder nothing there can be found.
        return folder && InFolder(output, folder.path);
    }
    const fs::path member(found.path);
    if (!vb::SameNameWithoutCase(output.filename().string(), member.filename().string()))
        return false;
    return InFolder(output, member.parent_path().empty() ? "." : member.parent_path().string());
}

} // namespace

std::optional<std::string> OwnFileNamedBy(const std::string& outputPath, const std::string& projectPath,
                                          const vb::ProjectFileLists& lists, const std::string& projectFolder,
                                          vb::MemberLookup* lookup) {
    vb::MemberLookup fresh;
    vb::MemberLookup& members = lookup ? *lookup : fresh;
    const auto output = StatOf(outputPath);
    if (output && SameFile(*output, projectPath))
        return projectPath;
    if (!output && (outputPath.empty() || outputPath.find('\0') != std::string::npos))
        return std::nullopt; // the writer refuses such a name

    // A dangling link creates the file it names: that file is what must not shadow a member.
    std::string reached = outputPath;
    try {
        reached = vb::FileReachedThrough(outputPath);
    } catch (const vb::RuntimeError&) {
    }
    const fs::path outputNormal = output ? fs::path() : Normal(reached);
    for (const vb::SourceKind kind : vb::kSourceKinds) {
        const auto& entries = lists.list(kind);
        const std::size_t count = std::min<std::size_t>(entries.size(), std::max<int>(lists.count(kind), 0));
        for (std::size_t i = 0; i < count; ++i) {
            const std::string memberPath = std::string(projectFolder).append(entries[i]);
            if (!output) {
                if (WouldShadowMember(outputNormal, memberPath, members))
                    return memberPath;
                continue;
            }
            // A member that is not there cannot be overwritten.
            const vb::FoundMemberPath resolved = members.find(memberPath);
            if (resolved && SameFile(*output, resolved.path))
                return memberPath;
        }
    }
    return std::nullopt;
}

void RefuseOwnFileOpened(int fd, const std::string& projectPath, const vb::ProjectFileLists& lists,
                         const std::string& projectFolder, vb::MemberLookup& lookup) {
    if (const auto own =
            OwnFileNamedBy("/proc/self/fd/" + std::to_string(fd), projectPath, lists, projectFolder, &lookup))
        throw MergeReadsItsOutput(*own);
}

void CheckBeforeWritingInPlace(int fd, const std::string& projectPath, const vb::ProjectFileLists& lists,
                               const std::string& projectFolder, vb::MemberLookup& lookup,
                               bool goesOnPastMissing) {
    RefuseOwnFileOpened(fd, projectPath, lists, projectFolder, lookup);
    const std::vector<vb::FileIdentity> written = IdentitiesOfOutput(fd);
    for (const vb::SourceKind kind : vb::kSourceKinds)
        for (const std::string_view entry : lists.entries(kind)) {
            const std::string path = projectFolder + std::string(entry);
            std::optional<vb::LineReader> in;
            if (const auto missing = lookup.openInto(path, in, 1)) {
                if (!goesOnPastMissing)
                    throw *missing;
                continue;
            }
            RefuseReadingOutput(in->fd(), written, path);
        }
}

} // namespace merger

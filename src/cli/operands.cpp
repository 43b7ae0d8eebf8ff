#include "operands.h"
#include "ordered_pool.h"

#include "files/file_identity.h"
#include "files/line_reader.h"
#include "files/member_path.h"
#include "project/read_project_file.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <iterator>
#include <memory>
#include <set>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace cli {

bool IsFolderPath(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string Joined(const std::string& folder, const std::string& name) {
    return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

namespace {

bool EndsWithoutCase(std::string_view path, std::string_view extension) {
    return path.size() >= extension.size() &&
           vb::SameNameWithoutCase(path.substr(path.size() - extension.size()), extension);
}

bool IsGroupFile(const std::string& path) {
    return EndsWithoutCase(path, ".vbg") && !IsFolderPath(path);
}

// A folder open for listing, closed on destruction; fd() is -1 when it did not open, error() then the
// errno of the failure.
class OpenFolder {
public:
    OpenFolder(int parent, const char* name, int flags = 0)
        : fd_(::openat(parent, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC | flags)),
          error_(fd_ < 0 ? errno : 0) {}
    OpenFolder(OpenFolder&& other) noexcept : fd_(std::exchange(other.fd_, -1)), error_(other.error_) {}
    ~OpenFolder() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    OpenFolder& operator=(OpenFolder&&) = delete;
    int fd() const noexcept { return fd_; }
    int error() const noexcept { return error_; }

private:
    int fd_;
    int error_;
};

// The folder `relative` below the folder open as `top`, without following a symbolic link at its end. A
// path too long for one call is opened one folder at a time, holding two descriptors at most, so that a
// tree of any depth can be walked.
OpenFolder OpenBelow(int top, const std::string& relative) {
    OpenFolder whole(top, relative.c_str(), O_NOFOLLOW);
    if (whole.fd() >= 0 || whole.error() != ENAMETOOLONG)
        return whole;
    std::optional<OpenFolder> at;
    std::size_t from = 0;
    for (;;) {
        const std::size_t slash = relative.find('/', from);
        const std::string name = relative.substr(from, slash == std::string::npos ? slash : slash - from);
        OpenFolder next(at ? at->fd() : top, name.c_str(), O_NOFOLLOW);
        if (next.fd() < 0 || slash == std::string::npos)
            return next;
        at.reset();
        at.emplace(std::move(next));
        from = slash + 1;
    }
}

// What a walk found: project files, and folders (or entries) that could not be looked at, each with
// the error that kept it from being read.
using Found = std::vector<ProjectOperand>;

void FoundUnreadable(Found& found, const std::string& path, int error) {
    found.push_back({path, vb::RuntimeError::FromErrno(error, path)});
}

// Calls `folderFound` for each folder in `folder` (open as `folder`, reached as `path`) with its name and
// adds each project file to `found`, symbolic links to folders not followed, in the order of the listing.
// A folder that cannot be opened or listed, and an entry that cannot be asked what it is, stand in
// `found` with their error. The listing is read into one buffer, a large folder in several reads.
void ListFolder(const OpenFolder& folder, const std::string& path,
                const std::function<void(const char* name)>& folderFound, Found& found) {
    if (folder.fd() < 0)
        return FoundUnreadable(found, path, folder.error());
    std::vector<char> buffer(16 * 1024); // on the heap: operator new aligns it for the records
    for (;;) {
        const ssize_t got = ::getdents64(folder.fd(), buffer.data(), buffer.size());
        if (got < 0)
            return FoundUnreadable(found, path, errno);
        if (got == 0)
            return;
        for (ssize_t at = 0; at < got;) {
            const auto* e = reinterpret_cast<const dirent64*>(buffer.data() + at);
            at += e->d_reclen;
            const char* entryName = e->d_name;
            const std::string_view name = entryName;
            if (name == "." || name == "..")
                continue;
            // The listing says what most entries are; only where it does not is the entry asked itself.
            // A symbolic link is never a folder here.
            bool isFolder = e->d_type == DT_DIR;
            if (e->d_type == DT_UNKNOWN) {
                struct stat st {};
                if (::fstatat(folder.fd(), entryName, &st, AT_SYMLINK_NOFOLLOW) != 0) {
                    if (errno != ENOENT) // gone since the listing: nothing to read
                        FoundUnreadable(found, Joined(path, std::string(name)), errno);
                    continue;
                }
                isFolder = S_ISDIR(st.st_mode);
            }
            if (isFolder) {
                folderFound(entryName);
            } else if (EndsWithoutCase(name, ".vbp")) {
                std::string project = Joined(path, std::string(name));
                if (!IsFolderPath(project))
                    found.push_back({std::move(project), std::nullopt});
            }
        }
    }
}

// Every project file below the folder `relative` below `top` (reached as `path`), in any order. The walk
// keeps the folders still to list on the heap and one folder open at a time, so neither the stack nor
// the descriptors grow with the depth of the tree.
void CollectProjectFiles(int top, const std::string& relative, const std::string& path, Found& found) {
    std::vector<std::pair<std::string, std::string>> pending{{relative, path}}; // below top, as reached
    while (!pending.empty()) {
        const std::string below = std::move(pending.back().first);
        const std::string reached = std::move(pending.back().second);
        pending.pop_back();
        ListFolder(
            OpenBelow(top, below), reached,
            [&](const char* name) { pending.emplace_back(Joined(below, name), Joined(reached, name)); },
            found);
    }
}

// The folders of a large estate are listed on `jobs` threads, a subfolder of `folder` each at a time.
std::vector<ProjectOperand> ProjectsOfFolder(const std::string& folder, int jobs) {
    Found projects;
    std::vector<std::string> subfolders;
    const OpenFolder top(AT_FDCWD, folder.c_str());
    ListFolder(
        top, folder, [&](const char* name) { subfolders.push_back(name); }, projects);
    std::vector<Found> below(subfolders.size());
    RunOnThreads(subfolders.size(), jobs, [&](std::size_t i) {
        CollectProjectFiles(top.fd(), subfolders[i], Joined(folder, subfolders[i]), below[i]);
    });
    for (auto& found : below)
        std::move(found.begin(), found.end(), std::back_inserter(projects));
    // Byte order of the paths, as std::string compares; a folder that could not be listed stands where
    // its projects would.
    std::sort(projects.begin(), projects.end(),
              [](const ProjectOperand& a, const ProjectOperand& b) { return a.path < b.path; });
    return projects;
}

// The value of a group line naming a project, or nullopt for any other line.
std::optional<std::string_view> ProjectOfGroupLine(std::string_view line) {
    for (const std::string_view key : {"Project=", "StartupProject="})
        if (line.starts_with(key))
            return line.substr(key.size());
    return std::nullopt;
}

// The groups being read, from the operand down to the one read now, and every group read so far, by
// device and inode: a group reached again is read only once, and one that names a group it is read from
// is a loop.
struct GroupsSeen {
    std::vector<vb::FileIdentity> open;
    std::set<std::pair<dev_t, ino_t>> read;
};

void ReadGroup(const std::string& groupPath, GroupsSeen& seen, std::vector<ProjectOperand>& projects);

// The project or group a group line names, read in its place; an error in its place when it names neither.
void TakeGroupLine(vb::MemberLookup& lookup, std::string_view value, GroupsSeen& seen,
                   std::vector<ProjectOperand>& projects) {
    const std::string entry(value);
    vb::FoundMemberPath found = lookup.find(entry);
    if (!found) {
        const std::string shown = lookup.seenFromCaller(entry);
        projects.push_back({shown, vb::RuntimeError(found.error, shown)});
        return;
    }
    if (EndsWithoutCase(found.path, ".vbg")) {
        const auto identity = vb::IdentityOfPath(found.path);
        if (identity && std::find(seen.open.begin(), seen.open.end(), *identity) != seen.open.end())
            projects.push_back({found.path, vb::RuntimeError(vb::err::PathFileAccess, found.path)});
        else if (!identity || !seen.read.contains({identity->device, identity->inode}))
            ReadGroup(found.path, seen, projects);
        return;
    }
    if (!EndsWithoutCase(found.path, ".vbp")) {
        projects.push_back({found.path, vb::RuntimeError(vb::err::BadFileName, found.path)});
        return;
    }
    projects.push_back({std::move(found.path), std::nullopt});
}

void ReadGroup(const std::string& groupPath, GroupsSeen& seen, std::vector<ProjectOperand>& projects) {
    const auto slash = groupPath.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : groupPath.substr(0, slash + 1);
    try {
        vb::LineReader reader(groupPath);
        reader.cutLinesLongerThan(vb::kLongestProjectLine);
        // On the way from the operand while its lines are read, and only then.
        struct OnTheWay {
            GroupsSeen& seen;
            explicit OnTheWay(GroupsSeen& s, const vb::FileIdentity& identity) : seen(s) {
                seen.read.emplace(identity.device, identity.inode);
                seen.open.push_back(identity);
            }
            ~OnTheWay() { seen.open.pop_back(); }
            OnTheWay(const OnTheWay&) = delete;
            OnTheWay& operator=(const OnTheWay&) = delete;
        };
        std::optional<OnTheWay> onTheWay;
        if (const auto identity = vb::IdentityOfDescriptor(reader.fd()))
            onTheWay.emplace(seen, *identity);
        vb::MemberLookup lookup(folder);
        std::string_view line;
        while (reader.next(line))
            if (const auto value = ProjectOfGroupLine(line))
                TakeGroupLine(lookup, *value, seen, projects);
    } catch (const vb::RuntimeError& e) {
        projects.push_back({groupPath, e});
    }
}

} // namespace

bool NamesProjects(const std::string& word) {
    return IsFolderPath(word) || EndsWithoutCase(word, ".vbp") || EndsWithoutCase(word, ".vbg");
}

bool IsOneProjectFile(const std::vector<std::string>& operands) {
    return operands.size() == 1 && !IsFolderPath(operands.front()) && !IsGroupFile(operands.front());
}

std::vector<ProjectOperand> ProjectsOfOperands(const std::vector<std::string>& operands, int jobs) {
    std::vector<ProjectOperand> projects;
    std::set<std::pair<dev_t, ino_t>> seen; // device and inode of every project taken
    const auto take = [&](ProjectOperand project) {
        if (!project.error)
            if (const auto identity = vb::IdentityOfPath(project.path)) {
                if (!seen.emplace(identity->device, identity->inode).second)
                    return;
            }
        projects.push_back(std::move(project));
    };
    for (const std::string& operand : operands) {
        if (IsFolderPath(operand)) {
            std::vector<ProjectOperand> below = ProjectsOfFolder(operand, jobs);
            if (below.empty()) // as a folder given as the project file always was
                throw vb::RuntimeError(vb::err::PathFileAccess, operand);
            for (ProjectOperand& project : below)
                take(std::move(project));
        } else if (IsGroupFile(operand)) {
            std::vector<ProjectOperand> inGroup;
            GroupsSeen groups;
            ReadGroup(operand, groups, inGroup);
            for (ProjectOperand& project : inGroup)
                take(std::move(project));
        } else {
            take({operand, std::nullopt});
        }
    }
    return projects;
}

} // namespace cli

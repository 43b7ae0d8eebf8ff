#include "operands.h"
#include "ordered_pool.h"

#include "text/file_identity.h"
#include "text/line_reader.h"
#include "text/member_path.h"

#include <algorithm>
#include <dirent.h>
#include <functional>
#include <iterator>
#include <memory>
#include <set>
#include <string_view>
#include <sys/stat.h>
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

// Calls `folderFound` for each folder in `folder` and `projectFound` for each project file, symbolic links
// to folders not followed, in the order of the listing.
void ListFolder(const std::string& folder, const std::function<void(std::string)>& folderFound,
                const std::function<void(std::string)>& projectFound) {
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir)
        return; // a folder that cannot be listed holds no project the run can read
    while (const dirent* e = ::readdir(dir.get())) {
        const std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        std::string path = Joined(folder, name);
        // The listing says what most entries are; only where it does not is the entry asked itself. A
        // symbolic link is never a folder here.
        bool isFolder = e->d_type == DT_DIR;
        if (e->d_type == DT_UNKNOWN) {
            struct stat st {};
            if (::lstat(path.c_str(), &st) != 0)
                continue;
            isFolder = S_ISDIR(st.st_mode);
        }
        if (isFolder)
            folderFound(std::move(path));
        else if (EndsWithoutCase(name, ".vbp") && !IsFolderPath(path))
            projectFound(std::move(path));
    }
}

// Every project file below `folder`, in any order.
void CollectProjectFiles(const std::string& folder, std::vector<std::string>& found) {
    ListFolder(
        folder, [&](std::string sub) { CollectProjectFiles(sub, found); },
        [&](std::string path) { found.push_back(std::move(path)); });
}

// The folders of a large estate are listed on `jobs` threads, a subfolder of `folder` each at a time.
std::vector<ProjectOperand> ProjectsOfFolder(const std::string& folder, int jobs) {
    std::vector<std::string> paths;
    std::vector<std::string> subfolders;
    ListFolder(
        folder, [&](std::string sub) { subfolders.push_back(std::move(sub)); },
        [&](std::string path) { paths.push_back(std::move(path)); });
    RunInOrder<std::vector<std::string>>(
        subfolders.size(), jobs,
        [&](std::size_t i) {
            std::vector<std::string> below;
            CollectProjectFiles(subfolders[i], below);
            return below;
        },
        [&](std::size_t, std::vector<std::string>&& below) {
            std::move(below.begin(), below.end(), std::back_inserter(paths));
        });
    std::sort(paths.begin(), paths.end()); // byte order, as std::string compares
    std::vector<ProjectOperand> projects;
    for (std::string& path : paths)
        projects.push_back({std::move(path), std::nullopt});
    return projects;
}

// The value of a group line naming a project, or nullopt for any other line.
std::optional<std::string_view> ProjectOfGroupLine(std::string_view line) {
    for (const std::string_view key : {"Project=", "StartupProject="})
        if (line.starts_with(key))
            return line.substr(key.size());
    return std::nullopt;
}

std::vector<ProjectOperand> ProjectsOfGroup(const std::string& groupPath) {
    std::vector<ProjectOperand> projects;
    const auto slash = groupPath.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : groupPath.substr(0, slash + 1);
    try {
        vb::LineReader reader(groupPath);
        vb::MemberLookup lookup(folder);
        std::string_view line;
        while (reader.next(line)) {
            const auto value = ProjectOfGroupLine(line);
            if (!value)
                continue;
            vb::FoundMemberPath found = lookup.find(std::string(*value));
            if (found)
                projects.push_back({std::move(found.path), std::nullopt});
            else
                projects.push_back(
                    {lookup.seenFromCaller(std::string(*value)),
                     vb::RuntimeError(found.error, lookup.seenFromCaller(std::string(*value)))});
        }
    } catch (const vb::RuntimeError& e) {
        projects.push_back({groupPath, e});
    }
    return projects;
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
            for (ProjectOperand& project : ProjectsOfGroup(operand))
                take(std::move(project));
        } else {
            take({operand, std::nullopt});
        }
    }
    return projects;
}

} // namespace cli

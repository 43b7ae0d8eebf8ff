#include "inventory/shared_members.h"

#include "files/file_identity.h"
#include "project/project_folder.h"
#include "project/read_project_file.h"

#include <algorithm>

namespace inventory {

void SharedMembers::addProject(std::size_t index, const std::string& projectPath) {
    std::vector<std::pair<std::pair<dev_t, ino_t>, std::string>> found;
    try {
        const vb::ProjectFileLists lists = vb::ReadProjectFile(projectPath);
        vb::MemberLookup lookup = vb::CounterLookupOf(projectPath);
        for (const vb::SourceKind kind : vb::kSourceKinds)
            for (const std::string_view entry : lists.entries(kind))
                if (const vb::FoundMemberPath member = lookup.find(std::string(entry)))
                    if (const auto identity = vb::IdentityOfPath(member.path))
                        found.push_back({{identity->device, identity->inode}, member.path});
    } catch (const vb::RuntimeError&) {
        return; // the project's failure is reported in its place
    }
    const std::lock_guard lock(mutex_);
    for (auto& [identity, path] : found)
        files_[identity].try_emplace(index, Use{projectPath, std::move(path)});
}

std::vector<SharedFile> SharedMembers::shared() const {
    const std::lock_guard lock(mutex_);
    std::vector<const Uses*> shared;
    for (const auto& [identity, uses] : files_)
        if (uses.size() > 1)
            shared.push_back(&uses);
    std::sort(shared.begin(), shared.end(), [](const Uses* a, const Uses* b) {
        const auto& [ia, ua] = *a->begin();
        const auto& [ib, ub] = *b->begin();
        return ia != ib ? ia < ib : ua.file < ub.file;
    });
    std::vector<SharedFile> files;
    for (const Uses* uses : shared) {
        SharedFile file{uses->begin()->second.file, {}};
        for (const auto& [index, use] : *uses)
            file.projects.push_back(use.project);
        files.push_back(std::move(file));
    }
    return files;
}

} // namespace inventory

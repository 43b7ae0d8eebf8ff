#include "shared_members.h"

#include "plain_text.h"
#include "project_folder.h"

#include "files/file_identity.h"
#include "project/read_project_file.h"
#include "text/text_facts.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace cli {

void SharedMembers::addProject(std::size_t index, const std::string& projectPath) {
    std::vector<std::pair<std::pair<dev_t, ino_t>, std::string>> found;
    try {
        const vb::ProjectFileLists lists = vb::ReadProjectFile(projectPath);
        vb::MemberLookup lookup = CounterLookupOf(projectPath);
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

std::vector<const SharedMembers::Uses*> SharedMembers::shared() const {
    std::vector<const Uses*> shared;
    for (const auto& [identity, uses] : files_)
        if (uses.size() > 1)
            shared.push_back(&uses);
    std::sort(shared.begin(), shared.end(), [](const Uses* a, const Uses* b) {
        const auto& [ia, ua] = *a->begin();
        const auto& [ib, ub] = *b->begin();
        return ia != ib ? ia < ib : ua.file < ub.file;
    });
    return shared;
}

std::string SharedMembers::text(const vb::CodePage& page) const {
    const std::lock_guard lock(mutex_);
    std::string out;
    for (const Uses* uses : shared()) {
        const std::string& file = uses->begin()->second.file;
        out += "Geteilt\t" + PlainField(file, vb::TextKindOf(file), page);
        for (const auto& [index, use] : *uses)
            out += "\t" + PlainField(use.project, vb::TextKindOf(use.project), page);
        out += "\n";
    }
    return out;
}

nlohmann::ordered_json SharedMembers::json(const vb::CodePage& page) const {
    const std::lock_guard lock(mutex_);
    auto records = nlohmann::ordered_json::array();
    for (const Uses* uses : shared()) {
        const std::string& file = uses->begin()->second.file;
        auto projects = nlohmann::ordered_json::array();
        for (const auto& [index, use] : *uses)
            projects.push_back(vb::ShownText(use.project, vb::TextKindOf(use.project), page));
        records.push_back(
            {{"file", vb::ShownText(file, vb::TextKindOf(file), page)}, {"projects", projects}});
    }
    return records;
}

} // namespace cli

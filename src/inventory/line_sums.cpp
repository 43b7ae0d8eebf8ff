#include "inventory/line_sums.h"

#include "project/project_folder.h"
#include "project/read_project_file.h"
#include "text/shown_text.h"

namespace inventory {

ProjectLines LinesOfProject(const std::string& projectPath, const MemberReading& reading) {
    const vb::ProjectFileLists lists = vb::ReadProjectFile(projectPath);
    vb::MemberLookup lookup = vb::CounterLookupOf(projectPath);
    ProjectLines project;
    std::size_t k = 0;
    for (const vb::SourceKind kind : vb::kSourceKinds) {
        counter::LineTally& ofKind = project.kinds[k++];
        for (const std::string_view entry : lists.entries(kind)) {
            MemberLines member{kind, vb::ShownText(entry, lists.Text, reading.codePage), {}, {}};
            std::optional<vb::LineReader> reader;
            if (auto missing = lookup.openInto(std::string(entry), reader)) {
                reading.memberMissing(*missing);
                member.missing = std::move(missing);
            } else {
                member.tally = counter::CountMemberLines(*reader, kind);
                ofKind += *member.tally;
            }
            project.members.push_back(std::move(member));
        }
        project.total += ofKind;
    }
    return project;
}

void LineSums::add(const counter::LineTally& project) {
    const std::lock_guard lock(mutex_);
    total_ += project;
}

counter::LineTally LineSums::total() const {
    const std::lock_guard lock(mutex_);
    return total_;
}

} // namespace inventory

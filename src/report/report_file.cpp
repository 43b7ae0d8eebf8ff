#include "report_file.h"

#include "files/file_identity.h"
#include "files/line_writer.h"
#include "files/member_path.h"
#include "files/replaced_file.h"
#include "merger/merged_file.h"
#include "merger/output_guard.h"
#include "project/read_project_file.h"

#include <optional>

namespace report {

namespace {

// A project as the output guard sees it: its lists, or none when its file cannot be read (its own
// file is then the only one to keep).
struct GuardedProject {
    const std::string* path;
    std::optional<vb::ProjectFileLists> lists;
};

std::vector<GuardedProject> GuardedProjects(const std::vector<std::string>& projectPaths) {
    std::vector<GuardedProject> projects;
    for (const std::string& path : projectPaths) {
        GuardedProject project{&path, std::nullopt};
        try {
            project.lists = vb::ReadProjectFile(path);
        } catch (const vb::RuntimeError&) {
        }
        projects.push_back(std::move(project));
    }
    return projects;
}

void Refuse(const std::string& outputPath, const std::vector<GuardedProject>& projects) {
    const auto output = vb::IdentityOfPath(outputPath);
    for (const GuardedProject& project : projects) {
        if (!project.lists) {
            if (output && output == vb::IdentityOfPath(*project.path))
                throw merger::MergeReadsItsOutput(*project.path);
            continue;
        }
        if (const auto own = merger::OwnFileNamedBy(outputPath, *project.path, *project.lists,
                                                    vb::FolderOfPath(*project.path)))
            throw merger::MergeReadsItsOutput(*own);
    }
}

} // namespace

void RefuseProjectFile(const std::string& outputPath, const std::vector<std::string>& projectPaths) {
    Refuse(outputPath, GuardedProjects(projectPaths));
}

void WriteReportFile(const std::string& outputPath, std::string_view page,
                     const std::vector<std::string>& projectPaths) {
    const std::vector<GuardedProject> projects = GuardedProjects(projectPaths);
    Refuse(outputPath, projects);
    vb::ReplacedFile file(outputPath, [&](int fd) {
        const auto opened = vb::IdentityOfDescriptor(fd);
        for (const GuardedProject& project : projects) {
            if (project.lists) {
                vb::MemberLookup lookup;
                merger::RefuseOwnFileOpened(fd, *project.path, *project.lists,
                                            vb::FolderOfPath(*project.path), lookup);
            } else if (opened && opened == vb::IdentityOfPath(*project.path)) {
                throw merger::MergeReadsItsOutput(*project.path);
            }
        }
    });
    vb::LineWriter out(file.fd(), outputPath);
    out.write(page);
    out.close();
    file.commit();
}

} // namespace report

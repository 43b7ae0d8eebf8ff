#include "merge_into_folder.h"

#include "commands.h"
#include "failures.h"
#include "plain_text.h"

#include "files/file_identity.h"
#include "files/member_path.h"
#include "project/read_project_file.h"
#include "text/text_facts.h"

#include <set>
#include <utility>

namespace cli {

namespace {

using Identities = std::set<std::pair<dev_t, ino_t>>;

void Note(Identities& identities, const std::string& path) {
    if (const auto identity = vb::IdentityOfPath(path))
        identities.emplace(identity->device, identity->inode);
}

// The files the run reads: each project file and the member files its merge finds. A project that cannot
// be read adds only its project file; its failure is reported in its place.
Identities FilesOfTheRun(const std::vector<ProjectOperand>& projects) {
    Identities identities;
    for (const ProjectOperand& project : projects) {
        if (project.error)
            continue;
        Note(identities, project.path);
        try {
            const vb::ProjectFileLists lists = vb::ReadProjectFile(project.path);
            const std::string folder = vb::FolderOfPath(project.path);
            vb::MemberLookup lookup;
            for (const vb::SourceKind kind : vb::kSourceKinds)
                for (const std::string_view entry : lists.entries(kind))
                    if (const vb::FoundMemberPath found = lookup.find(std::string(folder).append(entry)))
                        Note(identities, found.path);
        } catch (const vb::RuntimeError&) {
        }
    }
    return identities;
}

} // namespace

std::string MergedFileName(std::size_t position, const std::string& projectPath,
                           merger::DocumentFormat format) {
    std::string name = projectPath.substr(projectPath.rfind('/') + 1);
    if (const auto dot = name.rfind('.'); dot != std::string::npos && dot > 0)
        name.erase(dot);
    return std::to_string(position) + "-" + name + std::string(merger::FileExtensionOf(format));
}

bool MergeIntoFolder(const std::vector<ProjectOperand>& projects, const std::string& folder, bool codeOnly,
                     bool keepGoing, const merger::DocumentMerge& how, const EstateRun& run) {
    std::vector<std::string> outputs;
    for (std::size_t i = 0; i < projects.size(); ++i)
        outputs.push_back(Joined(folder, MergedFileName(i + 1, projects[i].path, how.format)));
    const Identities inputs = FilesOfTheRun(projects);
    for (const std::string& output : outputs)
        if (const auto identity = vb::IdentityOfPath(output);
            identity && inputs.contains({identity->device, identity->inode}))
            throw Refusal(kOwnFileRefusal + ControlPictures(output));

    return RunOverProjects(projects, run, [&](const std::string& projectPath, std::size_t i) {
        Output output;
        output.membersMissing = !Merge(projectPath, outputs[i], codeOnly, keepGoing, how, &output.notes);
        output.text = PlainField(outputs[i], vb::TextKindOf(outputs[i]), run.codePage) + "\n";
        return output;
    });
}

} // namespace cli

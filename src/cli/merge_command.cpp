#include "commands.h"
#include "failures.h"
#include "plain_text.h"
#include "progress_bar.h"
#include "standard_streams.h"

#include "merger/merged_file.h"
#include "merger/output_guard.h"
#include "project/read_project_file.h"

#include <unistd.h>

namespace cli {

namespace {

const std::string kOwnFileRefusal =
    "Die Ausgabedatei ist eine Datei des Projekts und wird nicht überschrieben: ";

bool MergeUnlessOwnFile(const std::string& projectPath, const std::string& outputPath, bool codeOnly,
                        bool keepGoing) {
    const vb::ProjectFileLists lists = vb::ReadProjectFile(projectPath);
    // As the window: members are found at the project path's folder followed by their entries. The
    // entries alone reach the output, so the bytes do not depend on how the project path is spelled.
    const std::string projectFolder = vb::FolderOfPath(projectPath);
    // The window's bar maximum: fails with an overflow for the same projects as the window does.
    const int members = merger::MergeProgressMaximum(lists);
    const auto optionSet = [codeOnly] { return !codeOnly; };
    // The guard and the merge find members with the same folder listings.
    vb::MemberLookup lookup;
    bool complete = true;
    const ProgressBar* shownBar = nullptr;
    merger::MissingMember memberMissing;
    if (keepGoing)
        memberMissing = [&](const vb::RuntimeError& error) {
            complete = false;
            if (shownBar)
                shownBar->note(ErrorMessage(error));
            else
                WriteToStandardError(ErrorMessage(error));
        };

    if (outputPath == kStandardOutputPath) {
        // Standard output appended to a member (`>> Main.frm`) would feed the merge its own output.
        // Nothing written to it can be taken back, so every member is checked before the first line.
        if (!merger::IdentitiesOfOutput(STDOUT_FILENO).empty())
            merger::RefuseOwnFileOpened(STDOUT_FILENO, projectPath, lists, projectFolder, lookup);
        // A bar on the terminal that also shows the merged text would be torn up by it.
        ProgressBar bar("Datei wird generiert", members, ::isatty(STDOUT_FILENO) != 1);
        shownBar = &bar;
        merger::MergeIntoDescriptor(
            lists, projectFolder, STDOUT_FILENO, std::string(kStandardOutputName), optionSet,
            [&] { bar.step(); }, &lookup, memberMissing);
        return complete;
    }

    if (const auto own = merger::OwnFileNamedBy(outputPath, projectPath, lists, projectFolder, &lookup))
        throw merger::MergeReadsItsOutput(*own);
    ProgressBar bar("Datei wird generiert", members);
    shownBar = &bar;
    // The earlier output stays whole until the new one is complete.
    merger::MergeIntoFile(
        lists, projectPath, projectFolder, outputPath, optionSet, [&] { bar.step(); }, &lookup,
        memberMissing);
    return complete;
}

} // namespace

bool Merge(const std::string& projectPath, const std::string& outputPath, bool codeOnly, bool keepGoing) {
    try {
        return MergeUnlessOwnFile(projectPath, outputPath, codeOnly, keepGoing);
    } catch (const merger::MergeReadsItsOutput& e) {
        // Found before anything was written, or as a member was opened: the target keeps what it had.
        throw Refusal(kOwnFileRefusal + ControlPictures(e.path()));
    }
}

} // namespace cli

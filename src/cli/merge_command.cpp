#include "commands.h"
#include "failures.h"
#include "plain_text.h"
#include "progress_bar.h"
#include "standard_streams.h"

#include "merger/merged_file.h"
#include "merger/output_guard.h"
#include "project/read_project_file.h"

#include <algorithm>
#include <unistd.h>

namespace cli {

const std::string kOwnFileRefusal =
    "Die Ausgabedatei ist eine Datei des Projekts und wird nicht überschrieben: ";

namespace {

bool MergeUnlessOwnFile(const std::string& projectPath, const std::string& outputPath, bool codeOnly,
                        bool keepGoing, const merger::DocumentMerge& how, std::vector<std::string>* notes,
                        bool quiet) {
    const bool text = how.format == merger::DocumentFormat::Text;
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
            if (notes)
                notes->push_back(ErrorMessage(error));
            else if (shownBar)
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
        ProgressBar bar("Datei wird generiert", members, !quiet && ::isatty(STDOUT_FILENO) != 1);
        shownBar = &bar;
        if (text)
            merger::MergeIntoDescriptor(
                lists, projectFolder, STDOUT_FILENO, std::string(kStandardOutputName), optionSet,
                [&] { bar.step(); }, &lookup, memberMissing, how.lineNumbers);
        else
            merger::MergeDocumentIntoDescriptor(
                lists, projectPath, projectFolder, STDOUT_FILENO, std::string(kStandardOutputName), how,
                optionSet, [&] { bar.step(); }, &lookup, memberMissing);
        return complete;
    }

    if (const auto own = merger::OwnFileNamedBy(outputPath, projectPath, lists, projectFolder, &lookup))
        throw merger::MergeReadsItsOutput(*own);
    ProgressBar bar("Datei wird generiert", members, !quiet && notes == nullptr);
    shownBar = &bar;
    // The earlier output stays whole until the new one is complete.
    if (text)
        merger::MergeIntoFile(
            lists, projectPath, projectFolder, outputPath, optionSet, [&] { bar.step(); }, &lookup,
            memberMissing, how.lineNumbers);
    else
        merger::MergeDocumentIntoFile(
            lists, projectPath, projectFolder, outputPath, how, optionSet, [&] { bar.step(); }, &lookup,
            memberMissing);
    return complete;
}

} // namespace

std::optional<std::uint64_t> SplitSizeNamed(std::string_view text) {
    std::uint64_t unit = 1;
    if (text.ends_with('k'))
        unit = 1024;
    else if (text.ends_with('M'))
        unit = 1024 * 1024;
    const std::string_view digits = unit == 1 ? text : text.substr(0, text.size() - 1);
    if (digits.empty() || digits.size() > 18 ||
        !std::all_of(digits.begin(), digits.end(), [](char ch) { return ch >= '0' && ch <= '9'; }))
        return std::nullopt;
    std::uint64_t count = 0;
    for (const char ch : digits)
        count = count * 10 + static_cast<std::uint64_t>(ch - '0');
    if (count == 0 || count > (std::uint64_t{1} << 63) / unit)
        return std::nullopt;
    return count * unit;
}

bool Merge(const std::string& projectPath, const std::string& outputPath, bool codeOnly, bool keepGoing,
           const merger::DocumentMerge& how, std::vector<std::string>* notes, bool quiet) {
    try {
        return MergeUnlessOwnFile(projectPath, outputPath, codeOnly, keepGoing, how, notes, quiet);
    } catch (const merger::MergeReadsItsOutput& e) {
        // Found before anything was written, or as a member was opened: the target keeps what it had.
        throw Refusal(kOwnFileRefusal + ControlPictures(e.path()));
    }
}

} // namespace cli

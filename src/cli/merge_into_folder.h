#pragma once
// The merge of several projects: one merged file per project in an output folder.

#include "estate.h"
#include "operands.h"

#include "merger/merged_document.h"

#include <string>
#include <vector>

namespace cli {

// The name of the merged file of the project at `projectPath`, the `position`-th of the run (from 1):
// POSITION-NAME.EXT, NAME the project file's name without its extension, EXT that of the format (.txt for
// the text format). The position alone tells the files apart, so no two projects of a run can write the
// same file.
std::string MergedFileName(std::size_t position, const std::string& projectPath,
                           merger::DocumentFormat format = merger::DocumentFormat::Text);

// Merges every project into `folder` under MergedFileName in the format `how` names, each through the
// atomic merge into a file, on
// `run.jobs` threads. Before anything is written, every output file is checked against the files of
// every project of the run (project files and the member files the merge finds, by device and inode):
// one of them as an output is refused (Refusal). Writes a line PATH<TAB>OUTPUT per merged project, or
// its error line, in the order of the projects. False when a project failed or a member file could not
// be opened.
bool MergeIntoFolder(const std::vector<ProjectOperand>& projects, const std::string& folder, bool codeOnly,
                     bool keepGoing, const merger::DocumentMerge& how, const EstateRun& run);

} // namespace cli

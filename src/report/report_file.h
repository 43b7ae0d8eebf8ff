#pragma once
// The report written to its file: replaced whole or not at all, and never over a file the report is
// made from.

#include <string>
#include <string_view>
#include <vector>

namespace report {

// Throws merger::MergeReadsItsOutput naming the file when `outputPath` is one of `projectPaths` or a
// member file of one of them, by file identity as the merge's output guard judges (also a missing output
// whose creation a member lookup would find).
void RefuseProjectFile(const std::string& outputPath, const std::vector<std::string>& projectPaths);

// Writes `page` to `outputPath` as a replaced file (vb::ReplacedFile: the earlier report stays whole
// until the new one is complete). Throws merger::MergeReadsItsOutput naming the file, before anything is
// written, when the output is one of `projectPaths` or a member file of one of them (by file identity,
// as the merge's output guard judges), and again when a file written in place turns out to be one.
// RuntimeError when the file cannot be written.
void WriteReportFile(const std::string& outputPath, std::string_view page,
                     const std::vector<std::string>& projectPaths);

} // namespace report

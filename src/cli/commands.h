#pragma once
// The four commands. The reading commands return their whole output, which is written only once the
// command has succeeded, so a failure never leaves half a listing on standard output.

#include <string>
#include <vector>

namespace cli {

// The five kinds in the project reader's order, each with its count and its entries as written.
std::string MembersOutput(const std::string& projectPath, bool json);

// Per member its object types in table order, each with its names in declaration order. Without
// `entries` every form, user control and property page; otherwise the named entries in the order given,
// each matched exactly against the project's entries (as written, or in their UTF-8 form). UsageError
// for a name that is no entry of the project.
std::string ObjectsOutput(const std::string& projectPath, const std::vector<std::string>& entries, bool json);

// The all-objects count: per scanned member its number, and the total.
std::string CountOutput(const std::string& projectPath, bool json);

// The name that stands for standard output as the output path.
inline constexpr const char* kStandardOutputPath = "-";

// Writes the merged file of the project to `outputPath` ("-": standard output), with the forms' object
// descriptions unless `codeOnly`. Refusal when `outputPath` is the project file or one of its members.
void Merge(const std::string& projectPath, const std::string& outputPath, bool codeOnly);

} // namespace cli

#pragma once
// The lines of a project file that name files or components beside the members: designers, user
// documents, related documents, the resource file, components and references, and any other key whose
// value names a file. No command reads what they name; the check shows them, so that a maintainer knows
// what a project needs beyond its members.

#include <string>
#include <string_view>
#include <vector>

namespace vb {

struct OtherProjectLine {
    std::string key;       // the text before the first "="
    std::string value;     // everything after it, as written
    std::string_view what; // what the line is, in the system's words
    // As the line gives them (empty where it does not): the class or library id, its version, the file.
    std::string guid;
    std::string version;
    std::string file;
    // The description of a type library reference, empty elsewhere.
    std::string description;
};

// The line read as one of those above, or an empty key for a line that is none of them (a member line,
// a line without "=", a value that names no file).
OtherProjectLine ReadOtherProjectLine(std::string_view line);

// A line of a member file's head that names the component of its controls, `Object = "{GUID}#VERSION#0";
// "FILE"` or `Object = "*\\APATH"`, read as the project file's Object line with the same value; an empty
// key for any other line.
OtherProjectLine ReadHeadObjectLine(std::string_view line);

// Every such line of the project file, in order; RuntimeError as for any reading.
std::vector<OtherProjectLine> OtherProjectLines(const std::string& path);

} // namespace vb

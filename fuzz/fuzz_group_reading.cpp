// Project groups made in a fresh folder from the input: a line "@NAME" starts the file NAME ("/" between
// folders; ".vbg", ".vbp" or anything else), the lines after it are its content until the next "@" line.
// The first file is the group read. Reading it never crashes, gives every project reached once (a ".vbp"
// that exists), every place it could not read as a line with one of the lookup's error numbers, and the
// same on 1 and on 3 threads.
#include "errors/runtime_error.h"
#include "fuzz_support.h"
#include "operands.h"

#include <fstream>
#include <set>
#include <sys/stat.h>

namespace {

bool EndsWith(const std::string& path, std::string_view end) {
    if (path.size() < end.size())
        return false;
    for (std::size_t i = 0; i < end.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(path[path.size() - end.size() + i])) != end[i])
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    vbfuzz::ScratchFolder folder;
    std::string first;
    std::string name;
    std::string content;
    const auto write = [&] {
        if (name.empty() || !folder.addFile(name))
            return;
        std::ofstream(folder.path() + name, std::ios::binary) << content;
        if (first.empty())
            first = folder.path() + name;
    };
    for (const std::string_view line : vbfuzz::SplitLines(bytes)) {
        if (line.starts_with('@')) {
            write();
            name = std::string(line.substr(1));
            content.clear();
        } else {
            content.append(line).append("\r\n");
        }
    }
    write();
    if (first.empty() || !EndsWith(first, ".vbg"))
        return 0;

    const std::vector<cli::ProjectOperand> one = cli::ProjectsOfOperands({first}, 1);
    const std::vector<cli::ProjectOperand> three = cli::ProjectsOfOperands({first}, 3);
    vbfuzz::Check(one.size() == three.size(), "another number of projects on 3 threads");
    std::set<std::string> projects;
    for (std::size_t i = 0; i < one.size(); ++i) {
        const cli::ProjectOperand& p = one[i];
        vbfuzz::Check(p.path == three[i].path && p.error.has_value() == three[i].error.has_value(),
                      "another result on 3 threads");
        if (p.error) {
            const int n = p.error->number();
            vbfuzz::Check(n == 52 || n == 53 || n == 57 || n == 70 || n == 75 || n == 76,
                          "an unreadable place with an unexpected error number");
            continue;
        }
        struct stat st {};
        vbfuzz::Check(EndsWith(p.path, ".vbp") && ::stat(p.path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode),
                      "a project that is no project file");
        vbfuzz::Check(projects.insert(p.path).second, "a project reached twice");
    }
    return 0;
}

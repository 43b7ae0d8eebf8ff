// The folder walk of the command line on trees made in a fresh folder from the input's lines: each line a
// path below it, its first byte saying what to make there ('d' a folder, 'u' a folder that may not be
// listed, 'l' a symbolic link to the top, anything else a file). The walk must not crash, must find
// exactly the project files it can reach, must report every folder it cannot list (error 70) in its
// place, and must give the same result on one thread and on three.
#include "errors/runtime_error.h"
#include "fuzz_support.h"
#include "operands.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <linux/capability.h>
#include <map>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

enum class Made { Folder, Unlistable, Link, File };

// Root reads every folder; without these two capabilities it is held to the modes like anyone else, so
// that a folder of mode 0 cannot be listed. Threads started afterwards inherit the set.
void DropPermissionOverride() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (::syscall(SYS_capget, &header, data) != 0)
        return;
    data[0].effective &= ~((1U << CAP_DAC_OVERRIDE) | (1U << CAP_DAC_READ_SEARCH));
    ::syscall(SYS_capset, &header, data);
}

// The input line as a relative path of plain names: printable ASCII, no empty part, no "." or "..".
std::optional<std::string> RelativePath(std::string_view line) {
    std::string path;
    for (const char ch : line)
        if (ch == '/' || (ch > ' ' && ch < 0x7f))
            path += ch;
    if (path.empty() || path.size() > 600 || path.front() == '/' || path.back() == '/')
        return std::nullopt;
    for (std::size_t start = 0;;) {
        const auto slash = path.find('/', start);
        const std::string part = path.substr(start, slash == std::string::npos ? slash : slash - start);
        if (part.empty() || part == "." || part == ".." || part.size() > 60)
            return std::nullopt;
        if (slash == std::string::npos)
            return path;
        start = slash + 1;
    }
}

bool IsProjectName(const std::string& path) {
    if (path.size() < 4)
        return false;
    std::string end = path.substr(path.size() - 4);
    std::transform(end.begin(), end.end(), end.begin(), [](unsigned char ch) { return std::tolower(ch); });
    return end == ".vbp";
}

std::vector<std::pair<std::string, int>> Walked(const std::string& top, int jobs) {
    std::vector<std::pair<std::string, int>> walked;
    try {
        for (const cli::ProjectOperand& project : cli::ProjectsOfOperands({top}, jobs))
            walked.emplace_back(project.path, project.error ? project.error->number() : 0);
    } catch (const vb::RuntimeError& e) {
        walked.emplace_back("", e.number());
    }
    return walked;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    DropPermissionOverride();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string pattern = (fs::temp_directory_path() / "vbfuzz-walk-XXXXXX").string();
    vbfuzz::Check(::mkdtemp(pattern.data()) != nullptr, "no scratch folder");
    const std::string top = pattern;

    std::map<std::string, Made> made; // relative path to what it is
    int lines = 0;
    for (const std::string_view line : vbfuzz::SplitLines(bytes)) {
        if (line.empty() || ++lines > 64)
            continue;
        const auto relative = RelativePath(line.substr(1));
        if (!relative)
            continue;
        const char kind = line.front();
        // Every folder on the way is made or is a folder already: never through a link or a file.
        bool blocked = false;
        for (auto at = relative->find('/'); at != std::string::npos && !blocked;
             at = relative->find('/', at + 1)) {
            const auto on = made.find(relative->substr(0, at));
            blocked = on != made.end() && (on->second == Made::Link || on->second == Made::File);
        }
        const auto existing = made.find(*relative);
        if (blocked || (existing != made.end() && !(kind == 'u' && existing->second == Made::Folder)))
            continue;
        std::error_code error;
        const fs::path path = fs::path(top) / *relative;
        fs::create_directories(path.parent_path(), error);
        if (error)
            continue;
        for (auto at = relative->find('/'); at != std::string::npos; at = relative->find('/', at + 1))
            made.try_emplace(relative->substr(0, at), Made::Folder);
        if (kind == 'd' || kind == 'u') {
            fs::create_directory(path, error);
            if (!error)
                made[*relative] = kind == 'u' ? Made::Unlistable : Made::Folder;
        } else if (kind == 'l') {
            fs::create_directory_symlink(top, path, error);
            if (!error)
                made[*relative] = Made::Link;
        } else {
            std::FILE* file = std::fopen(path.c_str(), "wb");
            if (file) {
                std::fclose(file);
                made[*relative] = Made::File;
            }
        }
    }

    // What the walk must give: each project file and each unlistable folder that is reached through
    // listable folders alone, by its path as reached.
    std::vector<std::pair<std::string, int>> expected;
    for (const auto& [relative, what] : made) {
        bool reached = true;
        for (auto at = relative.find('/'); at != std::string::npos && reached;
             at = relative.find('/', at + 1))
            reached = made.at(relative.substr(0, at)) == Made::Folder;
        if (!reached)
            continue;
        if (what == Made::Unlistable)
            expected.emplace_back(top + "/" + relative, vb::err::PermissionDenied);
        else if (what == Made::File && IsProjectName(relative))
            expected.emplace_back(top + "/" + relative, 0);
    }
    std::sort(expected.begin(), expected.end());
    if (expected.empty())
        expected.emplace_back("", vb::err::PathFileAccess); // a folder without a project

    for (const auto& [relative, what] : made)
        if (what == Made::Unlistable)
            ::chmod((top + "/" + relative).c_str(), (relative.size() & 1) ? 0 : 0311);
    const auto one = Walked(top, 1);
    const auto three = Walked(top, 3);
    for (const auto& [relative, what] : made)
        if (what == Made::Unlistable)
            ::chmod((top + "/" + relative).c_str(), 0755);
    std::error_code ignored;
    fs::remove_all(top, ignored);

    vbfuzz::Check(one == three, "one thread and three walk differently");
    vbfuzz::Check(one == expected, "the walk missed a project or an unlistable folder, or found more");
    return 0;
}

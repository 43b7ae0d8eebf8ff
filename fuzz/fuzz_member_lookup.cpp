// The member lookup on names made in a fresh folder: the first input line is the entry (with "\" or "/"),
// every further line a file to create. What is found exists, differs from the entry only in letter case
// (or by the Windows-1252 reading), is the one name of its fold in its folder, and is the same for a
// lookup that already listed the folders; what is not found has one of the lookup's error numbers.
#include "errors/runtime_error.h"
#include "files/member_path.h"
#include "fuzz_support.h"
#include "text/code_page.h"

#include <algorithm>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace {

std::vector<std::string> Parts(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const auto slash = path.find('/', start);
        parts.push_back(path.substr(start, slash == std::string::npos ? slash : slash - start));
        if (slash == std::string::npos)
            return parts;
        start = slash + 1;
    }
}

int NamesOfFold(const std::string& folder, const std::string& name) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    vbfuzz::Check(dir != nullptr, "a folder of the found path cannot be listed");
    int count = 0;
    while (const dirent* e = ::readdir(dir.get()))
        count += vb::SameNameWithoutCase(e->d_name, name);
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto newline = bytes.find('\n');
    const std::string entry(bytes.substr(0, newline));
    vbfuzz::ScratchFolder folder;
    vb::MemberLookup shared;
    for (std::size_t at = newline; at != std::string_view::npos && at < bytes.size();) {
        const auto end = bytes.find('\n', at + 1);
        const std::string name(bytes.substr(at + 1, end == std::string_view::npos ? end : end - at - 1));
        if (folder.addFile(name)) {
            // Lists the folders on the way before the entry is looked up, and must find the file itself.
            const auto found = shared.find(folder.path() + name);
            vbfuzz::Check(found && found.path == folder.path() + name, "a file is not found by its own name");
        }
        at = end;
    }

    const vb::FoundMemberPath fresh = vb::MemberLookup().find(folder.path() + entry);
    const vb::FoundMemberPath kept = shared.find(folder.path() + entry);
    vbfuzz::Check(fresh.error == kept.error && fresh.path == kept.path, "kept listings find another file");
    if (!fresh) {
        const int e = fresh.error;
        vbfuzz::Check(e == vb::err::FileNotFound || e == vb::err::PathNotFound || e == vb::err::BadFileName ||
                          e == vb::err::PermissionDenied,
                      "an error number the lookup does not give");
        return 0;
    }
    struct stat st {};
    vbfuzz::Check(::lstat(fresh.path.c_str(), &st) == 0, "the found path does not exist");
    vbfuzz::Check(fresh.path.starts_with(folder.path()), "the found path left the folder");

    std::string slashed = entry;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    const auto wanted = Parts(slashed);
    const bool plain = std::none_of(wanted.begin(), wanted.end(),
                                    [](const std::string& p) { return p.empty() || p == "." || p == ".."; });
    if (!plain || fresh.path == folder.path() + entry)
        return 0; // found as written, or through "." and ".." where the parts do not line up
    const auto got = Parts(fresh.path.substr(folder.path().size()));
    vbfuzz::Check(got.size() == wanted.size(), "the found path has other parts");
    const std::string converted = vb::IsUtf8(entry) ? std::string() : vb::Utf8FromWindows1252(slashed);
    const auto convertedParts = Parts(converted);
    std::string at = folder.path();
    for (std::size_t k = 0; k < got.size(); ++k) {
        if (got[k] != wanted[k]) {
            const bool byCase = vb::SameNameWithoutCase(got[k], wanted[k]) ||
                                (!converted.empty() && (got[k] == convertedParts[k] ||
                                                        vb::SameNameWithoutCase(got[k], convertedParts[k])));
            vbfuzz::Check(byCase, "a part differs in more than letter case");
            const bool convertedAsItIs = !converted.empty() && got[k] == convertedParts[k];
            vbfuzz::Check(convertedAsItIs || NamesOfFold(at, got[k]) == 1,
                          "a name shared by two files in other case was taken");
        }
        at += got[k] + "/";
    }
    return 0;
}

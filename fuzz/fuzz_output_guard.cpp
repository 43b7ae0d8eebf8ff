// The output guard and the identity check against the member lookup, on names made in a fresh folder.
// First input line: the output's name; then lines "F name" (a file to create), "E entry" (a form entry of
// the project) and "L target" (the output is a symbolic link to target). When the guard lets the output
// pass and the merge's checks find no member in it, writing it the way the merge does must leave every
// member where the lookup found it before, with its bytes.
#include "errors/runtime_error.h"
#include "files/file_identity.h"
#include "files/member_path.h"
#include "files/replaced_file.h"
#include "fuzz_support.h"
#include "merger/merged_file.h"
#include "merger/output_guard.h"

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::vector<vb::FoundMemberPath> Lookups(const std::vector<std::string>& paths) {
    vb::MemberLookup lookup;
    std::vector<vb::FoundMemberPath> found;
    for (const auto& path : paths)
        found.push_back(lookup.find(path));
    return found;
}

off_t SizeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_size : -1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    for (std::size_t start = 0; start <= bytes.size();) {
        const auto end = bytes.find('\n', start);
        lines.emplace_back(bytes.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    if (lines.empty() || lines[0].empty() || lines[0].find('\0') != std::string::npos)
        return 0;
    vbfuzz::ScratchFolder folder;
    const std::string output = folder.path() + lines[0];
    vbfuzz::Check(folder.addFile("P.vbp"), "the project file");
    const std::string project = folder.path() + "P.vbp";
    vb::ProjectFileLists lists;
    for (std::size_t k = 1; k < lines.size(); ++k) {
        const std::string& line = lines[k];
        if (line.size() < 2 || line[1] != ' ' || line.find('\0') != std::string::npos)
            continue;
        const std::string rest = line.substr(2);
        if (line[0] == 'F')
            folder.addFile(rest);
        else if (line[0] == 'E' && !rest.empty() && lists.Forms.size() < 32)
            lists.Forms.push_back(rest);
        else if (line[0] == 'L')
            ::symlink(rest.c_str(), output.c_str());
    }
    lists.FormCount = static_cast<vb::Int16>(lists.Forms.size());
    std::vector<std::string> members;
    for (const auto& entry : lists.Forms)
        members.push_back(folder.path() + std::string(entry));
    const auto before = Lookups(members);
    std::vector<off_t> sizes;
    for (const auto& found : before)
        sizes.push_back(found ? SizeOf(found.path) : -1);

    vb::MemberLookup lookup;
    if (merger::OwnFileNamedBy(output, project, lists, folder.path(), &lookup))
        return 0;
    try {
        vb::ReplacedFile file(
            output, [&](int fd) { merger::RefuseOwnFileOpened(fd, project, lists, folder.path(), lookup); });
        vbfuzz::Check(::write(file.fd(), "merged", 6) == 6, "write");
        // The merge opens every member and compares it with what it writes; a match ends it unfinished.
        const auto written = merger::IdentitiesOfOutput(file.fd(), file.path());
        for (const auto& found : before) {
            if (!found)
                continue;
            const auto identity = vb::IdentityOfPath(found.path);
            if (identity && std::find(written.begin(), written.end(), *identity) != written.end())
                return 0;
        }
        file.commit();
    } catch (const vb::RuntimeError&) {
        return 0; // nothing could be opened: nothing was written either
    } catch (const merger::MergeReadsItsOutput&) {
        return 0;
    }
    const auto after = Lookups(members);
    for (std::size_t k = 0; k < members.size(); ++k) {
        vbfuzz::Check(after[k].error == before[k].error && after[k].path == before[k].path,
                      "the written output changed what a member's lookup finds");
        if (after[k])
            vbfuzz::Check(SizeOf(after[k].path) == sizes[k], "a member file was written");
    }
    return 0;
}

// The project reader on any bytes: counts match the lists, and every entry is the cut of a member line.
#include "errors/runtime_error.h"
#include "fuzz_support.h"
#include "project/read_project_file.h"

#include <array>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const vbfuzz::MemoryFile file(bytes);
    vb::ProjectFileLists lists;
    try {
        lists = vb::ReadProjectFile(file.path());
    } catch (const vb::RuntimeError& e) {
        vbfuzz::Check(e.number() == vb::err::Overflow, "only an overflow may stop the reader");
        return 0;
    }
    // UTF-16 text is read as its UTF-8 (not counted by a split of bytes here); a UTF-8 byte order mark is
    // no part of the first line.
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return 0;
    std::array<std::size_t, 5> lines{};
    for (const auto line : vbfuzz::SplitLines(bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes))
        if (const auto kind = vb::KindOfProjectLine(line)) {
            ++lines[static_cast<std::size_t>(*kind)];
            const auto entry = vb::EntryOfProjectLine(*kind, line);
            vbfuzz::Check(entry.empty() || line.ends_with(entry), "an entry is not the end of its line");
        }
    for (const auto kind : vb::kSourceKinds) {
        vbfuzz::Check(lists.count(kind) >= 0, "a negative count");
        vbfuzz::Check(static_cast<std::size_t>(lists.count(kind)) == lists.list(kind).size(),
                      "a list's size differs from its count");
        vbfuzz::Check(lines[static_cast<std::size_t>(kind)] == lists.list(kind).size(),
                      "a count differs from the member lines");
    }
    const std::string folder = vb::FolderOfPath(bytes);
    vbfuzz::Check(bytes.starts_with(folder), "the folder is not a start of the path");
    return 0;
}

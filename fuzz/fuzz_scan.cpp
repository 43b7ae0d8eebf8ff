// The object scan on any bytes: the table keeps its limits and invariants, line by line and through a
// file.
#include "counter/scan_member_file.h"
#include "errors/runtime_error.h"
#include "fuzz_support.h"

#include <set>

namespace {

void CheckTable(const counter::ObjectGroupTable& table) {
    vbfuzz::Check(table.GroupCount >= 0 && table.GroupCount <= counter::kMaxGroups, "group count");
    vbfuzz::Check(table.Groups.size() == table.GroupTypes.size(), "slots of types and groups");
    std::set<std::string> types;
    for (std::size_t k = 0; k < table.Groups.size(); ++k) {
        const auto& group = table.Groups[k];
        vbfuzz::Check(group.NameCount >= 0 && group.NameCount <= counter::kMaxNames, "name count");
        vbfuzz::Check(static_cast<std::size_t>(group.NameCount) == group.Names.size(), "names held");
        const bool used = k < static_cast<std::size_t>(table.GroupCount);
        vbfuzz::Check(used ? group.NameCount >= 1 : group.NameCount == 0, "slot use");
        if (used)
            vbfuzz::Check(types.insert(table.GroupTypes[k]).second, "a type text twice");
        else
            vbfuzz::Check(table.GroupTypes[k].empty(), "a type text beyond the count");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // UTF-16 text is read as its UTF-8 (left to the reader's tests); a UTF-8 mark is no part of a line.
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return 0;

    counter::ObjectGroupTable byLine;
    try {
        for (const auto line :
             vbfuzz::SplitLines(bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes)) {
            if (!counter::ScanLine(line, byLine, "fuzz"))
                break;
        }
    } catch (const vb::RuntimeError& e) {
        vbfuzz::Check(e.number() == vb::err::SubscriptOutOfRange, "only a table limit may stop the scan");
    }
    CheckTable(byLine);

    // Through the reader the same table results, or the same error; a reset then empties it.
    const vbfuzz::MemoryFile file(bytes);
    counter::ObjectGroupTable byFile;
    try {
        vb::LineReader reader(file.fd(), "fuzz", 7);
        counter::ScanLines(reader, byFile);
    } catch (const vb::RuntimeError& e) {
        vbfuzz::Check(e.number() == vb::err::SubscriptOutOfRange, "only a table limit may stop the scan");
    }
    CheckTable(byFile);
    vbfuzz::Check(byFile.GroupCount == byLine.GroupCount && byFile.ObjectCount() == byLine.ObjectCount(),
                  "the file scan differs from the line scan");
    byFile.Reset();
    CheckTable(byFile);
    vbfuzz::Check(byFile.ObjectCount() == 0, "objects after a reset");
    return 0;
}

#include "project/read_project_file.h"

#include "text/line_reader.h"

#include <array>

namespace vb {

namespace {

struct Key {
    std::string_view text;
    SourceKind kind;
};

constexpr std::array<Key, 5> kKeys = {{{"Form", SourceKind::Form},
                                       {"Modul", SourceKind::Module},
                                       {"Class", SourceKind::ClassModule},
                                       {"UserControl", SourceKind::UserControl},
                                       {"PropertyPage", SourceKind::PropertyPage}}};

std::string_view From(std::string_view line, std::size_t index) {
    return index < line.size() ? line.substr(index) : std::string_view{};
}

} // namespace

std::optional<SourceKind> KindOfProjectLine(std::string_view line) {
    for (const Key& key : kKeys)
        if (line.starts_with(key.text))
            return key.kind;
    return std::nullopt;
}

std::string_view EntryOfProjectLine(SourceKind kind, std::string_view line) {
    switch (kind) {
    case SourceKind::Form:
        return From(line, 5);
    case SourceKind::UserControl:
        return From(line, 12);
    case SourceKind::PropertyPage:
        return From(line, 13);
    case SourceKind::Module:
    case SourceKind::ClassModule:
        break;
    }
    // Two characters on from the ";" (1-based position p gives index p + 1), or from index 1 without one.
    const auto semicolon = line.find(';');
    return From(line, semicolon == std::string_view::npos ? 1 : semicolon + 2);
}

ProjectFileLists ReadProjectFile(const std::string& path, const std::function<void(int)>& progress) {
    const auto report = [&](int value) {
        if (progress)
            progress(value);
    };
    ProjectFileLists lists;
    {
        LineReader reader(path);
        std::string_view line;
        while (reader.next(line)) {
            lists.Text = Together(lists.Text, TextKindOf(line));
            if (const auto kind = KindOfProjectLine(line))
                lists.count(*kind) = Add16(lists.count(*kind), 1);
        }
    }
    report(1);

    for (const SourceKind kind : kSourceKinds)
        lists.list(kind).assign(static_cast<std::size_t>(lists.count(kind)), std::string{});
    report(2);

    {
        // Entries are only ever filled, so the first empty entry never moves backwards: it is the next
        // one after a non-empty entry was stored, and stays where it is after an empty one.
        std::array<std::size_t, kSourceKinds.size()> firstEmpty{};
        LineReader reader(path);
        std::string_view line;
        while (reader.next(line)) {
            const auto kind = KindOfProjectLine(line);
            if (!kind)
                continue;
            auto& entries = lists.list(*kind);
            auto& slot = firstEmpty[static_cast<std::size_t>(*kind)];
            if (slot >= entries.size())
                continue; // the file grew after it was counted
            const std::string_view entry = EntryOfProjectLine(*kind, line);
            entries[slot] = entry;
            if (!entry.empty())
                ++slot;
        }
    }
    report(3);
    return lists;
}

std::string FolderOfPath(std::string_view path) {
    const auto cut = path.find_last_of("\\/");
    return cut == std::string_view::npos ? std::string{} : std::string(path.substr(0, cut + 1));
}

} // namespace vb

#include "project/read_project_file.h"

#include "files/line_reader.h"
#include "files/whole_lines.h"

#include <array>
#include <climits>
#include <cstring>

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

// Key I when it begins the line; its length is known here, so the comparison needs no call.
template <std::size_t I> const Key* IfKeyBegins(std::string_view line) noexcept {
    constexpr std::string_view key = kKeys[I].text;
    return line.size() >= key.size() && std::memcmp(line.data(), key.data(), key.size()) == 0 ? &kKeys[I]
                                                                                              : nullptr;
}

// The key that begins the line, or null. No two keys begin with the same letter (the cases below
// would clash), so the first letter picks the one key that can match.
[[gnu::always_inline]] inline const Key* KeyOfLine(std::string_view line) noexcept {
    if (line.empty())
        return nullptr;
    switch (line.front()) {
    case kKeys[0].text.front():
        return IfKeyBegins<0>(line);
    case kKeys[1].text.front():
        return IfKeyBegins<1>(line);
    case kKeys[2].text.front():
        return IfKeyBegins<2>(line);
    case kKeys[3].text.front():
        return IfKeyBegins<3>(line);
    case kKeys[4].text.front():
        return IfKeyBegins<4>(line);
    default:
        return nullptr;
    }
}
constexpr std::string_view kCondComp = "CondComp=";

static_assert(kKeys.size() == 5, "KeyOfLine looks at each key");

std::string_view From(std::string_view line, std::size_t index) {
    return index < line.size() ? line.substr(index) : std::string_view{};
}

// EntryOfProjectLine, here where the passes call it once a line.
[[gnu::always_inline]] inline std::string_view EntryOfLine(SourceKind kind, std::string_view line) noexcept {
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

} // namespace

std::optional<SourceKind> KindOfProjectLine(std::string_view line) {
    if (const Key* key = KeyOfLine(line))
        return key->kind;
    return std::nullopt;
}

std::string_view EntryOfProjectLine(SourceKind kind, std::string_view line) {
    return EntryOfLine(kind, line);
}

std::string_view KeptEntry(std::string_view entry, bool lineCut, std::string_view ellipsis,
                           std::string& cut) {
    if (entry.size() <= PATH_MAX && !lineCut)
        return entry;
    std::size_t keep = std::min<std::size_t>(entry.size(), PATH_MAX);
    // Back to the start of a UTF-8 sequence, so the "…" never follows half a character.
    for (int i = 0;
         i < 3 && keep > 0 && keep < entry.size() && (static_cast<unsigned char>(entry[keep]) & 0xC0) == 0x80;
         ++i)
        --keep;
    cut.assign(entry.substr(0, keep));
    cut += ellipsis;
    return cut;
}

ProjectFileLists ReadProjectFile(const std::string& path, const std::function<void(int)>& progress) {
    const auto report = [&](int value) {
        if (progress)
            progress(value);
    };
    // Both passes take the file in runs of whole lines. The text of a run is the text of its lines
    // together: their ends are ASCII and no UTF-8 sequence holds one, so a run is valid UTF-8 exactly
    // when each of its lines is.
    ProjectFileLists lists;
    std::array<Int16, kSourceKinds.size()> counts{};
    std::array<std::size_t, kSourceKinds.size()> entryBytes{};
    constexpr std::string_view kUtf8Ellipsis = "\u2026";
    bool anyCut = false;
    {
        LineReader reader(path);
        reader.cutLinesLongerThan(kLongestProjectLine);
        std::string cut;
        std::string_view run;
        while (reader.nextLines(run)) {
            lists.Text = Together(lists.Text, TextKindOf(run));
            WholeLines lines(run);
            std::string_view line;
            while (lines.next(line))
                if (const Key* key = KeyOfLine(line)) {
                    const auto k = static_cast<std::size_t>(key->kind);
                    counts[k] = Add16(counts[k], 1);
                    const std::string_view entry = EntryOfLine(key->kind, line);
                    const bool lineCut = line.size() > kLongestProjectLine;
                    entryBytes[k] += KeptEntry(entry, lineCut, kUtf8Ellipsis, cut).size();
                    anyCut = anyCut || lineCut || entry.size() > PATH_MAX;
                }
        }
        // The "…" of a cut entry is UTF-8 in a file of ASCII or UTF-8, else Windows-1252's.
        if (anyCut && lists.Text == TextKind::Ascii)
            lists.Text = TextKind::Utf8;
    }
    for (const SourceKind kind : kSourceKinds)
        lists.count(kind) = counts[static_cast<std::size_t>(kind)];
    report(1);

    std::array<EntryList*, kSourceKinds.size()> listOf{};
    for (const SourceKind kind : kSourceKinds) {
        const auto k = static_cast<std::size_t>(kind);
        listOf[k] = &lists.list(kind);
        listOf[k]->reserve(static_cast<std::size_t>(counts[k]), entryBytes[k]);
    }
    report(2);

    {
        // An entry goes into the first empty entry of its list. Entries are only ever filled, so that is
        // the one after the last non-empty entry stored: the non-empty entries in the order of their
        // lines, then empty entries up to the count. A list holds no more than its count, whatever lines
        // the file gained after it was counted.
        LineReader reader(path);
        reader.cutLinesLongerThan(kLongestProjectLine);
        const std::string_view ellipsis = lists.Text == TextKind::Utf8 ? kUtf8Ellipsis : "\x85";
        std::string cut;
        std::string_view run;
        while (reader.nextLines(run)) {
            WholeLines lines(run);
            std::string_view line;
            while (lines.next(line)) {
                const Key* key = KeyOfLine(line);
                if (!key) {
                    // "CondComp=" begins with the "C" of "Class", so it is only looked for here.
                    if (line.starts_with(kCondComp))
                        lists.CondComp.assign(line.substr(kCondComp.size()));
                    continue;
                }
                const auto k = static_cast<std::size_t>(key->kind);
                const std::string_view entry =
                    KeptEntry(EntryOfLine(key->kind, line), line.size() > kLongestProjectLine, ellipsis, cut);
                if (!entry.empty() && listOf[k]->size() < static_cast<std::size_t>(counts[k]))
                    listOf[k]->push_back(entry);
            }
        }
        for (const SourceKind kind : kSourceKinds)
            lists.list(kind).resize(static_cast<std::size_t>(lists.count(kind)));
    }
    report(3);
    return lists;
}

std::string FolderOfPath(std::string_view path) {
    const auto cut = path.find_last_of("\\/");
    return cut == std::string_view::npos ? std::string{} : std::string(path.substr(0, cut + 1));
}

} // namespace vb

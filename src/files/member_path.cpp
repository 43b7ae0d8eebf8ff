#include "member_path.h"

#include "errors/runtime_error.h"
#include "text/code_page.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <functional>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <variant>
#include <vector>

namespace vb {

namespace {

bool Exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// The error number of a failed lstat that says the name cannot be looked up at all, or 0 when the name is
// simply not there (so that another spelling may still be tried).
int BlockedLookup(int errnoValue) {
    switch (errnoValue) {
    case EACCES:
    case EPERM:
        return err::PermissionDenied;
    case ENAMETOOLONG:
        return err::BadFileName;
    default:
        return 0;
    }
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Decodes UTF-8 into code points, folding letter case for ASCII and Latin-1 letters, so that names can be
// compared without regard to case. A byte that does not start a valid sequence stands for itself above
// the Unicode range, so an invalid name never folds to the name of another file.
std::u32string FoldedCodePoints(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        char32_t c;
        if (!DecodeUtf8(s, i, c)) {
            out += 0x110000 + static_cast<unsigned char>(s[i]);
            ++i;
            continue;
        }
        if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
            c += 0x20;
        out += c;
    }
    return out;
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    if (folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

// Where `path` leads when relative paths start at `base`: an absolute path stays as it is.
std::string Under(const std::string& base, const std::string& path) {
    return path.starts_with('/') ? path : Join(base, path);
}

// Walks the components of a "/"-separated path, matching missing ones case-insensitively.
// Returns the path found, or the error number (53 or 76) that says what is missing.
using CaseMatch =
    std::function<std::optional<std::string>(const std::string& folder, const std::string& name)>;
// For a folder the lookup has listed already: the name there that `name` finds (itself, or the one name
// of its fold), or an empty name when there is none; nullopt when the folder was not listed yet, or its
// listing cannot tell (two names of that fold).
using ListedName =
    std::function<std::optional<std::string>(const std::string& folder, const std::string& name)>;

std::variant<std::string, int> WalkWithoutCase(const std::string& base, const std::string& path,
                                               const CaseMatch& caseMatch, const ListedName& listedName) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const auto slash = path.find('/', start);
        const auto end = slash == std::string::npos ? path.size() : slash;
        parts.push_back(path.substr(start, end - start));
        if (slash == std::string::npos)
            break;
        start = slash + 1;
    }
    std::string current = path.starts_with('/') ? "/" : base;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        const bool last = i + 1 == parts.size();
        if (part.empty() || part == "." || part == "..") {
            if (!part.empty())
                current = Join(current, part);
            continue;
        }
        std::string next = Join(current, part);
        // A folder listed before answers from its listing; any other is asked for the name itself.
        if (const std::optional<std::string> listed = listedName(current, part)) {
            if (listed->empty())
                return last ? err::FileNotFound : err::PathNotFound;
            next = Join(current, *listed);
        } else if (!Exists(next)) {
            // A folder that may not be searched, or a name too long, is no missing file.
            if (const int blocked = BlockedLookup(errno))
                return blocked;
            auto match = caseMatch(current, part);
            if (!match) {
                // A folder that may be searched but not listed cannot tell that no name of another
                // letter case is there: that is no missing file but a refused lookup.
                if (::access(current.empty() ? "." : current.c_str(), R_OK) != 0 && BlockedLookup(errno))
                    return BlockedLookup(errno);
                return last ? err::FileNotFound : err::PathNotFound;
            }
            next = Join(current, *match);
        }
        if (!last && !IsFolder(next))
            return err::PathNotFound;
        current = std::move(next);
    }
    return current;
}

std::string Slashed(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// `spellingsMissing`: the caller already knows that neither the path as written nor its slashed form
// exists, so the search starts with the walk.
std::variant<std::string, int> Resolve(const std::string& base, const std::string& path,
                                       const CaseMatch& caseMatch, const ListedName& listedName,
                                       bool spellingsMissing = false) {
    const std::string asWritten = Under(base, path);
    if (asWritten.size() >= PATH_MAX)
        return err::BadFileName;
    if (!spellingsMissing && Exists(asWritten))
        return asWritten;
    const std::string slashed = Slashed(path);
    if (!spellingsMissing && slashed != path && Exists(Under(base, slashed)))
        return Under(base, slashed);
    return WalkWithoutCase(base, slashed, caseMatch, listedName);
}

bool IsUsableName(const std::string& path) {
    // A NUL byte (from a binary project file) would cut the name short and find another file.
    return !path.empty() && path.find('\0') == std::string::npos;
}

} // namespace

bool SameNameWithoutCase(std::string_view a, std::string_view b) {
    return FoldedCodePoints(a) == FoldedCodePoints(b);
}

const MemberLookup::Listing& MemberLookup::listingOf(const std::string& folder) {
    auto [at, added] = listings_.try_emplace(folder);
    Listing& listing = at->second;
    if (added) {
        std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()), ::closedir);
        if (dir) {
            listing.emplace();
            while (const dirent* e = ::readdir(dir.get())) {
                const std::string_view candidate = e->d_name;
                if (candidate == "." || candidate == "..")
                    continue;
                auto [name, first] = listing->try_emplace(FoldedCodePoints(candidate), candidate);
                if (!first)
                    name->second.clear(); // two names differ only in case: neither is taken
            }
        }
    }
    return listing;
}

std::optional<std::string> MemberLookup::caseMatch(const std::string& folder, const std::string& name) {
    const Listing& listing = listingOf(folder);
    if (!listing)
        return std::nullopt;
    const auto found = listing->find(FoldedCodePoints(name));
    if (found == listing->end() || found->second.empty())
        return std::nullopt;
    return found->second;
}

FoundMemberPath MemberLookup::find(const std::string& path) {
    return find(path, false);
}

FoundMemberPath MemberLookup::find(const std::string& path, bool spellingsMissing) {
    if (!IsUsableName(path))
        return {{}, err::BadFileName, FoundBy::NotFound};
    const CaseMatch match = [this](const std::string& folder, const std::string& name) {
        return caseMatch(folder, name);
    };
    const ListedName listed = [this](const std::string& folder, const std::string& name) {
        return listedName(folder, name);
    };
    auto found = Resolve(folder_, path, match, listed, spellingsMissing);
    bool converted = false;
    if (std::holds_alternative<int>(found) && !IsUtf8(path)) {
        auto asUtf8 = Resolve(folder_, Utf8FromWindows1252(path), match, listed);
        if (std::holds_alternative<std::string>(asUtf8)) {
            found = std::move(asUtf8);
            converted = true;
        }
    }
    if (const int* number = std::get_if<int>(&found))
        return {{}, *number, FoundBy::NotFound};
    std::string& at = std::get<std::string>(found);
    FoundBy by = FoundBy::Windows1252;
    if (!converted)
        by = at == Under(folder_, path)            ? FoundBy::AsWritten
             : at == Under(folder_, Slashed(path)) ? FoundBy::Slashes
                                                   : FoundBy::LetterCase;
    return {std::move(at), 0, by};
}

std::string MemberLookup::seenFromCaller(const std::string& path) const {
    return path.empty() ? path : Under(folder_, path);
}

std::string MemberLookup::resolve(const std::string& path) {
    FoundMemberPath found = find(path);
    if (!found)
        throw RuntimeError(found.error, seenFromCaller(path));
    return std::move(found.path);
}

std::string ResolveMemberPath(const std::string& path) {
    return MemberLookup().resolve(path);
}

bool MemberLookup::openSpelling(const std::string& path, std::optional<LineReader>& reader,
                                std::size_t maxRead, bool& missing) {
    const std::string at = Under(folder_, path);
    if (at.size() >= PATH_MAX)
        return false;
    std::uint64_t size = kWholeFile;
    FileIdentity identity;
    const int fd = OpenExistingForReading(at, &size, &identity);
    if (fd >= 0) {
        reader.emplace(AdoptedDescriptor{fd, size, identity}, at, maxRead);
        return true;
    }
    missing = errno == ENOENT;
    return false;
}

std::optional<std::string> MemberLookup::listedName(const std::string& folder,
                                                    const std::string& name) const {
    const auto at = listings_.find(folder);
    if (at == listings_.end() || !at->second)
        return std::nullopt;
    const auto found = at->second->find(FoldedCodePoints(name));
    if (found == at->second->end())
        return std::string();
    // A fold shared by two names holds neither, so the name may still be one of them.
    if (found->second.empty())
        return std::nullopt;
    return found->second;
}

bool MemberLookup::mayLeadSomewhere(const std::string& path) const {
    if (path.starts_with('/'))
        return true;
    const std::string first = path.substr(0, path.find('/'));
    if (first.empty() || first == "." || first == "..")
        return true;
    const auto listed = listedName(folder_, first);
    return !listed || *listed == first;
}

bool MemberLookup::mayBeListed(const std::string& name) {
    listingOf(folder_);
    const auto listed = listedName(folder_, name);
    return !listed || *listed == name;
}

std::optional<RuntimeError> MemberLookup::openInto(const std::string& path, std::optional<LineReader>& reader,
                                                   std::size_t maxRead) {
    reader.reset();
    try {
        // Most entries name their file as written or with "/" for "\": opening those two spellings
        // straight away finds the file in one or two open() calls. Only when both are missing does the
        // lookup walk the folders; anything else (a link, a folder that may not be searched) takes the
        // lookup's full way, which decides it exactly.
        bool missing = false;
        if (IsUsableName(path)) {
            const std::string slashed = Slashed(path);
            if (slashed != path && path.find('/') == std::string::npos && !mayBeListed(path))
                missing = true; // an entry with "\" is rarely a file's name; the listing says so
            else if (openSpelling(path, reader, maxRead, missing))
                return std::nullopt;
            if (missing) {
                if (slashed != path && mayLeadSomewhere(slashed) &&
                    openSpelling(slashed, reader, maxRead, missing))
                    return std::nullopt;
            }
        }
        FoundMemberPath found = find(path, missing);
        if (!found)
            throw RuntimeError(found.error, seenFromCaller(path));
        reader.emplace(std::move(found.path), maxRead);
        return std::nullopt;
    } catch (const RuntimeError& e) {
        return e;
    }
}

bool LeadsOutsideFolder(std::string_view entry) {
    if (entry.starts_with('/') || entry.starts_with('\\'))
        return true;
    if (entry.size() >= 2 && entry[1] == ':' && std::isalpha(static_cast<unsigned char>(entry[0])))
        return true;
    int depth = 0;
    while (!entry.empty()) {
        const auto cut = entry.find_first_of("\\/");
        const std::string_view part = entry.substr(0, cut);
        if (part == "..") {
            if (--depth < 0)
                return true;
        } else if (!part.empty() && part != ".") {
            ++depth;
        }
        if (cut == std::string_view::npos)
            break;
        entry.remove_prefix(cut + 1);
    }
    return false;
}

namespace {

struct FoundByName {
    FoundBy by;
    std::string_view json;
    std::string_view words;
};

constexpr FoundByName kFoundByNames[] = {
    {FoundBy::AsWritten, "asWritten", "wie geschrieben"},
    {FoundBy::Slashes, "slashes", "mit / statt \\"},
    {FoundBy::LetterCase, "letterCase", "andere Groß-/Kleinschreibung"},
    {FoundBy::Windows1252, "windows1252", "Windows-1252 als UTF-8"},
    {FoundBy::NotFound, "notFound", "nicht gefunden"},
};

const FoundByName& NamesOf(FoundBy by) {
    for (const FoundByName& names : kFoundByNames)
        if (names.by == by)
            return names;
    return kFoundByNames[std::size(kFoundByNames) - 1];
}

} // namespace

std::string_view JsonNameOf(FoundBy by) {
    return NamesOf(by).json;
}

std::string_view WordsOf(FoundBy by) {
    return NamesOf(by).words;
}

std::optional<FoundBy> FoundByNamed(std::string_view jsonName) {
    for (const FoundByName& names : kFoundByNames)
        if (names.json == jsonName)
            return names.by;
    return std::nullopt;
}

} // namespace vb

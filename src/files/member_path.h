#pragma once
// Finds the file that a member entry names. Entries come from project files written on Windows: they may
// use "\" between folders, differ from the names on disk in letter case, and hold Windows-1252 bytes
// where the file system stores UTF-8.

#include "errors/runtime_error.h"
#include "files/line_reader.h"

#include <optional>
#include <string>
#include <unordered_map>

namespace vb {

// How the lookup came to the file, in the order it tries the ways.
enum class FoundBy {
    AsWritten,   // the path as it is
    Slashes,     // every "\" turned into "/"
    LetterCase,  // a part of it in other letter case
    Windows1252, // the path's bytes read as Windows-1252 and written as UTF-8 (letter case may differ, too)
    NotFound,
};

// How a lookup found a file: its name for machines ("asWritten", "slashes", "letterCase", "windows1252",
// "notFound"), its German words for people ("wie geschrieben", ...), and the way a machine name names.
std::string_view JsonNameOf(FoundBy by);
std::string_view WordsOf(FoundBy by);
std::optional<FoundBy> FoundByNamed(std::string_view jsonName);

// What a lookup that does not throw found: the path under which the file exists, or, when `error` is not
// 0, the error number that says why there is none (53, 76, 52 or 70, as ResolveMemberPath throws them).
struct FoundMemberPath {
    std::string path;
    int error = 0;
    FoundBy by = FoundBy::NotFound;
    explicit operator bool() const noexcept { return error == 0; }
};

// The member lookup of one command. The letter-case match lists each folder at most once and keeps what
// it read for the lookup's lifetime, so a project whose entries all differ in case from the files reads
// each folder once, not once per entry. Make one per command: once a folder is listed, its names are
// taken from the listing, so a name that appears there later is not found, and openInto takes an entry
// with "\" but no "/" as a file's name only when the lookup's folder held that name when it was listed.
// A lookup is used by one thread at a
// time; lookups of different folders never touch the working directory, so several threads may each read a
// project with their own.
class MemberLookup {
public:
    // Relative paths are found relative to the working directory.
    MemberLookup() = default;
    // Relative paths are found relative to `folder` (itself relative to the working directory, or
    // absolute; empty: the working directory), as if it were the working directory. Paths found and
    // paths named in errors are `folder` joined with the path, so they lead to the file from the caller.
    explicit MemberLookup(std::string folder) : folder_(std::move(folder)) {}

    // The path that `path` names as seen from the caller: this lookup's folder joined with it, unless it is
    // absolute or empty (an empty name names no place). Errors of the lookup name this path.
    std::string seenFromCaller(const std::string& path) const;
    // ResolveMemberPath with this lookup's folder listings.
    std::string resolve(const std::string& path);
    // The same lookup, reporting instead of throwing.
    FoundMemberPath find(const std::string& path);
    LineReader open(const std::string& path) { return LineReader(resolve(path)); }
    // Opens the file into `reader`, or returns the error that kept it from opening (nothing is thrown):
    // for commands that go on past a member file that cannot be opened.
    // `maxRead` is the reader's largest read (LineReader::kMaxRead, or less for a caller that reads only
    // the start of each file).
    std::optional<RuntimeError> openInto(const std::string& path, std::optional<LineReader>& reader,
                                         std::size_t maxRead = LineReader::kMaxRead);

private:
    // find(), starting with the walk when `spellingsMissing` says that neither the path as written nor
    // with "/" for "\\" exists.
    FoundMemberPath find(const std::string& path, bool spellingsMissing);
    // Opens one spelling of a path into `reader` when it names an existing file; else false, with
    // `missing` telling whether the name does not exist at all.
    bool openSpelling(const std::string& path, std::optional<LineReader>& reader, std::size_t maxRead,
                      bool& missing);

    // Whether `name` (no "/" in it) may be a name in this lookup's folder as its listing holds it; true
    // when the folder cannot be listed.
    bool mayBeListed(const std::string& name);

    // False when the lookup's folder was listed and does not hold the first part of `path` as it is
    // written, so that the path leads nowhere.
    bool mayLeadSomewhere(const std::string& path) const;
    // For a folder listed already, the name there that `name` finds: itself or the one name of its fold,
    // empty for none; nullopt when `folder` was not listed or holds two names of that fold.
    std::optional<std::string> listedName(const std::string& folder, const std::string& name) const;

    // The one name in `folder` equal to `name` without regard to case, if there is exactly one.
    std::optional<std::string> caseMatch(const std::string& folder, const std::string& name);

    // A folder's names by their case fold; a fold shared by two names leads to no name (an empty one).
    // nullopt for a folder that could not be listed.
    using Listing = std::optional<std::unordered_map<std::u32string, std::string>>;
    // The listing of `folder`, read at its first use and kept.
    const Listing& listingOf(const std::string& folder);
    std::string folder_;
    std::unordered_map<std::string, Listing> listings_;
};

// The path under which the file named by `path` exists here. Tried in turn: the path as it is; with every
// "\" turned into "/"; then component by component, a component that does not exist matched without
// regard to letter case against the names in its folder (a unique match is taken). A path whose bytes are
// not UTF-8 is tried once more converted from Windows-1252. RuntimeError 53 when the file is missing,
// 76 when a folder on the way is missing, 52 for an empty name, one holding a NUL byte or one too long,
// 70 when a folder on the way may not be searched; the error carries `path` as written.
std::string ResolveMemberPath(const std::string& path);

// True when an entry, read with "\" or "/" between folders, leads outside the folder it is relative to:
// an absolute path, a Windows drive ("C:...") or network path ("\\server\..."), or one whose ".." parts
// climb above its start. Decided by the words alone; links on the way are not followed.
bool LeadsOutsideFolder(std::string_view entry);

// True when two names are equal without regard to letter case, by the same fold the lookup uses (ASCII and
// Latin-1 letters; bytes that are not valid UTF-8 only equal themselves).
bool SameNameWithoutCase(std::string_view a, std::string_view b);

// Opens a member file for reading through ResolveMemberPath.
inline LineReader OpenMemberFile(const std::string& path) {
    return MemberLookup().open(path);
}

} // namespace vb

#pragma once
// Finds the file that a member entry names. Entries come from project files written on Windows: they may
// use "\" between folders, differ from the names on disk in letter case, and hold Windows-1252 bytes
// where the file system stores UTF-8.

#include "line_reader.h"

#include <string>

namespace vb {

// The path under which the file named by `path` exists here. Tried in turn: the path as it is; with every
// "\" turned into "/"; then component by component, a component that does not exist matched without
// regard to letter case against the names in its folder (a unique match is taken). A path whose bytes are
// not UTF-8 is tried once more converted from Windows-1252. RuntimeError 53 when the file is missing,
// 76 when a folder on the way is missing, 52 for an empty name or one holding a NUL byte; the error
// carries `path` as written.
std::string ResolveMemberPath(const std::string& path);

// True when two names are equal without regard to letter case, by the same fold the lookup uses (ASCII and
// Latin-1 letters; bytes that are not valid UTF-8 only equal themselves).
bool SameNameWithoutCase(std::string_view a, std::string_view b);

// Opens a member file for reading through ResolveMemberPath.
inline LineReader OpenMemberFile(const std::string& path) {
    return LineReader(ResolveMemberPath(path));
}

} // namespace vb

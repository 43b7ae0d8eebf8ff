#include "member_path.h"

#include "runtime_error.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <variant>
#include <vector>

namespace vb {

namespace {

bool Exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Unicode code points of Windows-1252 bytes 0x80 to 0x9F.
constexpr char16_t kHighControls[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes UTF-8 into code points, folding letter case for ASCII and Latin-1 letters, so that names can be
// compared without regard to case. Invalid sequences are kept as single bytes.
std::u32string FoldedCodePoints(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        char32_t c = b;
        std::size_t len = 1;
        if (b >= 0xC0 && b < 0xE0 && i + 1 < s.size())
            c = ((b & 0x1F) << 6) | (s[i + 1] & 0x3F), len = 2;
        else if (b >= 0xE0 && b < 0xF0 && i + 2 < s.size())
            c = ((b & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F), len = 3;
        if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
            c += 0x20;
        out += c;
        i += len;
    }
    return out;
}

// The one name in `folder` equal to `name` without regard to case, if there is exactly one.
std::optional<std::string> UniqueCaseInsensitiveMatch(const std::string& folder, const std::string& name) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()), ::closedir);
    if (!dir)
        return std::nullopt;
    const auto wanted = FoldedCodePoints(name);
    std::optional<std::string> found;
    while (const dirent* e = ::readdir(dir.get())) {
        const std::string candidate = e->d_name;
        if (candidate == "." || candidate == "..")
            continue;
        if (FoldedCodePoints(candidate) == wanted) {
            if (found)
                return std::nullopt; // two names differ only in case: neither is taken
            found = candidate;
        }
    }
    return found;
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    if (folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

// Walks the components of a "/"-separated path, matching missing ones case-insensitively.
// Returns the path found, or the error number (53 or 76) that says what is missing.
std::variant<std::string, int> WalkWithoutCase(const std::string& path) {
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
    std::string current = path.starts_with('/') ? "/" : "";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        const bool last = i + 1 == parts.size();
        if (part.empty() || part == "." || part == "..") {
            if (!part.empty())
                current = Join(current, part);
            continue;
        }
        std::string next = Join(current, part);
        if (!Exists(next)) {
            auto match = UniqueCaseInsensitiveMatch(current, part);
            if (!match)
                return last ? err::FileNotFound : err::PathNotFound;
            next = Join(current, *match);
        }
        if (!last && !IsFolder(next))
            return err::PathNotFound;
        current = std::move(next);
    }
    return current;
}

std::variant<std::string, int> Resolve(const std::string& path) {
    if (Exists(path))
        return path;
    std::string slashed = path;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    if (slashed != path && Exists(slashed))
        return slashed;
    return WalkWithoutCase(slashed);
}

} // namespace

bool IsUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t len = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
        if (len == 0 || i + len > s.size())
            return false;
        for (std::size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += len;
    }
    return true;
}

std::string Utf8FromWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : char32_t{b});
    }
    return out;
}

std::string ResolveMemberPath(const std::string& path) {
    // A NUL byte (from a binary project file) would cut the name short and find another file.
    if (path.empty() || path.find('\0') != std::string::npos)
        throw RuntimeError(err::BadFileName, path);
    auto found = Resolve(path);
    if (std::holds_alternative<int>(found) && !IsUtf8(path)) {
        auto converted = Resolve(Utf8FromWindows1252(path));
        if (std::holds_alternative<std::string>(converted))
            found = std::move(converted);
    }
    if (const int* number = std::get_if<int>(&found))
        throw RuntimeError(*number, path);
    return std::get<std::string>(found);
}

} // namespace vb

#include "project/other_project_lines.h"

#include "files/line_reader.h"
#include "project/read_project_file.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace vb {

namespace {

struct KnownKey {
    std::string_view key;
    std::string_view what;
};

constexpr std::string_view kComponent = "Komponente";

constexpr std::array<KnownKey, 6> kKnownKeys = {{
    {"Designer", "Designer-Datei"},
    {"UserDocument", "Benutzerdokument"},
    {"RelatedDoc", "zugehöriges Dokument"},
    {"ResFile32", "Ressourcendatei"},
    {"Object", kComponent},
    {"Reference", "Verweis"},
}};

constexpr std::string_view kNamesAFile = "nennt eine Datei";

std::string Unquoted(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// True when a value looks like a file name: it holds a folder separator, or, without a blank, it ends in
// a dot and one to four letters or digits, not all digits (so "1.0" is a version, not a file).
bool NamesAFile(std::string_view value) {
    if (value.find('\\') != std::string_view::npos || value.find('/') != std::string_view::npos)
        return true;
    const auto dot = value.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || value.find(' ') != std::string_view::npos)
        return false;
    const auto extension = value.substr(dot + 1);
    const auto isAlnum = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
    const auto isDigit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    return !extension.empty() && extension.size() <= 4 &&
           std::all_of(extension.begin(), extension.end(), isAlnum) &&
           !std::all_of(extension.begin(), extension.end(), isDigit);
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const auto at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos)
            return parts;
        text.remove_prefix(at + 1);
    }
}

// "*\G{GUID}#VERSION#LCID#FILE#DESCRIPTION", or "*\AFILE" for a reference to another project.
void ReadReference(OtherProjectLine& line) {
    std::string_view value = line.value;
    if (value.starts_with("*\\A")) {
        line.file = value.substr(3);
        return;
    }
    if (value.starts_with("*\\G"))
        value.remove_prefix(3);
    const auto parts = Split(value, '#');
    line.guid = parts[0];
    if (parts.size() > 1)
        line.version = parts[1];
    if (parts.size() > 3)
        line.file = parts[3];
    if (parts.size() > 4) // a description may hold "#" itself
        line.description = value.substr(static_cast<std::size_t>(parts[4].data() - value.data()));
}

// "{GUID}#VERSION#FLAGS; FILE", or "*\AFILE" for a user control from another project of the group.
void ReadObject(OtherProjectLine& line) {
    std::string_view value = line.value;
    if (value.starts_with("*\\A")) {
        line.file = value.substr(3);
        return;
    }
    const auto semicolon = value.find(';');
    const auto parts = Split(value.substr(0, semicolon), '#');
    line.guid = parts[0];
    if (parts.size() > 1)
        line.version = parts[1];
    if (semicolon != std::string_view::npos) {
        auto file = value.substr(semicolon + 1);
        while (file.starts_with(' '))
            file.remove_prefix(1);
        line.file = file;
    }
}

} // namespace

OtherProjectLine ReadOtherProjectLine(std::string_view text) {
    OtherProjectLine line;
    const auto equals = text.find('=');
    if (equals == std::string_view::npos || equals == 0 || KindOfProjectLine(text))
        return line;
    const auto key = text.substr(0, equals);
    line.value = text.substr(equals + 1);
    const auto known =
        std::find_if(kKnownKeys.begin(), kKnownKeys.end(), [&](const KnownKey& k) { return k.key == key; });
    if (known != kKnownKeys.end()) {
        line.key = key;
        line.what = known->what;
        if (key == "Reference")
            ReadReference(line);
        else if (key == "Object")
            ReadObject(line);
        else
            line.file = Unquoted(line.value);
        return line;
    }
    const std::string file = Unquoted(line.value);
    if (!NamesAFile(file)) {
        line.value.clear();
        return line;
    }
    line.key = key;
    line.what = kNamesAFile;
    line.file = file;
    return line;
}

OtherProjectLine ReadHeadObjectLine(std::string_view text) {
    constexpr std::string_view kKey = "Object";
    if (!text.starts_with(kKey))
        return {};
    text.remove_prefix(kKey.size());
    while (text.starts_with(' '))
        text.remove_prefix(1);
    if (!text.starts_with('='))
        return {};
    text.remove_prefix(1);
    // The value without its quotes: "{GUID}#2.0#0"; "FILE" reads as {GUID}#2.0#0; FILE.
    std::string value;
    for (char c : text)
        if (c != '"')
            value += c;
    while (value.starts_with(' '))
        value.erase(0, 1);
    OtherProjectLine line;
    line.key = kKey;
    line.what = kComponent;
    line.value = std::move(value);
    ReadObject(line);
    return line;
}

std::vector<OtherProjectLine> OtherProjectLines(const std::string& path) {
    std::vector<OtherProjectLine> lines;
    LineReader reader(path);
    reader.cutLinesLongerThan(kLongestProjectLine);
    std::string_view text;
    while (reader.next(text))
        if (auto line = ReadOtherProjectLine(text); !line.key.empty())
            lines.push_back(std::move(line));
    return lines;
}

} // namespace vb

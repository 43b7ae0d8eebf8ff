#pragma once
// How project text reaches the output. Entries, type texts and names are Windows-1252 bytes; both output
// forms carry them as UTF-8, so that terminals, sort and JSON readers see the characters.

#include "project/source_kind.h"

#include <initializer_list>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>

namespace cli {

// The kind's name for machines: "Form", "Module", "ClassModule", "UserControl", "PropertyPage".
std::string_view KindNameOf(vb::SourceKind kind);

// Windows-1252 bytes as one field of a tab-separated record: UTF-8, with every control character
// (0x00-0x1F, tab among them, and 0x7F) shown as its control picture U+2400-U+241F or U+2421. Decoded
// Windows-1252 never holds those pictures, so a field never breaks its record and stays unambiguous,
// while the backslash of an entry such as Formulare\Main.frm stays as written.
std::string PlainField(std::string_view bytes);

// `text` with every control character (0x00-0x1F and 0x7F) replaced by its control picture U+2400-U+241F
// or U+2421; every other byte stays as it is.
std::string ControlPictures(std::string_view text);

// Appends the fields joined by tabs and ended by a line feed.
void AppendRecord(std::string& out, std::initializer_list<std::string_view> fields);

// The document as JSON text, indented by two blanks, ended by a line feed.
std::string JsonText(const nlohmann::ordered_json& document);

} // namespace cli

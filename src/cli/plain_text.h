#pragma once
// How project text reaches the output. Entries, type texts and names are the bytes of their file; both
// output forms carry them as UTF-8 (vb::ShownText decides per file how its bytes read), so that terminals,
// sort and JSON readers see the characters.

#include "errors/runtime_error.h"
#include "project/source_kind.h"
#include "text/control_pictures.h"
#include "text/shown_text.h"

#include <initializer_list>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>

namespace cli {

using vb::KindNameOf;

// Bytes of a file whose text is `kind` as one field of a tab-separated record: shown as UTF-8, with every
// control character (0x00-0x1F, tab among them, and 0x7F) shown as its control picture U+2400-U+241F or
// U+2421, so a field never breaks its record, while the backslash of an entry such as Formulare\Main.frm
// stays as written.
std::string PlainField(std::string_view bytes, vb::TextKind kind, const vb::CodePage& page);

using vb::ControlPictures;

// The message line of a runtime error, as the program writes it to standard error:
// "vbprojekt: Laufzeitfehler 53: Datei nicht gefunden: PFAD". The path is built from the caller's
// project path and the project's entries: a NUL byte in it would cut the message short at a file that
// was never meant, and an escape or a line end would reach the terminal or break the log line, so its
// control characters are shown as pictures. An output left incomplete after it was written in place gets
// a second line that says so.
std::string ErrorMessage(const vb::RuntimeError& error);

// A member file that could not be opened, for the JSON documents: {"error", "description", "path"}. The
// path joins the caller's folder and an entry, so it is shown by its own bytes: as UTF-8 where they are,
// else by `page`.
nlohmann::ordered_json MissingRecord(const vb::RuntimeError& error, const vb::CodePage& page);

// Appends the fields joined by tabs and ended by a line feed.
void AppendRecord(std::string& out, std::initializer_list<std::string_view> fields);

// The document as JSON text, indented by two blanks, ended by a line feed.
std::string JsonText(const nlohmann::ordered_json& document);

} // namespace cli

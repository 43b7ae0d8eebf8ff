#pragma once
// The commands. The reading commands return their whole output, which is written only once the command
// has succeeded, so a failure never leaves half a listing on standard output.

#include "counter/member_lines.h"
#include "errors/runtime_error.h"
#include "inventory/line_sums.h"
#include "inventory/member_reading.h"
#include "inventory/type_inventory.h"
#include "merger/merged_document.h"
#include "text/shown_text.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// How a command reads a project beyond its bytes: the code page shown for files that are not UTF-8, and
// whether it goes on past a member file that cannot be opened. Such a member is named on standard error
// and stands as missing in the output.
struct Reading {
    vb::CodePage codePage;
    bool keepGoing = false;
    // The project is the run's only one: the command shows its own progress bar and writes its message
    // lines to standard error at once. Otherwise (many projects read at once) there is no bar, and the
    // message lines are kept in the output's notes, to be written in the order of the projects.
    bool alone = true;
    // No progress bar at all, whatever the terminal (--quiet).
    bool quiet = false;
};

// A command's output, whether a member file could not be opened (exit status 1, output complete), and
// the message lines for standard error that go with it (written before the output). With --json the
// output is the document, handed on as data, so that a run over several projects writes it in its place
// without reading it back from text.
struct Output {
    std::string text;
    nlohmann::ordered_json document = nlohmann::ordered_json::object();
    bool membersMissing = false;
    std::vector<std::string> notes;
    // The member files the command looked for, for the progress bar over several projects.
    std::int64_t membersRead = 0;
};

class ProgressBar;

// A member file that could not be opened, for a command that goes on past it: the output is marked
// incomplete, and the error's message line goes to standard error at once when the project is read
// alone (above `bar` if one is shown), else into the output's notes.
void NoteMissingMember(Output& output, const Reading& reading, const vb::RuntimeError& error,
                       const ProgressBar* bar = nullptr);
// The inventory core's reading of members for `reading`, whose missing members `output` notes.
inventory::MemberReading MemberReadingOf(const Reading& reading, Output& output);

// The five kinds in the project reader's order, each with its count and its entries as written.
Output MembersOutput(const std::string& projectPath, bool json, const vb::CodePage& codePage);

// Per member its object types in table order, each with its names in declaration order. Without
// `entries` every form, user control and property page; otherwise the named entries in the order given,
// each matched exactly against the project's entries (as written, as shown, or in their Windows-1252
// reading). UsageError for a name that is no entry of the project.
Output ObjectsOutput(const std::string& projectPath, const std::vector<std::string>& entries, bool json,
                     const Reading& reading);

// The all-objects count: per scanned member its number, and the total.
Output CountOutput(const std::string& projectPath, bool json, const Reading& reading);

// Per member in the project reader's order its lines (counter::LineTally, every member kind read in
// full), then the sums per kind and for the project: text records Mitglied GROUP ENTRY NUMBERS...,
// Art GROUP NUMBERS..., Gesamt NUMBERS... (lines, description, attributes, code, blank, comments);
// JSON {"members", "kinds", "total"}. The project's sums are also stored in `projectTotal` if given.
Output LinesOutput(const std::string& projectPath, bool json, const Reading& reading,
                   counter::LineTally* projectTotal = nullptr);
// The six numbers of a tally as a JSON object, and as a text record after `label`.
nlohmann::ordered_json LineTallyRecord(const counter::LineTally& tally);
std::string LineTallyLine(std::string_view label, const counter::LineTally& tally);

// The types of the project at `projectPath` (inventory::TypesOfProject), also stored in `types` if
// given: text records TYPE<TAB>OBJECTS<TAB>MEMBERS<TAB>PROJECTS sorted by objects (descending), then by
// type text in byte order, or the document {"types": [...]}.
Output TypesOutput(const std::string& projectPath, bool json, const Reading& reading,
                   inventory::TypeInventory* types = nullptr);
std::string TypesText(const inventory::TypeInventory& types);
nlohmann::ordered_json TypesDocument(const inventory::TypeInventory& types);

// What a maintainer needs to know before anything else: how each member entry is found, entries outside
// the project's folder, each member file's line ends, text and head, and the project file's lines that
// name files no command reads. `membersMissing` when a member file does not open.
Output CheckOutput(const std::string& projectPath, bool json, const vb::CodePage& codePage);

// The name that stands for standard output as the output path.
inline constexpr const char* kStandardOutputPath = "-";

// Writes the merged file of the project to `outputPath` ("-": standard output), with the forms' object
// descriptions unless `codeOnly`. Refusal when `outputPath` is the project file or one of its members.
// With `keepGoing` a member file that cannot be opened keeps its line and gets no body; returns false
// when that happened. `how` names a document format (Markdown, XML, JSON) and its choices; with the
// format Text the merged file is written by its own writer, as the window writes it. With `notes` the
// message lines go there instead of standard error, and no progress bar is shown (for a merge among
// several). `quiet` keeps the bar off in any case (--quiet).
bool Merge(const std::string& projectPath, const std::string& outputPath, bool codeOnly, bool keepGoing,
           const merger::DocumentMerge& how = {merger::DocumentFormat::Text},
           std::vector<std::string>* notes = nullptr, bool quiet = false);

// The byte count of a --split value: digits, optionally followed by k (1,024 bytes) or M (1,048,576).
// Nullopt for anything else, for 0 and for a count past 2^63.
std::optional<std::uint64_t> SplitSizeNamed(std::string_view text);

// The text of a refused merge: the output is a file of the project. Followed by the file's path.
extern const std::string kOwnFileRefusal;

} // namespace cli

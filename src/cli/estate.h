#pragma once
// Reading many projects in one run: each project's output, in operand order, with its path in front.

#include "commands.h"
#include "operands.h"

#include "inventory/shared_members.h"

#include <functional>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <vector>

namespace cli {

// How a run over several projects reads and writes.
struct EstateRun {
    bool json = false;
    int jobs = 1;
    vb::CodePage codePage;
    // Names the progress bar's work ("Zählen aller Voduvov"); the bar counts projects, and the member
    // files their commands looked for, and is shown only on a terminal, for more than a handful of
    // projects.
    std::string status;
    // Called once every project is written, to add what sums up the run: the text after the last
    // project's lines, or keys of the top JSON document after "projects" (`document` starts empty).
    std::function<void(std::string& text, nlohmann::ordered_json& document)> finish;
    // No progress bar, whatever the terminal (--quiet).
    bool quiet = false;
    // With json: each project's document on a line of its own as soon as it is in order, then what
    // `finish` adds, if anything, on a last line, instead of one document at the end.
    bool jsonLines = false;
};

// A project's entry among several, and a line of --json-lines: {"project": PATH, ...its document...}.
nlohmann::ordered_json ProjectEntry(const std::string& projectPath, const nlohmann::ordered_json& document,
                                    const vb::CodePage& codePage);

// Runs `command` for every project (its path and its index in `projects`) on `run.jobs` threads and writes to
// standard output, in the order of `projects`, whatever the number of threads:
// - text: every line of a project's output with the project's path (as reached, shown as a field) and a
//   tab in front; a project that fails gives the line PATH<TAB>Fehler<TAB>NUMBER<TAB>DESCRIPTION;
// - JSON: {"projects": [{"project": PATH, ...the project's document...}, ...]}, a project that fails as
//   {"project": PATH, "error": {"number": N, "description": TEXT}}; each project's document is written as
//   soon as it and those before it are done, so memory holds the projects in flight, not the run.
// A project's lines for standard error are written with its output. False when a project failed or a
// member file could not be opened: the exit status is then 1. Failures other than runtime errors (a
// usage error, memory exhausted) end the run.
bool RunOverProjects(const std::vector<ProjectOperand>& projects, const EstateRun& run,
                     const std::function<Output(const std::string& projectPath, std::size_t index)>& command);

// The failure of one project as the description of its error line: the error's text, and the path it
// names shown as a field (UTF-8, control characters as pictures) after ": ".
std::string FailureDescription(const vb::RuntimeError& error, const vb::CodePage& page);

// The member files that several projects of the run use: text records Geteilt<TAB>DATEI<TAB>PROJEKT
// <TAB>PROJEKT..., or JSON records {"file", "projects"}.
std::string SharedText(const inventory::SharedMembers& shared, const vb::CodePage& page);
nlohmann::ordered_json SharedDocument(const inventory::SharedMembers& shared, const vb::CodePage& page);

} // namespace cli

#pragma once
// The components command: what every project needs from outside, its inventory and findings as text
// records or JSON. The links from libraries to components are decided over the whole run, so a run over
// several projects reads them all first and writes them after.

#include "commands.h"
#include "estate.h"

#include "inventory/components.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>
#include <vector>

namespace cli {

// Text records, first field the kind: KIND GUID VERSIONS FILE DESCRIPTION LIBRARY PROJECTS MEMBERS
// OBJECTS FINDINGS per component, then Bibliothek LIBRARY COMPONENT LINK OBJECTS MEMBERS PROJECTS per
// library; or the document {"components", "libraries"}.
std::string ComponentsText(const inventory::ComponentTable& table);
nlohmann::ordered_json ComponentsDocument(const inventory::ComponentTable& table);

// One record per finding, first field its name (unbenutzt, nicht im Projekt, Versionen, nicht
// zugeordnet, fehlt); or the JSON list of them.
std::string FindingsText(const std::vector<inventory::Finding>& findings, const vb::CodePage& page);
nlohmann::ordered_json FindingsDocument(const std::vector<inventory::Finding>& findings,
                                        const vb::CodePage& page);

// The output of the `index`-th project of `estate`: with `table` its components and libraries, and
// always its findings.
Output ComponentsOutput(const inventory::ComponentEstate& estate, std::size_t index, bool json,
                        const vb::CodePage& page, bool table);

// Reads every project on `run.jobs` threads, decides the links over all of them, then writes each
// project's findings (with `byProject` its whole table) in the order of `projects`, and, without
// `byProject`, the table of the whole run after them. False when a project failed or a member file did
// not open.
bool ComponentsOverProjects(const std::vector<ProjectOperand>& projects, const EstateRun& run,
                            bool byProject);

} // namespace cli

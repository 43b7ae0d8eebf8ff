#pragma once
// What the report shows, read from the commands' documents (the JSON that count, lines, types, check and
// the other reading commands give over the same operands): per project and summed over the run. The
// report takes every number from these documents, so the page says exactly what the commands say.

#include "project/source_kind.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace report {

// The keys of the report's data document, each holding one command's document.
inline constexpr const char* kCountKey = "count";
inline constexpr const char* kLinesKey = "lines";
inline constexpr const char* kTypesKey = "types";
inline constexpr const char* kCheckKey = "check";
inline constexpr const char* kComponentsKey = "components";
inline constexpr const char* kProceduresKey = "procedures"; // the document of procedures --top 50
inline constexpr const char* kDeclaresKey = "declares";     // the document of declares --by-library
inline constexpr std::size_t kTopProcedures = 50;

// The six line figures of `lines`: all, object description, attributes, code (blank and comment lines
// among them), blank, comments.
struct LineFigures {
    std::int64_t lines = 0, description = 0, attributes = 0, code = 0, blank = 0, comments = 0;
    // Code lines that are neither blank nor comments.
    std::int64_t statements() const { return code - blank - comments; }
};

struct MemberFigures {
    vb::SourceKind kind = vb::SourceKind::Form;
    std::string entry;                   // as the commands show it (UTF-8)
    std::optional<std::int64_t> objects; // forms, user controls and property pages whose file opened
    std::optional<LineFigures> lines;    // when its file opened
    bool missing = false;                // its file could not be opened
    std::vector<std::string> findings;   // what check says of it, in German
};

struct ProjectFigures {
    std::string path;
    std::string error; // the project could not be read: the command's error text; else empty
    std::vector<MemberFigures> members;
    std::int64_t objects = 0;
    LineFigures lines;
    std::int64_t missing = 0;                 // check's count of members that a lookup does not find
    std::vector<std::string> projectFindings; // check's findings on the project file itself
    std::int64_t findings = 0;                // all of check's findings, on the project file and its members
    std::vector<std::string> componentFindings; // what components says of the project, in German
    // The project's procedures and the largest complexity among them, when procedures gave its sums.
    std::optional<std::int64_t> procedures, largestComplexity;
};

struct TypeFigures {
    std::string type;
    std::int64_t objects = 0, members = 0, projects = 0;
};

struct ComponentFigures {
    std::string kind, guid, versions, file, description, library;
    std::int64_t projects = 0, members = 0, objects = 0;
    std::vector<std::string> findings;
};

struct LibraryFigures {
    std::string library, component;
    bool linked = false; // a component provides it (derived or a project of the run)
    std::int64_t objects = 0, members = 0, projects = 0;
};

struct ProcedureFigures {
    std::string project, entry, kind, name;
    std::int64_t line = 0, lines = 0, code = 0, complexity = 0;
};

struct ApiLibraryFigures {
    std::string library;
    std::int64_t declarations = 0, functions = 0, members = 0, projects = 0;
};

struct EstateFigures {
    std::vector<ProjectFigures> projects; // in the order of the run
    std::int64_t failedProjects = 0;
    std::array<std::int64_t, vb::kSourceKinds.size()> membersByKind{};
    std::int64_t members = 0, missing = 0, objects = 0, findings = 0;
    LineFigures lines;
    std::vector<TypeFigures> types; // as types gives them: by objects, descending
    // The sections of the other commands, present when their documents are.
    std::optional<std::vector<ComponentFigures>> components;
    std::vector<LibraryFigures> libraries;
    std::optional<std::vector<ProcedureFigures>> topProcedures;
    std::optional<std::int64_t> procedures, largestComplexity; // the run's, as procedures sums them
    std::optional<std::vector<ApiLibraryFigures>> apiLibraries;
    std::int64_t declarations = 0;
};

// The figures of the data document; a section that is absent contributes nothing.
EstateFigures FiguresOf(const nlohmann::ordered_json& data);

// A command's document as its list of project documents: the "projects" of a run over several projects,
// or the document of the one project file.
std::vector<const nlohmann::ordered_json*> ProjectDocuments(const nlohmann::ordered_json& document);

} // namespace report

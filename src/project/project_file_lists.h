#pragma once
// The members of a project, per kind a count and the entries as cut from the project file's lines.
// Entry k (counted from 1) of a list is element k - 1; each list holds exactly as many entries as its count.

#include "project/source_kind.h"
#include "text/checked_int16.h"
#include "text/text_facts.h"

#include <span>
#include <string>
#include <vector>

namespace vb {

struct ProjectFileLists {
    std::vector<std::string> Forms;
    Int16 FormCount = 0;
    std::vector<std::string> Modules;
    Int16 ModuleCount = 0;
    std::vector<std::string> ClassModules;
    Int16 ClassModuleCount = 0;
    std::vector<std::string> UserControls;
    Int16 UserControlCount = 0;
    std::vector<std::string> PropertyPages;
    Int16 PropertyPageCount = 0;
    // The text of the whole project file; it decides how the entries are shown (vb::ShownText).
    TextKind Text = TextKind::Ascii;

    std::vector<std::string>& list(SourceKind kind);
    const std::vector<std::string>& list(SourceKind kind) const;
    Int16& count(SourceKind kind);
    Int16 count(SourceKind kind) const;
    // Entries 1 to count of the kind's list; RuntimeError 9 when the count exceeds the list.
    std::span<const std::string> entries(SourceKind kind) const;

    // The same members: counts and entries. The text of the file they were read from is not compared.
    bool operator==(const ProjectFileLists& other) const;
};

} // namespace vb

#pragma once
// The members of a project, per kind a count and the entries as cut from the project file's lines.
// Entry k (counted from 1) of a list is element k - 1; each list holds exactly as many entries as its count.

#include "errors/checked_int16.h"
#include "project/entry_list.h"
#include "project/source_kind.h"
#include "text/text_facts.h"

#include <string>

namespace vb {

struct ProjectFileLists {
    EntryList Forms;
    Int16 FormCount = 0;
    EntryList Modules;
    Int16 ModuleCount = 0;
    EntryList ClassModules;
    Int16 ClassModuleCount = 0;
    EntryList UserControls;
    Int16 UserControlCount = 0;
    EntryList PropertyPages;
    Int16 PropertyPageCount = 0;
    // The text of the whole project file; it decides how the entries are shown (vb::ShownText).
    TextKind Text = TextKind::Ascii;
    // The value of the project's conditional compilation constants line (CondComp=), as written; empty
    // without one. The last such line counts.
    std::string CondComp;

    EntryList& list(SourceKind kind);
    const EntryList& list(SourceKind kind) const;
    Int16& count(SourceKind kind);
    Int16 count(SourceKind kind) const;
    // Entries 1 to count of the kind's list; RuntimeError 9 when the count exceeds the list.
    EntryRange entries(SourceKind kind) const;

    // The same members: counts and entries. The text of the file they were read from is not compared.
    bool operator==(const ProjectFileLists& other) const;
};

} // namespace vb

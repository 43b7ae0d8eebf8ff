#include "project/project_file_lists.h"

namespace vb {

EntryList& ProjectFileLists::list(SourceKind kind) {
    return const_cast<EntryList&>(static_cast<const ProjectFileLists&>(*this).list(kind));
}

const EntryList& ProjectFileLists::list(SourceKind kind) const {
    switch (kind) {
    case SourceKind::Form:
        return Forms;
    case SourceKind::Module:
        return Modules;
    case SourceKind::ClassModule:
        return ClassModules;
    case SourceKind::UserControl:
        return UserControls;
    case SourceKind::PropertyPage:
        break;
    }
    return PropertyPages;
}

Int16& ProjectFileLists::count(SourceKind kind) {
    switch (kind) {
    case SourceKind::Form:
        return FormCount;
    case SourceKind::Module:
        return ModuleCount;
    case SourceKind::ClassModule:
        return ClassModuleCount;
    case SourceKind::UserControl:
        return UserControlCount;
    case SourceKind::PropertyPage:
        break;
    }
    return PropertyPageCount;
}

Int16 ProjectFileLists::count(SourceKind kind) const {
    return const_cast<ProjectFileLists&>(*this).count(kind);
}

EntryRange ProjectFileLists::entries(SourceKind kind) const {
    const EntryList& entries = list(kind);
    CheckEntryCount(entries.size(), count(kind));
    return {entries.begin(), entries.begin() + count(kind)};
}

bool ProjectFileLists::operator==(const ProjectFileLists& other) const {
    for (const SourceKind kind : kSourceKinds)
        if (count(kind) != other.count(kind) || list(kind) != other.list(kind))
            return false;
    return true;
}

} // namespace vb

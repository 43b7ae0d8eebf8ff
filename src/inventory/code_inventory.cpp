#include "inventory/code_inventory.h"

#include "files/file_identity.h"
#include "project/project_folder.h"
#include "project/read_project_file.h"
#include "text/shown_text.h"

#include <algorithm>
#include <tuple>

namespace inventory {

namespace {

void ShowNames(counter::MemberCode& code, const vb::CodePage& page) {
    const auto show = [&](std::string& text) { text = vb::ShownText(text, code.text, page); };
    for (counter::Procedure& procedure : code.procedures)
        show(procedure.name);
    for (counter::EventDeclaration& event : code.events)
        show(event.name);
    for (counter::ApiDeclaration& declaration : code.declarations) {
        show(declaration.name);
        show(declaration.library);
        show(declaration.function);
    }
}

bool Ranks(const PlacedProcedure& a, const PlacedProcedure& b) {
    return std::tuple(-a.procedure.complexity, -a.procedure.code, std::string_view(a.project),
                      std::string_view(a.entry), a.procedure.line) <
           std::tuple(-b.procedure.complexity, -b.procedure.code, std::string_view(b.project),
                      std::string_view(b.entry), b.procedure.line);
}

} // namespace

ProjectCode CodeOfProject(const std::string& projectPath, const MemberReading& reading) {
    const vb::ProjectFileLists lists = vb::ReadProjectFile(projectPath);
    const counter::CompileConstants constants = counter::ProjectConstantsOf(lists.CondComp);
    vb::MemberLookup lookup = vb::CounterLookupOf(projectPath);
    ProjectCode project;
    std::uint64_t unknownFiles = 0;
    for (const vb::SourceKind kind : vb::kSourceKinds)
        for (const std::string_view entry : lists.entries(kind)) {
            MemberCode member{kind, vb::ShownText(entry, lists.Text, reading.codePage), {}, {}, {}};
            std::optional<vb::LineReader> reader;
            if (auto missing = lookup.openInto(std::string(entry), reader)) {
                reading.memberMissing(*missing);
                member.missing = std::move(missing);
            } else {
                if (const auto& identity = reader->identity()) // known from opening the member
                    member.file = {identity->device, identity->inode};
                else // a file that cannot be told apart counts as a file of its own
                    member.file = {~std::uint64_t{0}, unknownFiles++};
                member.code = counter::ReadMemberCode(*reader, kind, constants);
                ShowNames(*member.code, reading.codePage);
            }
            project.members.push_back(std::move(member));
        }
    return project;
}

ProcedureSums& ProcedureSums::operator+=(const ProcedureSums& other) noexcept {
    procedures += other.procedures;
    code += other.code;
    largestComplexity = std::max(largestComplexity, other.largestComplexity);
    return *this;
}

ProcedureSums SumsOf(const counter::MemberCode& code) {
    ProcedureSums sums;
    for (const counter::Procedure& procedure : code.procedures) {
        ++sums.procedures;
        sums.code += procedure.code;
        sums.largestComplexity = std::max(sums.largestComplexity, procedure.complexity);
    }
    return sums;
}

ProcedureSums SumsOf(const ProjectCode& project) {
    ProcedureSums sums;
    for (const MemberCode& member : project.members)
        if (member.code)
            sums += SumsOf(*member.code);
    return sums;
}

void TopProcedures::addProject(const std::string& projectPath, const ProjectCode& project) {
    std::vector<PlacedProcedure> candidates;
    for (const MemberCode& member : project.members)
        if (member.code)
            for (const counter::Procedure& procedure : member.code->procedures)
                candidates.push_back({projectPath, member.kind, member.entry, procedure});
    const std::size_t keep = std::min(count_, candidates.size());
    std::partial_sort(candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(keep),
                      candidates.end(), Ranks);
    candidates.resize(keep);
    const std::lock_guard lock(mutex_);
    kept_.insert(kept_.end(), std::make_move_iterator(candidates.begin()),
                 std::make_move_iterator(candidates.end()));
    if (kept_.size() > 2 * count_)
        trim();
}

void TopProcedures::trim() {
    std::sort(kept_.begin(), kept_.end(), Ranks);
    if (kept_.size() > count_)
        kept_.resize(count_);
}

std::vector<PlacedProcedure> TopProcedures::sorted() const {
    const std::lock_guard lock(mutex_);
    std::vector<PlacedProcedure> top = kept_;
    std::sort(top.begin(), top.end(), Ranks);
    if (top.size() > count_)
        top.resize(count_);
    return top;
}

void LibraryInventory::addProject(const ProjectCode& project) {
    const std::lock_guard lock(mutex_);
    std::set<std::string> ofProject;
    for (const MemberCode& member : project.members) {
        if (!member.code)
            continue;
        for (const counter::ApiDeclaration& declaration : member.code->declarations) {
            Use& use = uses_[declaration.library];
            ++use.declarations;
            use.functions.insert(declaration.function);
            use.members.insert(member.file);
            if (ofProject.insert(declaration.library).second)
                ++use.projects;
        }
    }
}

std::vector<ApiLibraryRow> LibraryInventory::sorted() const {
    const std::lock_guard lock(mutex_);
    std::vector<ApiLibraryRow> rows;
    rows.reserve(uses_.size());
    for (const auto& [library, use] : uses_)
        rows.push_back({library, use.declarations, static_cast<std::int64_t>(use.functions.size()),
                        static_cast<std::int64_t>(use.members.size()), use.projects});
    std::stable_sort(rows.begin(), rows.end(), [](const ApiLibraryRow& a, const ApiLibraryRow& b) {
        return a.declarations > b.declarations;
    });
    return rows; // the map gave byte order within equal numbers of declarations
}

} // namespace inventory

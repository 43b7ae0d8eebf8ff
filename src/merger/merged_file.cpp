#include "merger/merged_file.h"

#include "errors/runtime_error.h"
#include "files/member_path.h"
#include "files/replaced_file.h"
#include "merger/document_format.h"
#include "merger/head_rules.h"
#include "merger/output_guard.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <sys/stat.h>

namespace merger {

vb::Int16 MergeProgressMaximum(const vb::ProjectFileLists& lists) {
    vb::Int16 sum = lists.ModuleCount;
    sum = vb::Add16(sum, lists.FormCount);
    sum = vb::Add16(sum, lists.ClassModuleCount);
    sum = vb::Add16(sum, lists.UserControlCount);
    return vb::Add16(sum, lists.PropertyPageCount);
}

std::string_view HeadingOf(vb::SourceKind kind) {
    switch (kind) {
    case vb::SourceKind::Form:
        return "FORMULARE:";
    case vb::SourceKind::Module:
        return "MODULE:";
    case vb::SourceKind::ClassModule:
        return "KLASSENMODULE:";
    case vb::SourceKind::UserControl:
        return "BENUTZERSTEUERELEMENTE:";
    case vb::SourceKind::PropertyPage:
        break;
    }
    return "EIGENSCHAFTENSEITEN:";
}

std::vector<vb::FileIdentity> IdentitiesOfOutput(int fd, const std::string& target) {
    std::vector<vb::FileIdentity> identities;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return identities; // a pipe, terminal or device is never a member file
    identities.push_back({st.st_dev, st.st_ino});
    if (!target.empty())
        if (const auto existing = vb::IdentityOfPath(target); existing && *existing != identities.front())
            identities.push_back(*existing);
    return identities;
}

void RefuseReadingOutput(int fd, std::span<const vb::FileIdentity> written, const std::string& path) {
    if (written.empty())
        return;
    const auto identity = vb::IdentityOfDescriptor(fd);
    if (identity && std::find(written.begin(), written.end(), *identity) != written.end())
        throw MergeReadsItsOutput(path);
}

void WriteMergedFile(const vb::ProjectFileLists& lists, const std::string& projectFolder, vb::LineWriter& out,
                     const std::function<bool()>& optionSet, const std::function<void()>& memberDone,
                     std::span<const vb::FileIdentity> written, vb::MemberLookup* lookup,
                     const MissingMember& memberMissing, bool lineNumbers) {
    vb::MemberLookup fresh;
    vb::MemberLookup& members = lookup ? *lookup : fresh;
    for (const vb::SourceKind kind : vb::kSourceKinds) {
        if (kind != vb::SourceKind::Form) {
            out.writeLine({});
            out.writeLine({});
        }
        out.writeLine(HeadingOf(kind));

        const vb::EntryRange entries = lists.entries(kind);
        const HeadRule rule = HeadRuleOf(kind);
        for (auto at = entries.begin(); at != entries.end(); ++at) {
            const std::string entry(*at);
            std::string header = entry;
            header += ':';
            out.writeLine(header);
            std::optional<vb::LineReader> in;
            if (const auto missing = members.openInto(projectFolder + entry, in)) {
                if (!memberMissing)
                    throw *missing;
                memberMissing(*missing);
            } else {
                // The text merge copies the member's bytes: a UTF-8 mark stays, UTF-16 text is refused.
                in->keepBytes();
                RefuseReadingOutput(in->fd(), written, projectFolder + entry);
                const bool option = optionSet && optionSet();
                if (lineNumbers)
                    SelectMemberLines(rule, option, *in, [&](std::string_view line, std::uint64_t number) {
                        out.writeLine(LineNumberPrefix(number) + std::string(line));
                    });
                else
                    CopyMemberBody(rule, option, *in, out);
                in.reset();
            }
            if (kind != vb::SourceKind::PropertyPage || std::next(at) != entries.end()) {
                out.writeLine({});
                out.writeLine({});
            }
            if (memberDone)
                memberDone();
        }
    }
    out.flush();
}

void MergeIntoFile(const vb::ProjectFileLists& lists, const std::string& projectPath,
                   const std::string& projectFolder, const std::string& outputPath,
                   const std::function<bool()>& optionSet, const std::function<void()>& memberDone,
                   vb::MemberLookup* lookup, const MissingMember& memberMissing, bool lineNumbers) {
    vb::MemberLookup fresh;
    vb::MemberLookup& members = lookup ? *lookup : fresh;
    vb::ReplacedFile file(outputPath, [&](int fd) {
        CheckBeforeWritingInPlace(fd, projectPath, lists, projectFolder, members, bool(memberMissing));
    });
    try {
        vb::LineWriter out(file.fd(), outputPath,
                           file.syncsOnCommit() ? vb::Writeback::Behind : vb::Writeback::Later);
        WriteMergedFile(lists, projectFolder, out, optionSet, memberDone,
                        IdentitiesOfOutput(file.fd(), file.path()), &members, memberMissing, lineNumbers);
        out.close();
        file.commit();
    } catch (const vb::RuntimeError& e) {
        if (file.writtenInPlace())
            throw OutputLeftIncomplete(e, outputPath);
        throw;
    }
}

void MergeIntoDescriptor(const vb::ProjectFileLists& lists, const std::string& projectFolder, int fd,
                         const std::string& name, const std::function<bool()>& optionSet,
                         const std::function<void()>& memberDone, vb::MemberLookup* lookup,
                         const MissingMember& memberMissing, bool lineNumbers) {
    vb::LineWriter out(fd, name);
    WriteMergedFile(lists, projectFolder, out, optionSet, memberDone, IdentitiesOfOutput(fd), lookup,
                    memberMissing, lineNumbers);
    out.close();
}

} // namespace merger

#include "merger/merged_file.h"

#include "merger/head_rules.h"
#include "text/member_path.h"
#include "text/runtime_error.h"

#include <algorithm>
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

void WriteMergedFile(const vb::ProjectFileLists& lists, const std::string& projectFolder, vb::LineWriter& out,
                     const std::function<bool()>& optionSet, const std::function<void()>& memberDone,
                     std::span<const vb::FileIdentity> written, vb::MemberLookup* lookup) {
    vb::MemberLookup fresh;
    vb::MemberLookup& members = lookup ? *lookup : fresh;
    for (const vb::SourceKind kind : vb::kSourceKinds) {
        if (kind != vb::SourceKind::Form) {
            out.writeLine({});
            out.writeLine({});
        }
        out.writeLine(HeadingOf(kind));

        const auto& entries = lists.list(kind);
        const int count = lists.count(kind);
        // A count that does not match its list would read past the list's end.
        if (count < 0 || static_cast<std::size_t>(count) > entries.size())
            throw vb::RuntimeError(vb::err::SubscriptOutOfRange);
        const HeadRule rule = HeadRuleOf(kind);
        for (int index = 1; index <= count; ++index) {
            const std::string& entry = entries[index - 1];
            std::string header = entry;
            header += ':';
            out.writeLine(header);
            {
                vb::LineReader in = members.open(projectFolder + entry);
                // Checked after opening, so neither another spelling nor a link made meanwhile escapes.
                if (!written.empty()) {
                    const auto identity = vb::IdentityOfDescriptor(in.fd());
                    if (identity && std::find(written.begin(), written.end(), *identity) != written.end())
                        throw MergeReadsItsOutput(projectFolder + entry);
                }
                const bool option = optionSet && optionSet();
                CopyMemberBody(rule, option, in, out);
            }
            if (kind != vb::SourceKind::PropertyPage || index != count) {
                out.writeLine({});
                out.writeLine({});
            }
            if (memberDone)
                memberDone();
        }
    }
    out.flush();
}

} // namespace merger

#include "merger/merged_document.h"

#include "files/file_identity.h"
#include "files/line_writer.h"
#include "files/replaced_file.h"
#include "merger/head_rules.h"
#include "merger/output_guard.h"
#include "text/control_pictures.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <optional>
#include <unistd.h>
#include <vector>

namespace merger {

namespace {

template <class Write> std::uint64_t SizeOf(const Write& write) {
    CountingOut counter;
    write(counter);
    return counter.bytes();
}

// A piece of the document on its way to a writer, counted.
class WriterOut : public DocumentOut {
public:
    explicit WriterOut(vb::LineWriter& writer) : writer_(writer) {}
    void write(std::string_view bytes) override {
        writer_.write(bytes);
        bytes_ += bytes.size();
    }
    std::uint64_t bytes() const noexcept { return bytes_; }

private:
    vb::LineWriter& writer_;
    std::uint64_t bytes_ = 0;
};

// What an output must not be: the project file or a member (checked for every part).
struct OwnFiles {
    const std::string& projectPath;
    const vb::ProjectFileLists& lists;
    const std::string& projectFolder;
    vb::MemberLookup& lookup;
};

// The files the document goes to: one descriptor, one file, or the parts of a split one. Files are put in
// place only by finish(), all together, after the last byte was written.
class Outputs {
public:
    Outputs(int fd, const std::string& name) : written_(IdentitiesOfOutput(fd)) {
        writers_.push_back(std::make_unique<vb::LineWriter>(fd, name));
    }
    Outputs(std::string outputPath, const OwnFiles& own) : outputPath_(std::move(outputPath)), own_(&own) {}

    // Opens the output of `part` (0 for the whole document) as the current one; the descriptor is open.
    void open(int part) {
        if (!own_)
            return;
        const std::string path = part == 0 ? outputPath_ : PartPath(outputPath_, part);
        if (part != 0)
            if (const auto mine =
                    OwnFileNamedBy(path, own_->projectPath, own_->lists, own_->projectFolder, &own_->lookup))
                throw MergeReadsItsOutput(*mine);
        if (!writers_.empty())
            writers_.back()->close(); // its file stays open in its ReplacedFile until finish()
        files_.push_back(std::make_unique<vb::ReplacedFile>(path, [&](int fd) {
            RefuseOwnFileOpened(fd, own_->projectPath, own_->lists, own_->projectFolder, own_->lookup);
        }));
        const vb::ReplacedFile& file = *files_.back();
        for (const vb::FileIdentity& identity : IdentitiesOfOutput(file.fd(), file.path()))
            written_.push_back(identity);
        writers_.push_back(std::make_unique<vb::LineWriter>(
            file.fd(), path, file.syncsOnCommit() ? vb::Writeback::Behind : vb::Writeback::Later));
        out_.reset();
    }

    WriterOut& out() {
        if (!out_)
            out_.emplace(*writers_.back());
        return *out_;
    }
    std::span<const vb::FileIdentity> written() const noexcept { return written_; }

    void finish() {
        writers_.back()->close();
        for (const auto& file : files_)
            file->commit();
    }

private:
    std::string outputPath_;
    const OwnFiles* own_ = nullptr;
    std::vector<std::unique_ptr<vb::ReplacedFile>> files_;
    std::vector<std::unique_ptr<vb::LineWriter>> writers_;
    std::vector<vb::FileIdentity> written_;
    std::optional<WriterOut> out_;
};

// Reads the member file anew from its first byte, through the descriptor already opened.
vb::LineReader Rewound(const vb::LineReader& in) {
    if (::lseek(in.fd(), 0, SEEK_SET) < 0)
        throw vb::RuntimeError::FromErrno(errno, in.path());
    return vb::LineReader(in.fd(), in.path(), vb::LineReader::kMaxRead, in.limit());
}

std::size_t LongestBacktickRun(std::string_view line) {
    std::size_t longest = 0;
    std::size_t run = 0;
    for (const char ch : line) {
        run = ch == '`' ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

class DocumentWriter {
public:
    DocumentWriter(const vb::ProjectFileLists& lists, const std::string& projectPath,
                   const std::string& projectFolder, const DocumentMerge& how, Outputs& outputs,
                   const std::function<bool()>& optionSet, const std::function<void()>& memberDone,
                   vb::MemberLookup& lookup, const MissingMember& memberMissing)
        : lists_(lists), projectPath_(projectPath), projectFolder_(projectFolder), how_(how),
          formatter_(FormatterOf(how.format, how.lineNumbers)), outputs_(outputs), optionSet_(optionSet),
          memberDone_(memberDone), lookup_(lookup), memberMissing_(memberMissing) {}

    void run() {
        part_ = how_.splitSize == 0 ? 0 : 1;
        outputs_.open(part_);
        formatter_->begin(out(), shownPath(projectPath_), part_);
        closing_ = std::max(SizeOf([&](DocumentOut& o) { formatter_->endGroup(o, true); }),
                            SizeOf([&](DocumentOut& o) { formatter_->endGroup(o, false); })) +
                   SizeOf([&](DocumentOut& o) { formatter_->end(o); });
        for (const vb::SourceKind kind : vb::kSourceKinds) {
            makeRoom(SizeOf([&](DocumentOut& o) { formatter_->beginGroup(o, kind, firstGroup_, false); }),
                     std::nullopt);
            formatter_->beginGroup(out(), kind, firstGroup_, false);
            firstGroup_ = false;
            membersInGroup_ = 0;
            for (const std::string_view entry : lists_.entries(kind))
                member(kind, std::string(entry));
            formatter_->endGroup(out(), membersInGroup_ == 0);
        }
        formatter_->end(out());
        outputs_.finish();
    }

private:
    WriterOut& out() { return outputs_.out(); }
    bool splitting() const noexcept { return how_.splitSize != 0; }

    std::string shownPath(const std::string& path) const {
        return vb::ShownText(path, vb::TextKindOf(path), how_.codePage);
    }

    // Starts the next part when `size` more bytes would not fit into this one beside the closing bytes,
    // unless the part holds no member yet. `group` is the group that goes on in the next part.
    bool makeRoom(std::uint64_t size, std::optional<vb::SourceKind> group) {
        if (!splitting() || !memberInPart_ || outputs_.out().bytes() + size + closing_ <= how_.splitSize)
            return false;
        nextPart(group);
        return true;
    }

    void nextPart(std::optional<vb::SourceKind> group) {
        if (group)
            formatter_->endGroup(out(), membersInGroup_ == 0);
        formatter_->end(out());
        outputs_.open(++part_);
        formatter_->begin(out(), shownPath(projectPath_), part_);
        firstGroup_ = true;
        memberInPart_ = false;
        membersInGroup_ = 0;
        if (group) {
            formatter_->beginGroup(out(), *group, true, true);
            firstGroup_ = false;
        }
    }

    void member(vb::SourceKind kind, const std::string& entry) {
        MemberHead head;
        head.entry = vb::ShownText(entry, lists_.Text, how_.codePage);
        const std::string path = projectFolder_ + entry;
        head.path = shownPath(path);
        std::optional<vb::LineReader> in;
        if (const auto missing = lookup_.openInto(path, in)) {
            if (!memberMissing_)
                throw *missing;
            memberMissing_(*missing);
            const auto write = [&](DocumentOut& o) {
                formatter_->beginMember(o, head, membersInGroup_ == 0);
                formatter_->missing(o, *missing);
                formatter_->endMember(o, head);
            };
            makeRoom(SizeOf(write), kind);
            write(out());
            placed();
            return;
        }
        RefuseReadingOutput(in->fd(), outputs_.written(), path);

        const HeadRule rule = HeadRuleOf(kind);
        const bool option = optionSet_ && optionSet_();
        vb::TextKind text = vb::TextKind::Ascii;
        bool control = false;
        bool nonCharacter = false;
        std::size_t backticks = 0;
        SelectMemberLines(
            rule, option, *in,
            [&](std::string_view line, std::uint64_t) {
                backticks = std::max(backticks, LongestBacktickRun(line));
                control = control || std::any_of(line.begin(), line.end(), [](char ch) {
                              return static_cast<unsigned char>(ch) < 0x20 && ch != '\t';
                          });
                nonCharacter = nonCharacter || vb::NeedsReplacing(line);
            },
            [&](std::string_view line, std::uint64_t) { text = vb::Together(text, vb::TextKindOf(line)); });
        text_ = text;
        head.fence = std::max<std::size_t>(3, backticks + 1);
        // The bytes of a U+FFFE or U+FFFF are that character only in a UTF-8 file.
        head.replaced = control || (nonCharacter && text == vb::TextKind::Utf8);

        if (splitting())
            splitMember(kind, rule, option, head, *in);
        else
            writeMember(kind, rule, option, head, *in, {});
        in.reset();
        placed();
    }

    void placed() {
        ++membersInGroup_;
        memberInPart_ = true;
        if (memberDone_)
            memberDone_();
    }

    std::string shownLine(std::string_view line) const { return vb::ShownText(line, text_, how_.codePage); }

    // Writes the member, cut before each selected line whose index is in `cuts` (ascending): there the
    // piece ends, the next part begins and the member goes on in the next piece.
    void writeMember(vb::SourceKind kind, HeadRule rule, bool option, MemberHead head,
                     const vb::LineReader& in, const std::vector<std::uint64_t>& cuts) {
        if (!cuts.empty()) {
            head.piece = 1;
            head.continues = true;
        }
        formatter_->beginMember(out(), head, membersInGroup_ == 0);
        formatter_->beginBody(out(), head);
        std::uint64_t index = 0;
        std::size_t nextCut = 0;
        bool first = true;
        vb::LineReader pass = Rewound(in);
        SelectMemberLines(rule, option, pass, [&](std::string_view line, std::uint64_t number) {
            if (nextCut < cuts.size() && cuts[nextCut] == index) {
                formatter_->endBody(out(), head);
                formatter_->endMember(out(), head);
                ++membersInGroup_;
                nextPart(kind);
                ++nextCut;
                ++head.piece;
                head.continues = nextCut < cuts.size();
                formatter_->beginMember(out(), head, true);
                formatter_->beginBody(out(), head);
                first = true;
            }
            formatter_->line(out(), shownLine(line), number, first);
            first = false;
            ++index;
        });
        formatter_->endBody(out(), head);
        formatter_->endMember(out(), head);
    }

    void splitMember(vb::SourceKind kind, HeadRule rule, bool option, const MemberHead& head,
                     const vb::LineReader& in) {
        std::uint64_t whole = 0;
        {
            CountingOut counter;
            formatter_->beginMember(counter, head, false);
            formatter_->beginBody(counter, head);
            bool first = true;
            vb::LineReader pass = Rewound(in);
            SelectMemberLines(rule, option, pass, [&](std::string_view line, std::uint64_t number) {
                formatter_->line(counter, shownLine(line), number, first);
                first = false;
            });
            formatter_->endBody(counter, head);
            formatter_->endMember(counter, head);
            whole = counter.bytes();
        }
        makeRoom(whole, kind);
        if (out().bytes() + whole + closing_ <= how_.splitSize) {
            writeMember(kind, rule, option, head, in, {});
            return;
        }
        writeMember(kind, rule, option, head, in, plannedCuts(kind, rule, option, head, in));
    }

    // The selected lines before which the member is cut so that each piece with its part fits.
    std::vector<std::uint64_t> plannedCuts(vb::SourceKind kind, HeadRule rule, bool option, MemberHead head,
                                           const vb::LineReader& in) {
        head.piece = 1;
        head.continues = true;
        const auto overhead = [&](bool firstInGroup) {
            return SizeOf([&](DocumentOut& o) {
                       formatter_->beginMember(o, head, firstInGroup);
                       formatter_->beginBody(o, head);
                       formatter_->endBody(o, head);
                       formatter_->endMember(o, head);
                   }) +
                   closing_;
        };
        std::vector<std::uint64_t> cuts;
        std::uint64_t used = out().bytes();
        std::uint64_t pieceOverhead = overhead(membersInGroup_ == 0);
        int part = part_;
        std::uint64_t index = 0;
        bool first = true;
        vb::LineReader pass = Rewound(in);
        SelectMemberLines(rule, option, pass, [&](std::string_view line, std::uint64_t number) {
            const std::string shown = shownLine(line);
            std::uint64_t size = SizeOf([&](DocumentOut& o) { formatter_->line(o, shown, number, first); });
            if (!first && used + pieceOverhead + size > how_.splitSize) {
                cuts.push_back(index);
                ++part;
                ++head.piece;
                used = SizeOf([&](DocumentOut& o) {
                    formatter_->begin(o, shownPath(projectPath_), part);
                    formatter_->beginGroup(o, kind, true, true);
                });
                pieceOverhead = overhead(true);
                first = true;
                size = SizeOf([&](DocumentOut& o) { formatter_->line(o, shown, number, true); });
            }
            used += size;
            first = false;
            ++index;
        });
        return cuts;
    }

    const vb::ProjectFileLists& lists_;
    const std::string& projectPath_;
    const std::string& projectFolder_;
    const DocumentMerge& how_;
    std::unique_ptr<DocumentFormatter> formatter_;
    Outputs& outputs_;
    const std::function<bool()>& optionSet_;
    const std::function<void()>& memberDone_;
    vb::MemberLookup& lookup_;
    const MissingMember& memberMissing_;

    int part_ = 0;
    std::uint64_t closing_ = 0;
    bool firstGroup_ = true;
    bool memberInPart_ = false;
    int membersInGroup_ = 0;
    vb::TextKind text_ = vb::TextKind::Ascii; // of the member being written
};

} // namespace

std::string PartPath(const std::string& outputPath, int number) {
    const std::size_t slash = outputPath.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = outputPath.find_last_of('.');
    const std::string suffix = "." + std::to_string(number);
    if (dot == std::string::npos || dot <= nameStart)
        return outputPath + suffix;
    return outputPath.substr(0, dot) + suffix + outputPath.substr(dot);
}

void MergeDocumentIntoFile(const vb::ProjectFileLists& lists, const std::string& projectPath,
                           const std::string& projectFolder, const std::string& outputPath,
                           const DocumentMerge& how, const std::function<bool()>& optionSet,
                           const std::function<void()>& memberDone, vb::MemberLookup* lookup,
                           const MissingMember& memberMissing) {
    vb::MemberLookup fresh;
    vb::MemberLookup& members = lookup ? *lookup : fresh;
    const OwnFiles own{projectPath, lists, projectFolder, members};
    Outputs outputs(outputPath, own);
    DocumentWriter(lists, projectPath, projectFolder, how, outputs, optionSet, memberDone, members,
                   memberMissing)
        .run();
}

void MergeDocumentIntoDescriptor(const vb::ProjectFileLists& lists, const std::string& projectPath,
                                 const std::string& projectFolder, int fd, const std::string& name,
                                 const DocumentMerge& how, const std::function<bool()>& optionSet,
                                 const std::function<void()>& memberDone, vb::MemberLookup* lookup,
                                 const MissingMember& memberMissing) {
    vb::MemberLookup fresh;
    vb::MemberLookup& members = lookup ? *lookup : fresh;
    DocumentMerge whole = how;
    whole.splitSize = 0;
    Outputs outputs(fd, name);
    DocumentWriter(lists, projectPath, projectFolder, whole, outputs, optionSet, memberDone, members,
                   memberMissing)
        .run();
}

} // namespace merger

#include "merger/merged_document.h"

#include "files/file_identity.h"
#include "files/line_writer.h"
#include "files/replaced_file.h"
#include "merger/document_runs.h"
#include "merger/head_rules.h"
#include "merger/output_guard.h"
#include "text/code_page.h"
#include "text/control_pictures.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
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
    bool goesOnPastMissing = false;
};

// An exclusive lock (flock) on the folder of `path` while it lives, so that two processes putting parts
// of one name in place take turns; none for an empty path or a folder that cannot be opened for it.
class FolderLock {
public:
    explicit FolderLock(const std::string& path) {
        if (path.empty())
            return;
        const auto slash = path.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
        fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd_ >= 0)
            while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
            }
    }
    ~FolderLock() {
        if (fd_ >= 0)
            ::close(fd_); // releases the lock
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_ = -1;
};

// Collects what a formatter writes.
class TextOut : public DocumentOut {
public:
    void write(std::string_view bytes) override { text_ += bytes; }
    const std::string& text() const noexcept { return text_; }

private:
    std::string text_;
};

// True when the file at `path` begins as `formatter` begins part `part` of a document, for any project:
// the bytes before the project's name, the name on one line, then the bytes after it.
bool BeginsAsPart(const DocumentFormatter& formatter, const std::string& path, int part) {
    constexpr std::string_view kMark = "vbprojektTeilMarke";
    TextOut begin;
    formatter.begin(begin, kMark, part);
    const std::size_t mark = begin.text().find(kMark);
    if (mark == std::string::npos)
        return false;
    const std::string_view before = std::string_view(begin.text()).substr(0, mark);
    const std::string_view after = std::string_view(begin.text()).substr(mark + kMark.size());
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0)
        return false;
    std::string head(64 * 1024, '\0');
    const ssize_t got = ::read(fd, head.data(), head.size());
    ::close(fd);
    head.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    if (!head.starts_with(before))
        return false;
    const std::size_t end = head.find(after, before.size());
    return end != std::string::npos && head.find('\n', before.size()) >= end;
}

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
            CheckBeforeWritingInPlace(fd, own_->projectPath, own_->lists, own_->projectFolder, own_->lookup,
                                      own_->goesOnPastMissing);
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
    // The first output emptied to be written in place, or nullptr.
    const vb::ReplacedFile* inPlace() const noexcept {
        for (const auto& file : files_)
            if (file->writtenInPlace())
                return file.get();
        return nullptr;
    }

    // Puts every file in place. The parts of a split document (`lastPart` the number of the last, 0 for
    // one document) are synced first and then renamed together while the output's folder is locked, so
    // that two runs into one name leave the parts of one of them; parts an earlier, longer split left
    // above the last are removed then (LeftoverPart).
    void finish(const DocumentFormatter& formatter, int lastPart) {
        writers_.back()->close();
        for (const auto& file : files_)
            file->sync();
        const FolderLock lock(lastPart == 0 ? std::string() : outputPath_);
        for (const auto& file : files_)
            file->commit();
        for (int part = lastPart + 1; lastPart != 0 && LeftoverPart(formatter, part); ++part)
            ::unlink(PartPath(outputPath_, part).c_str());
    }

private:
    // True when the file of part `part` is a plain file (not a link), none of the project's files, and
    // begins as `formatter` begins a part of that number, whatever project it names.
    bool LeftoverPart(const DocumentFormatter& formatter, int part) const {
        const std::string path = PartPath(outputPath_, part);
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            return false;
        if (OwnFileNamedBy(path, own_->projectPath, own_->lists, own_->projectFolder, &own_->lookup))
            return false;
        return BeginsAsPart(formatter, path, part);
    }

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
        outputs_.finish(*formatter_, part_);
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
        SelectMemberRuns(
            rule, option, *in,
            [&](std::string_view line, std::uint64_t) {
                backticks = std::max(backticks, LongestBacktickRun(line));
                control = control || std::any_of(line.begin(), line.end(), [](char ch) {
                              return static_cast<unsigned char>(ch) < 0x20 && ch != '\t';
                          });
                nonCharacter = nonCharacter || vb::NeedsReplacing(line);
            },
            [&](std::string_view run, std::uint64_t) {
                // The same facts for many lines at once: line ends break no run of backticks and end no
                // UTF-8 sequence, and they are the only controls the lines' own bytes do not hold.
                const runs::RunBytes seen = runs::BytesOfRun(run);
                if (seen.backtick)
                    backticks = std::max(backticks, LongestBacktickRun(run));
                control = control || seen.control;
                nonCharacter = nonCharacter || (seen.ef && runs::HoldsNonCharacter(run));
                if (seen.high && text != vb::TextKind::EightBit)
                    text = vb::Together(text, vb::TextKindOf(run));
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

    // Whether the lines of `run` can go to the formatter in one go, and as what: the bytes of a UTF-8 file
    // as they are (unless they are no longer valid UTF-8, as when another program changed the file
    // between the passes), those of others as Windows-1252; a text of another code page goes line by line,
    // since each line starts in the converter's first state.
    std::optional<RunText> runText(std::string_view run) const {
        if (text_ == vb::TextKind::Utf8)
            return vb::TextKindOf(run) == vb::TextKind::EightBit ? std::nullopt
                                                                 : std::optional(RunText::Utf8);
        if (how_.codePage.isWindows1252())
            return RunText::Windows1252;
        return std::nullopt;
    }

    // Writes the body lines of the member to `o`: the head's line by line, the rest in runs.
    void writeBody(DocumentOut& o, HeadRule rule, bool option, const vb::LineReader& in) {
        bool first = true;
        std::uint64_t number = 0; // of the last line read
        vb::LineReader pass = Rewound(in);
        SelectMemberRuns(
            rule, option, pass,
            [&](std::string_view line, std::uint64_t n) {
                formatter_->line(o, shownLine(line), n, first);
                first = false;
            },
            [&](std::string_view run, std::uint64_t headLines) {
                number = std::max(number, headLines);
                if (first) { // the head selected no line: the run's first line opens the body
                    std::size_t end = 0;
                    const std::size_t next = runs::LineAt(run, 0, end);
                    formatter_->line(o, shownLine(run.substr(0, end)), ++number, true);
                    first = false;
                    run.remove_prefix(next);
                }
                if (run.empty())
                    return;
                if (const auto text = runText(run)) {
                    number += formatter_->lines(o, run, *text, number + 1);
                    return;
                }
                for (std::size_t at = 0; at < run.size();) {
                    std::size_t end = 0;
                    const std::size_t next = runs::LineAt(run, at, end);
                    formatter_->line(o, shownLine(run.substr(at, end - at)), ++number, false);
                    at = next;
                }
            });
    }

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
        if (cuts.empty()) {
            writeBody(out(), rule, option, in);
            formatter_->endBody(out(), head);
            formatter_->endMember(out(), head);
            return;
        }
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
            writeBody(counter, rule, option, in);
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
    const OwnFiles own{projectPath, lists, projectFolder, members, bool(memberMissing)};
    Outputs outputs(outputPath, own);
    try {
        DocumentWriter(lists, projectPath, projectFolder, how, outputs, optionSet, memberDone, members,
                       memberMissing)
            .run();
    } catch (const vb::RuntimeError& e) {
        if (const vb::ReplacedFile* file = outputs.inPlace())
            throw OutputLeftIncomplete(e, file->path());
        throw;
    }
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

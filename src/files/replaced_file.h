#pragma once
// An output file that is replaced whole or not at all. The bytes go to a new hidden temporary file in the
// target's folder; commit() syncs it and renames it over the target. Until then the target keeps its
// earlier content (or stays absent), whatever fails: an error that unwinds the stack removes the temporary
// file, and so does every signal that ends the process from outside (INT, TERM, HUP, QUIT, PIPE, ALRM,
// USR1, ...) before the process ends with that signal.

#include <functional>
#include <string>

namespace vb {

// The file that writing to `target` reaches once symbolic links are followed; for a dangling link the file
// it would create. RuntimeError when the links loop.
std::string FileReachedThrough(std::string target);

class ReplacedFile {
public:
    // Opens the output for `target`. A symbolic link is followed to the file it names, which is replaced
    // and the link kept. A target that exists and is no plain file (a named pipe, a terminal, /dev/null)
    // is written directly. Where the folder does not let a new file be made but an existing target may be
    // written, the target is written in place: it is opened without truncating, `beforeWritingInPlace` is
    // called with its descriptor (it may throw to keep the target as it is, for example when the file
    // opened turns out to be one that must not be written), and only then is it emptied.
    // RuntimeError (70, 75, 76, ...) when nothing can be opened.
    explicit ReplacedFile(const std::string& target,
                          const std::function<void(int fd)>& beforeWritingInPlace = {});
    ~ReplacedFile();
    ReplacedFile(const ReplacedFile&) = delete;
    ReplacedFile& operator=(const ReplacedFile&) = delete;

    // The descriptor to write to.
    int fd() const noexcept { return fd_; }
    // The file that is finally written (the target, or the file its link names).
    const std::string& path() const noexcept { return final_; }
    // True when the bytes go to a temporary file that commit() syncs (not for a target written directly
    // or in place): a writer may start their disk writes early (vb::Writeback::Behind).
    bool syncsOnCommit() const noexcept { return !temporary_.empty(); }
    // True when the target was emptied and is written in place: a failure from here on leaves it
    // incomplete, since its earlier content is gone.
    bool writtenInPlace() const noexcept { return inPlace_; }
    // Syncs the written bytes to disk and closes the file, so that a caller putting several files in place
    // together only renames them afterwards; RuntimeError (61, 57, ...) on failure. Done by commit() when
    // not called before.
    void sync();
    // Syncs the written bytes and puts them in the target's place; RuntimeError (61, 57, ...) on failure,
    // and the target keeps its earlier content.
    void commit();

private:
    std::string target_; // as named, for errors
    std::string final_;
    std::string temporary_; // empty when written directly
    int fd_ = -1;
    bool committed_ = false;
    bool inPlace_ = false;
};

} // namespace vb

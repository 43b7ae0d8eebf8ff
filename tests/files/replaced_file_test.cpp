#include "errors/runtime_error.h"
#include "files/replaced_file.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using vbtest::ReadBytes;
using vbtest::TempDir;
namespace fs = std::filesystem;

void Put(const vb::ReplacedFile& file, std::string_view bytes) {
    ASSERT_EQ(::write(file.fd(), bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
}

// Names in the folder, so a left-over temporary file shows.
std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

TEST(ReplacedFile, TargetChangesOnlyAtCommitAndKeepsItsPermissionBits) {
    TempDir dir;
    const std::string target = dir.write("Zusammen.txt", "alt\r\n");
    ::chmod(target.c_str(), 0640);
    {
        vb::ReplacedFile file(target);
        Put(file, "neu\r\n");
        EXPECT_EQ(ReadBytes(target), "alt\r\n");
        file.commit();
    }
    EXPECT_EQ(ReadBytes(target), "neu\r\n");
    EXPECT_EQ(ModeOf(target), 0640u);
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"Zusammen.txt"});

    const std::string fresh = dir.file("Neu.txt");
    {
        vb::ReplacedFile file(fresh);
        Put(file, "x");
        EXPECT_FALSE(fs::exists(fresh)) << "a new target appears only complete";
        file.commit();
    }
    EXPECT_EQ(ReadBytes(fresh), "x");
}

TEST(ReplacedFile, WithoutCommitTheEarlierContentStaysAndNoTemporaryFileRemains) {
    TempDir dir;
    const std::string target = dir.write("Zusammen.txt", "alt\r\n");
    {
        vb::ReplacedFile file(target);
        Put(file, "halb");
    }
    EXPECT_EQ(ReadBytes(target), "alt\r\n");
    {
        vb::ReplacedFile file(dir.file("Fehlt.txt"));
        Put(file, "halb");
    }
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"Zusammen.txt"});
}

TEST(ReplacedFile, LinksAreKeptAndTheFileTheyNameIsReplaced) {
    TempDir dir;
    const std::string real = dir.write("echt.txt", "alt");
    fs::create_symlink("echt.txt", dir.file("link.txt"));
    fs::create_symlink("neu/da.txt", dir.file("lose.txt")); // dangling: names a file still to be made
    fs::create_directory(dir.path() / "neu");
    for (const std::string& link : {dir.file("link.txt"), dir.file("lose.txt")}) {
        vb::ReplacedFile file(link);
        Put(file, "neu");
        file.commit();
        EXPECT_TRUE(fs::is_symlink(link));
    }
    EXPECT_EQ(ReadBytes(real), "neu");
    EXPECT_EQ(ReadBytes(dir.file("neu/da.txt")), "neu");
}

TEST(ReplacedFile, TwoWritersOfOneTargetNeverMix) {
    TempDir dir;
    const std::string target = dir.file("Zusammen.txt");
    vb::ReplacedFile first(target);
    vb::ReplacedFile second(target);
    Put(first, "erstes Projekt\r\n");
    Put(second, "zweites\r\n");
    second.commit();
    EXPECT_EQ(ReadBytes(target), "zweites\r\n");
    first.commit();
    EXPECT_EQ(ReadBytes(target), "erstes Projekt\r\n");
}

TEST(ReplacedFile, DevicesAreWrittenDirectlyAndMissingFoldersAre76) {
    {
        vb::ReplacedFile file("/dev/null");
        EXPECT_FALSE(file.syncsOnCommit()); // nothing to sync or rename
        Put(file, "weg");
        file.commit();
    }
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    TempDir dir;
    try {
        vb::ReplacedFile file(dir.file("Fehlt/Zusammen.txt"));
        ADD_FAILURE() << "opened";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.number(), 76);
        EXPECT_EQ(e.path(), dir.file("Fehlt/Zusammen.txt"));
    }
}

TEST(ReplacedFile, ASignalMidwayLeavesTheEarlierContentAndNoTemporaryFile) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        TempDir dir;
        const std::string target = dir.write("Zusammen.txt", "alt\r\n");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            vb::ReplacedFile file(target);
            (void)!::write(file.fd(), "halb", 4);
            ::raise(signal);
            ::_exit(0); // not reached
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_EQ(ReadBytes(target), "alt\r\n");
        EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"Zusammen.txt"}) << signal;
    }
}

// A folder that takes no new file: the target is written in place, but not before the file opened has
// been looked at. Runs in a child that may not create files there (as nobody when the tests run as root).
TEST(ReplacedFile, InPlaceTheOpenedFileIsCheckedBeforeItIsEmptied) {
    TempDir dir;
    ::chmod(dir.path().c_str(), 0755);
    const std::string target = dir.write("Zusammen.txt", "alt\r\n");
    ::chmod(target.c_str(), 0666);
    const std::string refused = dir.write("Refused.txt", "bleibt\r\n");
    ::chmod(refused.c_str(), 0666);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 ? ::setgid(65534) != 0 || ::setuid(65534) != 0
                             : ::chmod(dir.path().c_str(), 0555) != 0)
            ::_exit(10);
        try {
            // The check sees the earlier content still there, and a refusal keeps it.
            std::string seen;
            try {
                vb::ReplacedFile file(refused, [&](int) {
                    seen = ReadBytes(refused);
                    throw std::runtime_error("refused");
                });
                ::_exit(11);
            } catch (const std::runtime_error&) {
            }
            if (seen != "bleibt\r\n")
                ::_exit(12);
            vb::ReplacedFile file(target, [](int) {});
            if (::write(file.fd(), "neu\r\n", 5) != 5)
                ::_exit(13);
            file.commit();
        } catch (...) {
            ::_exit(14);
        }
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::chmod(dir.path().c_str(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadBytes(refused), "bleibt\r\n");
    EXPECT_EQ(ReadBytes(target), "neu\r\n");
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"Refused.txt", "Zusammen.txt"}));
}

} // namespace

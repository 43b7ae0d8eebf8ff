#pragma once
// Test helpers for resource limits: what a piece of work costs in memory and in bytes read, measured in a
// child process so that nothing the test process did before counts; and a small file system that runs
// full.

#include <filesystem>
#include <functional>
#include <string>

namespace vbtest {

struct ChildUsage {
    bool completed = false;  // the work returned normally
    std::string failure;     // what it threw otherwise
    long peakGrowthKb = 0;   // growth of the peak resident memory while the work ran
    long long bytesRead = 0; // bytes the work read through read() and the like
};

// Runs `work` in a forked child process and reports its cost.
ChildUsage MeasureInChild(const std::function<void()>& work);

// True in a build with AddressSanitizer, where resident memory says nothing about the program's own use.
constexpr bool kSanitized =
#ifdef VBTOOLS_SANITIZED
    true;
#else
    false;
#endif

// A tmpfs of `kilobytes` mounted at `folder` (created if needed) for as long as the object lives. Mounting
// needs root; mounted() says whether it worked.
class SmallFileSystem {
public:
    SmallFileSystem(const std::filesystem::path& folder, int kilobytes);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return mounted_; }

private:
    std::filesystem::path folder_;
    bool mounted_ = false;
};

} // namespace vbtest

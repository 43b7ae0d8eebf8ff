// The pool of the command line: results in task order whatever the threads, failures in their place, and
// no more results waiting than a few per thread.

#include "ordered_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using cli::RunInOrder;

TEST(OrderedPool, ResultsInTaskOrderAndFailuresInTheirPlace) {
    for (const int jobs : {1, 2, 3, 8}) {
        std::vector<std::size_t> seen;
        std::atomic<int> running = 0;
        std::atomic<int> mostAtOnce = 0;
        const std::function<std::size_t(std::size_t)> work = [&](std::size_t i) {
            const int now = ++running;
            mostAtOnce = std::max(mostAtOnce.load(), now);
            // Early tasks take longest, so later ones finish first.
            std::this_thread::sleep_for(std::chrono::microseconds((40 - i % 40) * 50));
            --running;
            return i * i;
        };
        RunInOrder<std::size_t>(100, jobs, work, [&](std::size_t i, std::size_t&& result) {
            EXPECT_EQ(result, i * i);
            seen.push_back(i);
        });
        ASSERT_EQ(seen.size(), 100U) << jobs;
        for (std::size_t i = 0; i < seen.size(); ++i)
            EXPECT_EQ(seen[i], i) << jobs;
        EXPECT_LE(mostAtOnce.load(), jobs);
    }

    std::vector<std::size_t> handed;
    const std::function<int(std::size_t)> failing = [](std::size_t i) {
        if (i == 7)
            throw std::runtime_error("sieben");
        return static_cast<int>(i);
    };
    EXPECT_THROW(RunInOrder<int>(50, 3, failing, [&](std::size_t i, int&&) { handed.push_back(i); }),
                 std::runtime_error);
    EXPECT_EQ(handed, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5, 6})) << "the results before the failure";
}

TEST(OrderedPool, ASlowFirstTaskHoldsBackOnlyAFewResults) {
    std::atomic<std::size_t> started = 0;
    std::atomic<std::size_t> startedBeforeFirstDone = 0;
    const std::function<int(std::size_t)> work = [&](std::size_t i) {
        ++started;
        if (i == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            startedBeforeFirstDone = started.load();
        }
        return 0;
    };
    RunInOrder<int>(1000, 2, work, [](std::size_t, int&&) {});
    EXPECT_LE(startedBeforeFirstDone.load(), 5U) << "a window of two tasks per thread, and the first";
}

} // namespace

namespace {

// Every task once, on as many threads as asked (the caller's among them), and a failure stops the rest.
TEST(ThreadPool, EveryTaskOnceAndTheFirstFailureThrownAfterTheOthersStop) {
    for (const int jobs : {1, 2, 3, 8}) {
        std::vector<std::atomic<int>> runs(500);
        std::mutex mutex;
        std::set<std::thread::id> threads;
        cli::RunOnThreads(runs.size(), jobs, [&](std::size_t i) {
            ++runs[i];
            const std::lock_guard lock(mutex);
            threads.insert(std::this_thread::get_id());
            std::this_thread::sleep_for(std::chrono::microseconds(20));
        });
        for (const auto& r : runs)
            ASSERT_EQ(r.load(), 1) << jobs << " threads";
        EXPECT_TRUE(threads.contains(std::this_thread::get_id())) << "the caller works too";
        EXPECT_LE(threads.size(), static_cast<std::size_t>(jobs));
    }
    std::atomic<int> started = 0;
    std::atomic<int> running = 0;
    EXPECT_THROW(cli::RunOnThreads(1000, 3,
                                   [&](std::size_t i) {
                                       ++started;
                                       ++running;
                                       std::this_thread::sleep_for(std::chrono::microseconds(100));
                                       --running;
                                       if (i == 5)
                                           throw std::runtime_error("fünf");
                                   }),
                 std::runtime_error);
    EXPECT_EQ(running.load(), 0) << "no task is still running when the failure comes back";
    EXPECT_LT(started.load(), 1000) << "tasks not yet started are not done";
}

} // namespace

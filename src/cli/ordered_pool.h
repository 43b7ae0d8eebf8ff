#pragma once
// Pools of threads that work on numbered tasks: one hands their results on in number order, so that the
// output is the same bytes whatever the number of threads; one just does them all, for work whose results
// are put in order afterwards.

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace cli {

// The number of threads when the caller names none: the cores of this machine.
inline int DefaultJobs() {
    return static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
}

// The threads a pool runs for `count` tasks when `jobs` are asked for: no more than there are tasks, and
// no more than four per core, since more only cost memory and the system's threads.
inline int JobsFor(std::size_t count, int jobs) {
    const std::size_t perCores = 4 * static_cast<std::size_t>(DefaultJobs());
    return static_cast<int>(
        std::max<std::size_t>(1, std::min({static_cast<std::size_t>(std::max(jobs, 1)), count, perCores})));
}

// Starts `worker` on `jobs` - 1 more threads, as many as the system gives: the calling thread works too,
// so fewer threads only take longer.
template <typename Worker>
void StartThreads(std::vector<std::jthread>& threads, int jobs, const Worker& worker) {
    for (int t = 1; t < jobs; ++t) {
        try {
            threads.emplace_back(worker);
        } catch (const std::system_error&) {
            return;
        }
    }
}

// Runs `work(i)` for every i below `count` on `jobs` threads, the calling thread one of them (1: in order
// on the calling thread alone), and calls `done(i, result)` on the calling thread for i = 0, 1, 2, ... in
// that order. At most a few results per thread wait for their turn, so memory does not grow with `count`. An
// exception thrown by `work` is thrown again on the calling thread in the place of its result; work not yet
// started is then not done.
template <typename Result>
void RunInOrder(std::size_t count, int jobs, const std::function<Result(std::size_t)>& work,
                const std::function<void(std::size_t, Result&&)>& done) {
    jobs = JobsFor(count, jobs);
    if (jobs <= 1) {
        for (std::size_t i = 0; i < count; ++i)
            done(i, work(i));
        return;
    }
    const std::size_t window = static_cast<std::size_t>(jobs) * 2; // tasks ahead of the next one written
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t next = 0;    // the next task to start
    std::size_t written = 0; // the next result to hand on
    bool stopping = false;
    struct Finished {
        std::optional<Result> result;
        std::exception_ptr failure;
    };
    std::map<std::size_t, Finished> finished;

    // Does one task with the lock released; `lock` is held again on return.
    const auto doTask = [&](std::unique_lock<std::mutex>& lock) {
        const std::size_t task = next++;
        lock.unlock();
        Finished result;
        try {
            result.result.emplace(work(task));
        } catch (...) {
            result.failure = std::current_exception();
        }
        lock.lock();
        finished.emplace(task, std::move(result));
        changed.notify_all();
    };
    const auto startable = [&] { return !stopping && next < count && next < written + window; };
    const auto worker = [&] {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return stopping || next >= count || next < written + window; });
            if (stopping || next >= count)
                return;
            doTask(lock);
        }
    };
    std::vector<std::jthread> threads;
    const auto stop = [&] {
        {
            const std::lock_guard lock(mutex);
            stopping = true;
        }
        changed.notify_all();
        threads.clear(); // joins
    };
    // The calling thread is one of the `jobs`: it does a task itself whenever the next result is not
    // there yet, rather than wait and wake for every result.
    StartThreads(threads, jobs, worker);
    try {
        while (written < count) {
            Finished result;
            {
                std::unique_lock lock(mutex);
                while (!finished.contains(written)) {
                    if (startable())
                        doTask(lock);
                    else
                        changed.wait(lock);
                }
                auto at = finished.find(written);
                result = std::move(at->second);
                finished.erase(at);
            }
            if (result.failure)
                std::rethrow_exception(result.failure);
            done(written, std::move(*result.result));
            {
                const std::lock_guard lock(mutex);
                ++written;
            }
            changed.notify_all();
        }
    } catch (...) {
        stop();
        throw;
    }
    stop();
}

// Runs `work(i)` for every i below `count` on `jobs` threads, the calling thread one of them, in no
// particular order, and returns when all are done. Nothing passes between the threads but the next
// number, so short tasks cost no hand-over. The first exception thrown by `work` is thrown again here,
// after the other threads have finished the task they were on; tasks not yet started are then not done.
inline void RunOnThreads(std::size_t count, int jobs, const std::function<void(std::size_t)>& work) {
    std::atomic<std::size_t> next = 0;
    std::mutex mutex;
    std::exception_ptr failure;
    const auto worker = [&] {
        for (std::size_t task; (task = next++) < count;) {
            try {
                work(task);
            } catch (...) {
                const std::lock_guard lock(mutex);
                if (!failure)
                    failure = std::current_exception();
                next = count;
            }
        }
    };
    {
        std::vector<std::jthread> threads;
        StartThreads(threads, JobsFor(count, jobs), worker);
        worker();
    } // joins
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace cli

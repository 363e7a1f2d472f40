// Work spread over native threads. Items are handed out in runs, in order, to workers that
// compute them; the result is every item's value in item order, or the failure of the lowest
// failing item, and nothing partial. Items after the lowest failure are not started. Only the
// calling thread asks the caller's `interrupted`, every few milliseconds while the workers
// compute; the workers see a stop through the `stopped` check each item is given. An
// exception thrown by an item is rethrown in the calling thread.
#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "core/error.hpp"
#include "search/scan.hpp"

namespace zk {

// How many threads compute; 0 stands for every CPU the process may run on.
struct Workers {
    uint32_t count = 0;
};

// The number of CPUs the process may run on (its affinity mask), at least 1.
uint32_t usable_cpus();

// The threads to use for `runs` runs of work: those asked for (every usable CPU for 0), and
// no more than there are runs.
size_t threads_for(Workers workers, size_t runs);

namespace detail {

// What the workers of one computation share besides the items: stopping, finishing and the
// first exception.
class WorkerGroup {
  public:
    bool stopped() const { return stop_.load(); }
    // Records the exception in flight (the first one wins) and stops the others.
    void fail() noexcept;
    void finished() noexcept;
    // Waits for `count` workers, asking `interrupted` every few milliseconds; true when it
    // asked them to stop.
    bool wait(size_t count, const Interrupted& interrupted);
    void rethrow() const;

  private:
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable done_;
    size_t finished_ = 0;
    std::exception_ptr exception_;
};

}  // namespace detail

// compute(i, stopped) for every i below `count`, on `threads` threads claiming runs of
// `per_claim` items. In the calling thread, asking `interrupted` before each run, when no
// thread can be started.
template <typename T, typename Compute>
Result<std::vector<T>> compute_on_threads(size_t count, size_t per_claim, size_t threads,
                                          const Compute& compute, const Interrupted& interrupted) {
    std::vector<std::optional<Result<T>>> results(count);
    std::atomic<size_t> next{0};
    std::atomic<size_t> lowest_failure{count};
    detail::WorkerGroup group;
    const Interrupted stopped = [&group] { return group.stopped(); };
    const auto lower_failure = [&](size_t index) {
        size_t current = lowest_failure.load();
        while (index < current && !lowest_failure.compare_exchange_weak(current, index)) {
        }
    };
    const auto work = [&]() noexcept {
        try {
            for (;;) {
                const size_t start = next.fetch_add(per_claim);
                if (start >= lowest_failure.load() || group.stopped()) break;
                const size_t end = std::min(start + per_claim, count);
                for (size_t i = start; i < end && i <= lowest_failure.load(); ++i) {
                    if (group.stopped()) break;
                    results[i].emplace(compute(i, stopped));
                    if (!*results[i]) lower_failure(i);
                }
            }
        } catch (...) {
            group.fail();
        }
        group.finished();
    };

    std::vector<std::thread> pool;
    pool.reserve(threads);
    try {
        for (size_t i = 0; i < threads; ++i) pool.emplace_back(work);
    } catch (...) {
        // No more threads could be started: those that were finish the work.
    }
    const bool interrupted_now = group.wait(pool.size(), interrupted);
    for (std::thread& thread : pool) thread.join();

    std::vector<T> values;
    values.reserve(count);
    if (pool.empty()) {
        for (size_t i = 0; i < count; ++i) {
            if (i % per_claim == 0 && interrupted && interrupted()) {
                return std::unexpected(ZodiakitError::interrupted());
            }
            Result<T> value = compute(i, interrupted);
            if (!value) return std::unexpected(std::move(value.error()));
            values.push_back(std::move(*value));
        }
        return values;
    }
    if (interrupted_now) return std::unexpected(ZodiakitError::interrupted());
    group.rethrow();
    for (std::optional<Result<T>>& result : results) {
        if (!*result) return std::unexpected(std::move(result->error()));
        values.push_back(std::move(**result));
    }
    return values;
}

}  // namespace zk

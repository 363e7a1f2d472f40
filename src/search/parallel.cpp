#include "search/parallel.hpp"

#include <sched.h>

#include <chrono>

namespace zk {
namespace {

// How often the calling thread asks `interrupted` while the workers compute.
constexpr auto kPollInterval = std::chrono::milliseconds(5);

}  // namespace

uint32_t usable_cpus() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        const int count = CPU_COUNT(&set);
        if (count > 0) return static_cast<uint32_t>(count);
    }
    const unsigned hardware = std::thread::hardware_concurrency();
    return hardware > 0 ? hardware : 1;
}

size_t threads_for(Workers workers, size_t runs) {
    return std::min<size_t>(workers.count == 0 ? usable_cpus() : workers.count, runs);
}

namespace detail {

void WorkerGroup::fail() noexcept {
    std::lock_guard lock(mutex_);
    if (!exception_) exception_ = std::current_exception();
    stop_ = true;
}

void WorkerGroup::finished() noexcept {
    std::lock_guard lock(mutex_);
    ++finished_;
    done_.notify_all();
}

bool WorkerGroup::wait(size_t count, const Interrupted& interrupted) {
    std::unique_lock lock(mutex_);
    bool stopped = false;
    while (finished_ < count) {
        if (done_.wait_for(lock, kPollInterval, [&] { return finished_ >= count; })) break;
        if (stopped || !interrupted) continue;
        lock.unlock();
        stopped = interrupted();
        lock.lock();
        if (stopped) stop_ = true;
    }
    return stopped;
}

void WorkerGroup::rethrow() const {
    if (exception_) std::rethrow_exception(exception_);
}

}  // namespace detail
}  // namespace zk

#include "search/inputs.hpp"

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

#include "chart/chart.hpp"
#include "chart/inputs.hpp"
#include "time/instant_text.hpp"

namespace zk {
namespace {

// A batch of a million charts runs for minutes; the caller is asked every 256 charts.
constexpr size_t kChartsPerPoll = 256;

}  // namespace

Result<std::vector<Ingress>> transits_between(std::string_view from_text, std::string_view to_text,
                                              std::string_view ayanamsa_text, bool true_nodes,
                                              const Interrupted& interrupted) {
    auto ayanamsa = parse_ayanamsa(ayanamsa_text);
    if (!ayanamsa) return std::unexpected(std::move(ayanamsa.error()));
    auto from = parse_instant_text(from_text);
    if (!from) return std::unexpected(std::move(from.error()));
    auto to = parse_instant_text(to_text);
    if (!to) return std::unexpected(std::move(to.error()));
    return get_transits(*from, *to, *ayanamsa, true_nodes, interrupted);
}

Result<std::vector<TimeWindow>> time_windows_near(std::string_view base_text,
                                                  int32_t window_minutes, uint32_t varga,
                                                  std::string_view target_sign, double latitude,
                                                  double longitude, double altitude,
                                                  std::string_view ayanamsa_text,
                                                  [[maybe_unused]] bool true_nodes,
                                                  const Interrupted& interrupted) {
    auto ayanamsa = parse_ayanamsa(ayanamsa_text);
    if (!ayanamsa) return std::unexpected(std::move(ayanamsa.error()));
    if (auto valid = validate_geo(latitude, longitude, altitude); !valid) {
        return std::unexpected(
            ZodiakitError::invalid_input("ValueError: " + valid.error().display()));
    }
    auto base = parse_instant_text(base_text);
    if (!base) return std::unexpected(std::move(base.error()));
    return find_time_windows(*base, window_minutes, varga, target_sign,
                             GeoLocation{latitude, longitude, altitude}, *ayanamsa, interrupted);
}

namespace {

// One row's chart, or its failure: the place, then the instant, then the chart.
Result<Chart> chart_of_row(const ChartRow& row, const ChartOptions& options) {
    if (auto valid = validate_geo(row.latitude, row.longitude, row.altitude); !valid) {
        return std::unexpected(std::move(valid.error()));
    }
    auto utc = make_utc(row.year, row.month, row.day, row.hour, row.minute, row.second);
    if (!utc) return std::unexpected(ZodiakitError::invalid_input("Invalid date/time"));
    return recorded_chart(*utc, GeoLocation{row.latitude, row.longitude, row.altitude}, options,
                          "utc", "UTC");
}

Result<std::vector<Chart>> charts_in_order(const std::vector<ChartRow>& rows,
                                           const ChartOptions& options,
                                           const Interrupted& interrupted) {
    std::vector<Chart> charts;
    charts.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i % kChartsPerPoll == kChartsPerPoll - 1 && interrupted && interrupted()) {
            return std::unexpected(ZodiakitError::interrupted());
        }
        auto chart = chart_of_row(rows[i], options);
        if (!chart) return std::unexpected(std::move(chart.error()));
        charts.push_back(std::move(*chart));
    }
    return charts;
}

// Rows are handed out in runs of this many, in order, so that every row before the lowest
// failing one is computed and none far beyond it.
constexpr size_t kRowsPerClaim = 16;
// How often the calling thread asks `interrupted` while the workers compute.
constexpr auto kPollInterval = std::chrono::milliseconds(5);

// The shared state of one parallel batch.
class ParallelBatch {
  public:
    ParallelBatch(const std::vector<ChartRow>& rows, const ChartOptions& options)
        : rows_(rows), options_(options), results_(rows.size()), lowest_failure_(rows.size()) {}

    // One worker's loop: claims runs of rows until none is left before the lowest failure.
    void work() noexcept {
        try {
            for (;;) {
                const size_t start = next_.fetch_add(kRowsPerClaim);
                if (start >= lowest_failure_.load() || stop_.load()) break;
                const size_t end = std::min(start + kRowsPerClaim, rows_.size());
                for (size_t i = start; i < end && i <= lowest_failure_.load(); ++i) {
                    if (stop_.load()) break;
                    results_[i].emplace(chart_of_row(rows_[i], options_));
                    if (!*results_[i]) lower_failure(i);
                }
            }
        } catch (...) {
            std::lock_guard lock(mutex_);
            if (!exception_) exception_ = std::current_exception();
            stop_ = true;
        }
        std::lock_guard lock(mutex_);
        ++finished_;
        done_.notify_all();
    }

    // Waits for `count` workers, asking `interrupted` every few milliseconds; true when it
    // asked them to stop.
    bool wait(size_t count, const Interrupted& interrupted) {
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

    // The charts in row order, or the failure of the lowest failing row.
    Result<std::vector<Chart>> collect() {
        if (exception_) std::rethrow_exception(exception_);
        std::vector<Chart> charts;
        charts.reserve(rows_.size());
        for (std::optional<Result<Chart>>& result : results_) {
            if (!*result) return std::unexpected(std::move(result->error()));
            charts.push_back(std::move(**result));
        }
        return charts;
    }

  private:
    void lower_failure(size_t index) {
        size_t current = lowest_failure_.load();
        while (index < current && !lowest_failure_.compare_exchange_weak(current, index)) {
        }
    }

    const std::vector<ChartRow>& rows_;
    const ChartOptions& options_;
    std::vector<std::optional<Result<Chart>>> results_;
    std::atomic<size_t> next_{0};
    std::atomic<size_t> lowest_failure_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable done_;
    size_t finished_ = 0;
    std::exception_ptr exception_;
};

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

Result<std::vector<Chart>> charts_from_rows(const std::vector<ChartRow>& rows,
                                            std::string_view ayanamsa,
                                            std::string_view house_system, bool true_nodes,
                                            const Interrupted& interrupted) {
    return charts_from_rows_on(rows, ayanamsa, house_system, true_nodes, Workers{1}, interrupted);
}

Result<std::vector<Chart>> charts_from_rows_on(const std::vector<ChartRow>& rows,
                                               std::string_view ayanamsa,
                                               std::string_view house_system, bool true_nodes,
                                               Workers workers, const Interrupted& interrupted) {
    auto options = parse_chart_options(ayanamsa, house_system, true_nodes);
    if (!options) return std::unexpected(std::move(options.error()));
    const size_t claims = (rows.size() + kRowsPerClaim - 1) / kRowsPerClaim;
    const size_t count =
        std::min<size_t>(workers.count == 0 ? usable_cpus() : workers.count, claims);
    if (count <= 1) return charts_in_order(rows, *options, interrupted);

    ParallelBatch batch(rows, *options);
    std::vector<std::thread> threads;
    threads.reserve(count);
    try {
        for (size_t i = 0; i < count; ++i) threads.emplace_back([&batch] { batch.work(); });
    } catch (...) {
        // No thread could be started: the batch is finished by those that were.
    }
    const bool stopped = batch.wait(threads.size(), interrupted);
    for (std::thread& thread : threads) thread.join();
    if (threads.empty()) return charts_in_order(rows, *options, interrupted);
    if (stopped) return std::unexpected(ZodiakitError::interrupted());
    return batch.collect();
}

Result<ChartTable> table_from_rows(const std::vector<ChartRow>& rows, std::string_view ayanamsa,
                                   std::string_view house_system, bool true_nodes, Workers workers,
                                   const Interrupted& interrupted) {
    constexpr size_t kRowsPerPart = 4096;
    if (auto options = parse_chart_options(ayanamsa, house_system, true_nodes); !options) {
        return std::unexpected(std::move(options.error()));
    }
    ChartTable table = empty_chart_table();
    for (size_t start = 0; start < rows.size(); start += kRowsPerPart) {
        const std::vector<ChartRow> part(
            rows.begin() + static_cast<ptrdiff_t>(start),
            rows.begin() + static_cast<ptrdiff_t>(std::min(start + kRowsPerPart, rows.size())));
        auto charts =
            charts_from_rows_on(part, ayanamsa, house_system, true_nodes, workers, interrupted);
        if (!charts) return std::unexpected(std::move(charts.error()));
        append_charts(table, *charts);
    }
    return table;
}

}  // namespace zk

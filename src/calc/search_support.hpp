// What the searches over time share: reading the instants they are given, and staying
// interruptible during scans whose length the caller chooses.
#pragma once

#include <cstdint>
#include <expected>
#include <functional>
#include <string>
#include <string_view>

#include "core/datetime.hpp"

namespace zk {

// The UTC instant a date text names, in whole seconds. The forms, tried in this order:
//   RFC 3339              2024-03-01T10:30:00+05:45, 2024-03-01T05:00:00Z
//   date, time, offset    2024-03-01 10:30:00+0545
//   bare date             2024-03-01 (00:00:00 UTC)
// A fraction of a second (2024-03-01T10:30:00.75Z) is dropped. On failure the text says
// why the bare-date form did not fit, e.g. "Invalid date '2024-3-1': invalid characters".
std::expected<UtcDateTime, std::string> parse_instant_text(std::string_view text);

// Answers true when the caller wants a long computation to stop.
using Interrupted = std::function<bool()>;

// Asks `interrupted` only after `period` ephemeris calls have been counted, so a scan stays
// responsive without paying for the question at every step.
class InterruptPoll {
  public:
    InterruptPoll(const Interrupted& interrupted, uint32_t period)
        : interrupted_(interrupted), period_(period) {}

    void count(uint32_t calls) { pending_ += calls; }

    bool should_stop() {
        if (pending_ < period_) return false;
        pending_ = 0;
        return interrupted_ && interrupted_();
    }

  private:
    const Interrupted& interrupted_;
    uint32_t period_;
    uint64_t pending_ = 0;
};

}  // namespace zk

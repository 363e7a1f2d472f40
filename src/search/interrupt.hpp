// Staying interruptible during scans whose length the caller chooses.
#pragma once

#include <cstdint>
#include <functional>

namespace zk {

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

// Scans over time, shared by the panchanga's element intervals, the transits and the time
// windows. A scan samples a value at successive instants until it differs from the value
// before, then narrows the step that saw the change onto the edge. Time is a Julian day
// (double) or whole Unix seconds (int64_t); the caller chooses the steps, the bracket the
// edge is looked for in and how finely it is narrowed, and every one of those choices
// shows in the results. Errors: the first error of the sampled function, unchanged, or
// Kind::Interrupted when the caller's interrupt check asked the scan to stop.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <optional>
#include <type_traits>

#include "core/error.hpp"

namespace zk {

// Answers true when the caller wants a long computation to stop.
using Interrupted = std::function<bool()>;

// Counts the ephemeris calls of a scan and asks `interrupted` only after `period` of them,
// so a scan stays responsive without paying for the question at every step. A poll made
// without a check never stops.
class InterruptPoll {
  public:
    InterruptPoll() = default;
    InterruptPoll(const Interrupted& interrupted, uint32_t period)
        : interrupted_(&interrupted), period_(period) {}

    void count(uint32_t calls) { pending_ += calls; }

    // Interrupted when the caller asked to stop; asks only once `period` calls are pending.
    Result<void> check();

  private:
    const Interrupted* interrupted_ = nullptr;
    uint32_t period_ = UINT32_MAX;
    uint64_t pending_ = 0;
};

// Two instants around an edge: `keep` shows the value the edge finder compares with, `cross`
// does not. Either may be the earlier one.
template <typename Time>
struct Bracket {
    Time keep;
    Time cross;
};

// The middle of a bracket: halfway in Julian days, rounded towards `keep` in whole seconds.
template <typename Time>
Time middle_of(const Bracket<Time>& bracket) {
    if constexpr (std::is_integral_v<Time>) {
        return bracket.keep + (bracket.cross - bracket.keep) / 2;
    } else {
        return (bracket.keep + bracket.cross) * 0.5;
    }
}

// The edge finder every scan locates its edges with. Narrows `bracket` onto the edge between the
// instants where `matches` (Time -> Result<bool>) holds and those where it does not, halving it
// `rounds` times: the middle is tested and replaces the end it agrees with. A Julian-day bracket
// answers the middle of the last bracket. A whole-second bracket stops early once its ends are
// adjacent and answers the first second across the edge, `cross`. Each test counts one call for
// `poll`, which is not asked here. The first error of `matches` ends the search.
template <typename Time, typename Matches>
Result<Time> find_edge(const Matches& matches, Bracket<Time> bracket, int rounds,
                       InterruptPoll& poll) {
    constexpr bool kWholeSeconds = std::is_integral_v<Time>;
    for (int round = 0; round < rounds; ++round) {
        if constexpr (kWholeSeconds) {
            if (std::abs(bracket.cross - bracket.keep) < 2) break;
        }
        const Time middle = middle_of(bracket);
        ZK_TRY(agrees, matches(middle));
        poll.count(1);
        (agrees ? bracket.keep : bracket.cross) = middle;
    }
    if constexpr (kWholeSeconds) {
        return bracket.cross;
    } else {
        return middle_of(bracket);
    }
}

// One step of a scan over which the value changed.
template <typename Time, typename Value>
struct Change {
    Time before;  // the last sample showing `from`
    Time after;   // the sample showing `to`
    Value from;
    Value to;
};

// What a scan does after a change.
enum class AfterChange { Continue, Stop };

// Samples `value_at` (Time -> Result<Value>) at the instants `next_after` (Time ->
// std::optional<Time>) gives, one after another from `start`, whose value is `current`, until
// it gives none. At every sample whose value differs from the one before, `on_change`
// (Change -> Result<AfterChange>) decides whether the scan goes on. Each sample counts one
// call for `poll`, which is asked after every step, the change handled. The first error of
// `value_at` or `on_change` ends the scan.
template <typename Time, typename Value, typename ValueAt, typename NextAfter, typename OnChange>
Result<void> scan_changes(const ValueAt& value_at, Time start, Value current,
                          const NextAfter& next_after, const OnChange& on_change,
                          InterruptPoll& poll) {
    for (Time before = start;;) {
        const std::optional<Time> after = next_after(before);
        if (!after) return {};
        ZK_TRY(value, value_at(*after));
        poll.count(1);
        if (value != current) {
            ZK_TRY(next, on_change(Change<Time, Value>{before, *after, current, value}));
            if (next == AfterChange::Stop) return {};
            current = value;
        }
        before = *after;
        ZK_TRY_VOID(poll.check());
    }
}

}  // namespace zk

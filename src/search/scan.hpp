// Scans over time, shared by the panchanga's element intervals, the transits and the time
// windows. A scan samples a value at successive instants until it differs from the value
// before, then narrows the step that saw the change onto the edge. Time is a Julian day
// (double) or whole Unix seconds (int64_t); the caller chooses the steps, the bracket the
// edge is looked for in and how finely it is narrowed, and every one of those choices
// shows in the results. Errors: the first error of the sampled function, unchanged, or
// Kind::Interrupted when the caller's interrupt check asked the scan to stop.
#pragma once

#include <cmath>
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

// Narrows [lo, hi] (Julian days, lo < hi) until no double lies between its ends: the middle
// is tested with `shows_lo` (double -> Result<bool>: does it show what `lo` shows?) and
// replaces the end it agrees with. Answers the middle of the last bracket. The first error
// of `shows_lo` ends the search.
template <typename ShowsLo>
Result<double> halve_to_adjacent(const ShowsLo& shows_lo, double lo, double hi) {
    for (;;) {
        const double mid = lo + (hi - lo) * 0.5;
        if (mid <= lo || mid >= hi) break;
        ZK_TRY(agrees, shows_lo(mid));
        (agrees ? lo : hi) = mid;
    }
    return (lo + hi) * 0.5;
}

// A smooth angle at an instant: degrees, and degrees per day.
struct AngleSample {
    double deg = 0.0;
    double speed = 0.0;
};

// a - b folded into [-180, 180).
inline double angle_offset(double a, double b) {
    double d = std::fmod(a - b, 360.0);
    if (d >= 180.0) d -= 360.0;
    if (d < -180.0) d += 360.0;
    return d;
}

// A Newton step shorter than this (in days) lands within a few microseconds of the crossing:
// the error after a step of h days is about h^2 |acceleration| / (2 |speed|), under 0.5 / day
// for every angle searched this way (slow planets only while their speed is well away from
// zero), so under 2e-10 days, less than half the resolution of a Julian day of our era.
inline constexpr double kNewtonAcceptDays = 2e-5;
// How near (in days, about a quarter of a millisecond) the crossing found by Newton steps
// surely lies to the instant the sampled value changes: an instant further than this from it
// is safely on its side.
inline constexpr double kCrossingToleranceDays = 3e-9;

// The instant within [lo, hi] at which the angle `angle_at` (Time -> Result<AngleSample>) reaches
// `target` (degrees, modulo 360), the angle moving monotonically over the bracket, rising or
// falling as `rising` says, and crossing the target there once. Starts from the sample `now` at
// `t`, which may lie outside the bracket. Newton steps from the sampled speed, each kept inside
// the bracket (a step that leaves it, or a speed of the wrong sign, halves the bracket instead),
// until a step shorter than kNewtonAcceptDays, whose landing is the answer. Each sample counts
// one call for `poll`, which is not asked here. The first error of `angle_at` ends the search.
template <typename AngleAt>
Result<double> find_angle_crossing(const AngleAt& angle_at, double target, bool rising, double t,
                                   AngleSample now, double lo, double hi, InterruptPoll& poll) {
    for (int round = 0; round < 200; ++round) {
        const double offset = angle_offset(now.deg, target);
        if (t >= lo && t <= hi) {
            if (offset == 0.0) return t;
            ((offset < 0.0) == rising ? lo : hi) = t;
        }
        double next = (lo + hi) * 0.5;
        bool newton = false;
        if (now.speed != 0.0 && (now.speed > 0.0) == rising) {
            const double guess = t - offset / now.speed;
            // A last step below the resolution of a Julian day lands on an end.
            if (guess >= lo && guess <= hi) {
                next = guess;
                newton = true;
            }
        }
        if (newton && std::abs(next - t) < kNewtonAcceptDays) return next;
        // Halved down to two adjacent instants.
        if (!newton && (next <= lo || next >= hi)) return next;
        t = next;
        ZK_TRY(sample, angle_at(t));
        poll.count(1);
        now = sample;
    }
    return (lo + hi) * 0.5;
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

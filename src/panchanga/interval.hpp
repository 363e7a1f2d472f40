// When does the element current at an instant begin and end? Times are Julian days (UT).
// Coarse steps away from the instant until the element number changes, then halving onto
// the edge. Errors: the first error of the element function, unchanged, or a
// ComputationError when no change lies within 100 days.
#pragma once

#include <cstdint>
#include <functional>

#include "core/error.hpp"

namespace zk {

inline constexpr double kIntervalStepDays = 3.0;
inline constexpr double kIntervalLimitDays = 100.0;
// The bracket of an edge spans at least one 3-day step, and 3 days / 2^40 is about
// 0.24 microseconds.
inline constexpr int kIntervalHalvings = 40;

// An element function: Julian day (UT) to element number, or the ephemeris error.
using ElementFunction = std::function<Result<uint32_t>(double jd_ut)>;

struct ElementInterval {
    double start_jd = 0.0;  // start <= jd <= end
    double end_jd = 0.0;
};

// Searches backwards first, then forwards, each for at most 100 days (ComputationError
// "find_element_interval: failed to find start boundary ..." or "... end boundary ...").
// The edge is looked for between jd itself and the first sample showing another number,
// testing equality with the current number, never with that sample's: a 3-day step can
// jump over several short elements (a karana lasts about half a day), yet within one
// bracket the instants that show the current number form one stretch touching jd, because
// no number comes round again within days. The first error of `f` ends the search
// unchanged.
Result<ElementInterval> find_element_interval(const ElementFunction& f, double jd_ut);

}  // namespace zk

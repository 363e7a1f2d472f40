// When does the element current at an instant begin and end? Times are Julian days (UT).
// Coarse steps away from the instant until the element number changes, then halving onto
// the edge. Errors: the first error of the element function, unchanged, or a
// ComputationError when no change lies within 100 days.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "core/error.hpp"
#include "search/scan.hpp"

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

// An element seen as an angle: its number at an instant, and the smooth angle (degrees,
// growing in time, e.g. Moon - Sun) whose stretches of one span number it, with its speed. The
// number must be the one the element function gives, from the very same angle.
struct ElementSample {
    uint32_t number = 0;
    AngleSample angle;
};
using ElementSampler = std::function<Result<ElementSample>(double jd_ut)>;

// The same interval as find_element_interval(f, jd_ut) above, to the whole second both are read
// in (ephemeris::from_julian_day), with a few samples instead of a scan: each edge is the
// instant the angle reaches the next or the last multiple of `span_deg`, found by Newton steps
// from the angle's speed. An edge that lands within milliseconds of a half second is narrowed
// again the way the scan does, the samples far from it answered from the crossing, so that it
// rounds as the scan's does. Any error of `sample` sends the whole search down the scan, which
// then fails as it always did.
Result<ElementInterval> find_element_interval(const ElementSampler& sample, double span_deg,
                                              double jd_ut);
// The same, given the sample at jd_ut.
Result<ElementInterval> find_element_interval(const ElementSampler& sample, double span_deg,
                                              double jd_ut, const ElementSample& now);

// The edges found by Newton steps from one instant on one angle, kept for the next element
// read from the same angle: the tithi and the karana both count Moon - Sun, and every karana
// begins or ends with its tithi. The same search from the same sample gives the same edge, so
// an edge found once is taken as it is.
struct SharedEdges {
    struct Edge {
        double target_deg = 0.0;
        int direction = 0;
        double jd = 0.0;
    };
    std::array<Edge, 4> found{};
    size_t count = 0;
};
// The same again, sharing edges with the searches before it through `shared`.
Result<ElementInterval> find_element_interval(const ElementSampler& sample, double span_deg,
                                              double jd_ut, const ElementSample& now,
                                              SharedEdges& shared);

}  // namespace zk

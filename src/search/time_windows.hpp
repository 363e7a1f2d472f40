// Time windows: the intervals around an instant in which the ascendant, taken in a chosen
// divisional chart, stands in a chosen sign. Instants are whole Unix seconds inside and
// UTC date-times outside. Errors: Kind::Interrupted when the caller's interrupt check asked
// to stop; an instant whose ascendant cannot be computed simply does not qualify.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "core/datetime.hpp"
#include "core/error.hpp"
#include "core/records.hpp"
#include "core/vocab.hpp"
#include "search/scan.hpp"

namespace zk {

// Seconds between two samples of the condition.
inline constexpr int64_t kWindowSampleSeconds = 300;

// A closed interval of Unix seconds.
struct SecondsWindow {
    int64_t start;
    int64_t end;
    friend bool operator==(const SecondsWindow&, const SecondsWindow&) = default;
};

// The intervals of [start, end] in which `holds` is true. `holds` is sampled at start,
// start + 300 s, ... while <= end; each change between two samples is halved down to the
// first whole second of the new value. A window still open after the last sample closes
// at `end`. A change that reverts between two samples goes unseen. Each call of `holds`
// counts as one ephemeris call for `poll`; Interrupted when it asked to stop.
Result<std::vector<SecondsWindow>> scan_windows(int64_t start, int64_t end,
                                                const std::function<bool(int64_t)>& holds,
                                                InterruptPoll& poll);

struct TimeWindow {
    UtcDateTime start;
    UtcDateTime end;
};

// Windows within window_minutes / 2 (truncated) whole minutes either side of `base` in which
// the sign of the ascendant in the varga is `target_sign` (any letter case). The ascendant
// is the chart's own, for the place and ayanamsa; an instant whose ascendant cannot be
// computed does not qualify. A text that names no sign gives no windows. A negative
// window_minutes is an empty span.
Result<std::vector<TimeWindow>> find_time_windows(const UtcDateTime& base, int32_t window_minutes,
                                                  uint32_t varga, std::string_view target_sign,
                                                  const GeoLocation& location,
                                                  const AyanamsaMode& ayanamsa,
                                                  const Interrupted& interrupted);

}  // namespace zk

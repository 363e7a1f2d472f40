// Vimshottari dasha: nine maha dashas from the Moon's nakshatra, three levels deep.
// The Moon's longitude is in sidereal degrees, years are 365.2425 days, and period bounds
// whole seconds since 1970, clamped to the representable years. Never fails.
#pragma once

#include <vector>

#include "core/records.hpp"

namespace zk {

// The nine maha dashas from the birth instant, each with nine antardashas of nine
// pratyantardashas. The first lord is the lord of the Moon's nakshatra and runs only for
// the unelapsed part of it; the others follow the cycle with their full years (a year is
// 365.2425 days). Lengths are whole seconds, truncated toward zero. Moon at 0 deg: Ketu
// for 220,898,664 s, then Venus, Sun, ... Mercury.
// The first maha dasha's sub-periods lie on the lord's full timeline, which ends with the
// maha dasha: those over before birth are left out and the one running at birth starts
// there, at both levels, so it holds 1 to 9 antardashas.
std::vector<DashaPeriod> compute_vimshottari(double moon_longitude, const UtcDateTime& birth);

// Divides [start, end] of `lord`, nominally `years` long, into nine antardashas (the lord's
// own first, each the share y / 120 of the actual length) with nine pratyantardashas each.
// Sub-periods chain from `start`; the last may end a few seconds before `end`.
std::vector<DashaPeriod> compute_sub_periods(Planet lord, const UtcDateTime& start,
                                             const UtcDateTime& end, double years);

}  // namespace zk

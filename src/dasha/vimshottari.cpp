#include "dasha/vimshottari.hpp"

#include <algorithm>
#include <cmath>

#include "core/format.hpp"

namespace zk {
namespace {

// Years of each lord, by position in the dasha cycle (Sun, Moon, Mars, Rahu, Jupiter,
// Saturn, Mercury, Ketu, Venus); they add up to the 120-year cycle.
constexpr std::array<double, 9> kDashaYears = {6.0, 10.0, 7.0, 18.0, 16.0, 19.0, 17.0, 7.0, 20.0};
constexpr double kCycleYears = 120.0;
constexpr double kDaysPerYear = 365.2425;
constexpr double kSecondsPerDay = 86400.0;

size_t cycle_position(Planet lord) {
    return static_cast<size_t>(std::find(kDashaCycle.begin(), kDashaCycle.end(), lord) -
                               kDashaCycle.begin());
}

// Instants are whole seconds since 1970; they are kept inside the representable years so
// that no addition can overflow or leave the calendar.
struct InstantRange {
    int64_t first = to_unix_seconds({kMinYear, 1, 1, 0, 0, 0});
    int64_t last = to_unix_seconds({kMaxYear, 12, 31, 23, 59, 59});
};
const InstantRange& instant_range() {
    static const InstantRange range;
    return range;
}

int64_t advance(int64_t start, int64_t seconds) {
    const InstantRange& range = instant_range();
    if (seconds > range.last - start) return range.last;
    if (seconds < range.first - start) return range.first;
    return start + seconds;
}

UtcDateTime instant(int64_t unix_seconds) {
    // In range by construction (see advance), so the conversion cannot fail.
    return *from_unix_seconds(unix_seconds);
}

// Divides [start, end] of `lord`, nominally `years` long, into nine periods starting with
// the lord's own, each taking the share y / 120 of the actual length; `levels` counts the
// levels to build, this one included.
std::vector<DashaPeriod> divide(Planet lord, int64_t start, int64_t end, double years,
                                int levels) {
    const double length = static_cast<double>(end - start);
    const size_t first = cycle_position(lord);
    std::vector<DashaPeriod> periods;
    periods.reserve(kDashaCycle.size());
    int64_t cursor = start;
    for (size_t i = 0; i < kDashaCycle.size(); ++i) {
        const size_t position = (first + i) % kDashaCycle.size();
        const Planet sub_lord = kDashaCycle[position];
        const double sub_years = kDashaYears[position];
        // Written as the nominal sub-period over the nominal period, in this order, so that
        // every boundary lands on the same second whatever the platform.
        const double share = ((((years * sub_years) / kCycleYears) * kDaysPerYear) *
                              kSecondsPerDay) /
                             ((years * kDaysPerYear) * kSecondsPerDay) * length;
        const int64_t next = advance(cursor, saturating_i64(std::trunc(share)));
        DashaPeriod period{std::string(planet_name(sub_lord)), instant(cursor), instant(next),
                           {}};
        if (levels > 1) period.sub_periods = divide(sub_lord, cursor, next, sub_years, levels - 1);
        periods.push_back(std::move(period));
        cursor = next;
    }
    return periods;
}

}  // namespace

std::vector<DashaPeriod> compute_sub_periods(Planet lord, const UtcDateTime& start,
                                             const UtcDateTime& end, double years) {
    return divide(lord, to_unix_seconds(start), to_unix_seconds(end), years, 2);
}

std::vector<DashaPeriod> compute_vimshottari(double moon_longitude, const UtcDateTime& birth) {
    const unsigned nakshatra =
        std::min(saturating_u32(std::trunc(moon_longitude / kNakshatraSpanDeg)), 26u);
    const double traversed = std::fmod(moon_longitude, kNakshatraSpanDeg);
    const size_t first = cycle_position(nakshatra_lord(static_cast<Nakshatra>(nakshatra + 1)));
    // The first lord runs only for the part of its nakshatra the Moon has still to cross.
    const double balance = (traversed / -kNakshatraSpanDeg + 1.0) * kDashaYears[first];

    std::vector<DashaPeriod> periods;
    periods.reserve(kDashaCycle.size());
    int64_t start = to_unix_seconds(birth);
    for (size_t k = 0; k < kDashaCycle.size(); ++k) {
        const size_t position = (first + k) % kDashaCycle.size();
        const Planet lord = kDashaCycle[position];
        const double years = k == 0 ? balance : kDashaYears[position];
        const int64_t end =
            advance(start, saturating_i64(std::trunc(years * kDaysPerYear * kSecondsPerDay)));
        periods.push_back({std::string(planet_name(lord)), instant(start), instant(end),
                           divide(lord, start, end, years, 2)});
        start = end;
    }
    return periods;
}

}  // namespace zk

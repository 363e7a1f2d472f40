#include "chart/vimshottari.hpp"

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

// The share of each sub-lord (by cycle position) in a period nominally `years` long:
// the nominal sub-period over the nominal period, evaluated in exactly this order so that
// every boundary lands on the same second everywhere. The ratio depends only on the
// period's nominal years, which outside the first maha dasha are one of the nine fixed
// lengths, so those rows are computed once.
using ShareRow = std::array<double, 9>;

ShareRow share_row(double years) {
    ShareRow row{};
    for (size_t i = 0; i < row.size(); ++i) {
        row[i] = ((((years * kDashaYears[i]) / kCycleYears) * kDaysPerYear) * kSecondsPerDay) /
                 ((years * kDaysPerYear) * kSecondsPerDay);
    }
    return row;
}

// Filled when the library loads, so that reading a row needs no guard.
const std::array<ShareRow, 9> kFixedShareRows = [] {
    std::array<ShareRow, 9> out{};
    for (size_t i = 0; i < out.size(); ++i) out[i] = share_row(kDashaYears[i]);
    return out;
}();

const ShareRow& fixed_share_row(size_t position) {
    return kFixedShareRows[position];
}

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
const InstantRange kInstantRange;

int64_t nominal_seconds(double years) {
    return saturating_i64(std::trunc(years * kDaysPerYear * kSecondsPerDay));
}

int64_t advance(int64_t start, int64_t seconds) {
    const InstantRange& range = kInstantRange;
    if (seconds > range.last - start) return range.last;
    if (seconds < range.first - start) return range.first;
    return start + seconds;
}

// The whole seconds of a share of `length`, truncated toward zero. Any length a period can
// have converts directly; only a share that is not finite, or absurd, needs saturating.
int64_t share_seconds(double share, double length) {
    const double seconds = share * length;
    if (std::fabs(seconds) < 9.0e18) return static_cast<int64_t>(seconds);
    return saturating_i64(std::trunc(seconds));
}

// Appends to `periods` the period of the lord at `first` in the cycle from unix second
// `start`, `seconds` long, whose sub-lords take the shares `shares`, with `levels` levels
// below; returns its end.
int64_t add_period(std::vector<DashaPeriod>& periods, size_t first, int64_t start, int64_t seconds,
                   const ShareRow& shares, int levels) {
    DashaPeriod& period = periods.emplace_back();
    period.lord = kDashaCycle[first];
    period.start = start;
    period.end = advance(start, seconds);
    if (levels == 0) return period.end;
    // Nine periods starting with the parent's lord, each the share y / 120 of the parent's
    // actual length; the last may end a few truncated seconds before the parent.
    const double length = static_cast<double>(period.end - start);
    period.sub_periods.reserve(kDashaCycle.size());
    int64_t cursor = start;
    size_t position = first;
    for (size_t i = 0; i < kDashaCycle.size(); ++i) {
        cursor = add_period(period.sub_periods, position, cursor,
                            share_seconds(shares[position], length), fixed_share_row(position),
                            levels - 1);
        if (++position == kDashaCycle.size()) position = 0;
    }
    return period.end;
}

// Leaves out the periods over before `birth` and starts the one running at `birth` there,
// level by level. Truncated sub-period lengths can leave the last few seconds of a parent
// uncovered; a birth inside them keeps the last period, cut to that one instant.
void cut_before(std::vector<DashaPeriod>& periods, int64_t birth) {
    auto running = std::find_if(periods.begin(), periods.end(),
                                [birth](const DashaPeriod& p) { return p.end > birth; });
    if (running == periods.end()) running = std::prev(periods.end());
    periods.erase(periods.begin(), running);
    DashaPeriod& first = periods.front();
    first.start = birth;
    first.end = std::max(first.end, birth);
    if (!first.sub_periods.empty()) cut_before(first.sub_periods, birth);
}

// The first maha dasha runs from birth for the balance only, but its sub-periods keep the
// places they have on the lord's full timeline, which began before birth and ends with it.
void add_first_period(std::vector<DashaPeriod>& periods, size_t position, int64_t birth,
                      double balance) {
    const int64_t end = advance(birth, nominal_seconds(balance));
    const int64_t nominal_start = advance(end, -nominal_seconds(kDashaYears[position]));
    add_period(periods, position, nominal_start, end - nominal_start, fixed_share_row(position), 2);
    DashaPeriod& first = periods.back();
    first.start = birth;
    cut_before(first.sub_periods, birth);
}

}  // namespace

std::vector<DashaPeriod> compute_sub_periods(Planet lord, const UtcDateTime& start,
                                             const UtcDateTime& end, double years) {
    const int64_t from = to_unix_seconds(start);
    std::vector<DashaPeriod> parent;
    add_period(parent, cycle_position(lord), from, to_unix_seconds(end) - from, share_row(years),
               2);
    return std::move(parent.front().sub_periods);
}

std::vector<DashaPeriod> compute_vimshottari(double moon_longitude, const UtcDateTime& birth) {
    const size_t first = cycle_position(nakshatra_lord(nakshatra_from_longitude(moon_longitude)));
    const double traversed = degree_in_nakshatra(moon_longitude);
    // The first lord runs only for the part of its nakshatra the Moon has still to cross.
    const double balance = (traversed / -kNakshatraSpanDeg + 1.0) * kDashaYears[first];

    std::vector<DashaPeriod> periods;
    periods.reserve(kDashaCycle.size());
    add_first_period(periods, first, to_unix_seconds(birth), balance);
    int64_t start = periods.front().end;
    for (size_t k = 1; k < kDashaCycle.size(); ++k) {
        const size_t position = (first + k) % kDashaCycle.size();
        start = add_period(periods, position, start, nominal_seconds(kDashaYears[position]),
                           fixed_share_row(position), 2);
    }
    return periods;
}

}  // namespace zk

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
constexpr int64_t kSecondsPerCivilDay = 86400;

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

// Converts instants to date-times. A tree has 819 boundaries, each a few weeks after the
// one converted before it, so stepping the calendar on by months is much cheaper than
// converting each from scratch; long or backward steps fall back to the full conversion.
class Calendar {
public:
    explicit Calendar(const UtcDateTime& t)
        : date_(t), day_(days_from_civil(t.year, t.month, t.day)) {}

    // `unix_seconds` is in range (see advance).
    UtcDateTime at(int64_t unix_seconds) {
        int64_t day = unix_seconds / kSecondsPerCivilDay;
        int64_t second_of_day = unix_seconds % kSecondsPerCivilDay;
        if (second_of_day < 0) {
            second_of_day += kSecondsPerCivilDay;
            --day;
        }
        if (day < day_ || day - day_ > kLongestStep) {
            date_ = *from_unix_seconds(unix_seconds);
        } else {
            step_days(day - day_);
            date_.hour = static_cast<uint32_t>(second_of_day / 3600);
            date_.minute = static_cast<uint32_t>(second_of_day % 3600 / 60);
            date_.second = static_cast<uint32_t>(second_of_day % 60);
        }
        day_ = day;
        return date_;
    }

private:
    static constexpr int64_t kLongestStep = 100;  // days

    void step_days(int64_t days) {
        uint32_t left_in_month = days_in_month(date_.year, date_.month) - date_.day;
        while (days > left_in_month) {
            days -= left_in_month + 1;
            date_.day = 1;
            if (++date_.month > 12) {
                date_.month = 1;
                ++date_.year;
            }
            left_in_month = days_in_month(date_.year, date_.month) - 1;
        }
        date_.day += static_cast<uint32_t>(days);
    }

    UtcDateTime date_;
    int64_t day_;  // days since 1970 of date_
};

class TreeBuilder {
public:
    explicit TreeBuilder(const UtcDateTime& first) : calendar_(first) {}

    // Appends to `periods` the period of `lord` from unix second `start` (the date-time
    // `start_time`), `seconds` long and nominally `years` long, with `levels` levels below.
    // Children come before the period's own end, so boundaries are converted in time order.
    int64_t add(std::vector<DashaPeriod>& periods, Planet lord, UtcDateTime start_time,
                int64_t start, int64_t seconds, double years, int levels) {
        const int64_t end = advance(start, seconds);
        DashaPeriod& period = periods.emplace_back();
        period.lord_name = planet_name(lord);
        period.start = start_time;
        if (levels > 0) divide(period, lord, start, end, years, levels);
        period.end = calendar_.at(end);
        return end;
    }

private:
    // Nine periods starting with the parent's lord, each the share y / 120 of the parent's
    // actual length; the last may end a few truncated seconds before the parent.
    void divide(DashaPeriod& parent, Planet lord, int64_t start, int64_t end, double years,
                int levels) {
        const double length = static_cast<double>(end - start);
        const size_t first = cycle_position(lord);
        parent.sub_periods.reserve(kDashaCycle.size());
        int64_t cursor = start;
        for (size_t i = 0; i < kDashaCycle.size(); ++i) {
            const size_t position = (first + i) % kDashaCycle.size();
            const double sub_years = kDashaYears[position];
            // The nominal sub-period over the nominal period, evaluated in exactly this
            // order so that every boundary lands on the same second on every platform.
            const double share = ((((years * sub_years) / kCycleYears) * kDaysPerYear) *
                                  kSecondsPerDay) /
                                 ((years * kDaysPerYear) * kSecondsPerDay) * length;
            const UtcDateTime from = i == 0 ? parent.start : parent.sub_periods.back().end;
            cursor = add(parent.sub_periods, kDashaCycle[position], from, cursor,
                         saturating_i64(std::trunc(share)), sub_years, levels - 1);
        }
    }

    Calendar calendar_;
};

}  // namespace

std::vector<DashaPeriod> compute_sub_periods(Planet lord, const UtcDateTime& start,
                                             const UtcDateTime& end, double years) {
    const int64_t from = to_unix_seconds(start);
    std::vector<DashaPeriod> parent;
    TreeBuilder(start).add(parent, lord, start, from, to_unix_seconds(end) - from, years, 2);
    return std::move(parent.front().sub_periods);
}

std::vector<DashaPeriod> compute_vimshottari(double moon_longitude, const UtcDateTime& birth) {
    const unsigned nakshatra =
        std::min(saturating_u32(std::trunc(moon_longitude / kNakshatraSpanDeg)), 26u);
    const double traversed = std::fmod(moon_longitude, kNakshatraSpanDeg);
    const size_t first = cycle_position(nakshatra_lord(static_cast<Nakshatra>(nakshatra + 1)));
    // The first lord runs only for the part of its nakshatra the Moon has still to cross.
    const double balance = (traversed / -kNakshatraSpanDeg + 1.0) * kDashaYears[first];

    TreeBuilder builder(birth);
    std::vector<DashaPeriod> periods;
    periods.reserve(kDashaCycle.size());
    int64_t start = to_unix_seconds(birth);
    for (size_t k = 0; k < kDashaCycle.size(); ++k) {
        const size_t position = (first + k) % kDashaCycle.size();
        const double years = k == 0 ? balance : kDashaYears[position];
        const UtcDateTime from = k == 0 ? birth : periods.back().end;
        start = builder.add(periods, kDashaCycle[position], from, start,
                            saturating_i64(std::trunc(years * kDaysPerYear * kSecondsPerDay)),
                            years, 2);
    }
    return periods;
}

}  // namespace zk

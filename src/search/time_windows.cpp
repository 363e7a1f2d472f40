#include "search/time_windows.hpp"

#include "chart/divisional.hpp"
#include "ephemeris/ephemeris.hpp"

namespace zk {
namespace {

// A house computation costs several position calls, so ask the caller more often.
constexpr uint32_t kCallsPerPoll = 512;

}  // namespace

std::optional<std::vector<SecondsWindow>> scan_windows(int64_t start, int64_t end,
                                                       const std::function<bool(int64_t)>& holds,
                                                       InterruptPoll& poll) {
    std::vector<SecondsWindow> windows;
    bool state = false;
    bool open = false;
    int64_t open_since = 0;
    for (int64_t t = start; t <= end; t += kWindowSampleSeconds) {
        const bool now = holds(t);
        poll.count(1);
        if (t == start) {
            state = now;
            open = now;
            open_since = start;
        } else if (now != state) {
            int64_t lo = t - kWindowSampleSeconds, hi = t;
            while (hi - lo >= 2) {
                const int64_t mid = lo + (hi - lo) / 2;
                (holds(mid) == state ? lo : hi) = mid;
                poll.count(1);
            }
            if (now) {
                open = true;
                open_since = hi;
            } else if (open) {
                windows.push_back({open_since, hi});
                open = false;
            }
            state = now;
        }
        if (poll.should_stop()) return std::nullopt;
    }
    if (open) windows.push_back({open_since, end});
    return windows;
}

std::optional<std::vector<TimeWindow>> find_time_windows(
    const UtcDateTime& base, int32_t window_minutes, uint32_t varga, std::string_view target_sign,
    const GeoLocation& location, const AyanamsaMode& ayanamsa, const Interrupted& interrupted) {
    const auto target = sign_from_lower_name(to_lower(target_sign));
    if (!target) return std::vector<TimeWindow>{};

    ephemeris::select_sidereal_mode(ayanamsa);
    // The same instant-to-Julian-day path and ascendant call as the chart, so a window
    // boundary and a chart cast at it can never disagree.
    const auto holds = [&](int64_t seconds) {
        const auto utc = from_unix_seconds(seconds);
        if (!utc) return false;
        const auto asc = ephemeris::ascendant(ephemeris::julian_day(*utc), location.latitude,
                                              location.longitude);
        return asc && divisional_sign(varga, *asc) == sign_number(*target);
    };

    const int64_t base_seconds = to_unix_seconds(base);
    const int64_t half_seconds = static_cast<int64_t>(window_minutes / 2) * 60;
    InterruptPoll poll(interrupted, kCallsPerPoll);
    auto scanned =
        scan_windows(base_seconds - half_seconds, base_seconds + half_seconds, holds, poll);
    if (!scanned) return std::nullopt;

    std::vector<TimeWindow> windows;
    windows.reserve(scanned->size());
    for (const SecondsWindow& w : *scanned) {
        const auto start = from_unix_seconds(w.start);
        const auto end = from_unix_seconds(w.end);
        // The span lies within a few thousand years of a four-digit year.
        if (!start || !end) throw InvariantFailure("time window outside the calendar range");
        windows.push_back({*start, *end});
    }
    return windows;
}

}  // namespace zk

#include "search/time_windows.hpp"

#include <optional>

#include "chart/divisional.hpp"
#include "ephemeris/ephemeris.hpp"

namespace zk {
namespace {

// A house computation costs several position calls, so ask the caller more often.
constexpr uint32_t kWindowCallsPerPoll = 512;
// Enough halvings to bring any 300-second step down to adjacent seconds (2^9 > 300); the
// halving stops there by itself.
constexpr int kWindowMaxHalvings = 64;

}  // namespace

Result<std::vector<SecondsWindow>> scan_windows(int64_t start, int64_t end,
                                                const std::function<bool(int64_t)>& holds,
                                                InterruptPoll& poll) {
    std::vector<SecondsWindow> windows;
    if (start > end) return windows;
    bool open = holds(start);
    poll.count(1);
    ZK_TRY_VOID(poll.check());
    int64_t open_since = start;

    const auto holds_at = [&](int64_t t) -> Result<bool> { return holds(t); };
    const auto next_after = [&](int64_t t) -> std::optional<int64_t> {
        if (t + kWindowSampleSeconds > end) return std::nullopt;
        return t + kWindowSampleSeconds;
    };
    const auto on_change = [&](const Change<int64_t, bool>& change) -> Result<AfterChange> {
        const auto as_before = [&](int64_t t) -> Result<bool> { return holds(t) == change.from; };
        ZK_TRY(edge, find_edge(as_before, Bracket<int64_t>{change.before, change.after},
                               kWindowMaxHalvings, poll));
        if (change.to) {
            open = true;
            open_since = edge;
        } else if (open) {
            windows.push_back({open_since, edge});
            open = false;
        }
        return AfterChange::Continue;
    };
    ZK_TRY_VOID(scan_changes(holds_at, start, open, next_after, on_change, poll));
    if (open) windows.push_back({open_since, end});
    return windows;
}

Result<std::vector<TimeWindow>> find_time_windows(const UtcDateTime& base, int32_t window_minutes,
                                                  uint32_t varga, std::string_view target_sign,
                                                  const GeoLocation& location,
                                                  const AyanamsaMode& ayanamsa,
                                                  const Interrupted& interrupted) {
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
    InterruptPoll poll(interrupted, kWindowCallsPerPoll);
    ZK_TRY(scanned,
           scan_windows(base_seconds - half_seconds, base_seconds + half_seconds, holds, poll));

    std::vector<TimeWindow> windows;
    windows.reserve(scanned.size());
    for (const SecondsWindow& w : scanned) {
        const auto start = from_unix_seconds(w.start);
        const auto end = from_unix_seconds(w.end);
        // The span lies within a few thousand years of a four-digit year.
        if (!start || !end) throw InvariantFailure("time window outside the calendar range");
        windows.push_back({*start, *end});
    }
    return windows;
}

}  // namespace zk

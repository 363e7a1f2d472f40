#include "search/transits.hpp"

#include <algorithm>
#include <optional>

#include "ephemeris/ephemeris.hpp"

namespace zk {
namespace {

constexpr double kTransitStepDays = 1.0;
// One day / 2^20 is about 0.08 s, well inside the whole second an ingress is given in.
constexpr int kTransitHalvings = 20;
// About a few milliseconds of ephemeris work between two questions to the caller.
constexpr uint32_t kTransitCallsPerPoll = 2048;

// Appends the ingresses of one planet in [j0, j1) to `found`, in time order.
Result<void> planet_ingresses(Planet planet, double j0, double j1, bool true_nodes,
                              InterruptPoll& poll, std::vector<Ingress>& found) {
    const auto sign_at = [&](double jd) -> Result<Sign> {
        return get_planet_sign(jd, planet, true_nodes);
    };
    const auto next_after = [&](double t) -> std::optional<double> {
        if (!(t < j1)) return std::nullopt;
        return std::min(t + kTransitStepDays, j1);
    };
    const auto on_change = [&](const Change<double, Sign>& change) -> Result<AfterChange> {
        const auto in_new_sign = [&](double jd) -> Result<bool> {
            return get_planet_sign(jd, planet, true_nodes) == change.to;
        };
        // Over the whole day before the sample, even when the last step was shorter.
        const Bracket<double> day_before{change.after, change.after - kTransitStepDays};
        ZK_TRY(jd, find_edge(in_new_sign, day_before, kTransitHalvings, poll));
        const auto when = ephemeris::from_julian_day(jd);
        // Within a day of two dates that parsed, so always a representable date.
        if (!when) throw InvariantFailure("ingress outside the calendar range");
        const auto pos = ephemeris::calc_ut(jd, true_nodes, planet);
        poll.count(1);
        found.push_back({*when, change.from, change.to, planet, pos && pos->speed < 0.0});
        return AfterChange::Continue;
    };
    return scan_changes(sign_at, j0, get_planet_sign(j0, planet, true_nodes), next_after, on_change,
                        poll);
}

}  // namespace

Sign get_planet_sign(double jd, Planet planet, bool true_nodes) {
    const auto pos = ephemeris::calc_ut(jd, true_nodes, planet);
    return sign_from_longitude(normalize_degrees(pos ? pos->longitude : 0.0));
}

Result<std::vector<Ingress>> get_transits(const UtcDateTime& from, const UtcDateTime& to,
                                          const AyanamsaMode& ayanamsa, bool true_nodes,
                                          const Interrupted& interrupted) {
    ephemeris::select_sidereal_mode(ayanamsa);
    const double j0 = ephemeris::julian_day(from);
    const double j1 = ephemeris::julian_day(to);
    InterruptPoll poll(interrupted, kTransitCallsPerPoll);

    std::vector<Ingress> found;
    for (Planet planet : kAllPlanets) {
        ZK_TRY_VOID(planet_ingresses(planet, j0, j1, true_nodes, poll, found));
    }
    std::stable_sort(found.begin(), found.end(), [](const Ingress& a, const Ingress& b) {
        return a.ingress_time < b.ingress_time;
    });
    return found;
}

}  // namespace zk

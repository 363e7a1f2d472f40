#include "search/transits.hpp"

#include <algorithm>

#include "core/error.hpp"
#include "ephemeris/ephemeris.hpp"

namespace zk {
namespace {

constexpr double kStepDays = 1.0;
constexpr int kBisectionRounds = 20;
// About a few milliseconds of ephemeris work between two questions to the caller.
constexpr uint32_t kCallsPerPoll = 2048;

}  // namespace

Sign get_planet_sign(double jd, Planet planet, bool true_nodes) {
    const auto pos = ephemeris::calc_ut(jd, true_nodes, planet);
    return sign_from_longitude(normalize_degrees(pos ? pos->longitude : 0.0));
}

std::optional<std::vector<Ingress>> get_transits(const UtcDateTime& from, const UtcDateTime& to,
                                                 const AyanamsaMode& ayanamsa, bool true_nodes,
                                                 const Interrupted& interrupted) {
    ephemeris::select_sidereal_mode(ayanamsa);
    const double j0 = ephemeris::julian_day(from);
    const double j1 = ephemeris::julian_day(to);
    InterruptPoll poll(interrupted, kCallsPerPoll);

    std::vector<Ingress> found;
    for (Planet planet : kAllPlanets) {
        Sign sign = get_planet_sign(j0, planet, true_nodes);
        for (double t = j0; t < j1;) {
            const double next = std::min(t + kStepDays, j1);
            const Sign next_sign = get_planet_sign(next, planet, true_nodes);
            poll.count(1);
            if (next_sign != sign) {
                // Over the whole day before the sample, even when the last step was shorter.
                double lo = next - kStepDays, hi = next;
                for (int round = 0; round < kBisectionRounds; ++round) {
                    const double mid = (lo + hi) * 0.5;
                    (get_planet_sign(mid, planet, true_nodes) == next_sign ? hi : lo) = mid;
                }
                const double jd = (lo + hi) * 0.5;
                const auto when = ephemeris::from_julian_day(jd);
                // Within a day of two dates that parsed, so always a representable date.
                if (!when) throw InvariantFailure("ingress outside the calendar range");
                const auto pos = ephemeris::calc_ut(jd, true_nodes, planet);
                found.push_back({*when, sign, next_sign, planet, pos && pos->speed < 0.0});
                poll.count(kBisectionRounds + 1);
                sign = next_sign;
            }
            t = next;
            if (poll.should_stop()) return std::nullopt;
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const Ingress& a, const Ingress& b) {
        return a.ingress_time < b.ingress_time;
    });
    return found;
}

}  // namespace zk

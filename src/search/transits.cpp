#include "search/transits.hpp"

#include <algorithm>
#include <cmath>
#include <optional>

#include "ephemeris/ephemeris.hpp"

namespace zk {
namespace {

constexpr double kTransitStepDays = 1.0;
// One day / 2^20 is about 0.08 s, well inside the whole second an ingress is given in.
constexpr int kTransitHalvings = 20;
// About a few milliseconds of ephemeris work between two questions to the caller.
constexpr uint32_t kTransitCallsPerPoll = 2048;

// Bounds on a planet's sidereal motion (degrees per day, and per day per day): its greatest
// speed forwards and backwards and its greatest change of speed, with a quarter to spare over
// the largest seen from 1800 to 2400 in steps of six hours. Zero backwards: never retrograde.
struct MotionBounds {
    double forward;
    double backward;
    double acceleration;
};
// In Planet order: Sun, Moon, Mars, Mercury, Jupiter, Venus, Saturn; then the true node and
// the mean node (for Rahu and Ketu alike).
constexpr MotionBounds kMotionBounds[] = {
    {1.275, 0.0, 0.001},   {19.25, 0.0, 0.644},   {0.99, 0.503, 0.041},
    {2.754, 1.734, 0.248}, {0.304, 0.171, 0.124}, {1.578, 0.791, 0.054},
    {0.168, 0.104, 0.139}, {0.182, 0.324, 0.756}, {0.0, 0.0663, 0.001},
};

const MotionBounds& motion_bounds(Planet planet, bool true_nodes) {
    if (planet == Planet::Rahu || planet == Planet::Ketu) return kMotionBounds[true_nodes ? 7 : 8];
    return kMotionBounds[planet_index(planet)];
}

Ingress ingress_at(double jd, Planet planet, Sign from, Sign to, bool retrograde) {
    const auto when = ephemeris::from_julian_day(jd);
    // Within a day of two dates that parsed, so always a representable date.
    if (!when) throw InvariantFailure("ingress outside the calendar range");
    return {*when, from, to, planet, retrograde};
}

// The legacy of the ingress search, and its definition: the sign sampled once a day, and
// each change halved 20 times over the whole day before the sample that showed it. Appends
// the ingresses of one planet in [j0, j1) to `found`, in time order.
Result<void> sampled_ingresses(Planet planet, double j0, double j1, bool true_nodes,
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
            ZK_TRY(sign, get_planet_sign(jd, planet, true_nodes));
            return sign == change.to;
        };
        // Over the whole day before the sample, even when the last step was shorter.
        const Bracket<double> day_before{change.after, change.after - kTransitStepDays};
        ZK_TRY(jd, find_edge(in_new_sign, day_before, kTransitHalvings, poll));
        ZK_TRY(pos, ephemeris::calc_ut(jd, true_nodes, planet));
        poll.count(1);
        found.push_back(ingress_at(jd, planet, change.from, change.to, pos.speed < 0.0));
        return AfterChange::Continue;
    };
    ZK_TRY(first, get_planet_sign(j0, planet, true_nodes));
    return scan_changes(sign_at, j0, first, next_after, on_change, poll);
}

Sign sign_of(const PlanetPosition& pos) {
    return sign_from_longitude(normalize_degrees(pos.longitude));
}

// An ingress located between two daily samples: its instant and whether the planet was
// moving backwards.
struct Located {
    double jd;
    bool retrograde;
};

// The ephemeris as the stepped search below asks it, for one planet. A failed call answers
// an empty position and is remembered; the search then gives up.
class SteppedSearch {
  public:
    SteppedSearch(Planet planet, bool true_nodes, InterruptPoll& poll)
        : planet_(planet),
          true_nodes_(true_nodes),
          poll_(poll),
          bounds_(motion_bounds(planet, true_nodes)) {}

    bool failed() const { return failed_; }

    PlanetPosition position(double jd) {
        auto pos = ephemeris::calc_ut(jd, true_nodes_, planet_);
        poll_.count(1);
        if (!pos) {
            failed_ = true;
            return PlanetPosition{};
        }
        return *pos;
    }

    // The last daily sample after `before` (and before j1) that the planet's greatest speed
    // proves to lie in `current`: to either edge of the sign at its greatest speed.
    double last_safe_sample(double before, double j1, const PlanetPosition& at_before,
                            Sign current) const {
        const double within = normalize_degrees(at_before.longitude) -
                              (static_cast<double>(sign_number(current)) - 1.0) * kSignSpanDeg;
        const double days_forward =
            bounds_.forward > 0.0 ? (kSignSpanDeg - within) / bounds_.forward : 1e9;
        const double days_back = bounds_.backward > 0.0 ? within / bounds_.backward : 1e9;
        const double safe_days = std::min(days_forward, days_back);
        // Samples t + 1, ..., t + k with k < safe_days show the current sign; go to the last.
        double skip_to = before;
        for (double k = 1.0; k < safe_days && skip_to + kTransitStepDays < j1; k += 1.0) {
            skip_to += kTransitStepDays;
        }
        return skip_to;
    }

    // The change from `current` to `next` between the samples at `before` and `after`.
    Result<Located> locate(double before, double after, const PlanetPosition& at_before,
                           const PlanetPosition& at_after, Sign current, Sign next) {
        const bool rising = at_after.speed > 0.0;
        const bool steady = (at_before.speed > 0.0) == rising &&
                            std::min(std::abs(at_before.speed), std::abs(at_after.speed)) >
                                bounds_.acceleration * kTransitStepDays &&
                            before == after - kTransitStepDays;
        const bool adjacent = next == nth_sign_from(current, rising ? 2 : 12);
        if (steady && adjacent) {
            ZK_TRY(jd, halve_about_crossing(after, at_after, current, next, rising));
            return Located{jd, !rising};
        }
        const auto in_new_sign = [&](double jd) -> Result<bool> { return in_sign(jd, next); };
        InterruptPoll uncounted;
        ZK_TRY(halved, find_edge(in_new_sign, day_before(after), kTransitHalvings, uncounted));
        const PlanetPosition pos = position(halved);
        return Located{halved, pos.speed < 0.0};
    }

  private:
    static Bracket<double> day_before(double after) {
        return Bracket<double>{after, after - kTransitStepDays};
    }

    Result<bool> in_sign(double jd, Sign sign) {
        const PlanetPosition pos = position(jd);
        return sign_of(pos) == sign;
    }

    // The halving replayed against the exact crossing of the sign's edge: middles far from it
    // answered by their side, those near it sampled.
    Result<double> halve_about_crossing(double after, const PlanetPosition& at_after, Sign current,
                                        Sign next, bool rising) {
        const double edge =
            (rising ? sign_number(current) : sign_number(current) - 1) * kSignSpanDeg;
        const auto angle_at = [&](double t) -> Result<AngleSample> {
            const PlanetPosition pos = position(t);
            return AngleSample{pos.longitude, pos.speed};
        };
        ZK_TRY(crossing, find_angle_crossing(angle_at, edge, rising, after,
                                             {at_after.longitude, at_after.speed},
                                             after - kTransitStepDays, after, poll_));
        const auto beyond = [&](double t) -> Result<bool> {
            if (std::abs(t - crossing) > kCrossingToleranceDays) return t > crossing;
            return in_sign(t, next);
        };
        InterruptPoll uncounted;
        return find_edge(beyond, day_before(after), kTransitHalvings, uncounted);
    }

    Planet planet_;
    bool true_nodes_;
    InterruptPoll& poll_;
    const MotionBounds& bounds_;
    bool failed_ = false;
};

// The same ingresses with far fewer ephemeris calls. Daily samples that the planet's greatest
// speed proves to lie in the sign of an earlier one are skipped, and a change is located from
// the exact crossing of the sign's edge, found by Newton steps: the halving above is replayed
// against it, every middle far from the crossing answered by the side it lies on and only
// those within kCrossingToleranceDays sampled, so that each ingress is the very instant the
// halving gives. A day over which the planet may turn (its speed too small at either end for
// its greatest acceleration) is halved as above. Nothing when an ephemeris call failed: that
// planet is then left to the sampled search, which reports the failure.
Result<bool> stepped_ingresses(Planet planet, double j0, double j1, bool true_nodes,
                               InterruptPoll& poll, std::vector<Ingress>& found) {
    SteppedSearch search(planet, true_nodes, poll);
    double before = j0;
    PlanetPosition at_before = search.position(before);
    if (search.failed()) return false;
    Sign current = sign_of(at_before);
    while (before < j1) {
        const double skip_to = search.last_safe_sample(before, j1, at_before, current);
        if (skip_to > before + kTransitStepDays) {
            before = skip_to;
            at_before = search.position(before);
            if (search.failed()) return false;
            if (sign_of(at_before) != current) {
                throw InvariantFailure("a planet left its sign faster than it can move");
            }
            ZK_TRY_VOID(poll.check());
            continue;
        }
        const double after = std::min(before + kTransitStepDays, j1);
        const PlanetPosition at_after = search.position(after);
        if (search.failed()) return false;
        const Sign next = sign_of(at_after);
        if (next != current) {
            ZK_TRY(located, search.locate(before, after, at_before, at_after, current, next));
            if (search.failed()) return false;
            found.push_back(ingress_at(located.jd, planet, current, next, located.retrograde));
            current = next;
        }
        before = after;
        at_before = at_after;
        ZK_TRY_VOID(poll.check());
    }
    return true;
}

}  // namespace

Result<Sign> get_planet_sign(double jd, Planet planet, bool true_nodes) {
    ZK_TRY(pos, ephemeris::calc_ut(jd, true_nodes, planet));
    return sign_from_longitude(normalize_degrees(pos.longitude));
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
        const size_t before = found.size();
        ZK_TRY(complete, stepped_ingresses(planet, j0, j1, true_nodes, poll, found));
        if (complete) continue;
        found.resize(before);
        ZK_TRY_VOID(sampled_ingresses(planet, j0, j1, true_nodes, poll, found));
    }
    std::stable_sort(found.begin(), found.end(), [](const Ingress& a, const Ingress& b) {
        return a.ingress_time < b.ingress_time;
    });
    return found;
}

}  // namespace zk

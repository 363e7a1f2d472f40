#include "panchanga/element_edges.hpp"

#include <algorithm>
#include <cmath>
#include <utility>
#include <variant>

#include "core/hermite.hpp"
#include "core/vocab.hpp"
#include "ephemeris/ephemeris.hpp"
#include "panchanga/elements.hpp"

namespace zk {
namespace {

constexpr double kSampleStepDays = 0.375;
// Below this a bracket holding two changes is not split further (never met: elements last
// hours).
constexpr double kSmallestBracketDays = 1e-9;
constexpr int kNewtonRounds = 6;
// A Newton step below this (about 86 ms) leaves the edge within 1e-13 days: the angles
// accelerate by less than 1 degree a day per day and move by more than 10 degrees a day, so
// the next step would be under 0.05 x this squared. The edge is taken without another
// sample.
constexpr double kSettledStepDays = 1e-6;
constexpr int kHermiteRounds = 8;

// The Moon and the Sun at an instant, with their speeds.
struct Sky {
    double moon = 0.0;
    double sun = 0.0;
    double moon_speed = 0.0;
    double sun_speed = 0.0;
};

using Numbers = std::array<uint32_t, 4>;

Result<Sky> sky_at(double jd, bool true_nodes) {
    auto moon = ephemeris::calc_ut(jd, true_nodes, Planet::Moon);
    if (!moon) return std::unexpected(moon.error());
    auto sun = ephemeris::calc_ut(jd, true_nodes, Planet::Sun);
    if (!sun) return std::unexpected(sun.error());
    return Sky{moon->longitude, sun->longitude, moon->speed, sun->speed};
}

// The Sun between two samples of the sky, by the cubic through its longitudes and speeds:
// within 1e-10 degrees over nine hours (its longitude's fourth derivative stays below 2e-7
// degrees a day), so that an edge's Newton steps need only the Moon.
struct SunBetween {
    double t0, t1;
    Sky a, b;

    // Longitude and speed at t, in degrees and degrees a day.
    std::pair<double, double> at(double t) const {
        const CubicHermite w((t - t0) / (t1 - t0), t1 - t0);
        const double y1 = a.sun + normalize_degrees(b.sun - a.sun);
        return {w.value(a.sun, a.sun_speed, y1, b.sun_speed),
                w.rate(a.sun, a.sun_speed, y1, b.sun_speed)};
    }
};

// The numbers the element functions give from the same longitudes.
Numbers numbers_of(const Sky& s) {
    return Numbers{tithi_number(s.moon, s.sun), nakshatra_number(s.moon),
                   yoga_number(s.moon, s.sun), karana_number(s.moon, s.sun)};
}

// How many of the element make a full circle (30 tithis, 60 karanas, 27 of the others).
uint32_t cycle_of(PanchangaElement element) {
    return static_cast<uint32_t>(std::lround(kFullCircleDeg / element_span_deg(element)));
}

// The angle an element divides (Moon - Sun, Moon + Sun or the Moon) and its rate, in
// degrees and degrees a day.
struct Angle {
    double degrees = 0.0;
    double rate = 0.0;
};

Angle angle_of(PanchangaElement element, const Sky& s) {
    switch (element) {
        case PanchangaElement::Nakshatra:
            return Angle{s.moon, s.moon_speed};
        case PanchangaElement::Yoga:
            return Angle{s.moon + s.sun, s.moon_speed + s.sun_speed};
        case PanchangaElement::Tithi:
        case PanchangaElement::Karana:
            break;
    }
    return Angle{s.moon - s.sun, s.moon_speed - s.sun_speed};
}

Result<Angle> angle_at(PanchangaElement element, double jd, bool true_nodes,
                       const SunBetween& sun) {
    auto moon = ephemeris::calc_ut(jd, true_nodes, Planet::Moon);
    if (!moon) return std::unexpected(moon.error());
    const auto [sun_deg, sun_speed] = sun.at(jd);
    return angle_of(element, Sky{moon->longitude, sun_deg, moon->speed, sun_speed});
}

// The angle past the boundary, in (-180, 180].
double past(double degrees, double boundary) {
    const double d = normalize_degrees(degrees - boundary);
    return d > 180.0 ? d - kFullCircleDeg : d;
}

// Where the cubic through the angles and rates at both ends of a bracket reaches the
// boundary: a start for Newton's method within milliseconds of the edge when the bracket
// holds one change. The bracket's middle when the ends do not straddle the boundary.
double hermite_guess(double lo, double hi, Angle a, Angle b, double boundary) {
    const double h = hi - lo;
    const double y0 = past(a.degrees, boundary);
    const double y1 = y0 + normalize_degrees(b.degrees - a.degrees);
    if (!(y0 <= 0.0 && y1 > 0.0)) return lo + h * 0.5;
    double s = -y0 / (y1 - y0);
    for (int round = 0; round < kHermiteRounds; ++round) {
        const CubicHermite w(s, h);
        const double p = w.value(y0, a.rate, y1, b.rate);
        const double dp = w.rate(y0, a.rate, y1, b.rate) * h;
        if (!(dp > 0.0)) break;
        s = std::clamp(s - p / dp, 0.0, 1.0);
    }
    return lo + h * s;
}

// Newton's method from `start` inside [lo, hi] onto the angle at which `before` ends;
// nothing when it does not settle inside the bracket.
Result<std::optional<double>> newton_edge(PanchangaElement element, double lo, double hi,
                                          double start, uint32_t before, bool true_nodes,
                                          const SunBetween& sun, InterruptPoll& poll) {
    const double boundary = before * element_span_deg(element);
    double t = start;
    for (int round = 0; round < kNewtonRounds; ++round) {
        auto a = angle_at(element, t, true_nodes, sun);
        if (!a) return std::unexpected(a.error());
        poll.count(1);
        if (!(a->rate > 0.0)) break;
        const double step = past(a->degrees, boundary) / a->rate;
        t -= step;
        if (std::fabs(step) < kSettledStepDays) {
            if (t > lo && t < hi) return std::optional<double>(t);
            break;
        }
    }
    return std::optional<double>();
}

// Narrows [lo, hi] onto adjacent Julian days; lo shows `before`, hi does not.
Result<double> bisect_to_adjacent(PanchangaElement element, double lo, double hi, uint32_t before,
                                  bool true_nodes, InterruptPoll& poll) {
    const auto shows_before = [&](double jd) -> Result<bool> {
        ZK_TRY(value, element_at(element, jd, true_nodes));
        poll.count(1);
        return value == before;
    };
    return halve_to_adjacent(shows_before, lo, hi);
}

// One element's edges between two samples of the sky.
struct Bracket {
    PanchangaElement element;
    double a;
    uint32_t na;
    double b;
    uint32_t nb;
    std::optional<double> guess;  // a start for Newton's method, else the middle
    const SunBetween* sun;        // over the samples the bracket lies between
};

// Appends the edges between two instants showing different numbers: one edge when the
// second number follows the first, else the bracket is split and each half searched.
Result<std::monostate> edges_between(const Bracket& k, bool true_nodes, InterruptPoll& poll,
                                     std::vector<double>& out) {
    if (k.nb == k.na % cycle_of(k.element) + 1 || k.b - k.a < kSmallestBracketDays) {
        const double start = k.guess.value_or(k.a + (k.b - k.a) * 0.5);
        auto fast = newton_edge(k.element, k.a, k.b, start, k.na, true_nodes, *k.sun, poll);
        if (!fast) return std::unexpected(fast.error());
        if (*fast) {
            out.push_back(**fast);
            return std::monostate{};
        }
        auto edge = bisect_to_adjacent(k.element, k.a, k.b, k.na, true_nodes, poll);
        if (!edge) return std::unexpected(edge.error());
        out.push_back(*edge);
        return std::monostate{};
    }
    const double mid = k.a + (k.b - k.a) * 0.5;
    auto nm = element_at(k.element, mid, true_nodes);
    if (!nm) return std::unexpected(nm.error());
    if (*nm != k.na) {
        auto left =
            edges_between({k.element, k.a, k.na, mid, *nm, {}, k.sun}, true_nodes, poll, out);
        if (!left) return left;
    }
    if (*nm == k.nb) return std::monostate{};
    return edges_between({k.element, mid, *nm, k.b, k.nb, {}, k.sun}, true_nodes, poll, out);
}

}  // namespace

Result<ElementSample> element_sample(PanchangaElement element, double jd_ut, bool true_nodes) {
    switch (element) {
        case PanchangaElement::Tithi:
            return tithi_sample(jd_ut, true_nodes);
        case PanchangaElement::Nakshatra:
            return nakshatra_sample(jd_ut, true_nodes);
        case PanchangaElement::Yoga:
            return yoga_sample(jd_ut, true_nodes);
        case PanchangaElement::Karana:
            break;
    }
    return karana_sample(jd_ut, true_nodes);
}

Result<uint32_t> element_at(PanchangaElement element, double jd_ut, bool true_nodes) {
    ZK_TRY(sample, element_sample(element, jd_ut, true_nodes));
    return sample.number;
}

double element_span_deg(PanchangaElement element) {
    switch (element) {
        case PanchangaElement::Tithi:
            return kTithiSpanDeg;
        case PanchangaElement::Karana:
            return kKaranaSpanDeg;
        case PanchangaElement::Nakshatra:
        case PanchangaElement::Yoga:
            break;
    }
    return kNakshatraSpanDeg;
}

Result<ElementEdges> find_element_edges(double from_jd, double to_jd, bool true_nodes,
                                        InterruptPoll& poll) {
    ElementEdges found;
    auto& karana_edges = found.edges[static_cast<size_t>(PanchangaElement::Karana)];
    auto& tithi_edges = found.edges[static_cast<size_t>(PanchangaElement::Tithi)];
    ZK_TRY(before, sky_at(from_jd, true_nodes));
    for (double t = from_jd; t < to_jd;) {
        const double next = std::min(t + kSampleStepDays, to_jd);
        ZK_TRY(after, sky_at(next, true_nodes));
        poll.count(2);
        const Numbers n0 = numbers_of(before), n1 = numbers_of(after);
        const SunBetween sun{t, next, before, after};
        for (PanchangaElement element : kPanchangaElements) {
            const auto k = static_cast<size_t>(element);
            if (n0[k] == n1[k]) continue;
            // A tithi ends with its second karana: its edges are those of the karanas with an
            // even number, found next.
            if (element == PanchangaElement::Tithi) continue;
            const bool one_change = n1[k] == n0[k] % cycle_of(element) + 1;
            const std::optional<double> guess =
                one_change ? std::optional<double>(hermite_guess(t, next, angle_of(element, before),
                                                                 angle_of(element, after),
                                                                 n0[k] * element_span_deg(element)))
                           : std::nullopt;
            const size_t had = found.edges[k].size();
            ZK_TRY_VOID(edges_between({element, t, n0[k], next, n1[k], guess, &sun}, true_nodes,
                                      poll, found.edges[k]));
            if (element != PanchangaElement::Karana) continue;
            // The karanas ending in this bracket are n0, n0 + 1, ... in turn.
            uint32_t ending = n0[k];
            for (size_t i = had; i < karana_edges.size();
                 ++i, ending = ending % cycle_of(element) + 1) {
                if (ending % 2 == 0) tithi_edges.push_back(karana_edges[i]);
            }
        }
        ZK_TRY_VOID(poll.check());
        before = after;
        t = next;
    }
    return found;
}

std::optional<ElementInterval> interval_between_edges(const std::vector<double>& edges, double jd) {
    const auto after = std::upper_bound(edges.begin(), edges.end(), jd);
    if (after == edges.begin() || after == edges.end()) return std::nullopt;
    return ElementInterval{*(after - 1), *after};
}

}  // namespace zk

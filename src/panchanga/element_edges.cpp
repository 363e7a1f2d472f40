#include "panchanga/element_edges.hpp"

#include <algorithm>
#include <cmath>
#include <variant>

#include "core/vocab.hpp"
#include "ephemeris/ephemeris.hpp"
#include "panchanga/elements.hpp"

namespace zk {
namespace {

constexpr double kSampleStepDays = 0.25;
// Below this a bracket holding two changes is not split further (never met: elements last
// hours).
constexpr double kSmallestBracketDays = 1e-9;
constexpr int kNewtonRounds = 6;
// Newton's steps shrink below this (about 0.1 ms) within three rounds from the middle of a
// six-hour bracket; the edge is then as close to the element function's own change as
// bisection gets it, within a few units of a Julian day's last place.
constexpr double kNewtonToleranceDays = 1e-9;

using Numbers = std::array<uint32_t, 4>;

Result<Numbers> numbers_at(double jd, bool true_nodes) {
    auto l = luminaries_at(jd, true_nodes);
    if (!l) return std::unexpected(l.error());
    return Numbers{tithi_number(l->moon_deg, l->sun_deg), nakshatra_number(l->moon_deg),
                   yoga_number(l->moon_deg, l->sun_deg), karana_number(l->moon_deg, l->sun_deg)};
}

double span_of(PanchangaElement element) {
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

// The angle an element divides (Moon - Sun, Moon + Sun or the Moon) and its rate, in
// degrees and degrees a day.
struct Angle {
    double degrees = 0.0;
    double rate = 0.0;
};

Result<Angle> angle_at(PanchangaElement element, double jd, bool true_nodes) {
    auto moon = ephemeris::calc_ut(jd, true_nodes, Planet::Moon);
    if (!moon) return std::unexpected(moon.error());
    if (element == PanchangaElement::Nakshatra) return Angle{moon->longitude, moon->speed};
    auto sun = ephemeris::calc_ut(jd, true_nodes, Planet::Sun);
    if (!sun) return std::unexpected(sun.error());
    if (element == PanchangaElement::Yoga) {
        return Angle{moon->longitude + sun->longitude, moon->speed + sun->speed};
    }
    return Angle{moon->longitude - sun->longitude, moon->speed - sun->speed};
}

// The angle past the boundary, in (-180, 180].
double past(double degrees, double boundary) {
    const double d = normalize_degrees(degrees - boundary);
    return d > 180.0 ? d - kFullCircleDeg : d;
}

// Newton's method from the middle of [lo, hi] onto the angle at which `before` ends;
// nothing when it does not settle inside the bracket.
Result<std::optional<double>> newton_edge(PanchangaElement element, double lo, double hi,
                                          uint32_t before, bool true_nodes, InterruptPoll& poll) {
    const double boundary = before * span_of(element);
    double t = lo + (hi - lo) * 0.5;
    for (int round = 0; round < kNewtonRounds; ++round) {
        auto a = angle_at(element, t, true_nodes);
        if (!a) return std::unexpected(a.error());
        poll.count(2);
        if (!(a->rate > 0.0)) break;
        const double step = past(a->degrees, boundary) / a->rate;
        t -= step;
        if (std::fabs(step) < kNewtonToleranceDays) {
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

// Appends the edges between two instants showing different numbers: one edge when the
// second number follows the first, else the bracket is split and each half searched.
Result<std::monostate> edges_between(PanchangaElement element, double a, uint32_t na, double b,
                                     uint32_t nb, bool true_nodes, InterruptPoll& poll,
                                     std::vector<double>& out) {
    const auto cycle_length = static_cast<uint32_t>(std::lround(kFullCircleDeg / span_of(element)));
    if (nb == na % cycle_length + 1 || b - a < kSmallestBracketDays) {
        auto fast = newton_edge(element, a, b, na, true_nodes, poll);
        if (!fast) return std::unexpected(fast.error());
        if (*fast) {
            out.push_back(**fast);
            return std::monostate{};
        }
        auto edge = bisect_to_adjacent(element, a, b, na, true_nodes, poll);
        if (!edge) return std::unexpected(edge.error());
        out.push_back(*edge);
        return std::monostate{};
    }
    const double mid = a + (b - a) * 0.5;
    auto nm = element_at(element, mid, true_nodes);
    if (!nm) return std::unexpected(nm.error());
    if (*nm != na) {
        auto left = edges_between(element, a, na, mid, *nm, true_nodes, poll, out);
        if (!left) return left;
    }
    if (*nm == nb) return std::monostate{};
    return edges_between(element, mid, *nm, b, nb, true_nodes, poll, out);
}

}  // namespace

Result<uint32_t> element_at(PanchangaElement element, double jd_ut, bool true_nodes) {
    switch (element) {
        case PanchangaElement::Tithi:
            return tithi_at(jd_ut, true_nodes);
        case PanchangaElement::Nakshatra:
            return nakshatra_at(jd_ut, true_nodes);
        case PanchangaElement::Yoga:
            return yoga_at(jd_ut, true_nodes);
        case PanchangaElement::Karana:
            break;
    }
    return karana_at(jd_ut, true_nodes);
}

Result<ElementEdges> find_element_edges(double from_jd, double to_jd, bool true_nodes,
                                        InterruptPoll& poll) {
    ElementEdges found;
    auto before = numbers_at(from_jd, true_nodes);
    if (!before) return std::unexpected(before.error());
    for (double t = from_jd; t < to_jd;) {
        const double next = std::min(t + kSampleStepDays, to_jd);
        auto after = numbers_at(next, true_nodes);
        if (!after) return std::unexpected(after.error());
        poll.count(2);
        for (PanchangaElement element : kPanchangaElements) {
            const auto k = static_cast<size_t>(element);
            if ((*before)[k] == (*after)[k]) continue;
            auto done = edges_between(element, t, (*before)[k], next, (*after)[k], true_nodes, poll,
                                      found.edges[k]);
            if (!done) return std::unexpected(done.error());
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

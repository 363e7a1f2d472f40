#include "panchanga/interval.hpp"

#include <cmath>
#include <optional>

#include "ephemeris/ephemeris.hpp"
#include "search/scan.hpp"

namespace zk {
namespace {

constexpr const char* kStartNotFound =
    "find_element_interval: failed to find start boundary (exceeded max backwards search)";
constexpr const char* kEndNotFound =
    "find_element_interval: failed to find end boundary (exceeded max forwards search)";

// The edge of the stretch around jd where f shows `current`, on the side `step` points to
// (negative backwards), or the limit error when f shows `current` for 100 days.
Result<double> edge_towards(const ElementFunction& f, double jd, uint32_t current, double step,
                            const char* limit_error) {
    const auto next_after = [&](double t) -> std::optional<double> {
        const double next = t + step;
        if (std::abs(next - jd) > kIntervalLimitDays) return std::nullopt;
        return next;
    };
    const auto is_current = [&](double t) -> Result<bool> {
        ZK_TRY(value, f(t));
        return value == current;
    };
    InterruptPoll never_stops;
    std::optional<double> edge;
    ZK_TRY_VOID(scan_changes(
        f, jd, current, next_after,
        [&](const Change<double, uint32_t>& change) -> Result<AfterChange> {
            ZK_TRY(found, find_edge(is_current, Bracket<double>{jd, change.after},
                                    kIntervalHalvings, never_stops));
            edge = found;
            return AfterChange::Stop;
        },
        never_stops));
    if (!edge) return std::unexpected(ZodiakitError::computation(limit_error));
    return *edge;
}

// Half the width (in days, about 0.9 ms) of the stretch around a crossing that must round to
// one whole second for the crossing to stand for the scan's edge.
constexpr double kRoundingMarginDays = 1e-8;

bool rounds_safely(double jd) {
    const auto early = ephemeris::from_julian_day(jd - kRoundingMarginDays);
    const auto late = ephemeris::from_julian_day(jd + kRoundingMarginDays);
    return early && late && *early == *late;
}

// The edge on the side `direction` points to (+1 forwards, -1 backwards) of the element
// `current` shown at jd, whose angle there is `now`.
Result<double> angle_edge_search(const ElementSampler& sample, double span_deg, double jd,
                                 uint32_t current, AngleSample now, int direction,
                                 const char* limit_error) {
    const double target = (direction > 0 ? current : current - 1) * span_deg;
    const double lo = direction > 0 ? jd : jd - kIntervalStepDays;
    const double hi = direction > 0 ? jd + kIntervalStepDays : jd;
    InterruptPoll never_stops;
    const auto angle_at = [&](double t) -> Result<AngleSample> {
        ZK_TRY(s, sample(t));
        return s.angle;
    };
    ZK_TRY(crossing, find_angle_crossing(angle_at, target, true, jd, now, lo, hi, never_stops));
    if (!(crossing > lo && crossing < hi)) {
        return std::unexpected(ZodiakitError::computation("no crossing within the first step"));
    }
    if (rounds_safely(crossing)) return crossing;
    // Near a half second: the scan itself, every sample away from the crossing answered by
    // which side of it it lies on.
    const ElementFunction near_crossing = [&](double t) -> Result<uint32_t> {
        if (std::abs(t - crossing) > kCrossingToleranceDays) {
            const bool before = (t < crossing) == (direction > 0);
            return before ? current : current + 1000;
        }
        ZK_TRY(s, sample(t));
        return s.number;
    };
    return edge_towards(near_crossing, jd, current, direction * kIntervalStepDays, limit_error);
}

// angle_edge_search, or the edge `shared` holds for the same target and direction; a found
// edge is added to it.
Result<double> angle_edge(const ElementSampler& sample, double span_deg, double jd,
                          uint32_t current, AngleSample now, int direction, const char* limit_error,
                          SharedEdges* shared) {
    const double target = (direction > 0 ? current : current - 1) * span_deg;
    if (shared) {
        for (size_t i = 0; i < shared->count; ++i) {
            const SharedEdges::Edge& e = shared->found[i];
            if (e.target_deg == target && e.direction == direction) return e.jd;
        }
    }
    auto edge = angle_edge_search(sample, span_deg, jd, current, now, direction, limit_error);
    if (edge && shared && shared->count < shared->found.size()) {
        shared->found[shared->count++] = SharedEdges::Edge{target, direction, *edge};
    }
    return edge;
}

Result<ElementInterval> interval_of(const ElementSampler& sample, double span_deg, double jd_ut,
                                    const ElementSample& now, SharedEdges* shared) {
    auto start =
        angle_edge(sample, span_deg, jd_ut, now.number, now.angle, -1, kStartNotFound, shared);
    if (start) {
        auto end =
            angle_edge(sample, span_deg, jd_ut, now.number, now.angle, 1, kEndNotFound, shared);
        if (end) return ElementInterval{*start, *end};
    }
    const ElementFunction f = [&](double t) -> Result<uint32_t> {
        ZK_TRY(s, sample(t));
        return s.number;
    };
    return find_element_interval(f, jd_ut);
}

}  // namespace

Result<ElementInterval> find_element_interval(const ElementSampler& sample, double span_deg,
                                              double jd_ut) {
    auto now = sample(jd_ut);
    if (!now) return std::unexpected(now.error());
    return find_element_interval(sample, span_deg, jd_ut, *now);
}

Result<ElementInterval> find_element_interval(const ElementSampler& sample, double span_deg,
                                              double jd_ut, const ElementSample& now) {
    return interval_of(sample, span_deg, jd_ut, now, nullptr);
}

Result<ElementInterval> find_element_interval(const ElementSampler& sample, double span_deg,
                                              double jd_ut, const ElementSample& now,
                                              SharedEdges& shared) {
    return interval_of(sample, span_deg, jd_ut, now, &shared);
}

Result<ElementInterval> find_element_interval(const ElementFunction& f, double jd_ut) {
    ZK_TRY(current, f(jd_ut));
    ZK_TRY(start, edge_towards(f, jd_ut, current, -kIntervalStepDays, kStartNotFound));
    ZK_TRY(end, edge_towards(f, jd_ut, current, kIntervalStepDays, kEndNotFound));
    return ElementInterval{start, end};
}

}  // namespace zk

#include "panchanga/interval.hpp"

#include <cmath>

namespace zk {
namespace {

constexpr const char* kStartNotFound =
    "find_element_interval: failed to find start boundary (exceeded max backwards search)";
constexpr const char* kEndNotFound =
    "find_element_interval: failed to find end boundary (exceeded max forwards search)";

// Steps from jd by `step` (negative backwards) until f differs from `current`; the instant
// found, or the limit error.
Result<double> step_until_change(const ElementFunction& f, double jd, uint32_t current, double step,
                                 const char* limit_error) {
    double t = jd + step;
    for (;;) {
        auto value = f(t);
        if (!value) return std::unexpected(value.error());
        if (*value != current) return t;
        t += step;
        if (std::abs(t - jd) > kIntervalLimitDays) {
            return std::unexpected(ZodiakitError::computation(limit_error));
        }
    }
}

// Narrows [inside, outside] onto the edge of the stretch where f equals `current`; `inside`
// shows the current number and `outside` does not.
Result<double> bisect_edge(const ElementFunction& f, double inside, double outside,
                           uint32_t current) {
    for (int round = 0; round < kBisectionRounds; ++round) {
        const double mid = (inside + outside) * 0.5;
        auto value = f(mid);
        if (!value) return std::unexpected(value.error());
        (*value == current ? inside : outside) = mid;
    }
    return (inside + outside) * 0.5;
}

}  // namespace

Result<ElementInterval> find_element_interval(const ElementFunction& f, double jd_ut) {
    auto current = f(jd_ut);
    if (!current) return std::unexpected(current.error());

    auto before = step_until_change(f, jd_ut, *current, -kIntervalStepDays, kStartNotFound);
    if (!before) return std::unexpected(before.error());
    auto start = bisect_edge(f, jd_ut, *before, *current);
    if (!start) return std::unexpected(start.error());

    auto after = step_until_change(f, jd_ut, *current, kIntervalStepDays, kEndNotFound);
    if (!after) return std::unexpected(after.error());
    auto end = bisect_edge(f, jd_ut, *after, *current);
    if (!end) return std::unexpected(end.error());

    return ElementInterval{*start, *end};
}

}  // namespace zk

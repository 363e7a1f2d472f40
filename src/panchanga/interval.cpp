#include "panchanga/interval.hpp"

#include <cmath>
#include <optional>

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

}  // namespace

Result<ElementInterval> find_element_interval(const ElementFunction& f, double jd_ut) {
    ZK_TRY(current, f(jd_ut));
    ZK_TRY(start, edge_towards(f, jd_ut, current, -kIntervalStepDays, kStartNotFound));
    ZK_TRY(end, edge_towards(f, jd_ut, current, kIntervalStepDays, kEndNotFound));
    return ElementInterval{start, end};
}

}  // namespace zk

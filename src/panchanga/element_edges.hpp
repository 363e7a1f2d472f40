// Every boundary of the tithi, nakshatra, yoga and karana over a stretch of time, found in
// one pass, so that the days of a calendar share them instead of searching each element
// again. The luminaries are sampled every nine hours (shorter than any element: a karana
// lasts ten hours or more), and each change is followed onto its edge by Newton's method on
// the angle the element divides, with the luminaries' speeds, from where the cubic through
// the two samples' angles and speeds meets the boundary (within a few milliseconds of the
// edge, so that one step settles it). Those steps read the Moon alone: the Sun comes from
// the cubic through its two samples, within 1e-10 degrees. Where that does not settle inside
// the nine hours, the element's own function (tithi_at, nakshatra_at, ...) is bisected down
// to adjacent Julian days. A tithi ends with its second karana, at the same edge. Either way
// an edge lies within a few units of a Julian day's last place (tens of microseconds) of the
// one find_element_interval finds.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/error.hpp"
#include "panchanga/interval.hpp"
#include "search/scan.hpp"

namespace zk {

enum class PanchangaElement : uint8_t { Tithi, Nakshatra, Yoga, Karana };
inline constexpr std::array<PanchangaElement, 4> kPanchangaElements = {
    PanchangaElement::Tithi, PanchangaElement::Nakshatra, PanchangaElement::Yoga,
    PanchangaElement::Karana};

// The element functions and the samplers of elements.hpp, by element, and the degrees one
// element spans (12 a tithi, 6 a karana, 360/27 a nakshatra or yoga).
Result<uint32_t> element_at(PanchangaElement element, double jd_ut, bool true_nodes);
Result<ElementSample> element_sample(PanchangaElement element, double jd_ut, bool true_nodes);
double element_span_deg(PanchangaElement element);

// Sorted edges (Julian days, UT) of each element, indexed by PanchangaElement.
struct ElementEdges {
    std::array<std::vector<double>, 4> edges;
};

// The edges in [from_jd, to_jd]. Counts its ephemeris calls on `poll` and asks it after
// every sample (Interrupted when it says stop). The first ephemeris error ends the scan.
Result<ElementEdges> find_element_edges(double from_jd, double to_jd, bool true_nodes,
                                        InterruptPoll& poll);

// The stretch between the last edge at or before jd and the first edge after it; nothing
// when the edges do not enclose jd.
std::optional<ElementInterval> interval_between_edges(const std::vector<double>& edges, double jd);

}  // namespace zk

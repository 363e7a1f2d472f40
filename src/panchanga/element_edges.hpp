// Every boundary of the tithi, nakshatra, yoga and karana over a stretch of time, read from
// one table of the Moon and the Sun (panchanga/luminary_table.hpp), so that the days of a
// calendar share them instead of searching each element again. Between two readings the
// angle an element divides (Moon - Sun, the Moon, or Moon + Sun) only grows, and each
// boundary it passes is solved on the table's polynomial to ten microseconds. An edge so found
// lies within a few milliseconds of the one find_element_interval finds from the library's
// own readings; callers that print it to the second search again where that can matter.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/error.hpp"
#include "panchanga/interval.hpp"
#include "panchanga/luminary_table.hpp"

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

// The edges in [from_jd, to_jd], which the table covers.
ElementEdges element_edges(const LuminaryTable& table, double from_jd, double to_jd);

// The stretch between the last edge at or before jd and the first edge after it; nothing
// when the edges do not enclose jd.
std::optional<ElementInterval> interval_between_edges(const std::vector<double>& edges, double jd);

}  // namespace zk

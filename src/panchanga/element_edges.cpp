#include "panchanga/element_edges.hpp"

#include <algorithm>
#include <cmath>

#include "panchanga/elements.hpp"

namespace zk {
namespace {

// The angle an element divides, from the Moon's and the Sun's angles.
double angle_of(PanchangaElement element, double moon, double sun) {
    switch (element) {
        case PanchangaElement::Nakshatra:
            return moon;
        case PanchangaElement::Yoga:
            return moon + sun;
        case PanchangaElement::Tithi:
        case PanchangaElement::Karana:
            break;
    }
    return moon - sun;
}

// Appends the edges of one element between the k-th reading of the table and the next.
void edges_after_reading(const LuminaryTable& table, PanchangaElement element, size_t k,
                         std::vector<double>& out) {
    const double span = element_span_deg(element);
    const Luminaries a = table.reading(k), b = table.reading(k + 1);
    const double angle0 = angle_of(element, a.moon_deg, a.sun_deg);
    const double angle1 = angle_of(element, b.moon_deg, b.sun_deg);
    for (double boundary = (std::floor(angle0 / span) + 1.0) * span; boundary <= angle1;
         boundary += span) {
        const auto angle = [&](const Luminaries& c) {
            return angle_of(element, c.moon_deg, c.sun_deg);
        };
        out.push_back(
            table.crossing(angle, boundary, table.reading_jd(k), table.reading_jd(k + 1)));
    }
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

ElementEdges element_edges(const LuminaryTable& table, double from_jd, double to_jd) {
    ElementEdges found;
    const auto first =
        static_cast<size_t>(std::floor((from_jd - table.first_jd()) / LuminaryTable::kStepDays));
    for (size_t k = first; table.reading_jd(k) < to_jd; ++k) {
        for (PanchangaElement element : kPanchangaElements) {
            edges_after_reading(table, element, k, found.edges[static_cast<size_t>(element)]);
        }
    }
    return found;
}

std::optional<ElementInterval> interval_between_edges(const std::vector<double>& edges, double jd) {
    const auto after = std::upper_bound(edges.begin(), edges.end(), jd);
    if (after == edges.begin() || after == edges.end()) return std::nullopt;
    return ElementInterval{*(after - 1), *after};
}

}  // namespace zk

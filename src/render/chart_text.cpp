#include "render/chart_text.hpp"

#include "core/format.hpp"

namespace zk {
namespace {

constexpr const char* kDegree = "\u00b0";

}  // namespace

std::string chart_summary(const Chart& chart) {
    std::string moon;
    if (const PlanetPosition* p = find_planet(chart.planets, Planet::Moon)) {
        moon = "Moon " + format_fixed(p->longitude, 1) + kDegree;
    }
    return "<Chart asc=" + format_fixed(chart.ascendant, 2) + kDegree + " " + moon +
           " ayanamsa=" + ayanamsa_name(chart.ayanamsa) + ">";
}

std::string chart_listing(const Chart& chart) {
    std::string out = "ZodiaKit Chart\nAscendant: ";
    out += format_fixed(chart.ascendant, 2);
    out += kDegree;
    out += "\nPlanets:";
    for (const PlanetPosition& p : chart.planets) {
        out += "\n  ";
        out += planet_name(p.planet);
        out += ": ";
        out += format_fixed(p.longitude, 1);
        out += kDegree;
        out += ' ';
        out += p.sign ? sign_name(*p.sign) : sign_name(sign_from_longitude(p.longitude));
    }
    return out;
}

}  // namespace zk

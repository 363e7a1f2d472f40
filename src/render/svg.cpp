#include "render/svg.hpp"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace zk {
namespace {

struct Point {
    int x;
    int y;
};

// Anchor of houses 1..12.
constexpr std::array<Point, 12> kHouseAnchors = {{{250, 150},
                                                  {150, 100},
                                                  {100, 150},
                                                  {150, 250},
                                                  {100, 350},
                                                  {150, 400},
                                                  {250, 350},
                                                  {350, 400},
                                                  {400, 350},
                                                  {350, 250},
                                                  {400, 150},
                                                  {350, 100}}};

// Label fill of each planet, in planet order.
constexpr std::array<std::string_view, 9> kPlanetColours = {"#ffcc00", "#ffffff", "#ff4444",
                                                            "#00ccff", "#ffff44", "#00ccff",
                                                            "#00ccff", "#00ccff", "#00ccff"};

// The opening tag and the fixed frame: background, square, both diagonals and the diamond.
constexpr std::string_view kHead =
    R"(<svg width="500" height="500" viewBox="0 0 500 500" xmlns="http://www.w3.org/2000/svg">)"
    R"(<rect width="100%" height="100%" fill="#1a1a1a" />)"
    R"(<rect x="50" y="50" width="400" height="400" stroke="#444" fill="none" stroke-width="2" />)"
    R"(<line x1="50" y1="50" x2="450" y2="450" stroke="#444" stroke-width="2" />)"
    R"(<line x1="450" y1="50" x2="50" y2="450" stroke="#444" stroke-width="2" />)"
    R"(<polygon points="250,50 450,250 250,450 50,250" stroke="#444" fill="none" )"
    R"(stroke-width="2" />)";

// <text x=".." y=".." {attributes}>{label}</text>
void append_text(std::string& out, Point at, std::string_view attributes, std::string_view label) {
    out += "<text x=\"";
    out += std::to_string(at.x);
    out += "\" y=\"";
    out += std::to_string(at.y);
    out += "\" ";
    out += attributes;
    out += '>';
    out += label;
    out += "</text>";
}

const HouseCusp* find_house(const std::vector<HouseCusp>& houses, unsigned n) {
    for (const HouseCusp& h : houses) {
        if (h.house == n) return &h;
    }
    return nullptr;
}

}  // namespace

std::string chart_to_svg(const Chart& chart) {
    std::string out(kHead);
    out.reserve(4096);

    // Labels stack in planet order whatever the order of the record.
    std::vector<const PlanetPosition*> planets;
    for (const PlanetPosition& p : chart.planets) planets.push_back(&p);
    std::stable_sort(
        planets.begin(), planets.end(),
        [](const PlanetPosition* a, const PlanetPosition* b) { return a->planet < b->planet; });

    for (unsigned n = 1; n <= 12; ++n) {
        const Point anchor = kHouseAnchors[n - 1];
        if (const HouseCusp* house = find_house(chart.houses, n)) {
            const unsigned sign = sign_number(sign_from_longitude(normalize_degrees(house->cusp)));
            append_text(out, {anchor.x, anchor.y - 30},
                        R"(fill="#888" font-size="12" text-anchor="middle")", std::to_string(sign));
        }
        int k = 0;
        for (const PlanetPosition* p : planets) {
            if (p->house != n) continue;
            std::string attributes = "fill=\"";
            attributes += kPlanetColours[planet_index(p->planet)];
            attributes += R"(" font-size="14" font-weight="bold" text-anchor="middle")";
            append_text(out, {anchor.x, anchor.y - 10 + 18 * k}, attributes,
                        planet_name(p->planet).substr(0, 2));
            ++k;
        }
    }
    out += "</svg>";
    return out;
}

}  // namespace zk

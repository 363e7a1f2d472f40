// The North-Indian chart drawing, on hand-built records.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "render/svg.hpp"

// Records below are built with designated initialisers that leave the other members default.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace zk {
namespace {

constexpr const char* kHead =
    R"(<svg width="500" height="500" viewBox="0 0 500 500" xmlns="http://www.w3.org/2000/svg">)"
    R"(<rect width="100%" height="100%" fill="#1a1a1a" />)"
    R"(<rect x="50" y="50" width="400" height="400" stroke="#444" fill="none" stroke-width="2" />)"
    R"(<line x1="50" y1="50" x2="450" y2="450" stroke="#444" stroke-width="2" />)"
    R"(<line x1="450" y1="50" x2="50" y2="450" stroke="#444" stroke-width="2" />)"
    R"(<polygon points="250,50 450,250 250,450 50,250" stroke="#444" fill="none" )"
    R"(stroke-width="2" />)";

// The text elements in document order, each as "x,y,fill,text".
std::vector<std::string> labels_of(const Chart& c) {
    static const std::regex kText(
        R"re(<text x="(\d+)" y="(\d+)" fill="([^"]+)"[^>]*>([^<]*)</text>)re");
    const std::string svg = chart_to_svg(c);
    std::vector<std::string> out;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), kText);
         it != std::sregex_iterator(); ++it) {
        out.push_back((*it)[1].str() + "," + (*it)[2].str() + "," + (*it)[3].str() + "," +
                      (*it)[4].str());
    }
    return out;
}

TEST(ChartSvg, FrameThenTheSignOfEachHouse) {
    EXPECT_EQ(chart_to_svg(Chart{}), std::string(kHead) + "</svg>");
    Chart c;
    c.houses = {{1, 95.0}, {2, -10.0}, {3, 725.0}};  // Cancer; cusps wrap both ways
    EXPECT_EQ(labels_of(c),
              (std::vector<std::string>{"250,120,#888,4", "150,70,#888,12", "100,120,#888,1"}));
}

TEST(ChartSvg, PlanetsStackInPlanetOrderAndBadHousesDrawNothing) {
    Chart c;
    c.houses = {{7, 180.0}};
    // Record order is scrambled on purpose; the drawing follows planet order.
    c.planets = {{.planet = Planet::Venus, .house = 7},   {.planet = Planet::Sun, .house = 7},
                 {.planet = Planet::Mercury, .house = 7}, {.planet = Planet::Ketu},
                 {.planet = Planet::Rahu, .house = 13},   {.planet = Planet::Saturn, .house = 0}};
    EXPECT_EQ(labels_of(c), (std::vector<std::string>{"250,320,#888,7", "250,340,#ffcc00,Su",
                                                      "250,358,#00ccff,Me", "250,376,#00ccff,Ve"}));
}

}  // namespace
}  // namespace zk

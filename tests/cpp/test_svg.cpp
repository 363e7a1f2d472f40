// The North-Indian chart drawing, on hand-built records.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "util/svg.hpp"

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

struct Label {
    int x, y;
    std::string fill, text;
};

// The text elements in document order.
std::vector<Label> labels_of(const std::string& svg) {
    static const std::regex kText(
        R"re(<text x="(\d+)" y="(\d+)" fill="([^"]+)"[^>]*>([^<]*)</text>)re");
    std::vector<Label> out;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), kText);
         it != std::sregex_iterator(); ++it) {
        out.push_back({std::stoi((*it)[1]), std::stoi((*it)[2]), (*it)[3], (*it)[4]});
    }
    return out;
}

PlanetPosition in_house(Planet p, std::optional<uint8_t> house) {
    PlanetPosition pos;
    pos.planet = p;
    pos.house = house;
    return pos;
}

Chart equal_houses_from(double first_cusp) {
    Chart c;
    for (unsigned n = 1; n <= 12; ++n) {
        c.houses.push_back({static_cast<uint8_t>(n), first_cusp + 30.0 * (n - 1)});
    }
    return c;
}

TEST(ChartSvg, FrameThenSignLabelsOfEveryHouse) {
    const std::string svg = chart_to_svg(equal_houses_from(95.0));
    EXPECT_EQ(svg.rfind(kHead, 0), 0u);
    EXPECT_TRUE(svg.ends_with("</svg>"));
    EXPECT_EQ(svg.find_first_of("\n\r\t"), std::string::npos);
    EXPECT_EQ(svg.find("> <"), std::string::npos);

    const std::vector<Label> labels = labels_of(svg);
    ASSERT_EQ(labels.size(), 12u);
    // Ascendant at 95 degrees is in Cancer; cusps past 360 wrap back to Aries.
    EXPECT_EQ(labels[0].x, 250);
    EXPECT_EQ(labels[0].y, 120);
    EXPECT_EQ(labels[0].text, "4");
    const std::vector<std::string> signs{"4",  "5",  "6", "7", "8", "9",
                                         "10", "11", "12", "1", "2", "3"};
    const int anchors[12][2] = {{250, 150}, {150, 100}, {100, 150}, {150, 250},
                                {100, 350}, {150, 400}, {250, 350}, {350, 400},
                                {400, 350}, {350, 250}, {400, 150}, {350, 100}};
    for (size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(labels[i].text, signs[i]) << "house " << i + 1;
        EXPECT_EQ(labels[i].x, anchors[i][0]) << "house " << i + 1;
        EXPECT_EQ(labels[i].y, anchors[i][1] - 30) << "house " << i + 1;
        EXPECT_EQ(labels[i].fill, "#888");
    }
}

TEST(ChartSvg, NegativeAndWrappedCuspsFindTheirSign) {
    Chart c;
    c.houses = {{1, -10.0}, {2, 725.0}, {3, 360.0}};
    const std::vector<Label> labels = labels_of(chart_to_svg(c));
    ASSERT_EQ(labels.size(), 3u);
    EXPECT_EQ(labels[0].text, "12");
    EXPECT_EQ(labels[1].text, "1");
    EXPECT_EQ(labels[2].text, "1");
}

TEST(ChartSvg, PlanetsStackInPlanetOrderWithTheirColours) {
    Chart c = equal_houses_from(0.0);
    // Record order is scrambled on purpose; the drawing follows planet order.
    c.planets = {in_house(Planet::Venus, 7), in_house(Planet::Sun, 7),
                 in_house(Planet::Mercury, 7), in_house(Planet::Moon, 1),
                 in_house(Planet::Ketu, std::nullopt)};
    const std::vector<Label> labels = labels_of(chart_to_svg(c));
    ASSERT_EQ(labels.size(), 16u);
    EXPECT_EQ(labels[1].text, "Mo");
    EXPECT_EQ(labels[1].fill, "#ffffff");
    EXPECT_EQ(labels[1].y, 140);
    // House 1 sign, Moon, houses 2..6 signs, then house 7: sign and three planets.
    const Label* house7 = &labels[7];
    EXPECT_EQ(house7[0].text, "7");
    EXPECT_EQ(house7[1].text, "Su");
    EXPECT_EQ(house7[2].text, "Me");
    EXPECT_EQ(house7[3].text, "Ve");
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(house7[k].x, 250);
    EXPECT_EQ(house7[1].y, 340);
    EXPECT_EQ(house7[2].y, 358);
    EXPECT_EQ(house7[3].y, 376);
    EXPECT_EQ(house7[1].fill, "#ffcc00");
    EXPECT_EQ(house7[2].fill, "#00ccff");
    EXPECT_EQ(house7[3].fill, "#00ccff");
    EXPECT_NE(chart_to_svg(c).find(R"(<text x="250" y="358" fill="#00ccff" font-size="14" )"
                                   R"(font-weight="bold" text-anchor="middle">Me</text>)"),
              std::string::npos);
}

TEST(ChartSvg, MissingHousesAndOutOfRangeHousesDrawNothing) {
    Chart c;
    c.houses = {{3, 40.0}};
    c.planets = {in_house(Planet::Mars, 5), in_house(Planet::Rahu, 13),
                 in_house(Planet::Saturn, 0)};
    const std::vector<Label> labels = labels_of(chart_to_svg(c));
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0].text, "2");
    EXPECT_EQ(labels[0].x, 100);
    EXPECT_EQ(labels[1].text, "Ma");
    EXPECT_EQ(labels[1].fill, "#ff4444");
    EXPECT_EQ(labels[1].y, 340);
    EXPECT_EQ(chart_to_svg(Chart{}), std::string(kHead) + "</svg>");
}

}  // namespace
}  // namespace zk

// Whole charts from the ephemeris: houses, nodes and the ayanamsa offset.
#include <gtest/gtest.h>

#include <cmath>

#include "chart/chart.hpp"

namespace zk {
namespace {

Chart chart_of(HouseSystem system, AyanamsaMode ayanamsa = {}, bool true_nodes = true) {
    auto chart =
        calculate_chart({2000, 1, 1, 12, 0, 0}, {27.7, 85.3, 1400.0}, ayanamsa, system, true_nodes);
    EXPECT_TRUE(chart) << (chart ? "" : chart.error().display());
    return chart ? *chart : Chart{};
}

TEST(CalculateChart, EqualAndWholeSignHouses) {
    const Chart c = chart_of(HouseSystem::Equal);
    ASSERT_EQ(c.houses.size(), 12u);
    for (size_t i = 0; i < 12; ++i) {
        EXPECT_NEAR(std::remainder(c.houses[i].cusp - c.ascendant - 30.0 * i, 360.0), 0.0, 1e-9);
    }
    EXPECT_EQ(house_of(std::fmod(c.ascendant + 359.5, 360.0), c.houses), 12);
    const Chart w = chart_of(HouseSystem::WholeSign);
    for (const PlanetPosition& p : w.planets) {
        EXPECT_EQ(p.house == 1, *p.sign == sign_from_longitude(w.ascendant)) << p.longitude;
    }
}

TEST(CalculateChart, TrueNodesAndCustomAyanamsaMoveWhatTheyShould) {
    const Chart truth = chart_of(HouseSystem::Equal, {AyanamsaMode::Kind::Custom, 23.0});
    const Chart mean = chart_of(HouseSystem::Equal, {AyanamsaMode::Kind::Custom, 23.0}, false);
    const Chart shifted = chart_of(HouseSystem::Equal, {AyanamsaMode::Kind::Custom, 24.0});
    EXPECT_EQ(shifted.metadata.ayanamsa, "Custom(24.0)");
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(mean.planets[i].longitude == truth.planets[i].longitude, i < 7);
        EXPECT_NEAR(
            std::fmod(truth.planets[i].longitude - shifted.planets[i].longitude + 360.0, 360.0),
            1.0, 1e-6);
    }
}

}  // namespace
}  // namespace zk

// The chart pipeline: place validation, dignities, houses, and whole charts from the
// ephemeris.
#include <gtest/gtest.h>

#include <cmath>

#include "calc/chart.hpp"

namespace zk {
namespace {

TEST(ValidateGeo, AcceptsTheEdgesAndNamesTheFirstBadValue) {
    EXPECT_TRUE(validate_geo(90.0, -180.0, -500.0));
    EXPECT_TRUE(validate_geo(-90.0, 180.0, 10000.0));
    struct Case {
        double lat, lon, alt;
        const char* text;
    };
    const Case cases[] = {
        {90.0001, 0, 0, "Invalid parameter: Invalid latitude 90.0001: expected -90..90"},
        {91.0, 500, 1e9, "Invalid parameter: Invalid latitude 91: expected -90..90"},
        {NAN, 0, 0, "Invalid parameter: Invalid latitude NaN: expected -90..90"},
        {0, -180.5, 0, "Invalid parameter: Invalid longitude -180.5: expected -180..180"},
        {0, INFINITY, 0, "Invalid parameter: Invalid longitude inf: expected -180..180"},
        {0, 0, -500.1, "Invalid parameter: Invalid altitude -500.1: expected -500..10000 meters"},
        {0, 0, NAN, "Invalid parameter: Invalid altitude NaN: expected -500..10000 meters"},
    };
    for (const Case& c : cases) {
        auto r = validate_geo(c.lat, c.lon, c.alt);
        ASSERT_FALSE(r) << c.text;
        EXPECT_EQ(r.error().display(), c.text);
    }
}

TEST(Dignities, ExaltationOwnSignAndMoolatrikonaRanges) {
    struct Case {
        Planet planet;
        Sign sign;
        double lon;
        bool exalted, debilitated, own, moolatrikona;
    };
    const Case cases[] = {
        {Planet::Sun, Sign::Leo, 125.0, false, false, true, true},
        {Planet::Sun, Sign::Leo, 140.0, false, false, true, false},  // upper bound excluded
        {Planet::Moon, Sign::Taurus, 33.9, true, false, false, false},
        {Planet::Moon, Sign::Taurus, 34.0, true, false, false, true},
        {Planet::Mercury, Sign::Virgo, 165.99, true, false, true, false},
        {Planet::Mercury, Sign::Virgo, 166.0, true, false, true, true},
        {Planet::Mars, Sign::Aries, -350.0, false, false, true, false},  // degree -20
        {Planet::Sun, Sign::Leo, 100.0, false, false, true, true},  // only the degree counts
        {Planet::Saturn, Sign::Aries, 5.0, false, true, false, false},
        {Planet::Jupiter, Sign::Capricorn, 275.0, false, true, false, false},
        {Planet::Venus, Sign::Pisces, 335.0, true, false, false, false},
        {Planet::Rahu, Sign::Taurus, 40.0, false, false, false, false},
        {Planet::Ketu, Sign::Scorpio, 220.0, false, false, false, false},
    };
    for (const Case& c : cases) {
        const Dignities d = compute_dignities(c.planet, c.sign, c.lon);
        SCOPED_TRACE(std::string(planet_name(c.planet)) + " at " + std::to_string(c.lon));
        EXPECT_EQ(d.is_exalted, c.exalted);
        EXPECT_EQ(d.is_debilitated, c.debilitated);
        EXPECT_EQ(d.is_own_sign, c.own);
        EXPECT_EQ(d.is_moolatrikona, c.moolatrikona);
    }
}

std::vector<HouseCusp> cusps_from(double first) {
    std::vector<HouseCusp> h;
    for (uint8_t i = 1; i <= 12; ++i) h.push_back({i, std::fmod(first + 30.0 * (i - 1), 360.0)});
    return h;
}

TEST(HouseOf, RangesWrapPastZero) {
    const auto houses = cusps_from(350.0);
    EXPECT_EQ(house_of(350.0, houses), 1);
    EXPECT_EQ(house_of(359.9, houses), 1);
    EXPECT_EQ(house_of(0.0, houses), 1);
    EXPECT_EQ(house_of(19.99, houses), 1);
    EXPECT_EQ(house_of(20.0, houses), 2);
    EXPECT_EQ(house_of(349.5, houses), 12);  // half a degree before the ascendant
}

const UtcDateTime kJ2000{2000, 1, 1, 12, 0, 0};
const GeoLocation kKathmandu{27.7, 85.3, 1400.0};

Chart chart_of(HouseSystem system, GeoLocation where = kKathmandu, UtcDateTime when = kJ2000) {
    auto chart = calculate_chart(when, where, AyanamsaMode{}, system, true);
    EXPECT_TRUE(chart) << (chart ? "" : chart.error().display());
    return chart ? *chart : Chart{};
}

TEST(CalculateChart, EqualHousesStartAtTheAscendantThirtyDegreesApart) {
    const Chart c = chart_of(HouseSystem::Equal);
    ASSERT_EQ(c.houses.size(), 12u);
    EXPECT_DOUBLE_EQ(c.houses[0].cusp, c.ascendant);
    for (size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(c.houses[i].house, i + 1);
        const double step = std::fmod(c.houses[(i + 1) % 12].cusp - c.houses[i].cusp + 360.0, 360.0);
        EXPECT_NEAR(step, 30.0, 1e-9);
    }
}

TEST(CalculateChart, WholeSignPutsTheAscendantSignInHouseOne) {
    const Chart c = chart_of(HouseSystem::WholeSign);
    const Sign asc_sign = sign_from_longitude(c.ascendant);
    EXPECT_NEAR(c.houses[0].cusp, (sign_number(asc_sign) - 1) * 30.0, 1e-9);
    for (const PlanetPosition& p : c.planets) {
        EXPECT_EQ(p.house == 1, *p.sign == asc_sign) << planet_name(p.planet);
    }
}

TEST(CalculateChart, AscendantDoesNotDependOnTheHouseSystem) {
    const double asc = chart_of(HouseSystem::Equal).ascendant;
    for (HouseSystem h : {HouseSystem::Placidus, HouseSystem::Koch, HouseSystem::WholeSign}) {
        EXPECT_EQ(chart_of(h).ascendant, asc);
    }
}

TEST(CalculateChart, PlacidusNearThePoleFailsCleanlyOrComputes) {
    for (double lat : {80.0, 89.0, 90.0}) {
        auto chart = calculate_chart(kJ2000, {lat, 10.0, 0.0}, AyanamsaMode{},
                                     HouseSystem::Placidus, true);
        if (!chart) {
            EXPECT_EQ(chart.error().display(),
                      "Swiss Ephemeris calculation failed for planet Houses: swe_houses_ex "
                      "failed for house system Placidus");
        } else {
            EXPECT_EQ(chart->houses.size(), 12u);
        }
    }
}

TEST(CalculateChart, RecordsAreConsistentWithTheirLongitudes) {
    const Chart c = chart_of(HouseSystem::Equal);
    ASSERT_EQ(c.planets.size(), 9u);
    for (size_t i = 0; i < 9; ++i) {
        const PlanetPosition& p = c.planets[i];
        EXPECT_EQ(p.planet, kAllPlanets[i]);
        EXPECT_GE(p.longitude, 0.0);
        EXPECT_LT(p.longitude, 360.0);
        EXPECT_EQ(*p.sign, sign_from_longitude(p.longitude));
        EXPECT_EQ(*p.nakshatra, nakshatra_from_longitude(p.longitude));
        EXPECT_EQ(*p.house, house_of(p.longitude, c.houses));
        EXPECT_EQ(p.divisional_signs.size(), 15u);
        EXPECT_EQ(p.shadbala.has_value(), i < 7);
    }
    EXPECT_NEAR(std::fmod(c.planets[8].longitude - c.planets[7].longitude + 360.0, 360.0), 180.0,
                1e-9);
    EXPECT_EQ(c.metadata.utc_datetime, "2000-01-01T12:00:00+00:00");
    EXPECT_EQ(c.metadata.ayanamsa, "Lahiri");
    EXPECT_EQ(c.metadata.house_system, "Equal");
    EXPECT_EQ(c.warnings.size(), 4u);
}

TEST(CalculateChart, TrueNodesChangeOnlyTheNodes) {
    auto mean = calculate_chart(kJ2000, kKathmandu, AyanamsaMode{}, HouseSystem::Equal, false);
    const Chart truth = chart_of(HouseSystem::Equal);
    ASSERT_TRUE(mean);
    for (size_t i = 0; i < 9; ++i) {
        if (i < 7) {
            EXPECT_EQ(mean->planets[i].longitude, truth.planets[i].longitude);
        } else {
            EXPECT_NE(mean->planets[i].longitude, truth.planets[i].longitude);
        }
    }
}

TEST(CalculateChart, CustomAyanamsaShiftsEveryLongitudeByTheOffsetDifference) {
    auto a = calculate_chart(kJ2000, kKathmandu, {AyanamsaMode::Kind::Custom, 23.0},
                             HouseSystem::Equal, true);
    auto b = calculate_chart(kJ2000, kKathmandu, {AyanamsaMode::Kind::Custom, 24.0},
                             HouseSystem::Equal, true);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(b->metadata.ayanamsa, "Custom(24.0)");
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_NEAR(std::fmod(a->planets[i].longitude - b->planets[i].longitude + 360.0, 360.0),
                    1.0, 1e-6);
    }
    EXPECT_NEAR(std::fmod(a->ascendant - b->ascendant + 360.0, 360.0), 1.0, 1e-6);
}

}  // namespace
}  // namespace zk

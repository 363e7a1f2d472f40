// Element arithmetic, names and the weekday: pure functions, no ephemeris.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <string>

#include "calc/panchanga/elements.hpp"

namespace zk {
namespace {

struct LunarCase {
    double moon_deg;
    double sun_deg;
    uint32_t tithi;
    const char* tithi_name;
    const char* paksha;
    uint32_t karana;
    const char* karana_name;
};

class TithiAndKarana : public ::testing::TestWithParam<LunarCase> {};

TEST_P(TithiAndKarana, FollowMoonMinusSun) {
    const LunarCase& c = GetParam();
    const uint32_t tithi = tithi_number(c.moon_deg, c.sun_deg);
    const uint32_t karana = karana_number(c.moon_deg, c.sun_deg);
    EXPECT_EQ(tithi, c.tithi);
    EXPECT_EQ(tithi_name(tithi), c.tithi_name);
    EXPECT_EQ(paksha_name(tithi), c.paksha);
    EXPECT_EQ(karana, c.karana);
    EXPECT_EQ(karana_name(karana), c.karana_name);
}

INSTANTIATE_TEST_SUITE_P(
    Panchanga, TithiAndKarana,
    ::testing::Values(
        LunarCase{100.0, 100.0, 1, "Pratipada", "Shukla", 1, "Kimstughna"},
        LunarCase{10.0, 190.0, 16, "Pratipada", "Krishna", 31, "Balava"},  // d = 180
        LunarCase{279.9, 100.0, 15, "Purnima", "Shukla", 30, "Bava"},      // d = 179.9
        LunarCase{70.0, 100.0, 28, "Trayodashi", "Krishna", 56, "Vanija"},  // d = -30
        LunarCase{342.0, 0.0, 29, "Chaturdashi", "Krishna", 58, "Shakuni"},
        LunarCase{348.0, 0.0, 30, "Amavasya", "Krishna", 59, "Chatushpada"},
        LunarCase{354.0, 0.0, 30, "Amavasya", "Krishna", 60, "Naga"},
        LunarCase{359.999, 0.0, 30, "Amavasya", "Krishna", 60, "Naga"},
        // A hair behind the Sun: the wrapped difference must stay below 360, not reach it.
        LunarCase{100.0, 100.00000000000001, 30, "Amavasya", "Krishna", 60, "Naga"}));

TEST(PanchangaElements, YogaWrapsTheSumOfLongitudes) {
    EXPECT_EQ(yoga_number(200.0, 170.0), 1u);  // 370 -> 10
    EXPECT_EQ(yoga_name(1), "Vishkambha");
    EXPECT_EQ(yoga_number(359.0, 0.5), 27u);
    EXPECT_EQ(yoga_name(27), "Vaidhriti");
}

TEST(PanchangaElements, NakshatraAndPadaOfTheMoon) {
    EXPECT_EQ(nakshatra_number(0.0), 1u);
    EXPECT_EQ(nakshatra_pada(0.0), 1u);
    EXPECT_EQ(nakshatra_number(359.99), 27u);
    EXPECT_EQ(nakshatra_pada(359.99), 4u);
    EXPECT_EQ(panchanga_nakshatra_name(27), "Revati");
    EXPECT_EQ(nakshatra_number(13.333333333333334), 2u);
    EXPECT_EQ(nakshatra_pada(13.333333333333334), 1u);
    EXPECT_EQ(nakshatra_pada(13.333333333333334 + 3.3333333333333335), 2u);
    EXPECT_EQ(panchanga_nakshatra_name(11), "Purva Phalguni");
    // Just below the full circle stays inside the last nakshatra and its last pada.
    const double last = std::nextafter(360.0, 0.0);
    EXPECT_EQ(nakshatra_number(last), 27u);
    EXPECT_EQ(nakshatra_pada(last), 4u);
}

TEST(PanchangaElements, ElementNumberSaturates) {
    EXPECT_EQ(element_number(std::numeric_limits<double>::quiet_NaN()), 1u);
    EXPECT_EQ(element_number(-5.0), 1u);
    EXPECT_EQ(element_number(29.999), 30u);
    EXPECT_EQ(element_number(1e300), 256u);
}

TEST(PanchangaElements, KaranaRotationOverTheMonth) {
    std::map<std::string, int> seen;
    for (uint32_t k = 1; k <= 60; ++k) ++seen[std::string(karana_name(k))];
    EXPECT_EQ(karana_name(2), "Bava");
    EXPECT_EQ(karana_name(8), "Vishti");
    EXPECT_EQ(karana_name(9), "Bava");
    EXPECT_EQ(karana_name(57), "Vishti");
    for (const char* movable :
         {"Bava", "Balava", "Kaulava", "Taitila", "Gara", "Vanija", "Vishti"}) {
        EXPECT_EQ(seen[movable], 8) << movable;
    }
    for (const char* fixed : {"Kimstughna", "Shakuni", "Chatushpada", "Naga"}) {
        EXPECT_EQ(seen[fixed], 1) << fixed;
    }
}

TEST(PanchangaElements, TithiNamesRepeatInTheWaningFortnight) {
    for (uint32_t t = 16; t <= 29; ++t) {
        EXPECT_EQ(tithi_name(t), tithi_name(t - 15)) << t;
        EXPECT_EQ(tithi_name_index(t), t - 16);
    }
    EXPECT_EQ(tithi_name_index(15), 14u);
    EXPECT_EQ(tithi_name_index(30), 15u);
}

TEST(PanchangaElements, NumbersOutsideTheirCycleAreInvariantFailures) {
    EXPECT_THROW(tithi_name(0), InvariantFailure);
    EXPECT_THROW(tithi_name(31), InvariantFailure);
    EXPECT_THROW(karana_name(61), InvariantFailure);
    EXPECT_THROW(yoga_name(28), InvariantFailure);
    EXPECT_THROW(panchanga_nakshatra_name(0), InvariantFailure);
}

TEST(PanchangaElements, VaraCountsFromSunday) {
    const Vara sunday = vara_from_local_date(2024, 1, 7);
    EXPECT_EQ(sunday.index, 0u);
    EXPECT_EQ(sunday.name, "Sunday");
    const Vara saturday = vara_from_local_date(2024, 1, 13);
    EXPECT_EQ(saturday.index, 6u);
    EXPECT_EQ(saturday.name, "Saturday");
    EXPECT_EQ(vara_from_local_date(2000, 2, 29).name, "Tuesday");
}

}  // namespace
}  // namespace zk

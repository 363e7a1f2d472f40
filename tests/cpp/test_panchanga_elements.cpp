// Element arithmetic, names and the weekday: pure functions, no ephemeris.
#include <gtest/gtest.h>

#include <cmath>

#include "calc/panchanga/elements.hpp"

namespace zk {
namespace {

TEST(PanchangaElements, TithiAndKaranaFollowMoonMinusSun) {
    struct Case {
        double moon_deg, sun_deg;
        uint32_t tithi;
        const char *tithi_name, *paksha;
        uint32_t karana;
        const char* karana_name;
    };
    const Case cases[] = {
        {100.0, 100.0, 1, "Pratipada", "Shukla", 1, "Kimstughna"},
        {10.0, 190.0, 16, "Pratipada", "Krishna", 31, "Balava"},   // d = 180
        {279.9, 100.0, 15, "Purnima", "Shukla", 30, "Bava"},       // d = 179.9
        {70.0, 100.0, 28, "Trayodashi", "Krishna", 56, "Vanija"},  // d = -30
        {342.0, 0.0, 29, "Chaturdashi", "Krishna", 58, "Shakuni"},
        {348.0, 0.0, 30, "Amavasya", "Krishna", 59, "Chatushpada"},
        {359.999, 0.0, 30, "Amavasya", "Krishna", 60, "Naga"},
        // A hair behind the Sun: the wrapped difference must stay below 360, not reach it.
        {100.0, 100.00000000000001, 30, "Amavasya", "Krishna", 60, "Naga"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "moon " << c.moon_deg << " sun " << c.sun_deg);
        const uint32_t tithi = tithi_number(c.moon_deg, c.sun_deg);
        const uint32_t karana = karana_number(c.moon_deg, c.sun_deg);
        EXPECT_EQ(tithi, c.tithi);
        EXPECT_EQ(tithi_name(tithi), c.tithi_name);
        EXPECT_EQ(paksha_name(tithi), c.paksha);
        EXPECT_EQ(karana, c.karana);
        EXPECT_EQ(karana_name(karana), c.karana_name);
    }
    // The movable karanas rotate from Bava (2) to Vishti (8) and round again up to 57.
    EXPECT_EQ(karana_name(2), "Bava");
    EXPECT_EQ(karana_name(8), "Vishti");
    EXPECT_EQ(karana_name(9), "Bava");
    EXPECT_EQ(karana_name(57), "Vishti");
}

TEST(PanchangaElements, YogaNakshatraAndPada) {
    EXPECT_EQ(yoga_number(200.0, 170.0), 1u);  // 370 wraps to 10
    EXPECT_EQ(yoga_name(1), "Vishkambha");
    EXPECT_EQ(nakshatra_number(0.0), 1u);
    EXPECT_EQ(nakshatra_pada(0.0), 1u);
    EXPECT_EQ(nakshatra_number(359.99), 27u);
    EXPECT_EQ(nakshatra_pada(359.99), 4u);
    EXPECT_EQ(panchanga_nakshatra_name(27), "Revati");
    EXPECT_EQ(nakshatra_number(13.333333333333334), 2u);
    EXPECT_EQ(nakshatra_pada(13.333333333333334), 1u);
    EXPECT_EQ(panchanga_nakshatra_name(11), "Purva Phalguni");
    const double last = std::nextafter(360.0, 0.0);
    EXPECT_EQ(nakshatra_number(last), 27u);
    EXPECT_EQ(nakshatra_pada(last), 4u);
}

TEST(PanchangaElements, VaraCountsFromSunday) {
    const Vara sunday = vara_from_local_date(2024, 1, 7);
    EXPECT_EQ(sunday.index, 0u);
    EXPECT_EQ(sunday.name, "Sunday");
    const Vara saturday = vara_from_local_date(2024, 1, 13);
    EXPECT_EQ(saturday.index, 6u);
    EXPECT_EQ(saturday.name, "Saturday");
}

}  // namespace
}  // namespace zk

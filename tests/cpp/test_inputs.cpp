// The computations on what callers type refuse their inputs in the order their headers
// state: each case below has two faults, and the first named one must win.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "chart/inputs.hpp"
#include "panchanga/inputs.hpp"
#include "search/inputs.hpp"

namespace zk {
namespace {

const std::string kLat91 = "Invalid parameter: Invalid latitude 91: expected -90..90";
const std::string kFagan =
    "Unknown ayanamsa 'fagan'. Valid options: lahiri, raman, kp, true_chitra, true_pushya, "
    "custom:<offset>";
const std::string kPorphyry =
    "Unknown house_system 'porphyry'. Valid options: equal, placidus, koch, whole_sign";

template <typename T>
std::string failure(const Result<T>& result) {
    return result ? "no error" : result.error().display();
}

TEST(ChartInputs, RefuseInTheirOrder) {
    EXPECT_EQ(failure(chart_from_utc(2001, 2, 29, 0, 0, 0, 91, 0, 0, "lahiri", "equal", true)),
              "Invalid UTC date/time");
    EXPECT_EQ(failure(chart_from_utc(2001, 2, 28, 0, 0, 0, 91, 0, 0, "fagan", "equal", true)),
              kLat91);
    EXPECT_EQ(failure(chart_from_utc(2001, 2, 28, 0, 0, 0, 0, 0, 0, "fagan", "porphyry", true)),
              kFagan);
    EXPECT_EQ(failure(chart_from_local("2001-2-30", "25:00:00", "Nowhere", 91, 0, 0, "fagan",
                                       "equal", true)),
              "Invalid date; expected YYYY-MM-DD");
    EXPECT_EQ(failure(chart_from_local("2001-02-28", "24:00:00", "Nowhere", 91, 0, 0, "fagan",
                                       "equal", true)),
              "Invalid time; expected HH:MM:SS");
    EXPECT_EQ(failure(chart_from_local("2001-02-28", "00:00:00", "Nowhere", 91, 0, 0, "fagan",
                                       "equal", true)),
              "Unknown timezone: Nowhere");
    EXPECT_EQ(failure(chart_from_julian_day(NAN, 91, 0, 0, "fagan", "equal", true)), kFagan);
    EXPECT_EQ(failure(chart_from_julian_day(NAN, 91, 0, 0, "lahiri", "equal", true)),
              "swe_revjul returned invalid date");
    EXPECT_EQ(failure(chart_from_bs(1999, 1, 1, 24, 0, 0, 91, 0, 0, "lahiri", "equal", true)),
              "Invalid time");
    EXPECT_EQ(failure(chart_from_bs(1999, 1, 1, 0, 0, 0, 0, 0, 0, "lahiri", "porphyry", true)),
              kPorphyry);
    EXPECT_EQ(failure(chart_from_bs(1999, 1, 1, 0, 0, 0, 0, 0, 0, "lahiri", "equal", true)),
              "Date/time conversion error");
}

TEST(ChartInputs, DignitiesAndOnePlanet) {
    EXPECT_EQ(failure(dignities_by_name("Rahu", "Aries", 10)), "Invalid planet");
    EXPECT_EQ(failure(dignities_by_name("pluto", "Ophiuchus", 10)), "Invalid planet");
    EXPECT_EQ(failure(dignities_by_name("SUN", "Ophiuchus", 10)), "Invalid sign");
    EXPECT_TRUE(dignities_by_name("SUN", "aries", 10)->is_exalted);
    EXPECT_EQ(failure(sidereal_longitude(NAN, "pluto", "fagan")), "Invalid planet name");
    EXPECT_EQ(failure(sidereal_longitude(NAN, "sun", "fagan")), kFagan);
    EXPECT_EQ(failure(sidereal_longitude(NAN, "sun", "lahiri")),
              "Swiss Ephemeris calculation failed for planet Sun: NaN returned");
}

TEST(PanchangaInputs, RefuseInTheirOrder) {
    EXPECT_EQ(failure(panchanga_from_utc(2001, 2, 29, 0, 0, 0, 91, 0, 0, "fagan", true, "en",
                                         "upper_limb")),
              kLat91);
    EXPECT_EQ(failure(panchanga_from_utc(2001, 2, 29, 0, 0, 0, 0, 0, 0, "fagan", true, "en",
                                         "upper_limb")),
              kFagan);
    EXPECT_EQ(failure(panchanga_from_utc(2001, 2, 29, 0, 0, 0, 0, 0, 0, "lahiri", true, "en",
                                         "upper_limb")),
              "Invalid date/time");
    EXPECT_EQ(failure(panchanga_from_local("2001-2-30", "x", "Nowhere", 91, 0, 0, "fagan", true,
                                           "lunar", "upper_limb")),
              kLat91);
    EXPECT_EQ(failure(panchanga_from_local("2001-02-28", "00:00:00", "Nowhere", 0, 0, 0, "fagan",
                                           true, "lunar", "upper_limb")),
              "Unknown timezone: Nowhere");
    EXPECT_EQ(failure(panchanga_from_local("2001-02-28", "00:00:00", "UTC", 0, 0, 0, "fagan", true,
                                           "lunar", "upper_limb")),
              kFagan);
    EXPECT_EQ(failure(panchanga_from_local("2001-02-28", "00:00:00", "UTC", 0, 0, 0, "lahiri", true,
                                           "lunar", "upper_limb")),
              "Unknown panchanga mode 'lunar'. Valid options: civil_day, sunrise_day");
}

TEST(SearchInputs, RefuseInTheirOrderAndStopWhenAsked) {
    const Interrupted never;
    EXPECT_EQ(failure(transits_between("yesterday", "x", "fagan", true, never)), kFagan);
    EXPECT_EQ(failure(transits_between("yesterday", "x", "lahiri", true, never)),
              "Invalid date 'yesterday': invalid characters");
    EXPECT_EQ(failure(time_windows_near("x", 60, 9, "Aries", 91, 0, 0, "fagan", true, never)),
              kFagan);
    EXPECT_EQ(failure(time_windows_near("x", 60, 9, "Aries", 91, 0, 0, "lahiri", true, never)),
              "ValueError: " + kLat91);

    const std::vector<ChartRow> rows(300, ChartRow{2000, 2, 30, 0, 0, 0, 91, 0, 0});
    EXPECT_EQ(failure(charts_from_rows(rows, "lahiri", "porphyry", true, never)), kPorphyry);
    EXPECT_EQ(failure(charts_from_rows(rows, "lahiri", "equal", true, never)), kLat91);
    std::vector<ChartRow> good(300, ChartRow{2000, 1, 1, 0, 0, 0, 10, 20, 0});
    good[299].day = 30;
    good[299].month = 2;
    EXPECT_EQ(failure(charts_from_rows(good, "lahiri", "equal", true, never)), "Invalid date/time");
    int asked = 0;
    const Interrupted stop = [&] { return ++asked == 1; };
    EXPECT_EQ(failure(charts_from_rows(good, "lahiri", "equal", true, stop)), "Interrupted");
    EXPECT_EQ(asked, 1);  // asked before the 256th chart, not before each one
}

}  // namespace
}  // namespace zk

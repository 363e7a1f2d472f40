// The ephemeris gateway: Julian days, sidereal positions, modes, sunrise, houses.
// Reference longitudes were printed by the Swiss Ephemeris command-line tool, e.g.
// `swetest -bj2451545.0 -ut -p0 -sid1 -fPl -head`.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "ephemeris/ephemeris.hpp"

namespace zk {
namespace {

using K = AyanamsaMode::Kind;
namespace eph = ephemeris;

constexpr double kJ2000 = 2451545.0;
constexpr double kPrintedDeg = 1e-6;  // swetest prints seven decimals
constexpr double kSecondInDays = 1.0 / 86400.0;

double separation_deg(double a, double b) {
    const double d = std::fabs(normalize_degrees(a - b));
    return std::min(d, 360.0 - d);
}

TEST(JulianDay, KnownEpochs) {
    EXPECT_EQ(eph::julian_day(*make_utc(2000, 1, 1, 12, 0, 0)), kJ2000);
    EXPECT_EQ(eph::julian_day(*make_utc(1970, 1, 1, 0, 0, 0)), 2440587.5);
    EXPECT_EQ(eph::julian_day(*make_utc(1858, 11, 17, 0, 0, 0)), 2400000.5);  // MJD zero
    EXPECT_EQ(eph::from_julian_day(kJ2000), make_utc(2000, 1, 1, 12, 0, 0));
    EXPECT_EQ(eph::from_julian_day(2440587.5), make_utc(1970, 1, 1, 0, 0, 0));
}

TEST(JulianDay, RoundTripsToTheSecond) {
    std::mt19937_64 rng(7);
    std::uniform_int_distribution<int64_t> any_second(
        to_unix_seconds(*make_utc(-3000, 1, 1, 0, 0, 0)),
        to_unix_seconds(*make_utc(5000, 12, 31, 23, 59, 59)));
    for (int i = 0; i < 20000; ++i) {
        const UtcDateTime t = *from_unix_seconds(any_second(rng));
        const double jd = eph::julian_day(t);
        // The Julian day is the unix day count shifted by the 1970 epoch.
        ASSERT_NEAR(jd, 2440587.5 + to_unix_seconds(t) / 86400.0, 1e-6);
        EXPECT_EQ(eph::from_julian_day(jd), t) << format_rfc3339_z(t);
    }
}

TEST(JulianDay, RoundingCarriesIntoTheNextDay) {
    // 0.3 s before midnight rounds up to 86400 s, which is midnight of the next day.
    EXPECT_EQ(eph::from_julian_day(2451545.5 - 0.3 * kSecondInDays), make_utc(2000, 1, 2, 0, 0, 0));
    EXPECT_EQ(eph::from_julian_day(2451604.5 - 0.3 * kSecondInDays),  // 2000-02-29 into March
              make_utc(2000, 3, 1, 0, 0, 0));
    EXPECT_EQ(eph::from_julian_day(2451545.5 - 0.7 * kSecondInDays),
              make_utc(2000, 1, 1, 23, 59, 59));
}

TEST(JulianDay, UnrepresentableInstantsGiveNothing) {
    for (double jd : {double{NAN}, double{INFINITY}, -double{INFINITY}, 1e300, -1e300, 1e12,
                      -1e12, 4e9, -4e9}) {
        EXPECT_FALSE(eph::from_julian_day(jd).has_value()) << jd;
    }
}

TEST(CalcUt, MatchesTheLibraryToolForEveryMode) {
    struct Case {
        AyanamsaMode mode;
        double sun_deg;
    };
    const Case cases[] = {
        {{K::Lahiri, 0.0}, 256.5156962},       // -sid1
        {{K::Raman, 0.0}, 257.9619975},        // -sid3
        {{K::Krishnamurti, 0.0}, 256.6125485}, // -sid5
        {{K::TrueChitra, 0.0}, 256.5327706},   // -sid27
        {{K::TruePushya, 0.0}, 257.6456968},   // -sid29
    };
    for (const Case& c : cases) {
        eph::select_sidereal_mode(c.mode);
        auto sun = eph::calc_ut(kJ2000, true, Planet::Sun);
        ASSERT_TRUE(sun.has_value());
        EXPECT_NEAR(sun->longitude, c.sun_deg, kPrintedDeg) << ayanamsa_name(c.mode);
    }
}

TEST(CalcUt, CustomAyanamsaIsDegreesAtJ2000) {
    eph::select_sidereal_mode({K::Custom, 0.0});
    // Zero ayanamsa at J2000.0 leaves the mean (nutation-free) tropical longitude.
    const double tropical = eph::calc_ut(kJ2000, true, Planet::Sun)->longitude;
    EXPECT_NEAR(tropical, 280.3727885, kPrintedDeg);  // -sidudef2451545.0,0
    eph::select_sidereal_mode({K::Lahiri, 0.0});
    const double lahiri = eph::calc_ut(kJ2000, true, Planet::Sun)->longitude;
    EXPECT_NEAR(tropical - lahiri, 23.85, 0.01);  // Lahiri ayanamsa at J2000.0

    eph::select_sidereal_mode({K::Custom, 23.5});
    EXPECT_NEAR(eph::calc_ut(kJ2000, true, Planet::Moon)->longitude, 199.8276211, kPrintedDeg);
    for (double offset : {23.5, -1.0, 400.0}) {
        eph::select_sidereal_mode({K::Custom, offset});
        const double lon = eph::calc_ut(kJ2000, true, Planet::Moon)->longitude;
        eph::select_sidereal_mode({K::Custom, 0.0});
        const double base = eph::calc_ut(kJ2000, true, Planet::Moon)->longitude;
        EXPECT_LT(separation_deg(base - lon, offset), 1e-9) << offset;
        EXPECT_GE(lon, 0.0);
        EXPECT_LT(lon, 360.0);
    }
}

TEST(CalcUt, PositionsAreSiderealAndWellFormed) {
    eph::select_sidereal_mode({K::Lahiri, 0.0});
    for (Planet p : kAllPlanets) {
        auto pos = eph::calc_ut(kJ2000, true, p);
        ASSERT_TRUE(pos.has_value()) << planet_name(p);
        EXPECT_EQ(pos->planet, p);
        EXPECT_GE(pos->longitude, 0.0);
        EXPECT_LT(pos->longitude, 360.0);
        EXPECT_EQ(pos->is_retrograde, pos->speed < 0.0);
        EXPECT_FALSE(pos->sign.has_value());
        EXPECT_FALSE(pos->nakshatra.has_value());
        EXPECT_FALSE(pos->house.has_value());
        EXPECT_TRUE(pos->divisional_signs.empty());
        EXPECT_FALSE(pos->shadbala.has_value());
    }
    EXPECT_NEAR(eph::calc_ut(kJ2000, true, Planet::Moon)->longitude, 199.4705287, kPrintedDeg);
    EXPECT_NEAR(eph::calc_ut(kJ2000, true, Planet::Mars)->longitude, 304.1100801, kPrintedDeg);
    EXPECT_NEAR(eph::calc_ut(kJ2000, true, Planet::Mercury)->longitude, 248.0360545, kPrintedDeg);
    // The nodes move backwards on average; the mean node always does.
    EXPECT_TRUE(eph::calc_ut(kJ2000, false, Planet::Rahu)->is_retrograde);
}

TEST(CalcUt, KetuIsOppositeRahuWithItsLatitudeAndSpeed) {
    eph::select_sidereal_mode({K::Lahiri, 0.0});
    for (bool true_nodes : {true, false}) {
        for (double jd : {kJ2000, 2415020.5, 2488070.0, 2460000.25}) {
            const PlanetPosition rahu = *eph::calc_ut(jd, true_nodes, Planet::Rahu);
            const PlanetPosition ketu = *eph::calc_ut(jd, true_nodes, Planet::Ketu);
            EXPECT_EQ(ketu.planet, Planet::Ketu);
            EXPECT_DOUBLE_EQ(ketu.longitude, std::fmod(rahu.longitude + 180.0, 360.0));
            EXPECT_EQ(ketu.latitude, rahu.latitude);
            EXPECT_EQ(ketu.speed, rahu.speed);
            EXPECT_EQ(ketu.is_retrograde, rahu.is_retrograde);
        }
    }
    // Mean node at J2000: swetest -pm -sid1 -fPls.
    EXPECT_NEAR(eph::calc_ut(kJ2000, false, Planet::Rahu)->longitude, 101.1874236, kPrintedDeg);
    EXPECT_NEAR(eph::calc_ut(kJ2000, false, Planet::Rahu)->speed, -0.0529920, kPrintedDeg);
    EXPECT_NEAR(eph::calc_ut(kJ2000, true, Planet::Rahu)->longitude, 100.1008014, kPrintedDeg);
}

TEST(CalcUt, TrueNodesChangeOnlyTheNodes) {
    eph::select_sidereal_mode({K::Lahiri, 0.0});
    for (Planet p : kAllPlanets) {
        const PlanetPosition with_true = *eph::calc_ut(kJ2000, true, p);
        const PlanetPosition with_mean = *eph::calc_ut(kJ2000, false, p);
        if (p == Planet::Rahu || p == Planet::Ketu) {
            EXPECT_GT(separation_deg(with_true.longitude, with_mean.longitude), 0.5);
        } else {
            EXPECT_EQ(with_true.longitude, with_mean.longitude) << planet_name(p);
            EXPECT_EQ(with_true.speed, with_mean.speed) << planet_name(p);
        }
    }
}

TEST(CalcUt, FailuresNameThePlanet) {
    eph::select_sidereal_mode({K::Lahiri, 0.0});
    auto nan = eph::calc_ut(NAN, true, Planet::Mars);
    ASSERT_FALSE(nan.has_value());
    EXPECT_EQ(nan.error(), ZodiakitError::swe("Mars", "NaN returned"));
    EXPECT_EQ(nan.error().display(),
              "Swiss Ephemeris calculation failed for planet Mars: NaN returned");
    // Far outside every ephemeris the library reports its own text.
    auto far = eph::calc_ut(1e12, true, Planet::Saturn);
    ASSERT_FALSE(far.has_value());
    EXPECT_EQ(far.error().kind, ZodiakitError::Kind::SweCalculation);
    EXPECT_EQ(far.error().planet, "Saturn");
    EXPECT_FALSE(far.error().text.empty());
}

TEST(Sunrise, GreenwichAndThePoles) {
    // Greenwich, 2000-01-01: the Sun rose at 08:05:38 UT (swetest -rise -geopos0,51.4769,0).
    const double start = eph::julian_day(*make_utc(2000, 1, 1, 0, 0, 0));
    auto rise = eph::sunrise(start, 51.4769, 0.0, 0.0);
    ASSERT_TRUE(rise.has_value());
    const double expected = start + (8 * 3600 + 5 * 60 + 38) * kSecondInDays;
    EXPECT_NEAR(*rise, expected, 60 * kSecondInDays);

    const ZodiakitError always_up = ZodiakitError::invalid_parameter("Sun always up?");
    const double december = eph::julian_day(*make_utc(2023, 12, 21, 0, 0, 0));
    const double june = eph::julian_day(*make_utc(2023, 6, 21, 0, 0, 0));
    EXPECT_EQ(eph::sunrise(december, 85.0, 10.0, 0.0).error(), always_up);   // polar night
    EXPECT_EQ(eph::sunrise(june, 85.0, 10.0, 0.0).error(), always_up);       // midnight sun
    EXPECT_EQ(eph::sunrise(june, -89.0, 0.0, 0.0).error(), always_up);       // southern night
    EXPECT_EQ(always_up.display(), "Invalid parameter: Sun always up?");
    // The library answers a non-finite start or place with a non-finite "sunrise".
    EXPECT_EQ(eph::sunrise(NAN, 45.0, 0.0, 0.0).error(), always_up);
    EXPECT_EQ(eph::sunrise(start, 45.0, NAN, 0.0).error(), always_up);
}

TEST(Houses, AscendantIsTheEqualSystemsFirstCusp) {
    eph::select_sidereal_mode({K::Lahiri, 0.0});
    auto asc = eph::ascendant(kJ2000, 27.7, 85.3);
    auto equal = eph::houses(kJ2000, 27.7, 85.3, 'E');
    ASSERT_TRUE(asc && equal);
    EXPECT_EQ(*asc, equal->angles[0]);
    for (int h = 1; h <= 12; ++h) {
        EXPECT_LT(separation_deg(equal->cusps[h], *asc + 30.0 * (h - 1)), 1e-9) << h;
    }
    auto whole = eph::houses(kJ2000, 27.7, 85.3, 'W');
    ASSERT_TRUE(whole.has_value());
    EXPECT_EQ(whole->cusps[1], 30.0 * std::floor(*asc / 30.0));
}

}  // namespace
}  // namespace zk

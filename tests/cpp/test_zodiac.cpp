// Zodiac arithmetic (longitude to sign, nakshatra, pada; counting houses) and the dignity
// table, as pure functions.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>
#include <utility>

#include "core/dignity.hpp"
#include "core/zodiac.hpp"

namespace zk {
namespace {

TEST(LongitudeLookup, EdgesAndAFineGrid) {
    EXPECT_EQ(sign_from_longitude(0.0), Sign::Aries);
    EXPECT_EQ(nakshatra_from_longitude(0.0), Nakshatra::Ashwini);
    for (double lon : {359.9999, std::nextafter(360.0, 0.0)}) {
        EXPECT_EQ(sign_from_longitude(lon), Sign::Pisces);
        EXPECT_EQ(nakshatra_from_longitude(lon), Nakshatra::Revati);
    }
    EXPECT_EQ(sign_from_longitude(std::nextafter(30.0, 0.0)), Sign::Aries);
    // Out-of-range input never yields a value outside the enumeration.
    EXPECT_EQ(sign_from_longitude(720.0), Sign::Pisces);
    EXPECT_EQ(sign_from_longitude(NAN), Sign::Aries);
    EXPECT_EQ(nakshatra_from_longitude(INFINITY), Nakshatra::Revati);
    // The varga code counts signs on past Pisces, so the index itself is neither capped nor
    // wrapped.
    EXPECT_EQ(sign_index(400.0), 13u);
    EXPECT_EQ(sign_index(-5.0), 0u);
    for (int i = 0; i < 360 * 64; ++i) {
        const double lon = i / 64.0;
        EXPECT_EQ(sign_number(sign_from_longitude(lon)), static_cast<unsigned>(lon / 30.0) + 1);
        const unsigned n = static_cast<unsigned>(nakshatra_from_longitude(lon));
        ASSERT_GE(n, 1u);
        EXPECT_LE((n - 1) * kNakshatraSpanDeg, lon + 1e-9) << lon;
        EXPECT_GT(n * kNakshatraSpanDeg, lon - 1e-9) << lon;
    }
    EXPECT_EQ(normalize_degrees(-30.0), 330.0);
    EXPECT_EQ(normalize_degrees(725.0), 5.0);
    const double r = normalize_degrees(-1e-300);
    EXPECT_TRUE(r >= 0.0 && r < 360.0) << r;
}

TEST(LongitudeLookup, PadasStepThroughAllHundredAndEightQuarters) {
    // Walking the circle (and once more, past 360) in steps much finer than a pada, the
    // (nakshatra, pada) pair only ever moves on to the next quarter, 108 times a circle.
    // The grid falls on boundaries too (40 degrees starts Rohini).
    unsigned changes = 0;
    unsigned last = 0;
    for (int i = 0; i <= 720 * 50; ++i) {
        const double lon = i / 50.0;
        const unsigned n = nakshatra_number(lon);
        const unsigned pada = nakshatra_pada(lon);
        ASSERT_TRUE(pada >= 1 && pada <= 4) << lon;
        ASSERT_EQ(n, static_cast<unsigned>(nakshatra_from_longitude(normalize_degrees(lon))));
        const unsigned quarter = (n - 1) * 4 + (pada - 1);
        if (i > 0 && quarter != last) {
            ++changes;
            EXPECT_EQ(quarter, (last + 1) % 108) << lon;
        }
        last = quarter;
    }
    EXPECT_EQ(changes, 216u);
    EXPECT_EQ(nakshatra_pada(-kPadaSpanDeg / 2), 4u);  // just behind 0 Aries: Revati's 4th
}

TEST(LongitudeLookup, NakshatraAndPadaChangeTogether) {
    // On a nakshatra's first degree the pada is 1, never the previous nakshatra's 4th: at
    // every boundary, as a multiple of 360/27 and as thirds of a degree (which round to
    // either side), the quarter steps on by one at most from the double before it.
    auto quarter = [](double lon) {
        return (nakshatra_number(lon) - 1) * 4 + nakshatra_pada(lon) - 1;
    };
    for (int k = 1; k < 27; ++k) {
        for (double edge : {k * kNakshatraSpanDeg, k * 40.0 / 3.0}) {
            const unsigned before = quarter(std::nextafter(edge, 0.0));
            const unsigned at = quarter(edge);
            EXPECT_TRUE(at == before || at == before + 1) << edge << ": " << before << " " << at;
        }
    }
    EXPECT_EQ(nakshatra_from_longitude(40.0), Nakshatra::Rohini);
    EXPECT_EQ(nakshatra_pada(40.0), 1u);
}

TEST(CountingHouses, FromAndOnAreInversesAndKendrasAreAngles) {
    for (unsigned h = 1; h <= 12; ++h) {
        for (unsigned k = 1; k <= 12; ++k) {
            EXPECT_EQ(houses_from(nth_house_from(h, k), h), k) << h << " " << k;
        }
    }
    EXPECT_EQ(nth_house_from(10, 4), 1u);
    EXPECT_EQ(houses_from(1, 10), 4u);
    EXPECT_EQ(nth_sign_from(Sign::Capricorn, 10), Sign::Libra);
    EXPECT_EQ(count_from(0, 26, 27), 2u);  // Ashwini is the 2nd from Revati
    std::set<unsigned> kendras;
    for (unsigned h = 1; h <= 12; ++h) {
        if (is_kendra(h)) kendras.insert(h);
    }
    EXPECT_EQ(kendras, (std::set<unsigned>{1, 4, 7, 10}));
}

TEST(Dignity, ExaltationFacesDebilitationAndOwnSignsAreRuled) {
    for (Planet planet : kClassicalPlanets) {
        const DignityRow* row = dignity_row(planet);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(nth_sign_from(row->exaltation, 7), row->debilitation) << planet_name(planet);
        const Dignities exalted = compute_dignities(planet, row->exaltation, 0.5);
        EXPECT_TRUE(exalted.is_exalted && !exalted.is_debilitated) << planet_name(planet);
        EXPECT_TRUE(compute_dignities(planet, row->debilitation, 0.5).is_debilitated);
    }
    for (Planet node : {Planet::Rahu, Planet::Ketu}) {
        EXPECT_EQ(dignity_row(node), nullptr);
        const Dignities d = compute_dignities(node, Sign::Gemini, 75.0);
        EXPECT_FALSE(d.is_exalted || d.is_debilitated || d.is_own_sign || d.is_moolatrikona);
        EXPECT_FALSE(is_own_or_exalted(node, Sign::Gemini));
    }
    // The strong signs of the yogas: own signs plus exaltation.
    const std::pair<Planet, std::set<Sign>> strong[] = {
        {Planet::Mars, {Sign::Aries, Sign::Scorpio, Sign::Capricorn}},
        {Planet::Mercury, {Sign::Gemini, Sign::Virgo}},
        {Planet::Jupiter, {Sign::Cancer, Sign::Sagittarius, Sign::Pisces}},
        {Planet::Venus, {Sign::Taurus, Sign::Libra, Sign::Pisces}},
        {Planet::Saturn, {Sign::Libra, Sign::Capricorn, Sign::Aquarius}},
    };
    for (const auto& [planet, signs] : strong) {
        for (unsigned n = 1; n <= 12; ++n) {
            EXPECT_EQ(is_own_or_exalted(planet, sign_from_number(n)),
                      signs.count(sign_from_number(n)) == 1)
                << planet_name(planet) << " " << n;
        }
    }
}

TEST(Dignity, MoolatrikonaRangesByDegreeWithinTheSign) {
    // Moon in Taurus from 4 degrees to the sign's end; Mercury in Virgo 16 to 20 only.
    for (auto [planet, sign, longitude, expected] :
         {std::tuple{Planet::Moon, Sign::Taurus, 33.999, false},
          {Planet::Moon, Sign::Taurus, 34.0, true},
          {Planet::Moon, Sign::Taurus, std::nextafter(60.0, 0.0), true},
          {Planet::Mercury, Sign::Virgo, 166.0, true},
          {Planet::Mercury, Sign::Virgo, 170.0, false},
          {Planet::Sun, Sign::Leo, 139.99, true},
          {Planet::Sun, Sign::Aries, 10.0, false},  // exalted, not moolatrikona
          {Planet::Saturn, Sign::Aquarius, 300.0 + 19.5, true}}) {
        EXPECT_EQ(compute_dignities(planet, sign, longitude).is_moolatrikona, expected)
            << planet_name(planet) << " " << longitude;
    }
}

}  // namespace
}  // namespace zk

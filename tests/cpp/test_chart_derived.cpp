// Aspects, ashtakavarga and shadbala on hand-built planet records.
#include <gtest/gtest.h>

#include <numeric>
#include <random>

#include "chart/ashtakavarga.hpp"
#include "chart/drishti.hpp"
#include "chart/shadbala.hpp"

// Records below are built with designated initialisers that leave the other members default.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace zk {
namespace {

using enum Planet;

// Nine records Sun..Ketu; house 0 stands for a record without a house.
std::vector<PlanetPosition> planets_in(const std::array<unsigned, 9>& houses,
                                       const std::array<double, 9>& longitudes = {}) {
    std::vector<PlanetPosition> planets(9);
    for (Planet p : kAllPlanets) {
        const unsigned i = planet_index(p);
        planets[i].planet = p;
        planets[i].longitude = longitudes[i];
        if (houses[i] != 0) planets[i].house = houses[i];
    }
    return planets;
}

TEST(Aspects, SeventhForAllThenSpecialAspectsNamingTheFirstOccupant) {
    //                                  Sun Moon Mars Merc Jup Ven Sat Rahu Ketu
    const auto aspects = compute_aspects(planets_in({1, 2, 11, 3, 1, 5, 12, 6, 12}));
    const std::vector<std::tuple<Planet, unsigned, std::optional<Planet>, bool>> expected = {
        {Sun, 7, {}, false},      {Moon, 8, {}, false},      {Mars, 5, Venus, false},
        {Mars, 2, Moon, true},    {Mars, 6, Rahu, true},     {Mercury, 9, {}, false},
        {Jupiter, 7, {}, false},  {Jupiter, 5, Venus, true}, {Jupiter, 9, {}, true},
        {Venus, 11, Mars, false}, {Saturn, 6, Rahu, false},  {Saturn, 2, Moon, true},
        {Saturn, 9, {}, true},    {Rahu, 12, Saturn, false}, {Ketu, 6, Rahu, false}};
    ASSERT_EQ(aspects.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const Aspect& a = aspects[i];
        EXPECT_EQ(std::tuple(a.from_planet, unsigned{a.to_house}, a.to_planet, a.is_special),
                  expected[i])
            << "aspect " << i;
    }
}

TEST(Ashtakavarga, TotalsAreFixedWhateverThePlacements) {
    const std::array<uint8_t, 12> sun_row{3, 3, 3, 4, 2, 5, 4, 3, 5, 6, 7, 3};  // all in house 1
    EXPECT_EQ(compute_ashtakavarga(planets_in({1, 1, 1, 1, 1, 1, 1, 1, 1})).binna.at("sun"),
              sun_row);
    const std::map<std::string, unsigned> totals = {{"sun", 48},     {"moon", 49},    {"mars", 39},
                                                    {"mercury", 54}, {"jupiter", 56}, {"venus", 52},
                                                    {"saturn", 39}};
    std::mt19937 rng(20240115);
    std::uniform_int_distribution<unsigned> house(0, 12);
    for (int trial = 0; trial < 500; ++trial) {
        std::array<unsigned, 9> houses;
        for (unsigned& h : houses) h = house(rng);
        const Ashtakavarga av = compute_ashtakavarga(planets_in(houses));
        ASSERT_EQ(av.binna.size(), 7u);
        for (const auto& [key, counts] : av.binna) {
            ASSERT_EQ(std::accumulate(counts.begin(), counts.end(), 0u), totals.at(key)) << key;
        }
        ASSERT_EQ(std::accumulate(av.sarva.begin(), av.sarva.end(), 0u), 337u);
    }
}

// The strength of `p.planet` with `p` placed among eight default records.
ShadbalaScore strength(const PlanetPosition& p, const std::vector<Aspect>& aspects = {}) {
    auto planets = planets_in({});
    planets[planet_index(p.planet)] = p;
    apply_shadbala(planets, aspects, {2024, 1, 8, 12, 0, 0});
    return *planets[planet_index(p.planet)].shadbala;
}

TEST(Shadbala, SthanaDikAndDrik) {
    PlanetPosition sun = {.planet = Sun, .sign = Sign::Aries};
    sun.is_exalted = sun.is_own_sign = sun.is_moolatrikona = true;
    EXPECT_EQ(strength(sun).sthana_bala, 60.0);
    sun.is_exalted = false;
    sun.is_debilitated = true;
    EXPECT_EQ(strength(sun).sthana_bala, 45.0);
    EXPECT_EQ(strength({.planet = Jupiter, .sign = Sign::Gemini}).sthana_bala, 3.75);  // enemy
    EXPECT_EQ(strength({.planet = Moon, .sign = Sign::Leo}).sthana_bala, 22.5);        // friend
    EXPECT_EQ(strength({.planet = Mercury}).sthana_bala, 11.25);  // no sign: Mars's, neutral
    EXPECT_EQ(strength({.planet = Mars, .house = 10}).dik_bala, 60.0);
    EXPECT_EQ(strength({.planet = Saturn, .house = 12}).dik_bala, 10.0);

    const PlanetPosition first{.planet = Sun, .house = 1};
    const Aspect jupiter{Jupiter, 1, Sun, 1.0, true}, moon{Moon, 1, Sun, 1.0, false},
        saturn{Saturn, 1, Sun, 1.0, false}, elsewhere{Venus, 2, {}, 1.0, false};
    EXPECT_EQ(strength(first, {jupiter, moon, elsewhere}).drik_bala, 30.0);
    EXPECT_EQ(strength(first, {saturn, saturn, saturn}).drik_bala, 0.0);
    EXPECT_EQ(strength(first, {jupiter, jupiter, moon, moon, moon}).drik_bala, 60.0);
}

TEST(Shadbala, PakshaHoraAndChesta) {
    // {Sun, Moon, benefic and malefic paksha out of 60}
    const std::array<std::array<double, 4>, 4> cases = {{
        {100.0, 105.0, 4.0, 56.0},  // new moon
        {10.0, 189.0, 60.0, 0.0},   // 179 deg: t = 14, the last tithi of the waxing half
        {10.0, 191.0, 4.0, 56.0},   // 181 deg: t = 15, the first of the waning half
        {1e-14, 0.0, 60.0, 0.0},    // a remainder that rounds up to 360 is still the 30th tithi
    }};
    for (const auto& [sun, moon, benefic, malefic] : cases) {
        EXPECT_NEAR(60.0 * paksha_share(Jupiter, sun, moon), benefic, 1e-9) << moon - sun;
        EXPECT_NEAR(60.0 * paksha_share(Saturn, sun, moon), malefic, 1e-9) << moon - sun;
    }
    EXPECT_EQ(hora_lord({2024, 1, 7, 1, 30, 0}), Venus);  // a Sunday, its second hour
    EXPECT_EQ(hora_lord({2024, 1, 13, 23, 0, 0}), Mars);  // Saturday, (4 + 23) mod 7

    // Sun in the 7th (a day birth) at new moon, in the Sun's own hora.
    auto planets = planets_in({7, 0, 0, 0, 0, 0, 0, 0, 0}, {100.0, 105.0});
    planets[2].is_retrograde = true;
    planets[1].speed = 13.0;
    apply_shadbala(planets, {}, {2024, 1, 7, 0, 30, 0});
    EXPECT_NEAR(planets[0].shadbala->kala_bala, 60 + 56 + 60 + 30, 1e-9);
    EXPECT_EQ(planets[1].shadbala->chesta_bala, 30.0 / 14.0);  // the Moon by its speed
    EXPECT_EQ(planets[2].shadbala->chesta_bala, 60.0);         // retrograde Mars
    EXPECT_EQ(planets[4].shadbala->chesta_bala, 30.0);
}

}  // namespace
}  // namespace zk

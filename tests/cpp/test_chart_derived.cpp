// Aspects, chara karakas, ashtakavarga and shadbala on hand-built planet records.
#include <gtest/gtest.h>

#include <numeric>
#include <random>

#include "calc/ashtakavarga.hpp"
#include "calc/aspects.hpp"
#include "calc/karakas.hpp"
#include "strength/shadbala.hpp"

namespace zk {
namespace {

constexpr Planet Sun = Planet::Sun, Moon = Planet::Moon, Mars = Planet::Mars,
                 Mercury = Planet::Mercury, Jupiter = Planet::Jupiter, Venus = Planet::Venus,
                 Saturn = Planet::Saturn, Rahu = Planet::Rahu, Ketu = Planet::Ketu;

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
        EXPECT_EQ(a.strength, 1.0);
    }
    // The Sun without a house casts nothing and is never aspected.
    for (const Aspect& a : compute_aspects(planets_in({0, 7, 2, 3, 1, 5, 6, 8, 2}))) {
        EXPECT_NE(a.from_planet, Sun);
        EXPECT_NE(a.to_planet, Sun);
    }
}

TEST(Karakas, RankedByDegreeWithinSignOnlyAmongTheSevenPlanets) {
    // Moon and Mars both stand at 15 deg: the Moon, earlier in planet order, ranks higher.
    // Rahu and Ketu at 29.9 deg take no role.
    const auto karakas = compute_karakas(
        planets_in({}, {119.5, 45.0, 75.0, 12.0, 200.0, 351.0, 300.1, 29.9, 209.9}));
    const std::map<Planet, Karaka> expected = {
        {Sun, Karaka::Atmakaraka},   {Venus, Karaka::Amatyakaraka},
        {Jupiter, Karaka::Bhratrikaraka}, {Moon, Karaka::Matrikaraka},
        {Mars, Karaka::Putrakaraka}, {Mercury, Karaka::Jnatikaraka},
        {Saturn, Karaka::Darakaraka}};
    EXPECT_EQ(karakas, expected);
}

TEST(Ashtakavarga, AllInTheFirstHouse) {
    const Ashtakavarga av = compute_ashtakavarga(planets_in({1, 1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(av.binna.at("sun"), (std::array<uint8_t, 12>{3, 3, 3, 4, 2, 5, 4, 3, 5, 6, 7, 3}));
    // Records without houses count from the 1st, like the ascendant.
    EXPECT_EQ(compute_ashtakavarga(planets_in({})).binna, av.binna);
}

TEST(Ashtakavarga, TotalsAreFixedWhateverThePlacements) {
    const std::map<std::string, unsigned> totals = {{"sun", 48},     {"moon", 49},
                                                    {"mars", 39},    {"mercury", 54},
                                                    {"jupiter", 56}, {"venus", 52},
                                                    {"saturn", 39}};
    std::mt19937 rng(20240115);
    std::uniform_int_distribution<unsigned> house(0, 12);
    for (int trial = 0; trial < 2000; ++trial) {
        std::array<unsigned, 9> houses;
        for (unsigned& h : houses) h = house(rng);
        const Ashtakavarga av = compute_ashtakavarga(planets_in(houses));
        ASSERT_EQ(av.binna.size(), 7u);
        std::array<uint8_t, 12> sarva{};
        for (const auto& [key, counts] : av.binna) {
            ASSERT_EQ(std::accumulate(counts.begin(), counts.end(), 0u), totals.at(key)) << key;
            for (size_t h = 0; h < 12; ++h) sarva[h] += counts[h];
        }
        ASSERT_EQ(av.sarva, sarva);
    }
}

// The strength of `p.planet` with `p` placed among eight default records.
ShadbalaScore strength(const PlanetPosition& p, const std::vector<Aspect>& aspects = {},
                       const UtcDateTime& when = {2024, 1, 8, 12, 0, 0}) {  // Venus's hora
    auto planets = planets_in({});
    planets[planet_index(p.planet)] = p;
    apply_shadbala(planets, aspects, when);
    return *planets[planet_index(p.planet)].shadbala;
}
PlanetPosition placed(Planet planet, std::optional<Sign> sign, std::optional<uint8_t> house = {}) {
    PlanetPosition p;
    p.planet = planet;
    p.sign = sign;
    p.house = house;
    return p;
}

TEST(Shadbala, SthanaAndDik) {
    PlanetPosition sun = placed(Sun, Sign::Aries);
    sun.is_exalted = sun.is_moolatrikona = sun.is_own_sign = true;
    EXPECT_EQ(strength(sun).sthana_bala, 60.0);
    sun.is_exalted = false;
    sun.is_debilitated = true;
    EXPECT_EQ(strength(sun).sthana_bala, 45.0);
    sun.is_moolatrikona = sun.is_own_sign = false;
    EXPECT_EQ(strength(sun).sthana_bala, 0.0);
    EXPECT_EQ(strength(placed(Jupiter, Sign::Gemini)).sthana_bala, 3.75);  // enemy's sign
    EXPECT_EQ(strength(placed(Moon, Sign::Leo)).sthana_bala, 22.5);        // friend's
    EXPECT_EQ(strength(placed(Saturn, Sign::Sagittarius)).sthana_bala, 11.25);
    EXPECT_EQ(strength(placed(Mercury, {})).sthana_bala, 11.25);  // no sign: Mars's, neutral

    EXPECT_EQ(strength(placed(Mars, {}, 10)).dik_bala, 60.0);
    EXPECT_EQ(strength(placed(Mars, {}, 4)).dik_bala, 0.0);
    EXPECT_EQ(strength(placed(Mars, {}, 1)).dik_bala, 30.0);
    EXPECT_EQ(strength(placed(Sun, {}, 1)).dik_bala, 60.0);
    EXPECT_EQ(strength(placed(Saturn, {}, 12)).dik_bala, 10.0);
}

TEST(Shadbala, PakshaAndHora) {
    // {Sun, Moon, benefic and malefic paksha out of 60}
    const std::array<std::array<double, 4>, 5> cases = {{
        {100.0, 105.0, 4.0, 56.0},  // new moon
        {10.0, 189.0, 60.0, 0.0},   // 179 deg: last tithi of the waxing half
        {10.0, 191.0, 4.0, 56.0},   // 181 deg: first of the waning half
        {350.0, 10.0, 8.0, 52.0},   // elongation across 0 deg
        {1e-14, 0.0, 60.0, 0.0},    // a remainder that rounds up to 360 is still the 30th tithi
    }};
    for (const auto& [sun, moon, benefic, malefic] : cases) {
        EXPECT_NEAR(60.0 * paksha_share(Jupiter, sun, moon), benefic, 1e-9) << moon - sun;
        EXPECT_NEAR(60.0 * paksha_share(Saturn, sun, moon), malefic, 1e-9) << moon - sun;
    }
    EXPECT_EQ(hora_lord({2024, 1, 7, 0, 30, 0}), Sun);  // a Sunday
    EXPECT_EQ(hora_lord({2024, 1, 7, 1, 30, 0}), Venus);
    EXPECT_EQ(hora_lord({2024, 1, 8, 0, 30, 0}), Moon);
    EXPECT_EQ(hora_lord({2024, 1, 13, 23, 0, 0}), Mars);  // Saturday, (4 + 23) mod 7
}

TEST(Shadbala, WholeScoreOfADayBirth) {
    // Sun in the 7th (a day birth) at new moon, in the Sun's own hora.
    auto planets = planets_in({7, 0, 0, 0, 0, 0, 0, 0, 0}, {100.0, 105.0});
    planets[2].is_retrograde = true;
    planets[1].speed = 13.0;
    apply_shadbala(planets, {}, {2024, 1, 7, 0, 30, 0});
    EXPECT_NEAR(planets[0].shadbala->kala_bala, 60 + 56 + 60 + 30, 1e-9);
    EXPECT_NEAR(planets[1].shadbala->kala_bala, 0 + 4 + 0 + 30, 1e-9);
    EXPECT_NEAR(planets[3].shadbala->kala_bala, 30 + 4 + 0 + 30, 1e-9);  // Mercury
    EXPECT_EQ(planets[1].shadbala->chesta_bala, 30.0 / 14.0);
    EXPECT_EQ(planets[2].shadbala->chesta_bala, 60.0);
    EXPECT_EQ(planets[4].shadbala->chesta_bala, 30.0);
    EXPECT_FALSE(planets[7].shadbala || planets[8].shadbala);
    for (size_t i = 0; i < 7; ++i) {
        const ShadbalaScore& s = *planets[i].shadbala;
        EXPECT_EQ(s.total, s.sthana_bala + s.dik_bala + s.kala_bala + s.chesta_bala +
                               s.naisargika_bala + s.drik_bala);
        EXPECT_EQ(s.is_sufficient, s.total >= s.required);
    }
    EXPECT_EQ(planets[0].shadbala->naisargika_bala, 60.0);
    EXPECT_EQ(planets[6].shadbala->required, 300.0);
}

TEST(Shadbala, DrikFromAspectsOnTheHouseClamped) {
    const PlanetPosition sun = placed(Sun, {}, 1);
    const Aspect jupiter{Jupiter, 1, Sun, 1.0, true}, moon{Moon, 1, Sun, 1.0, false},
        saturn{Saturn, 1, Sun, 1.0, false}, elsewhere{Venus, 2, {}, 1.0, false};
    EXPECT_EQ(strength(sun, {jupiter, moon, elsewhere}).drik_bala, 30.0);
    EXPECT_EQ(strength(sun, {jupiter, moon, saturn}).drik_bala, 15.0);
    EXPECT_EQ(strength(sun, {saturn, saturn, saturn}).drik_bala, 0.0);
    EXPECT_EQ(strength(sun, {jupiter, jupiter, moon, moon, moon}).drik_bala, 60.0);
    EXPECT_EQ(strength(placed(Sun, {}), {jupiter, moon}).drik_bala, 0.0);  // no house
}

}  // namespace
}  // namespace zk

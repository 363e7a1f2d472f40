// Aspects, chara karakas and ashtakavarga on hand-built planet records.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "calc/ashtakavarga.hpp"
#include "calc/aspects.hpp"
#include "calc/karakas.hpp"

namespace zk {
namespace {

// Nine records Sun..Ketu; house 0 stands for a record without a house.
std::vector<PlanetPosition> planets_in(const std::array<unsigned, 9>& houses,
                                       const std::array<double, 9>& longitudes = {}) {
    std::vector<PlanetPosition> planets;
    for (Planet p : kAllPlanets) {
        PlanetPosition& position = planets.emplace_back();
        position.planet = p;
        position.longitude = longitudes[planet_index(p)];
        if (houses[planet_index(p)] != 0) position.house = houses[planet_index(p)];
    }
    return planets;
}

constexpr Planet Sun = Planet::Sun, Moon = Planet::Moon, Mars = Planet::Mars,
                 Mercury = Planet::Mercury, Jupiter = Planet::Jupiter, Venus = Planet::Venus,
                 Saturn = Planet::Saturn, Rahu = Planet::Rahu, Ketu = Planet::Ketu;

TEST(Aspects, SeventhForAllThenSpecialAspectsInPlanetOrder) {
    //                     Sun Moon Mars Merc Jup Ven Sat Rahu Ketu
    const auto planets = planets_in({1, 2, 11, 3, 1, 5, 12, 6, 12});
    struct Expected {
        Planet from;
        unsigned house;
        std::optional<Planet> to;
        bool special;
    };
    const std::vector<Expected> expected = {
        {Sun, 7, {}, false},       {Moon, 8, {}, false},      {Mars, 5, Venus, false},
        {Mars, 2, Moon, true},     {Mars, 6, Rahu, true},     {Mercury, 9, {}, false},
        {Jupiter, 7, {}, false},   {Jupiter, 5, Venus, true}, {Jupiter, 9, {}, true},
        {Venus, 11, Mars, false},  {Saturn, 6, Rahu, false},  {Saturn, 2, Moon, true},
        {Saturn, 9, {}, true},     {Rahu, 12, Saturn, false},  // Saturn before Ketu
        {Ketu, 6, Rahu, false},
    };
    const auto aspects = compute_aspects(planets);
    ASSERT_EQ(aspects.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(aspects[i].from_planet, expected[i].from);
        EXPECT_EQ(aspects[i].to_house, expected[i].house);
        EXPECT_EQ(aspects[i].to_planet, expected[i].to);
        EXPECT_EQ(aspects[i].is_special, expected[i].special);
        EXPECT_EQ(aspects[i].strength, 1.0);
    }
}

TEST(Aspects, PlanetWithoutHouseNeitherCastsNorReceives) {
    // The Sun has no house; the Moon stands in the house Jupiter aspects by its 7th.
    const auto aspects = compute_aspects(planets_in({0, 7, 2, 3, 1, 5, 6, 8, 2}));
    EXPECT_EQ(aspects.size(), 14u);
    for (const Aspect& a : aspects) {
        EXPECT_NE(a.from_planet, Sun);
        EXPECT_NE(a.to_planet, Sun);
    }
    auto jupiter = std::find_if(aspects.begin(), aspects.end(), [](const Aspect& a) {
        return a.from_planet == Jupiter && !a.is_special;
    });
    ASSERT_NE(jupiter, aspects.end());
    EXPECT_EQ(jupiter->to_planet, Moon);
}

TEST(Karakas, RankedByDegreeWithinSignOnlyAmongTheSevenPlanets) {
    //  Sun 29.5 of Cancer, Saturn 0.1 of Aquarius, Rahu 29.9 takes no role.
    const auto karakas = compute_karakas(
        planets_in({}, {119.5, 45.0, 75.0, 12.0, 200.0, 351.0, 300.1, 29.9, 209.9}));
    const std::map<Planet, Karaka> expected = {
        {Sun, Karaka::Atmakaraka},    {Venus, Karaka::Amatyakaraka},
        {Jupiter, Karaka::Bhratrikaraka},
        // Moon and Mars both at 15 deg: the Moon comes first in planet order.
        {Moon, Karaka::Matrikaraka},  {Mars, Karaka::Putrakaraka},
        {Mercury, Karaka::Jnatikaraka}, {Saturn, Karaka::Darakaraka},
    };
    EXPECT_EQ(karakas, expected);
}

TEST(Ashtakavarga, AllInTheFirstHouse) {
    const Ashtakavarga av = compute_ashtakavarga(planets_in({1, 1, 1, 1, 1, 1, 1, 1, 1}));
    const std::array<uint8_t, 12> sun = {3, 3, 3, 4, 2, 5, 4, 3, 5, 6, 7, 3};
    EXPECT_EQ(av.binna.at("sun"), sun);
    // A record without a house counts from the 1st, like the ascendant.
    EXPECT_EQ(compute_ashtakavarga(planets_in({})).binna, av.binna);
}

TEST(Ashtakavarga, TotalsAreFixedWhateverThePlacements) {
    const std::map<std::string, unsigned> totals = {
        {"sun", 48}, {"moon", 49}, {"mars", 39}, {"mercury", 54},
        {"jupiter", 56}, {"venus", 52}, {"saturn", 39}};
    std::mt19937 rng(20240115);
    std::uniform_int_distribution<unsigned> house(0, 12);  // 0: no house
    for (int trial = 0; trial < 2000; ++trial) {
        std::array<unsigned, 9> houses;
        for (unsigned& h : houses) h = house(rng);
        const Ashtakavarga av = compute_ashtakavarga(planets_in(houses));
        ASSERT_EQ(av.binna.size(), 7u);
        std::array<unsigned, 12> sarva{};
        for (const auto& [key, counts] : av.binna) {
            EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), 0u), totals.at(key)) << key;
            for (size_t h = 0; h < 12; ++h) {
                EXPECT_LE(counts[h], 8);
                sarva[h] += counts[h];
            }
        }
        for (size_t h = 0; h < 12; ++h) EXPECT_EQ(av.sarva[h], sarva[h]);
        EXPECT_EQ(std::accumulate(av.sarva.begin(), av.sarva.end(), 0u), 337u);
    }
}

}  // namespace
}  // namespace zk

#include "chart/ashtakavarga.hpp"

#include <initializer_list>

namespace zk {
namespace {

// Houses 1..12, counted from a reference point, as bits 0..11.
using HouseSet = uint16_t;

constexpr HouseSet houses(std::initializer_list<unsigned> numbers) {
    HouseSet set = 0;
    for (unsigned n : numbers) set = static_cast<HouseSet>(set | (1u << (n - 1)));
    return set;
}

// Reference points, in the order every row lists them: the seven planets, then the ascendant.
constexpr size_t kReferencePoints = 8;
using BeneficRow = std::array<HouseSet, kReferencePoints>;

// The houses that receive a point, for each planet (Sun..Saturn) from each reference point.
// Rows read: from Sun, Moon, Mars, Mercury, Jupiter, Venus, Saturn, Ascendant.
constexpr std::array<BeneficRow, 7> kBeneficPoints = {{
    // Sun: 48 points
    {houses({1, 2, 4, 7, 8, 9, 10, 11}), houses({3, 6, 10, 11}), houses({1, 2, 4, 7, 8, 9, 10, 11}),
     houses({3, 5, 6, 9, 10, 11, 12}), houses({5, 6, 9, 11}), houses({6, 7, 12}),
     houses({1, 2, 4, 7, 8, 9, 10, 11}), houses({3, 4, 6, 10, 11, 12})},
    // Moon: 49
    {houses({3, 6, 7, 8, 10, 11}), houses({1, 3, 6, 7, 10, 11}), houses({2, 3, 5, 6, 9, 10, 11}),
     houses({1, 3, 4, 5, 7, 8, 10, 11}), houses({1, 4, 7, 8, 10, 11, 12}),
     houses({3, 4, 5, 7, 9, 10, 11}), houses({3, 5, 6, 11}), houses({3, 6, 10, 11})},
    // Mars: 39
    {houses({3, 5, 6, 10, 11}), houses({3, 6, 11}), houses({1, 2, 4, 7, 8, 10, 11}),
     houses({3, 5, 6, 11}), houses({6, 10, 11, 12}), houses({6, 8, 11, 12}),
     houses({1, 4, 7, 8, 9, 10, 11}), houses({1, 3, 6, 10, 11})},
    // Mercury: 54
    {houses({5, 6, 9, 11, 12}), houses({2, 4, 6, 8, 10, 11}), houses({1, 2, 4, 7, 8, 9, 10, 11}),
     houses({1, 3, 5, 6, 9, 10, 11, 12}), houses({6, 8, 11, 12}), houses({1, 2, 3, 4, 5, 8, 9, 11}),
     houses({1, 2, 4, 7, 8, 9, 10, 11}), houses({1, 2, 4, 6, 8, 10, 11})},
    // Jupiter: 56
    {houses({1, 2, 3, 4, 7, 8, 9, 10, 11}), houses({2, 5, 7, 9, 11}),
     houses({1, 2, 4, 7, 8, 10, 11}), houses({1, 2, 4, 5, 6, 9, 10, 11}),
     houses({1, 2, 3, 4, 7, 8, 10, 11}), houses({2, 5, 6, 9, 10, 11}), houses({3, 5, 6, 12}),
     houses({1, 2, 4, 5, 6, 7, 9, 10, 11})},
    // Venus: 52
    {houses({8, 11, 12}), houses({1, 2, 3, 4, 5, 8, 9, 11, 12}), houses({3, 5, 6, 9, 11, 12}),
     houses({3, 5, 6, 9, 11}), houses({5, 8, 9, 10, 11}), houses({1, 2, 3, 4, 5, 8, 9, 10, 11}),
     houses({3, 4, 5, 8, 9, 10, 11}), houses({1, 2, 3, 4, 5, 8, 9, 11})},
    // Saturn: 39
    {houses({1, 2, 4, 7, 8, 10, 11}), houses({3, 6, 11}), houses({3, 5, 6, 10, 11, 12}),
     houses({6, 8, 9, 10, 11, 12}), houses({5, 6, 11, 12}), houses({6, 11, 12}),
     houses({3, 5, 6, 11}), houses({1, 3, 4, 6, 10, 11})},
}};

}  // namespace

Ashtakavarga compute_ashtakavarga(const std::vector<PlanetPosition>& planets) {
    // The ascendant's house is the 1st; a planet without a house counts from the 1st too.
    std::array<unsigned, kReferencePoints> reference_house;
    reference_house.fill(1);
    for (Planet planet : kClassicalPlanets) {
        const PlanetPosition* p = find_planet(planets, planet);
        if (p && p->house) reference_house[planet_index(planet)] = *p->house;
    }

    Ashtakavarga result;
    for (Planet planet : kClassicalPlanets) {
        std::array<uint8_t, 12> counts{};
        const BeneficRow& row = kBeneficPoints[planet_index(planet)];
        for (size_t r = 0; r < kReferencePoints; ++r) {
            for (unsigned k = 1; k <= 12; ++k) {
                if (row[r] & (1u << (k - 1))) ++counts[nth_house_from(reference_house[r], k) - 1];
            }
        }
        for (size_t h = 0; h < 12; ++h) {
            result.sarva[h] = static_cast<uint8_t>(result.sarva[h] + counts[h]);
        }
        result.binna.emplace(planet_key(planet), counts);
    }
    return result;
}

}  // namespace zk

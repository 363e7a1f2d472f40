#include "chart/drishti.hpp"

#include <array>
#include <span>

namespace zk {
namespace {

struct SpecialAspect {
    unsigned house;  // counted from the aspecting planet's house, itself the 1st
    double strength;
};

struct SpecialAspects {
    Planet planet;
    std::array<SpecialAspect, 2> aspects;
};
constexpr std::array<SpecialAspects, 3> kSpecialAspects = {{
    {Planet::Mars, {{{4, 1.0}, {8, 1.0}}}},
    {Planet::Jupiter, {{{5, 1.0}, {9, 1.0}}}},
    {Planet::Saturn, {{{3, 1.0}, {10, 1.0}}}},
}};

std::span<const SpecialAspect> special_aspects(Planet planet) {
    for (const SpecialAspects& row : kSpecialAspects) {
        if (row.planet == planet) return row.aspects;
    }
    return {};
}

// Only the first occupant (in planet order) is named; an empty house names nobody.
std::optional<Planet> first_in_house(const std::vector<PlanetPosition>& planets, uint8_t house) {
    for (const PlanetPosition& p : planets) {
        if (p.house == house) return p.planet;
    }
    return std::nullopt;
}

}  // namespace

std::vector<Aspect> compute_aspects(const std::vector<PlanetPosition>& planets) {
    std::vector<Aspect> aspects;
    aspects.reserve(15);
    for (const PlanetPosition& p : planets) {
        if (!p.house) continue;
        auto cast = [&](unsigned k, double strength, bool special) {
            const uint8_t target = nth_house_from(*p.house, k);
            aspects.push_back(
                {p.planet, target, first_in_house(planets, target), strength, special});
        };
        cast(7, 1.0, false);
        for (const SpecialAspect& s : special_aspects(p.planet)) cast(s.house, s.strength, true);
    }
    return aspects;
}

}  // namespace zk

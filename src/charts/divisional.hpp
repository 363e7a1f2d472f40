// Divisional charts (vargas): each sign divided into n parts, each part mapped to a sign.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "core/records.hpp"

namespace zk {

// The fifteen vargas every chart carries, in order (D1 is the chart itself).
inline constexpr std::array<uint32_t, 15> kVargaSet = {2,  3,  4,  7,  9,  10, 12, 16,
                                                       20, 24, 27, 30, 40, 45, 60};

// Sign number 1..12 of a longitude in the n-th divisional chart. Never fails.
uint32_t divisional_sign(uint32_t varga, double longitude);

// The longitude inside the varga sign, stretched to a whole sign (D30: the sign's middle).
double get_divisional_longitude(double longitude, uint32_t varga);

// The fifteen varga lists (nine positions each, planet order) of a chart's planets.
std::map<uint32_t, std::vector<VargaPosition>> build_divisional_charts(
    const std::vector<PlanetPosition>& planets);

}  // namespace zk

// Ashtakavarga: benefic points per house for Sun..Saturn from eight reference points.
// Reads only the planets' houses (1..12); counts are whole points; never fails.
#pragma once

#include <vector>

#include "core/records.hpp"

namespace zk {

// For each of Sun..Saturn (binna keys "sun" ... "saturn"), the points each house receives
// from the seven planets and the ascendant (house 1); `sarva` is their house-by-house sum.
// Counts are per house, not per sign. A planet without a house counts as standing in the
// 1st. Whatever the placements, the binna totals are 48, 49, 39, 54, 56, 52, 39 (337).
Ashtakavarga compute_ashtakavarga(const std::vector<PlanetPosition>& planets);

}  // namespace zk

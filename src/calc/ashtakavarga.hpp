// Ashtakavarga: benefic points per house for Sun..Saturn from eight reference points.
#pragma once

#include <vector>

#include "core/records.hpp"

namespace zk {

Ashtakavarga compute_ashtakavarga(const std::vector<PlanetPosition>& planets);

}  // namespace zk

// Graha drishti by house: the 7th for every planet, special aspects for Mars, Jupiter, Saturn.
#pragma once

#include <vector>

#include "core/records.hpp"

namespace zk {

std::vector<Aspect> compute_aspects(const std::vector<PlanetPosition>& planets);

}  // namespace zk

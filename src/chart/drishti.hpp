// Graha drishti by house: the 7th for every planet, special aspects for Mars, Jupiter, Saturn.
// Reads only the planets' houses; strengths are 1.0 (full); never fails.
#pragma once

#include <vector>

#include "core/records.hpp"

namespace zk {

// One full-strength aspect on the 7th house from every planet that has a house, followed
// for Mars by its 4th and 8th, for Jupiter its 5th and 9th, for Saturn its 3rd and 10th.
// Records keep planet order; `to_planet` is the first planet (in planet order) standing in
// the aspected house, absent for an empty house. A planet without a house casts nothing.
std::vector<Aspect> compute_aspects(const std::vector<PlanetPosition>& planets);

}  // namespace zk

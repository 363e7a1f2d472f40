// Chara karakas: the seven roles by degree within sign, Sun..Saturn.
#pragma once

#include <map>
#include <vector>

#include "core/records.hpp"

namespace zk {

std::map<Planet, Karaka> compute_karakas(const std::vector<PlanetPosition>& planets);

}  // namespace zk

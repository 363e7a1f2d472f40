// Chara karakas: the seven roles by degree within sign (sidereal degrees), Sun..Saturn.
// Never fails; fewer than seven planets fill only the first roles.
#pragma once

#include <map>
#include <vector>

#include "core/records.hpp"

namespace zk {

// Ranks Sun..Saturn by degree within their signs, highest first (equal degrees keep planet
// order), and gives the i-th the i-th role: Atmakaraka ... Darakaraka. Rahu and Ketu take
// no role, whatever their degree.
std::map<Planet, Karaka> compute_karakas(const std::vector<PlanetPosition>& planets);

}  // namespace zk

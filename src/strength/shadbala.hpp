// Simplified six-fold strength for Sun..Saturn; Rahu and Ketu get none.
#pragma once

#include <vector>

#include "core/records.hpp"

namespace zk {

// Sets `shadbala` on the records of Sun..Saturn. Needs dignities, houses and the aspects.
void apply_shadbala(std::vector<PlanetPosition>& planets, const std::vector<Aspect>& aspects,
                    const UtcDateTime& datetime);

}  // namespace zk

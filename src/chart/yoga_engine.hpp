// The chart's yoga list: the classical combinations present in a chart, each with its
// category, a description citing its source and the planets involved. Reads the planets'
// signs and houses (a missing one means the yoga is not formed) and the ascendant's
// longitude in degrees; never fails.
#pragma once

#include <vector>

#include "core/records.hpp"

namespace zk {

// Only present yogas, in a fixed order: the five Mahapurusha yogas, Gajakesari, Budhaditya,
// Chandra-Mangala, Vesi, Vosi, Ubhayachari, Neechabhanga (Sun..Saturn), Dharma-Karmadhipati.
std::vector<YogaResult> detect_yogas(const std::vector<PlanetPosition>& planets, double ascendant);

}  // namespace zk

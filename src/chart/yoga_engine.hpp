// The chart's yoga list: classical combinations that are present, with citations.
#pragma once

#include <vector>

#include "core/records.hpp"

namespace zk {

std::vector<YogaResult> detect_yogas(const std::vector<PlanetPosition>& planets, double ascendant);

}  // namespace zk

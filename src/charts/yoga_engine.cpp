#include "charts/yoga_engine.hpp"

namespace zk {
std::vector<YogaResult> detect_yogas(const std::vector<PlanetPosition>&, double) { return {}; }
}  // namespace zk

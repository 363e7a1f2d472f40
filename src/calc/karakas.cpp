#include "calc/karakas.hpp"

namespace zk {
std::map<Planet, Karaka> compute_karakas(const std::vector<PlanetPosition>&) { return {}; }
}  // namespace zk

#include "calc/aspects.hpp"

namespace zk {
std::vector<Aspect> compute_aspects(const std::vector<PlanetPosition>&) { return {}; }
}  // namespace zk

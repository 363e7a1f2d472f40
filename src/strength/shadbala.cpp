#include "strength/shadbala.hpp"

namespace zk {
void apply_shadbala(std::vector<PlanetPosition>&, const std::vector<Aspect>&, const UtcDateTime&) {}
}  // namespace zk

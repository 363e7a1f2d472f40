#include "charts/divisional.hpp"

// Placeholder until the divisional rules land.
namespace zk {
uint32_t divisional_sign(uint32_t, double) { return 1; }
double get_divisional_longitude(double, uint32_t) { return 0.0; }
std::map<uint32_t, std::vector<VargaPosition>> build_divisional_charts(
    const std::vector<PlanetPosition>&) {
    return {};
}
}  // namespace zk

#include "chart/karakas.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zk {

std::map<Planet, Karaka> compute_karakas(const std::vector<PlanetPosition>& planets) {
    struct Ranked {
        Planet planet;
        double degree;
    };
    std::vector<Ranked> ranked;
    ranked.reserve(kClassicalPlanets.size());
    for (const PlanetPosition& p : planets) {
        if (planet_index(p.planet) >= kClassicalPlanets.size()) continue;
        const double degree = degree_in_sign(p.longitude);
        // A NaN degree ranks last, so the ordering stays strict.
        ranked.push_back(
            {p.planet, std::isnan(degree) ? -std::numeric_limits<double>::infinity() : degree});
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const Ranked& a, const Ranked& b) { return a.degree > b.degree; });

    std::map<Planet, Karaka> karakas;
    const size_t roles = std::min(ranked.size(), size_t{7});
    for (size_t i = 0; i < roles; ++i) karakas[ranked[i].planet] = static_cast<Karaka>(i);
    return karakas;
}

}  // namespace zk

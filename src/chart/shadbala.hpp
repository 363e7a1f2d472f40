// Simplified six-fold strength for Sun..Saturn; Rahu and Ketu get none. Strengths are in
// virupas (a full component is 60), longitudes in degrees, speeds in degrees a day.
// Nothing here fails: a missing fact (a house, a Sun) takes a fixed default.
#pragma once

#include <vector>

#include "core/records.hpp"

namespace zk {

// Sets `shadbala` on the records of Sun..Saturn from their dignity flags, signs, houses,
// speeds and the chart's aspects; Rahu and Ketu are left without. Each component is on a
// 0..60 scale (kala bala 30..210); drik bala is clamped into [0, 60].
// The birth counts as by day when the Sun stands in houses 7..12.
void apply_shadbala(std::vector<PlanetPosition>& planets, const std::vector<Aspect>& aspects,
                    const UtcDateTime& datetime);

// The planet ruling the hora of a UTC instant, counted from the weekday's first hora by the
// UTC hour: Sunday 00:30 is the Sun's, 01:30 Venus's; Monday 00:30 the Moon's.
Planet hora_lord(const UtcDateTime& datetime);

// Paksha strength as a share of the full 60, from the Moon's elongation: benefics (Moon,
// Mercury, Jupiter, Venus) gain as the Moon waxes, malefics as it wanes. A new moon gives
// benefics 1/15 and malefics 14/15; the 15th tithi gives benefics 1.
double paksha_share(Planet planet, double sun_longitude, double moon_longitude);

}  // namespace zk

// The chart pipeline: one UTC instant and one place to a complete sidereal birth chart.
// Longitudes are sidereal degrees, the place in degrees and metres. Failures are
// ZodiakitError values: a bad place (InvalidParameter) or an ephemeris failure
// (SweCalculation); nothing partial is returned.
#pragma once

#include <array>
#include <variant>

#include "core/dignity.hpp"
#include "core/error.hpp"
#include "core/records.hpp"

namespace zk {

// Checks |latitude| <= 90, |longitude| <= 180, -500 <= altitude <= 10000 (NaN fails), in
// that order, as InvalidParameter "Invalid latitude 91: expected -90..90" and siblings.
Result<std::monostate> validate_geo(double latitude, double longitude, double altitude);

// The chart's four cautionary notes, in order.
extern const std::array<const char*, 4> kChartWarnings;

// House of a longitude among cusps c1..c12 (c13 = c1); 1 when no range matches.
uint8_t house_of(double longitude, const std::vector<HouseCusp>& houses);

// The whole pipeline; the first failure ends it and nothing partial is returned.
Result<Chart> calculate_chart(const UtcDateTime& datetime, const GeoLocation& location,
                              const AyanamsaMode& ayanamsa, HouseSystem house_system,
                              bool true_nodes);

}  // namespace zk

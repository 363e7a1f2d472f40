// Divisional charts (vargas): each sign divided into n parts, each part mapped to a sign.
// Longitudes are sidereal degrees, signs numbered 1..12. Nothing here fails: any varga
// number and any longitude, even NaN, give a sign.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "core/error.hpp"
#include "core/records.hpp"

namespace zk {

// The fifteen vargas every chart carries, in order (D1 is the chart itself).
inline constexpr std::array<uint32_t, 15> kVargaSet = {2,  3,  4,  7,  9,  10, 12, 16,
                                                       20, 24, 27, 30, 40, 45, 60};

// Carried by every D60 position.
inline constexpr std::string_view kShashtiamsaWarning =
    "D60 (Shashtiamsa) is highly sensitive to birth-time accuracy.";

// Sign number 1..12 of a longitude in the n-th divisional chart. Never fails: the longitude
// is expected in [0, 360) but is not normalised, and every conversion to an integer
// saturates, so NaN, negative and huge values still give a sign. Varga 0 and vargas
// above 60 count parts on from the sign itself, like the unlisted ones (D5, D12, D60).
//   divisional_sign(9, 1.0)  == 1   (Aries: first navamsa of a fire sign)
//   divisional_sign(10, 31.0) == 11 (Aquarius: even signs start nine signs on)
uint32_t divisional_sign(uint32_t varga, double longitude);

// Zero-based part of its sign in which a longitude stands: floor((L mod 30) / (30 / n)).
uint32_t divisional_part(uint32_t varga, double longitude);

// The longitude inside the varga sign, stretched to a whole sign (D30: the sign's middle,
// since its parts are unequal).
//   get_divisional_longitude(1.0, 9) == 9.0; get_divisional_longitude(15.0, 30) == 255.0
// A longitude that is not finite has no place in a sign: InvalidInput "Invalid longitude
// NaN: expected a finite number of degrees".
Result<double> get_divisional_longitude(double longitude, uint32_t varga);

// A longitude's sign in each varga of kVargaSet, in that order: how the pipeline places a
// graha, and the ascendant, in the vargas.
VargaSigns varga_signs(double longitude);

// The fifteen varga lists (nine positions each, planet order) of a chart's planets. Reads
// each planet's `divisional_signs` where present.
std::map<uint32_t, std::vector<VargaPosition>> build_divisional_charts(
    const std::vector<PlanetPosition>& planets);

// The ascendant's sign in a varga by the same rules as the grahas' (varga 1: its own sign);
// nothing for a varga other than 1 and those of kVargaSet. Reads the chart's
// `ascendant_divisional_signs` where present.
std::optional<Sign> varga_ascendant(const Chart& chart, uint32_t varga);

}  // namespace zk

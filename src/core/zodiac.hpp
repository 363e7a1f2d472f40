// Zodiac arithmetic: the one place where a longitude becomes a sign, a nakshatra, a pada or
// a panchanga element number, and where houses are counted from one another.
//
// Longitudes and spans are in degrees; houses and signs are numbered from 1. Nothing here
// fails: every conversion from a double to an integer saturates (NaN and negatives count
// as 0, huge values as the largest), and each lookup is capped at its cycle's last member,
// so out-of-range input still gives an answer in range.
#pragma once

#include <cmath>
#include <cstdint>

#include "core/vocab.hpp"

namespace zk {

inline constexpr double kFullCircleDeg = 360.0;
inline constexpr double kSignSpanDeg = 30.0;
inline constexpr double kNakshatraSpanDeg = 13.333333333333334;  // 360/27 as a double
inline constexpr double kPadaSpanDeg = 3.3333333333333335;       // a quarter of a nakshatra
inline constexpr double kTithiSpanDeg = 12.0;  // Moon minus Sun per tithi (30 a month)
inline constexpr double kKaranaSpanDeg = 6.0;  // half a tithi (60 a month)
// The yoga, from the sum of the two longitudes, has the nakshatra's span.
static_assert(kSignSpanDeg * 12 == kFullCircleDeg);
static_assert(kNakshatraSpanDeg == kFullCircleDeg / 27);
static_assert(kPadaSpanDeg == kNakshatraSpanDeg / 4);
static_assert(kTithiSpanDeg * 30 == kFullCircleDeg && kKaranaSpanDeg * 2 == kTithiSpanDeg);

// An angle in [0, 360); a tiny negative angle stays just below 360. NaN stays NaN.
double normalize_degrees(double deg);

// ---------------------------------------------------------------- signs

// Whole signs a longitude lies past 0 Aries, neither wrapped nor capped: floor(L / 30),
// saturating. sign_index(45.0) == 1, sign_index(400.0) == 13, sign_index(-5.0) == 0.
uint32_t sign_index(double lon_deg);

// Sign of a longitude in [0, 360): floor(L / 30) + 1, capped at Pisces.
Sign sign_from_longitude(double lon_deg);

// Degrees past the start of the sign, fmod(L, 30): in [0, 30) for a longitude in [0, 360).
inline double degree_in_sign(double lon_deg) {
    return std::fmod(lon_deg, kSignSpanDeg);
}

// ---------------------------------------------------------------- nakshatras

// Nakshatra of a longitude in [0, 360): floor(L / (360/27)) + 1, capped at Revati.
Nakshatra nakshatra_from_longitude(double lon_deg);

// Degrees past the start of the nakshatra, fmod(L, 360/27).
inline double degree_in_nakshatra(double lon_deg) {
    return std::fmod(lon_deg, kNakshatraSpanDeg);
}

// ---------------------------------------------------------------- panchanga elements

// 1-based element number of a quotient: min(floor(q), 255) + 1, saturating (NaN and
// negatives count as 0).
uint32_t element_number(double quotient);

// Element numbers from longitudes in degrees (any range; they are normalised first).
uint32_t tithi_number(double moon_deg, double sun_deg);   // 1..30, from Moon minus Sun
uint32_t karana_number(double moon_deg, double sun_deg);  // 1..60, from Moon minus Sun
uint32_t yoga_number(double moon_deg, double sun_deg);    // 1..27, from Moon plus Sun
uint32_t nakshatra_number(double moon_deg);               // 1..27
uint32_t nakshatra_pada(double moon_deg);                 // 1..4, the quarter of the nakshatra

// ---------------------------------------------------------------- counting houses

// Which member `to` is in a cycle of `n`, counted from `from`, `from` itself being the 1st:
// count_from(4, 1, 12) == 4, count_from(1, 10, 12) == 4. Members are 1..n (or 0..n-1 for
// both); the result is 1..n.
constexpr unsigned count_from(unsigned to, unsigned from, unsigned n) {
    return (to + n - from) % n + 1;
}

// The house `house` is, counted from house `from` (itself the 1st): 1..12.
constexpr unsigned houses_from(unsigned house, unsigned from) {
    return count_from(house, from, 12);
}

// The k-th house from house h, h itself being the 1st: nth_house_from(10, 4) == 1.
constexpr uint8_t nth_house_from(unsigned h, unsigned k) {
    return static_cast<uint8_t>((h - 1 + k - 1) % 12 + 1);
}

// The k-th sign from a sign, the sign itself being the 1st.
inline Sign nth_sign_from(Sign s, unsigned k) {
    return sign_from_number(nth_house_from(sign_number(s), k));
}

// The angular houses: 1st, 4th, 7th and 10th.
constexpr bool is_kendra(unsigned house) {
    return house == 1 || house == 4 || house == 7 || house == 10;
}

}  // namespace zk

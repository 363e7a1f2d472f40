#include "core/zodiac.hpp"

#include <algorithm>

#include "core/format.hpp"

namespace zk {

double normalize_degrees(double deg) {
    double r = std::fmod(deg, kFullCircleDeg);
    if (r < 0.0) r += kFullCircleDeg;
    // A tiny negative angle plus 360 rounds to 360 itself; it lies just short of a full
    // circle, so it becomes the largest double below 360.
    return r >= kFullCircleDeg ? std::nextafter(kFullCircleDeg, 0.0) : r;
}

uint32_t sign_index(double lon_deg) {
    return saturating_floor_u32(lon_deg / kSignSpanDeg);
}

Sign sign_from_longitude(double lon_deg) {
    return sign_from_number(std::min(sign_index(lon_deg), 11u) + 1);
}

Nakshatra nakshatra_from_longitude(double lon_deg) {
    const uint32_t index = saturating_floor_u32(lon_deg / kNakshatraSpanDeg);
    return static_cast<Nakshatra>(std::min(index, 26u) + 1);
}

uint32_t element_number(double quotient) {
    const uint32_t whole = saturating_floor_u32(quotient);
    return (whole < 255 ? whole : 255) + 1;
}

uint32_t tithi_number(double moon_deg, double sun_deg) {
    return element_number(normalize_degrees(moon_deg - sun_deg) / kTithiSpanDeg);
}

uint32_t karana_number(double moon_deg, double sun_deg) {
    return element_number(normalize_degrees(moon_deg - sun_deg) / kKaranaSpanDeg);
}

uint32_t yoga_number(double moon_deg, double sun_deg) {
    return element_number(normalize_degrees(sun_deg + moon_deg) / kNakshatraSpanDeg);
}

uint32_t nakshatra_number(double moon_deg) {
    // A normalised longitude never reaches Revati's cap, so this is the element count too.
    return static_cast<uint32_t>(nakshatra_from_longitude(normalize_degrees(moon_deg)));
}

uint32_t nakshatra_pada(double moon_deg) {
    // The quarter is read from the nakshatra's own quotient: a longitude that quotient puts
    // at the start of a nakshatra is in its first pada, whatever fmod would say (at 40
    // degrees, 40 / (360/27) rounds to 3.0, Rohini, while fmod leaves 13.33..., a 4th pada).
    const double quotient = normalize_degrees(moon_deg) / kNakshatraSpanDeg;
    return element_number((quotient - std::floor(quotient)) * 4.0);
}

}  // namespace zk

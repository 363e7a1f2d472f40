// The five limbs of the day at one instant: tithi, nakshatra, yoga and karana from the
// sidereal longitudes of the Moon and the Sun, and the weekday (vara) of a civil date.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/datetime.hpp"
#include "core/error.hpp"

namespace zk {

inline constexpr double kFullCircleDeg = 360.0;
inline constexpr double kTithiSpanDeg = 12.0;               // Moon minus Sun per tithi (30 a month)
inline constexpr double kKaranaSpanDeg = 6.0;               // half a tithi (60 a month)
inline constexpr double kPadaSpanDeg = 3.3333333333333335;  // a quarter of a nakshatra
// The nakshatra and yoga span is kNakshatraSpanDeg (core/vocab.hpp), 360/27.

// 1-based element number of a quotient: min(floor(q), 255) + 1, saturating (NaN and
// negatives count as 0).
uint32_t element_number(double quotient);

// Element numbers from longitudes in degrees (any range; they are normalised).
uint32_t tithi_number(double moon_deg, double sun_deg);   // 1..30
uint32_t karana_number(double moon_deg, double sun_deg);  // 1..60
uint32_t yoga_number(double moon_deg, double sun_deg);    // 1..27
uint32_t nakshatra_number(double moon_deg);               // 1..27
uint32_t nakshatra_pada(double moon_deg);                 // 1..4

// Sidereal longitudes of the Moon and the Sun at a Julian day (UT), in the sidereal mode
// the caller selected; the true-node flag only travels through to the ephemeris.
struct Luminaries {
    double moon_deg = 0.0;
    double sun_deg = 0.0;
};
Result<Luminaries> luminaries_at(double jd_ut, bool true_nodes);

// The element functions searched for their boundaries. The nakshatra needs only the Moon.
Result<uint32_t> tithi_at(double jd_ut, bool true_nodes);
Result<uint32_t> nakshatra_at(double jd_ut, bool true_nodes);
Result<uint32_t> yoga_at(double jd_ut, bool true_nodes);
Result<uint32_t> karana_at(double jd_ut, bool true_nodes);

// Names. A number outside its cycle is a programming error (InvariantFailure).
// Index into the 16-entry tithi table: tithis 16..29 repeat Pratipada..Chaturdashi,
// tithi 15 is Purnima and tithi 30 Amavasya.
size_t tithi_name_index(uint32_t tithi);
std::string_view tithi_name(uint32_t tithi);
std::string_view paksha_name(uint32_t tithi);  // "Shukla" for 1..15, else "Krishna"
// The panchanga's spelling, with spaces: "Purva Phalguni".
std::string_view panchanga_nakshatra_name(uint32_t nakshatra);
std::string_view yoga_name(uint32_t yoga);
// 1 is Kimstughna, 2..57 rotate through the seven movable karanas, 58..60 are fixed.
std::string_view karana_name(uint32_t karana);

struct Vara {
    std::string name;
    uint32_t index = 0;  // 0 = Sunday
};
Vara vara_from_local_date(int64_t year, uint32_t month, uint32_t day);

// One tithi and when it begins and ends.
struct TithiInfo {
    uint32_t index = 1;  // 1..30
    std::string name;
    std::string paksha;
    UtcDateTime start_time_utc;
    UtcDateTime end_time_utc;
    std::string start_time_local;  // "%Y-%m-%dT%H:%M:%S%:z" in the caller's zone
    std::string end_time_local;
};

// One nakshatra, yoga or karana and when it begins and ends.
struct YogaInfo {
    uint32_t index = 1;
    std::string name;
    uint32_t pada = 0;  // 1..4 for the nakshatra; unused otherwise
    UtcDateTime start_time_utc;
    UtcDateTime end_time_utc;
    std::string start_time_local;
    std::string end_time_local;
};

}  // namespace zk

// The five limbs of the day at one instant: tithi, nakshatra, yoga and karana from the
// sidereal longitudes (degrees) of the Moon and the Sun, and the weekday (vara) of a civil
// date; and the names of each, the one table of them. The element numbers themselves come
// from core/zodiac.hpp. Ephemeris failures pass through as ZodiakitError values; a number
// outside its cycle asked for a name is a programming error (InvariantFailure).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/datetime.hpp"
#include "core/error.hpp"
#include "core/zodiac.hpp"
#include "panchanga/interval.hpp"

namespace zk {

struct LocaleData;

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

// The same numbers with the angle they are read from and its speed, for the edge search
// (panchanga/interval.hpp): Moon - Sun for the tithi and the karana, the Moon for the
// nakshatra, Moon + Sun for the yoga. Each number is exactly the element function's.
Result<ElementSample> tithi_sample(double jd_ut, bool true_nodes);
Result<ElementSample> nakshatra_sample(double jd_ut, bool true_nodes);
Result<ElementSample> yoga_sample(double jd_ut, bool true_nodes);
Result<ElementSample> karana_sample(double jd_ut, bool true_nodes);
// All four at one instant from one Moon and one Sun, with their longitudes.
struct ElementSamples {
    Luminaries luminaries;
    ElementSample tithi, nakshatra, yoga, karana;
};
Result<ElementSamples> element_samples(double jd_ut, bool true_nodes);

// Names. A number outside its cycle is a programming error (InvariantFailure).
// Index into the 16-entry tithi table: tithis 16..29 repeat Pratipada..Chaturdashi,
// tithi 15 is Purnima and tithi 30 Amavasya.
size_t tithi_name_index(uint32_t tithi);
std::string_view tithi_name(uint32_t tithi);
std::string_view paksha_name(uint32_t tithi);  // "Shukla" for 1..15, else "Krishna"
// The panchanga's spelling, with spaces: "Purva Phalguni".
std::string_view panchanga_nakshatra_name(uint32_t nakshatra);
// The same two names in a locale (panchanga/locale.hpp): its own entry where it has one,
// else the English name above. A null locale is English.
std::string_view tithi_name(uint32_t tithi, const LocaleData* locale);
std::string_view panchanga_nakshatra_name(uint32_t nakshatra, const LocaleData* locale);
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

// The panchanga of one instant at one place: the five elements with their start and end,
// the weekday of the local day, the Sun and Moon times and the day divisions of the local
// civil date, the lunar month and year of the instant, and how the record was computed. Instants
// are UTC date-times in whole seconds (Julian days UT inside); local times are written in the given
// IANA zone. Errors: the place's validation error, InvalidParameter for an unknown zone or a Sun
// that never rises, the first ephemeris or interval-search error, and InvalidInput for an unknown
// mode text.
#pragma once

#include <cctz/time_zone.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/datetime.hpp"
#include "core/error.hpp"
#include "core/records.hpp"
#include "core/vocab.hpp"
#include "panchanga/day_divisions.hpp"
#include "panchanga/elements.hpp"
#include "panchanga/lunar_calendar.hpp"
#include "panchanga/sky_times.hpp"

namespace zk {

// Which local day the weekday belongs to: the civil date of the instant, or the date of
// the latest sunrise at or before it (a Hindu day runs from sunrise to sunrise).
enum class PanchangaMode { CivilDay, SunriseDay };

std::string_view panchanga_mode_name(PanchangaMode mode);  // "civil_day", "sunrise_day"
// Case-insensitive; InvalidInput "Unknown panchanga mode '<lower-cased>'. Valid options:
// civil_day, sunrise_day" otherwise.
Result<PanchangaMode> parse_panchanga_mode(std::string_view text);

struct PanchangaMetadata {
    std::string timezone;        // as passed in
    std::string mode;            // "civil_day" or "sunrise_day"
    std::string local_datetime;  // 2024-01-15T06:00:00 (no offset)
    std::string utc_datetime;    // 2024-01-15T00:30:00+00:00
    std::string ayanamsa;        // "Lahiri", "Custom(24.0)", ...
    bool true_nodes = true;
    std::string calculation_version;  // "1.0.0"
};

struct Panchanga {
    TithiInfo tithi;
    YogaInfo nakshatra;  // with pada
    YogaInfo yoga;
    YogaInfo karana;
    Vara vara;
    PanchangaMetadata metadata;
    std::vector<std::string> warnings;
    // Of the civil date the instant falls on in the zone, whatever the mode.
    SunriseConvention sunrise_convention = SunriseConvention::UpperLimb;
    SkyTimes sky;
    DayDivisions divisions;
    // Of the instant.
    LunarCalendar lunar;
};

// The one warning every panchanga carries.
extern const char* const kPanchangaWarning;

// Validates the place (as the chart does), looks the zone up by its exact name
// (InvalidParameter "Unknown timezone: <name>"), selects the sidereal mode, then builds
// the record. Only the weekday depends on the mode; the other elements are those of the
// instant itself, bounded in UT. sunrise_day fails with "Sun always up?" where the Sun
// does not rise. The Sun's rising and setting follow `convention` (the weekday's sunrise in
// sunrise_day mode is always the upper limb's). The first failure ends the computation.
Result<Panchanga> compute_panchanga_local(
    const UtcDateTime& instant, const GeoLocation& location, const std::string& zone_name,
    PanchangaMode mode, const AyanamsaMode& ayanamsa, bool true_nodes,
    SunriseConvention convention = SunriseConvention::UpperLimb);

// What the day of a panchanga (its sky times, day divisions and lunar calendar) is computed
// from: the civil date of the instant in the zone, and the instant itself.
struct PanchangaDayInputs {
    CivilDate date{1970, 1, 1};
    GeoLocation location;
    cctz::time_zone zone;
    SunriseConvention convention = SunriseConvention::UpperLimb;
    AyanamsaMode ayanamsa;
    bool true_nodes = true;
    double jd_ut = 0.0;
    Luminaries luminaries;  // at jd_ut, as the elements read them
};

// The panchanga without its day: the elements, the weekday, the metadata and the warning
// (and the sunrise convention), with what its day needs. The same checks, errors and
// ephemeris calls as compute_panchanga_local up to the day.
struct PanchangaElements {
    Panchanga panchanga;
    PanchangaDayInputs day;
    bool day_computed = false;  // the panchanga's day is already filled in
};
Result<PanchangaElements> compute_panchanga_elements(
    const UtcDateTime& instant, const GeoLocation& location, const std::string& zone_name,
    PanchangaMode mode, const AyanamsaMode& ayanamsa, bool true_nodes,
    SunriseConvention convention = SunriseConvention::UpperLimb);

// Fills the sky times, day divisions and lunar calendar of a panchanga, exactly as
// compute_panchanga_local does; selects the sidereal mode itself. Errors: the first
// ephemeris error, or DateTimeError for a date too far out to have a day window.
Result<void> compute_panchanga_day(Panchanga& panchanga, const PanchangaDayInputs& day);

// Whether the day may fail where the elements did not: its searches reach up to two lunations
// beyond the instant, and near the end of the analytical ephemeris (beyond it only data files
// serve) they may leave it; before the common era the new-moon search may not converge.
// From 1 CE to within 100 days of that end the day always succeeds.
bool panchanga_day_may_fail(const PanchangaDayInputs& day);

}  // namespace zk

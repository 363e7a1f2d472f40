// Sun and Moon times of one local civil day (the date in an IANA zone, midnight to
// midnight): sunrise, sunset, moonrise, moonset, local apparent noon and the next day's
// sunrise, with the lengths of the day and of the night. A body that does not rise or set
// gives no time, never an error: polar days and nights and moonless days are ordinary.
//
// Which event each field is:
// - sunrise, moonrise, moonset, solar_noon: the first of its kind in the civil day; on a day
//   with two moonrises (high latitudes) the first one.
// - sunset: the first setting after the day's sunrise, before the end of the next civil day
//   (far north it can fall after midnight, on the next date); without a sunrise, the first
//   setting in the civil day.
// - next_sunrise: the first sunrise of the next civil day.
// - day_length: sunset - sunrise; night_length: next_sunrise - sunset, each when both exist,
//   in whole seconds between the printed (rounded) times.
// The sunrise convention sets the Sun's rising and setting; the Moon always rises and sets
// by its upper limb with refraction (what almanacs print), and noon is the Sun's meridian
// transit.
#pragma once

#include <cctz/time_zone.h>

#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>

#include "core/datetime.hpp"
#include "core/error.hpp"
#include "core/records.hpp"

namespace zk {

// upper_limb: the upper limb at apparent altitude 0 with refraction (1013.25 hPa, 0 degrees
// C), the convention the weekday's sunrise uses. disc_center: the centre of the disc at
// geometric altitude 0 without refraction, the "Hindu sunrise" of drik-style panchangas.
enum class SunriseConvention { UpperLimb, DiscCenter };

std::string_view sunrise_convention_name(SunriseConvention convention);  // "upper_limb", ...
// Case-insensitive; "Unknown sunrise convention '<lower-cased>'. Valid options: upper_limb,
// disc_center" otherwise.
std::expected<SunriseConvention, std::string> parse_sunrise_convention(std::string_view text);

// One printed instant: UTC to the second and the same instant in the caller's zone.
struct DayTime {
    UtcDateTime utc;
    std::string local;  // "%Y-%m-%dT%H:%M:%S%:z", like the element times

    friend bool operator==(const DayTime&, const DayTime&) = default;
};

// A stretch of the day: from start to end.
struct DaySpan {
    DayTime start;
    DayTime end;

    friend bool operator==(const DaySpan&, const DaySpan&) = default;
};

// The exact Julian days (UT) the day divisions divide; not rounded, not for printing.
struct SolarDay {
    std::optional<double> sunrise;
    std::optional<double> sunset;
    std::optional<double> next_sunrise;

    friend bool operator==(const SolarDay&, const SolarDay&) = default;
};

struct SkyTimes {
    std::optional<DayTime> sunrise;
    std::optional<DayTime> sunset;
    std::optional<DayTime> moonrise;
    std::optional<DayTime> moonset;
    std::optional<DayTime> solar_noon;  // local apparent noon
    std::optional<DayTime> next_sunrise;
    std::optional<int64_t> day_length_seconds;
    std::optional<int64_t> night_length_seconds;
    SolarDay solar;

    friend bool operator==(const SkyTimes&, const SkyTimes&) = default;
};

// The date `days` after (or before) a date on the proleptic Gregorian calendar.
CivilDate add_days(const CivilDate& date, int64_t days);

// The first instant of a local civil date and of the next one, as Julian days (UT). A date
// whose midnight is skipped by a clock change starts at the change. Nothing when the date
// does not exist or lies outside the representable years.
struct DayWindow {
    double start_jd = 0.0;
    double end_jd = 0.0;
};
std::optional<DayWindow> civil_day_window(const CivilDate& date, const cctz::time_zone& zone);

// The first sunrise in a window in the convention; nothing when the Sun does not rise.
Result<std::optional<double>> first_sunrise(const DayWindow& day, const GeoLocation& place,
                                            SunriseConvention convention);

// The sky times of a day whose sunrise and next day's sunrise are known (first_sunrise of
// `day` and of `next_day`), so that consecutive days share their sunrises.
Result<SkyTimes> sky_times_of_day(const DayWindow& day, const DayWindow& next_day,
                                  std::optional<double> sunrise, std::optional<double> next_sunrise,
                                  const GeoLocation& place, SunriseConvention convention,
                                  const cctz::time_zone& zone);

// The whole computation for one date. The place is not validated here. Fails only when the
// date is not representable (DateTimeError) or the ephemeris fails.
Result<SkyTimes> compute_sky_times(const CivilDate& date, const GeoLocation& place,
                                   const cctz::time_zone& zone, SunriseConvention convention);

// The printed form of a Julian day: UTC rounded to the second, and local text in the zone.
DayTime day_time(double jd_ut, const cctz::time_zone& zone);

// "10:36:12" for a non-negative number of seconds (hours may exceed 23).
std::string format_duration(int64_t seconds);

}  // namespace zk

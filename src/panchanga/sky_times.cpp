#include "panchanga/sky_times.hpp"

#include <cmath>
#include <cstdio>

#include "core/vocab.hpp"
#include "ephemeris/ephemeris.hpp"
#include "ephemeris/rise_set.hpp"
#include "time/timezone.hpp"

namespace zk {
namespace {

using ephemeris::DiscPoint;
using ephemeris::SkyBody;
using ephemeris::SkyEvent;

DiscPoint sun_disc(SunriseConvention convention) {
    return convention == SunriseConvention::DiscCenter ? DiscPoint::CentreUnrefracted
                                                       : DiscPoint::UpperLimbRefracted;
}

// The first instant of a civil date: its midnight, or the clock change that skips it.
std::optional<double> first_instant(int64_t year, uint32_t month, uint32_t day,
                                    const cctz::time_zone& zone) {
    if (!is_valid_date(year, month, day)) return std::nullopt;
    if (year < kMinYear + 1 || year > kMaxYear - 1) return std::nullopt;
    const auto found = zone.lookup(cctz::civil_second(year, month, day, 0, 0, 0));
    const auto start =
        found.kind == cctz::time_zone::civil_lookup::SKIPPED ? found.trans : found.pre;
    const auto utc = from_unix_seconds(start.time_since_epoch().count());
    if (!utc) return std::nullopt;
    return ephemeris::julian_day(*utc);
}

std::optional<DayTime> printed(std::optional<double> jd, const cctz::time_zone& zone) {
    if (!jd) return std::nullopt;
    return day_time(*jd, zone);
}

std::optional<int64_t> seconds_between(const std::optional<DayTime>& from,
                                       const std::optional<DayTime>& to) {
    if (!from || !to) return std::nullopt;
    return to_unix_seconds(to->utc) - to_unix_seconds(from->utc);
}

}  // namespace

std::string_view sunrise_convention_name(SunriseConvention convention) {
    return convention == SunriseConvention::DiscCenter ? "disc_center" : "upper_limb";
}

std::expected<SunriseConvention, std::string> parse_sunrise_convention(std::string_view text) {
    const std::string lower = to_lower(text);
    if (lower == "upper_limb") return SunriseConvention::UpperLimb;
    if (lower == "disc_center") return SunriseConvention::DiscCenter;
    return std::unexpected("Unknown sunrise convention '" + lower +
                           "'. Valid options: upper_limb, disc_center");
}

CivilDate add_days(const CivilDate& date, int64_t days) {
    CivilDate out{0, 1, 1};
    civil_from_days(days_from_civil(date.year, date.month, date.day) + days, out.year, out.month,
                    out.day);
    return out;
}

std::optional<DayWindow> civil_day_window(const CivilDate& date, const cctz::time_zone& zone) {
    if (!is_valid_date(date.year, date.month, date.day)) return std::nullopt;
    const CivilDate next = add_days(date, 1);
    const auto start = first_instant(date.year, date.month, date.day, zone);
    const auto end = first_instant(next.year, next.month, next.day, zone);
    if (!start || !end) return std::nullopt;
    return DayWindow{*start, *end};
}

Result<std::optional<double>> first_sunrise(const DayWindow& day, const GeoLocation& place,
                                            SunriseConvention convention) {
    return ephemeris::first_sky_event(day.start_jd, day.end_jd, SkyBody::Sun, SkyEvent::Rise,
                                      sun_disc(convention), place);
}

Result<SkyTimes> sky_times_of_day(const DayWindow& day, const DayWindow& next_day,
                                  std::optional<double> sunrise, std::optional<double> next_sunrise,
                                  const GeoLocation& place, SunriseConvention convention,
                                  const cctz::time_zone& zone) {
    constexpr DiscPoint kMoonDisc = DiscPoint::UpperLimbRefracted;
    auto sunset = ephemeris::first_sky_event(sunrise.value_or(day.start_jd),
                                             sunrise ? next_day.end_jd : day.end_jd, SkyBody::Sun,
                                             SkyEvent::Set, sun_disc(convention), place);
    if (!sunset) return std::unexpected(sunset.error());
    auto moonrise = ephemeris::first_sky_event(day.start_jd, day.end_jd, SkyBody::Moon,
                                               SkyEvent::Rise, kMoonDisc, place);
    if (!moonrise) return std::unexpected(moonrise.error());
    auto moonset = ephemeris::first_sky_event(day.start_jd, day.end_jd, SkyBody::Moon,
                                              SkyEvent::Set, kMoonDisc, place);
    if (!moonset) return std::unexpected(moonset.error());
    // A transit has no disc point; the argument is ignored.
    auto noon =
        ephemeris::first_sky_event(day.start_jd, day.end_jd, SkyBody::Sun, SkyEvent::UpperTransit,
                                   DiscPoint::CentreUnrefracted, place);
    if (!noon) return std::unexpected(noon.error());

    SkyTimes t;
    t.solar = {sunrise, *sunset, next_sunrise};
    // The night ends at the next day's sunrise only when that sunrise follows the sunset.
    if (t.solar.sunset && next_sunrise && *next_sunrise <= *t.solar.sunset) {
        t.solar.next_sunrise.reset();
    }
    t.sunrise = printed(sunrise, zone);
    t.sunset = printed(*sunset, zone);
    t.moonrise = printed(*moonrise, zone);
    t.moonset = printed(*moonset, zone);
    t.solar_noon = printed(*noon, zone);
    t.next_sunrise = printed(next_sunrise, zone);
    t.day_length_seconds = seconds_between(t.sunrise, t.sunset);
    t.night_length_seconds =
        t.solar.next_sunrise ? seconds_between(t.sunset, t.next_sunrise) : std::optional<int64_t>();
    return t;
}

Result<SkyTimes> compute_sky_times(const CivilDate& date, const GeoLocation& place,
                                   const cctz::time_zone& zone, SunriseConvention convention) {
    const auto day = civil_day_window(date, zone);
    const auto next_day = civil_day_window(add_days(date, 1), zone);
    if (!day || !next_day) return std::unexpected(ZodiakitError::date_time());
    auto sunrise = first_sunrise(*day, place, convention);
    if (!sunrise) return std::unexpected(sunrise.error());
    auto next_sunrise = first_sunrise(*next_day, place, convention);
    if (!next_sunrise) return std::unexpected(next_sunrise.error());
    return sky_times_of_day(*day, *next_day, *sunrise, *next_sunrise, place, convention, zone);
}

DayTime day_time(double jd_ut, const cctz::time_zone& zone) {
    const auto utc = ephemeris::from_julian_day(jd_ut);
    // Events lie within a day of a representable date, so they always convert.
    if (!utc) throw InvariantFailure("swe_revjul returned invalid date");
    return DayTime{*utc, tz::format_local(*utc, zone)};
}

std::string format_duration(int64_t seconds) {
    if (seconds < 0) seconds = 0;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}

}  // namespace zk

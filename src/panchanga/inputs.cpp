#include "panchanga/inputs.hpp"

#include "chart/chart.hpp"
#include "chart/inputs.hpp"
#include "panchanga/calendar_names.hpp"
#include "panchanga/locale.hpp"

namespace zk {
namespace {

// The locale's entry at `index`, or nothing to change when it has none.
void rename(std::string& name, const std::vector<std::string>& names, size_t index) {
    if (index < names.size()) name = names[index];
}

Result<SunriseConvention> sunrise_convention(std::string_view text) {
    auto convention = parse_sunrise_convention(text);
    if (!convention) return std::unexpected(ZodiakitError::invalid_input(convention.error()));
    return *convention;
}

Result<CivilDate> date_of(std::string_view text) {
    auto date = parse_ymd(text);
    if (!date)
        return std::unexpected(ZodiakitError::invalid_input("Invalid date; expected YYYY-MM-DD"));
    return *date;
}

void localize_lunar(LunarCalendar& l, const CalendarNames& names) {
    rename(l.amanta.name, names.masa_names, l.amanta.index - 1);
    rename(l.purnimanta.name, names.masa_names, l.purnimanta.index - 1);
    rename(l.samvatsara_name, names.samvatsara_names, l.samvatsara - 1);
    rename(l.ritu_name, names.ritu_names, l.ritu - 1);
    rename(l.ayana_name, names.ayana_names, l.ayana - 1);
    rename(l.sun_sign_name, names.rashi_names, l.sun_sign - 1);
    rename(l.moon_sign_name, names.rashi_names, l.moon_sign - 1);
}

}  // namespace

Result<Panchanga> panchanga_from_utc(int32_t year, uint32_t month, uint32_t day, uint32_t hour,
                                     uint32_t minute, uint32_t second, double latitude,
                                     double longitude, double altitude, std::string_view ayanamsa,
                                     bool true_nodes, std::string_view locale,
                                     std::string_view sunrise) {
    if (auto valid = validate_geo(latitude, longitude, altitude); !valid) {
        return std::unexpected(std::move(valid.error()));
    }
    auto ayanamsa_mode = parse_ayanamsa(ayanamsa);
    if (!ayanamsa_mode) return std::unexpected(std::move(ayanamsa_mode.error()));
    ZK_TRY(convention, sunrise_convention(sunrise));
    auto utc = make_utc(year, month, day, hour, minute, second);
    if (!utc) return std::unexpected(ZodiakitError::invalid_input("Invalid date/time"));
    auto panchanga =
        compute_panchanga_local(*utc, GeoLocation{latitude, longitude, altitude}, "UTC",
                                PanchangaMode::CivilDay, *ayanamsa_mode, true_nodes, convention);
    if (panchanga) localize_names(*panchanga, locale);
    return panchanga;
}

Result<PanchangaElements> panchanga_elements_from_local(
    std::string_view date_text, std::string_view time_text, std::string_view zone, double latitude,
    double longitude, double altitude, std::string_view ayanamsa_text, bool true_nodes,
    std::string_view mode_text, std::string_view sunrise) {
    if (auto valid = validate_geo(latitude, longitude, altitude); !valid) {
        return std::unexpected(std::move(valid.error()));
    }
    auto utc = utc_of_local_texts(date_text, time_text, zone);
    if (!utc) return std::unexpected(std::move(utc.error()));
    auto ayanamsa = parse_ayanamsa(ayanamsa_text);
    if (!ayanamsa) return std::unexpected(std::move(ayanamsa.error()));
    auto mode = parse_panchanga_mode(mode_text);
    if (!mode) return std::unexpected(std::move(mode.error()));
    ZK_TRY(convention, sunrise_convention(sunrise));
    ZK_TRY(elements,
           compute_panchanga_elements(*utc, GeoLocation{latitude, longitude, altitude},
                                      std::string(zone), *mode, *ayanamsa, true_nodes, convention));
    if (panchanga_day_may_fail(elements.day)) {
        ZK_TRY_VOID(compute_panchanga_day(elements.panchanga, elements.day));
        elements.day_computed = true;
    }
    return elements;
}

Result<Panchanga> panchanga_from_local(std::string_view date_text, std::string_view time_text,
                                       std::string_view zone, double latitude, double longitude,
                                       double altitude, std::string_view ayanamsa_text,
                                       bool true_nodes, std::string_view mode_text,
                                       std::string_view sunrise) {
    ZK_TRY(elements,
           panchanga_elements_from_local(date_text, time_text, zone, latitude, longitude, altitude,
                                         ayanamsa_text, true_nodes, mode_text, sunrise));
    if (!elements.day_computed) {
        ZK_TRY_VOID(compute_panchanga_day(elements.panchanga, elements.day));
    }
    return std::move(elements.panchanga);
}

Result<std::vector<PanchangaDay>> panchanga_calendar_between(
    std::string_view start, std::string_view end, std::string_view zone, double latitude,
    double longitude, double altitude, std::string_view ayanamsa_text, bool true_nodes,
    std::string_view locale, std::string_view sunrise, Workers workers,
    const Interrupted& interrupted) {
    ZK_TRY_VOID(validate_geo(latitude, longitude, altitude));
    ZK_TRY(from, date_of(start));
    ZK_TRY(to, date_of(end));
    ZK_TRY(ayanamsa, parse_ayanamsa(ayanamsa_text));
    ZK_TRY(convention, sunrise_convention(sunrise));
    ZK_TRY(days, compute_panchanga_calendar(from, to, GeoLocation{latitude, longitude, altitude},
                                            std::string(zone), convention, ayanamsa, true_nodes,
                                            workers, interrupted));
    for (PanchangaDay& day : days) {
        localize_names(day.panchanga, locale);
        const CalendarNames* names = locale == "en" ? nullptr : get_calendar_names(locale);
        if (names && day.tithi_day.sankranti) {
            Sankranti& s = *day.tithi_day.sankranti;
            rename(s.name, names->rashi_names, s.sign - 1);
        }
    }
    return days;
}

void localize_names(Panchanga& p, std::string_view code) {
    // Only "en" is guaranteed English; any other code that names no locale falls back to it.
    const LocaleData* locale = code == "en" ? nullptr : get_locale(code);
    if (!locale) return;
    rename(p.tithi.name, locale->tithi_names, tithi_name_index(p.tithi.index));
    rename(p.nakshatra.name, locale->nakshatra_names, p.nakshatra.index - 1);
    if (const CalendarNames* names = get_calendar_names(code)) localize_lunar(p.lunar, *names);
}

}  // namespace zk

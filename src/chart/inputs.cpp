#include "chart/inputs.hpp"

#include <expected>
#include <string>

#include "ephemeris/ephemeris.hpp"
#include "time/bikram_sambat.hpp"
#include "time/timezone.hpp"

namespace zk {
namespace {

// The place, then the options.
struct Settled {
    GeoLocation location;
    ChartOptions options;
};
Result<Settled> settle(double latitude, double longitude, double altitude,
                       std::string_view ayanamsa, std::string_view house_system, bool true_nodes) {
    if (auto valid = validate_geo(latitude, longitude, altitude); !valid) {
        return std::unexpected(std::move(valid.error()));
    }
    auto options = parse_chart_options(ayanamsa, house_system, true_nodes);
    if (!options) return std::unexpected(std::move(options.error()));
    return Settled{GeoLocation{latitude, longitude, altitude}, *options};
}

Result<Chart> settled_chart(const UtcDateTime& utc, const Result<Settled>& settled,
                            std::string_view input_mode, std::string_view zone) {
    if (!settled) return std::unexpected(settled.error());
    return recorded_chart(utc, settled->location, settled->options, input_mode, zone);
}

}  // namespace

Result<ChartOptions> parse_chart_options(std::string_view ayanamsa_text,
                                         std::string_view house_system_text, bool true_nodes) {
    auto ayanamsa = parse_ayanamsa(ayanamsa_text);
    if (!ayanamsa) return std::unexpected(std::move(ayanamsa.error()));
    auto house_system = parse_house_system(house_system_text);
    if (!house_system) return std::unexpected(std::move(house_system.error()));
    return ChartOptions{*ayanamsa, *house_system, true_nodes};
}

Result<UtcDateTime> utc_of_local_texts(std::string_view date_text, std::string_view time_text,
                                       std::string_view zone) {
    auto date = parse_ymd(date_text);
    if (!date) return std::unexpected(ZodiakitError::invalid_input("Invalid date; expected YYYY-MM-DD"));
    auto time = parse_hms(time_text);
    if (!time) return std::unexpected(ZodiakitError::invalid_input("Invalid time; expected HH:MM:SS"));
    return tz::local_to_utc(date->year, date->month, date->day, time->hour,
                                             time->minute, time->second, zone);
}

Result<Chart> recorded_chart(const UtcDateTime& utc, const GeoLocation& location,
                             const ChartOptions& options, std::string_view input_mode,
                             std::string_view zone) {
    auto chart =
        calculate_chart(utc, location, options.ayanamsa, options.house_system, options.true_nodes);
    if (chart) {
        chart->metadata.input_mode = input_mode;
        chart->metadata.timezone = std::string(zone);
    }
    return chart;
}

Result<Chart> chart_from_utc(int32_t year, uint32_t month, uint32_t day, uint32_t hour,
                             uint32_t minute, uint32_t second, double latitude, double longitude,
                             double altitude, std::string_view ayanamsa,
                             std::string_view house_system, bool true_nodes) {
    auto utc = make_utc(year, month, day, hour, minute, second);
    if (!utc) return std::unexpected(ZodiakitError::invalid_input("Invalid UTC date/time"));
    return settled_chart(*utc,
                         settle(latitude, longitude, altitude, ayanamsa, house_system, true_nodes),
                         "utc", "UTC");
}

Result<Chart> chart_from_local(std::string_view date_text, std::string_view time_text,
                               std::string_view zone, double latitude, double longitude,
                               double altitude, std::string_view ayanamsa,
                               std::string_view house_system, bool true_nodes) {
    auto utc = utc_of_local_texts(date_text, time_text, zone);
    if (!utc) return std::unexpected(std::move(utc.error()));
    return settled_chart(*utc,
                         settle(latitude, longitude, altitude, ayanamsa, house_system, true_nodes),
                         "local_civil", zone);
}

Result<Chart> chart_from_julian_day(double jd_ut, double latitude, double longitude,
                                    double altitude, std::string_view ayanamsa,
                                    std::string_view house_system, bool true_nodes) {
    // The ayanamsa text is refused before the day, as the place is checked after it.
    if (auto mode = parse_ayanamsa(ayanamsa); !mode) {
        return std::unexpected(std::move(mode.error()));
    }
    auto utc = ephemeris::from_julian_day(jd_ut);
    if (!utc) return std::unexpected(ZodiakitError::invalid_input("swe_revjul returned invalid date"));
    return settled_chart(*utc,
                         settle(latitude, longitude, altitude, ayanamsa, house_system, true_nodes),
                         "julian_day_ut", "UTC");
}

Result<Chart> chart_from_bs(int32_t bs_year, uint32_t bs_month, uint32_t bs_day, uint32_t hour,
                            uint32_t minute, uint32_t second, double latitude, double longitude,
                            double altitude, std::string_view ayanamsa,
                            std::string_view house_system, bool true_nodes) {
    if (hour > 23 || minute > 59 || second > 59) {
        return std::unexpected(ZodiakitError::invalid_input("Invalid time"));
    }
    auto settled = settle(latitude, longitude, altitude, ayanamsa, house_system, true_nodes);
    if (!settled) return std::unexpected(std::move(settled.error()));
    auto date = bs_to_gregorian(bs_year, bs_month, bs_day);
    if (!date) return std::unexpected(std::move(date.error()));
    auto utc = make_utc(date->year, date->month, date->day, hour, minute, second);
    if (!utc) return std::unexpected(ZodiakitError::date_time());
    return settled_chart(*utc, settled, "utc", "UTC");
}

Result<Dignities> dignities_by_name(std::string_view planet_text, std::string_view sign_text,
                                    double longitude) {
    auto planet = planet_from_lower_name(to_lower(planet_text));
    if (!planet || *planet == Planet::Rahu || *planet == Planet::Ketu) {
        return std::unexpected(ZodiakitError::invalid_input("Invalid planet"));
    }
    auto sign = sign_from_lower_name(to_lower(sign_text));
    if (!sign) return std::unexpected(ZodiakitError::invalid_input("Invalid sign"));
    return compute_dignities(*planet, *sign, longitude);
}

Result<double> sidereal_longitude(double jd_ut, std::string_view planet_text,
                                  std::string_view ayanamsa_text) {
    auto planet = planet_from_lower_name(to_lower(planet_text));
    if (!planet) return std::unexpected(ZodiakitError::invalid_input("Invalid planet name"));
    auto ayanamsa = parse_ayanamsa(ayanamsa_text);
    if (!ayanamsa) return std::unexpected(std::move(ayanamsa.error()));
    ephemeris::select_sidereal_mode(*ayanamsa);
    auto position = ephemeris::calc_ut(jd_ut, true, *planet);
    if (!position) return std::unexpected(std::move(position.error()));
    return position->longitude;
}

}  // namespace zk

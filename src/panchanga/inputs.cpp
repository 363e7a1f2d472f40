#include "panchanga/inputs.hpp"

#include "chart/chart.hpp"
#include "chart/inputs.hpp"
#include "panchanga/locale.hpp"

namespace zk {
namespace {

// The locale's entry at `index`, or nothing to change when it has none.
void rename(std::string& name, const std::vector<std::string>& names, size_t index) {
    if (index < names.size()) name = names[index];
}

}  // namespace

Result<Panchanga> panchanga_from_utc(int32_t year, uint32_t month, uint32_t day, uint32_t hour,
                                     uint32_t minute, uint32_t second, double latitude,
                                     double longitude, double altitude, std::string_view ayanamsa,
                                     bool true_nodes, std::string_view locale) {
    if (auto valid = validate_geo(latitude, longitude, altitude); !valid) {
        return std::unexpected(std::move(valid.error()));
    }
    auto ayanamsa_mode = parse_ayanamsa(ayanamsa);
    if (!ayanamsa_mode) return std::unexpected(std::move(ayanamsa_mode.error()));
    auto utc = make_utc(year, month, day, hour, minute, second);
    if (!utc) return std::unexpected(ZodiakitError::invalid_input("Invalid date/time"));
    auto panchanga =
        compute_panchanga_local(*utc, GeoLocation{latitude, longitude, altitude}, "UTC",
                                PanchangaMode::CivilDay, *ayanamsa_mode, true_nodes);
    if (panchanga) localize_names(*panchanga, locale);
    return panchanga;
}

Result<Panchanga> panchanga_from_local(std::string_view date_text, std::string_view time_text,
                                       std::string_view zone, double latitude, double longitude,
                                       double altitude, std::string_view ayanamsa_text,
                                       bool true_nodes, std::string_view mode_text) {
    if (auto valid = validate_geo(latitude, longitude, altitude); !valid) {
        return std::unexpected(std::move(valid.error()));
    }
    auto utc = utc_of_local_texts(date_text, time_text, zone);
    if (!utc) return std::unexpected(std::move(utc.error()));
    auto ayanamsa = parse_ayanamsa(ayanamsa_text);
    if (!ayanamsa) return std::unexpected(std::move(ayanamsa.error()));
    auto mode = parse_panchanga_mode(mode_text);
    if (!mode) return std::unexpected(std::move(mode.error()));
    return compute_panchanga_local(*utc, GeoLocation{latitude, longitude, altitude},
                                   std::string(zone), *mode, *ayanamsa, true_nodes);
}

void localize_names(Panchanga& p, std::string_view code) {
    // Only "en" is guaranteed English; any other code that names no locale falls back to it.
    const LocaleData* locale = code == "en" ? nullptr : get_locale(code);
    if (!locale) return;
    rename(p.tithi.name, locale->tithi_names, tithi_name_index(p.tithi.index));
    rename(p.nakshatra.name, locale->nakshatra_names, p.nakshatra.index - 1);
}

}  // namespace zk

#include "chart/chart.hpp"

#include <cmath>

#include "chart/ashtakavarga.hpp"
#include "chart/divisional.hpp"
#include "chart/drishti.hpp"
#include "chart/karakas.hpp"
#include "chart/shadbala.hpp"
#include "chart/vimshottari.hpp"
#include "chart/yoga_engine.hpp"
#include "core/format.hpp"
#include "ephemeris/ephemeris.hpp"

namespace zk {

const std::array<const char*, 4> kChartWarnings = {
    "D60 and other high divisional charts (D27, D40, D45) require highly accurate birth time "
    "(within 1\u20132 minutes).",
    "Kala Bala (Shadbala sub-component) implements Nathonnatha, Hora, and Paksha Bala; "
    "Tribhaga/Masa/Abda use simplified values.",
    "Chara and Yogini Dasha systems are experimental \u2014 verify results against a classical "
    "reference before use.",
    "This software provides calculations only. All astrological interpretations require a "
    "qualified astrologer.",
};

Result<std::monostate> validate_geo(double latitude, double longitude, double altitude) {
    // Written as positive range tests so that NaN fails each of them.
    if (!(std::fabs(latitude) <= 90.0)) {
        return std::unexpected(ZodiakitError::invalid_parameter(
            "Invalid latitude " + format_plain(latitude) + ": expected -90..90"));
    }
    if (!(std::fabs(longitude) <= 180.0)) {
        return std::unexpected(ZodiakitError::invalid_parameter(
            "Invalid longitude " + format_plain(longitude) + ": expected -180..180"));
    }
    if (!(altitude >= -500.0 && altitude <= 10000.0)) {
        return std::unexpected(ZodiakitError::invalid_parameter(
            "Invalid altitude " + format_plain(altitude) + ": expected -500..10000 meters"));
    }
    return std::monostate{};
}

uint8_t house_of(double longitude, const std::vector<HouseCusp>& houses) {
    const size_t n = houses.size();
    for (size_t i = 0; i < n; ++i) {
        const double from = houses[i].cusp;
        const double to = houses[(i + 1) % n].cusp;
        const bool inside = to > from ? (longitude >= from && longitude < to)
                                      : (longitude >= from || longitude < to);
        if (inside) return houses[i].house;
    }
    return 1;
}

namespace {

// Ascendant and cusps. The ascendant always comes from the Equal system, so it never
// depends on the chart's own house system; for an Equal chart that same call already
// holds the cusps.
Result<std::monostate> place_houses(Chart& chart, double jd, HouseSystem house_system) {
    const GeoLocation& location = chart.location;
    auto equal = ephemeris::houses(jd, location.latitude, location.longitude, 'E');
    if (!equal) {
        return std::unexpected(
            ZodiakitError::swe("Ascendant", "swe_houses_ex failed to compute ascendant"));
    }
    chart.ascendant = equal->angles[0];

    auto cusps = house_system == HouseSystem::Equal
                     ? equal
                     : ephemeris::houses(jd, location.latitude, location.longitude,
                                         house_system_letter(house_system));
    if (!cusps) {
        return std::unexpected(
            ZodiakitError::swe("Houses", "swe_houses_ex failed for house system " +
                                             std::string(house_system_name(house_system))));
    }
    chart.houses.reserve(12);
    for (uint8_t i = 1; i <= 12; ++i) chart.houses.push_back({i, cusps->cusps[i]});
    return std::monostate{};
}

// Sign, nakshatra, vargas, dignities and house of a planet the ephemeris has placed.
void describe_planet(PlanetPosition& p, const std::vector<HouseCusp>& houses) {
    const double lon = normalize_degrees(p.longitude);
    const Sign sign = sign_from_longitude(lon);
    p.sign = sign;
    p.nakshatra = nakshatra_from_longitude(lon);
    p.divisional_signs = varga_signs(p.longitude);
    const Dignities d = compute_dignities(p.planet, sign, p.longitude);
    p.is_exalted = d.is_exalted;
    p.is_debilitated = d.is_debilitated;
    p.is_own_sign = d.is_own_sign;
    p.is_moolatrikona = d.is_moolatrikona;
    const auto navamsa = p.divisional_signs.find(9);
    p.is_vargottama = navamsa && *navamsa == sign;
    p.house = house_of(p.longitude, houses);
}

void fill_metadata(Chart& chart, HouseSystem house_system, bool true_nodes) {
    CalculationMetadata& meta = chart.metadata;
    meta.utc_datetime = format_rfc3339_utc(chart.datetime);
    meta.latitude = chart.location.latitude;
    meta.longitude = chart.location.longitude;
    meta.altitude = chart.location.altitude;
    meta.ayanamsa = ayanamsa_name(chart.ayanamsa);
    meta.house_system = house_system_name(house_system);
    meta.true_nodes = true_nodes;
}

}  // namespace

// Outside the data files (1800-2399 CE), or without them, the library computes positions
// analytically: a few arcseconds off for the Moon, up to a minute of arc for the true node.
constexpr const char* kAnalyticalEphemeris = "Swiss Ephemeris (analytical)";
constexpr const char* kAnalyticalWarning =
    "Positions come from the Swiss Ephemeris' analytical fallback, not its data files "
    "(1800-2399 CE): the Moon may differ by a few arcseconds and the true node by up to a "
    "minute of arc.";

Result<Chart> calculate_chart(const UtcDateTime& datetime, const GeoLocation& location,
                              const AyanamsaMode& ayanamsa, HouseSystem house_system,
                              bool true_nodes) {
    if (auto valid = validate_geo(location.latitude, location.longitude, location.altitude);
        !valid) {
        return std::unexpected(valid.error());
    }
    ephemeris::select_sidereal_mode(ayanamsa);
    const double jd = ephemeris::julian_day(datetime);

    Chart chart;
    chart.datetime = datetime;
    chart.location = location;
    chart.ayanamsa = ayanamsa;
    if (auto placed = place_houses(chart, jd, house_system); !placed) {
        return std::unexpected(placed.error());
    }

    chart.planets.reserve(kAllPlanets.size());
    const uint64_t analytical_before = ephemeris::analytical_positions();
    for (Planet planet : kAllPlanets) {
        auto position = ephemeris::calc_ut(jd, true_nodes, planet);
        if (!position) return std::unexpected(position.error());
        PlanetPosition& p = chart.planets.emplace_back(std::move(*position));
        describe_planet(p, chart.houses);
    }

    chart.ascendant_divisional_signs = varga_signs(chart.ascendant);
    chart.divisional_charts = build_divisional_charts(chart.planets);
    chart.karakas = compute_karakas(chart.planets);
    fill_metadata(chart, house_system, true_nodes);
    chart.warnings.assign(kChartWarnings.begin(), kChartWarnings.end());
    if (ephemeris::analytical_positions() != analytical_before) {
        chart.metadata.ephemeris = kAnalyticalEphemeris;
        chart.warnings.emplace_back(kAnalyticalWarning);
    }

    chart.aspects = compute_aspects(chart.planets);
    chart.ashtakavarga = compute_ashtakavarga(chart.planets);
    apply_shadbala(chart.planets, chart.aspects, datetime);
    chart.yogas = detect_yogas(chart.planets, chart.ascendant);
    const PlanetPosition* moon = find_planet(chart.planets, Planet::Moon);
    chart.dasha["vimshottari"] = compute_vimshottari(moon->longitude, datetime);
    return chart;
}

}  // namespace zk

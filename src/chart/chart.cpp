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

namespace {

struct DignityRow {
    Sign exalted;
    Sign debilitated;
    Sign moolatrikona;
    double mt_from;  // degree within the sign, inclusive
    double mt_to;    // exclusive
};

// Sun..Saturn; Rahu and Ketu have no dignities.
constexpr std::array<DignityRow, 7> kDignities = {{
    {Sign::Aries, Sign::Libra, Sign::Leo, 0.0, 20.0},
    {Sign::Taurus, Sign::Scorpio, Sign::Taurus, 4.0, 30.0},
    {Sign::Capricorn, Sign::Cancer, Sign::Aries, 0.0, 12.0},
    {Sign::Virgo, Sign::Pisces, Sign::Virgo, 16.0, 20.0},
    {Sign::Cancer, Sign::Capricorn, Sign::Sagittarius, 0.0, 10.0},
    {Sign::Pisces, Sign::Virgo, Sign::Libra, 0.0, 15.0},
    {Sign::Libra, Sign::Aries, Sign::Aquarius, 0.0, 20.0},
}};

}  // namespace

Dignities compute_dignities(Planet planet, Sign sign, double longitude) {
    if (planet == Planet::Rahu || planet == Planet::Ketu) return {};
    const DignityRow& row = kDignities[planet_index(planet)];
    const double degree = std::fmod(longitude, 30.0);
    Dignities d;
    d.is_exalted = sign == row.exalted;
    d.is_debilitated = sign == row.debilitated;
    d.is_own_sign = sign_lord(sign) == planet;
    d.is_moolatrikona = sign == row.moolatrikona && degree >= row.mt_from && degree < row.mt_to;
    return d;
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

    // The ascendant always comes from the Equal system, so it never depends on the chart's
    // own house system; for an Equal chart that same call already holds the cusps.
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

    chart.planets.reserve(kAllPlanets.size());
    for (Planet planet : kAllPlanets) {
        auto position = ephemeris::calc_ut(jd, true_nodes, planet);
        if (!position) return std::unexpected(position.error());
        PlanetPosition p = std::move(*position);
        const double lon = normalize_degrees(p.longitude);
        const Sign sign = sign_from_longitude(lon);
        p.sign = sign;
        p.nakshatra = nakshatra_from_longitude(lon);
        p.divisional_signs.reserve(kVargaSet.size());
        for (uint32_t varga : kVargaSet) {
            p.divisional_signs.set(varga, sign_from_number(divisional_sign(varga, p.longitude)));
        }
        const Dignities d = compute_dignities(planet, sign, p.longitude);
        p.is_exalted = d.is_exalted;
        p.is_debilitated = d.is_debilitated;
        p.is_own_sign = d.is_own_sign;
        p.is_moolatrikona = d.is_moolatrikona;
        const auto navamsa = p.divisional_signs.find(9);
        p.is_vargottama = navamsa && *navamsa == sign;
        p.house = house_of(p.longitude, chart.houses);
        chart.planets.push_back(std::move(p));
    }

    chart.divisional_charts = build_divisional_charts(chart.planets);
    chart.karakas = compute_karakas(chart.planets);

    CalculationMetadata& meta = chart.metadata;
    meta.utc_datetime = format_rfc3339_utc(datetime);
    meta.latitude = location.latitude;
    meta.longitude = location.longitude;
    meta.altitude = location.altitude;
    meta.ayanamsa = ayanamsa_name(ayanamsa);
    meta.house_system = house_system_name(house_system);
    meta.true_nodes = true_nodes;
    chart.warnings.assign(kChartWarnings.begin(), kChartWarnings.end());

    chart.aspects = compute_aspects(chart.planets);
    chart.ashtakavarga = compute_ashtakavarga(chart.planets);
    apply_shadbala(chart.planets, chart.aspects, datetime);
    chart.yogas = detect_yogas(chart.planets, chart.ascendant);
    const PlanetPosition* moon = find_planet(chart.planets, Planet::Moon);
    chart.dasha["vimshottari"] = compute_vimshottari(moon->longitude, datetime);
    return chart;
}

}  // namespace zk

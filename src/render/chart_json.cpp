#include "render/chart_json.hpp"

#include <charconv>
#include <string>

#include "render/json_writer.hpp"

namespace zk {
namespace {

// An array of `items`, each written by `write_item(w, item)`.
template <typename Items, typename WriteItem>
void write_array(JsonWriter& w, const Items& items, const WriteItem& write_item) {
    w.begin_array();
    for (const auto& item : items) write_item(w, item);
    w.end_array();
}

// An object with a member per (key, value) entry of `entries`, named `name_of(key)` and
// written by `write_entry(w, value)`.
template <typename Entries, typename NameOf, typename WriteEntry>
void write_map(JsonWriter& w, const Entries& entries, const NameOf& name_of,
               const WriteEntry& write_entry) {
    w.begin_object();
    for (const auto& [key, entry] : entries) write_entry(w.key(name_of(key)), entry);
    w.end_object();
}

const auto write_plain = [](JsonWriter& w, const auto& value) { w.value(value); };
const auto write_sign = [](JsonWriter& w, Sign sign) { w.value(sign_name(sign)); };
const auto same_name = [](const std::string& name) -> const std::string& { return name; };
// A number as a member name, without allocating: the text lives in the caller's buffer.
struct NumberName {
    char text[12];
    size_t size;
    operator std::string_view() const { return {text, size}; }
};
const auto number_name = [](uint32_t number) {
    NumberName name{};
    name.size = static_cast<size_t>(
        std::to_chars(name.text, name.text + sizeof name.text, number).ptr - name.text);
    return name;
};

void write_ayanamsa(JsonWriter& w, const AyanamsaMode& mode) {
    if (mode.kind == AyanamsaMode::Kind::Custom) {
        w.begin_object().members("Custom", mode.custom_deg).end_object();
    } else {
        w.value(ayanamsa_name(mode));
    }
}

void write_shadbala(JsonWriter& w, const ShadbalaScore& s) {
    w.begin_object().members("sthana_bala", s.sthana_bala, "dik_bala", s.dik_bala, "kala_bala",
                             s.kala_bala, "chesta_bala", s.chesta_bala, "naisargika_bala",
                             s.naisargika_bala, "drik_bala", s.drik_bala, "total", s.total,
                             "required", s.required, "is_sufficient", s.is_sufficient);
    w.end_object();
}

void write_planet(JsonWriter& w, const PlanetPosition& p) {
    const auto house = p.house.transform([](uint8_t h) { return unsigned{h}; });
    w.begin_object().members("planet", planet_name(p.planet), "longitude", p.longitude, "latitude",
                             p.latitude, "speed", p.speed, "is_retrograde", p.is_retrograde, "sign",
                             p.sign.transform(sign_name), "nakshatra",
                             p.nakshatra.transform(nakshatra_name), "house", house);
    write_map(w.key("divisional_signs"), p.divisional_signs, number_name, write_sign);
    w.members("is_exalted", p.is_exalted, "is_debilitated", p.is_debilitated, "is_own_sign",
              p.is_own_sign, "is_moolatrikona", p.is_moolatrikona, "is_vargottama",
              p.is_vargottama);
    w.key("shadbala");
    if (p.shadbala) {
        write_shadbala(w, *p.shadbala);
    } else {
        w.null();
    }
    w.end_object();
}

void write_dasha_period(JsonWriter& w, const DashaPeriod& d) {
    w.begin_object().members("lord_name", d.lord_name(), "start", d.start_time(), "end",
                             d.end_time());
    write_array(w.key("sub_periods"), d.sub_periods, write_dasha_period);
    w.end_object();
}

void write_varga(JsonWriter& w, const VargaPosition& v) {
    w.begin_object().members("planet", planet_name(v.planet), "source_longitude",
                             v.source_longitude, "varga", unsigned{v.varga}, "varga_sign",
                             sign_name(v.varga_sign), "varga_index", unsigned{v.varga_index},
                             "display_longitude", v.display_longitude);
    write_array(w.key("warnings"), v.warnings, write_plain);
    w.end_object();
}

void write_aspect(JsonWriter& w, const Aspect& a) {
    w.begin_object().members("from_planet", planet_name(a.from_planet), "to_house",
                             unsigned{a.to_house}, "to_planet", a.to_planet.transform(planet_name),
                             "strength", a.strength, "is_special", a.is_special);
    w.end_object();
}

void write_counts(JsonWriter& w, const std::array<uint8_t, 12>& counts) {
    write_array(w, counts, [](JsonWriter& w, uint8_t count) { w.value(unsigned{count}); });
}

void write_ashtakavarga(JsonWriter& w, const Ashtakavarga& a) {
    w.begin_object();
    write_map(w.key("binna"), a.binna, same_name, write_counts);
    write_counts(w.key("sarva"), a.sarva);
    w.end_object();
}

void write_yoga(JsonWriter& w, const YogaResult& y) {
    w.begin_object().members("name", y.name, "category", y.category, "description", y.description);
    write_array(w.key("planets_involved"), y.planets_involved,
                [](JsonWriter& w, Planet p) { w.value(planet_name(p)); });
    w.members("is_present", y.is_present).end_object();
}

void write_metadata(JsonWriter& w, const CalculationMetadata& m) {
    w.begin_object().members("input_mode", m.input_mode, "utc_datetime", m.utc_datetime, "timezone",
                             m.timezone, "latitude", m.latitude, "longitude", m.longitude,
                             "altitude", m.altitude, "ayanamsa", m.ayanamsa, "house_system",
                             m.house_system, "true_nodes", m.true_nodes, "ephemeris", m.ephemeris,
                             "longitude_type", m.longitude_type, "calculation_version",
                             m.calculation_version);
    w.end_object();
}

void write_house(JsonWriter& w, const HouseCusp& h) {
    w.begin_object().members("house", unsigned{h.house}, "cusp", h.cusp).end_object();
}

void write_location(JsonWriter& w, const GeoLocation& at) {
    w.begin_object().members("latitude", at.latitude, "longitude", at.longitude, "altitude",
                             at.altitude);
    w.end_object();
}

// A chart's document is about 110 KB, most of it the dasha tree.
constexpr size_t kExpectedChartBytes = 160 * 1024;

}  // namespace

void write_chart(JsonWriter& w, const Chart& chart) {
    w.begin_object().members("datetime", chart.datetime);
    write_location(w.key("location"), chart.location);
    write_ayanamsa(w.key("ayanamsa"), chart.ayanamsa);
    write_array(w.key("planets"), chart.planets, write_planet);
    w.members("ascendant", chart.ascendant);
    write_array(w.key("houses"), chart.houses, write_house);
    write_map(w.key("dasha"), chart.dasha, same_name,
              [](JsonWriter& w, const std::vector<DashaPeriod>& periods) {
                  write_array(w, periods, write_dasha_period);
              });
    write_map(w.key("divisional_charts"), chart.divisional_charts, number_name,
              [](JsonWriter& w, const std::vector<VargaPosition>& positions) {
                  write_array(w, positions, write_varga);
              });
    write_map(w.key("karakas"), chart.karakas, planet_name,
              [](JsonWriter& w, Karaka karaka) { w.value(karaka_name(karaka)); });
    write_array(w.key("aspects"), chart.aspects, write_aspect);
    write_ashtakavarga(w.key("ashtakavarga"), chart.ashtakavarga);
    write_array(w.key("yogas"), chart.yogas, write_yoga);
    write_metadata(w.key("metadata"), chart.metadata);
    write_array(w.key("warnings"), chart.warnings, write_plain);
    write_map(w.key("ascendant_divisional_signs"), chart.ascendant_divisional_signs, number_name,
              write_sign);
    w.end_object();
}

std::string chart_to_json(const Chart& chart) {
    JsonWriter w(kExpectedChartBytes);
    write_chart(w, chart);
    return w.take();
}

}  // namespace zk

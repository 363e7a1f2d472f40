#include "render/chart_json.hpp"

#include <string>

#include "render/json_writer.hpp"

namespace zk {
namespace {

void write_ayanamsa(JsonWriter& w, const AyanamsaMode& mode) {
    if (mode.kind == AyanamsaMode::Kind::Custom) {
        w.begin_object().key("Custom").value(mode.custom_deg).end_object();
    } else {
        w.value(ayanamsa_name(mode));
    }
}

void write_shadbala(JsonWriter& w, const ShadbalaScore& s) {
    w.begin_object();
    w.key("sthana_bala").value(s.sthana_bala);
    w.key("dik_bala").value(s.dik_bala);
    w.key("kala_bala").value(s.kala_bala);
    w.key("chesta_bala").value(s.chesta_bala);
    w.key("naisargika_bala").value(s.naisargika_bala);
    w.key("drik_bala").value(s.drik_bala);
    w.key("total").value(s.total);
    w.key("required").value(s.required);
    w.key("is_sufficient").value(s.is_sufficient);
    w.end_object();
}

void write_planet(JsonWriter& w, const PlanetPosition& p) {
    w.begin_object();
    w.key("planet").value(planet_name(p.planet));
    w.key("longitude").value(p.longitude);
    w.key("latitude").value(p.latitude);
    w.key("speed").value(p.speed);
    w.key("is_retrograde").value(p.is_retrograde);
    w.key("sign");
    p.sign ? w.value(sign_name(*p.sign)) : w.null();
    w.key("nakshatra");
    p.nakshatra ? w.value(nakshatra_name(*p.nakshatra)) : w.null();
    w.key("house");
    p.house ? w.value(unsigned{*p.house}) : w.null();
    w.key("divisional_signs").begin_object();
    for (const auto& [varga, sign] : p.divisional_signs) {
        w.key(std::to_string(varga)).value(sign_name(sign));
    }
    w.end_object();
    w.key("is_exalted").value(p.is_exalted);
    w.key("is_debilitated").value(p.is_debilitated);
    w.key("is_own_sign").value(p.is_own_sign);
    w.key("is_moolatrikona").value(p.is_moolatrikona);
    w.key("is_vargottama").value(p.is_vargottama);
    w.key("shadbala");
    if (p.shadbala) {
        write_shadbala(w, *p.shadbala);
    } else {
        w.null();
    }
    w.end_object();
}

void write_dasha_period(JsonWriter& w, const DashaPeriod& d) {
    w.begin_object();
    w.key("lord_name").value(d.lord_name());
    w.key("start").value(format_rfc3339_z(d.start_time()));
    w.key("end").value(format_rfc3339_z(d.end_time()));
    w.key("sub_periods").begin_array();
    for (const DashaPeriod& sub : d.sub_periods) write_dasha_period(w, sub);
    w.end_array();
    w.end_object();
}

void write_varga(JsonWriter& w, const VargaPosition& v) {
    w.begin_object();
    w.key("planet").value(planet_name(v.planet));
    w.key("source_longitude").value(v.source_longitude);
    w.key("varga").value(unsigned{v.varga});
    w.key("varga_sign").value(sign_name(v.varga_sign));
    w.key("varga_index").value(unsigned{v.varga_index});
    w.key("display_longitude");
    v.display_longitude ? w.value(*v.display_longitude) : w.null();
    w.key("warnings").begin_array();
    for (const std::string& text : v.warnings) w.value(text);
    w.end_array();
    w.end_object();
}

void write_aspect(JsonWriter& w, const Aspect& a) {
    w.begin_object();
    w.key("from_planet").value(planet_name(a.from_planet));
    w.key("to_house").value(unsigned{a.to_house});
    w.key("to_planet");
    a.to_planet ? w.value(planet_name(*a.to_planet)) : w.null();
    w.key("strength").value(a.strength);
    w.key("is_special").value(a.is_special);
    w.end_object();
}

void write_counts(JsonWriter& w, const std::array<uint8_t, 12>& counts) {
    w.begin_array();
    for (uint8_t c : counts) w.value(unsigned{c});
    w.end_array();
}

void write_ashtakavarga(JsonWriter& w, const Ashtakavarga& a) {
    w.begin_object();
    w.key("binna").begin_object();
    for (const auto& [planet, counts] : a.binna) {
        w.key(planet);
        write_counts(w, counts);
    }
    w.end_object();
    w.key("sarva");
    write_counts(w, a.sarva);
    w.end_object();
}

void write_yoga(JsonWriter& w, const YogaResult& y) {
    w.begin_object();
    w.key("name").value(y.name);
    w.key("category").value(y.category);
    w.key("description").value(y.description);
    w.key("planets_involved").begin_array();
    for (Planet p : y.planets_involved) w.value(planet_name(p));
    w.end_array();
    w.key("is_present").value(y.is_present);
    w.end_object();
}

void write_metadata(JsonWriter& w, const CalculationMetadata& m) {
    w.begin_object();
    w.key("input_mode").value(m.input_mode);
    w.key("utc_datetime").value(m.utc_datetime);
    w.key("timezone");
    m.timezone ? w.value(*m.timezone) : w.null();
    w.key("latitude").value(m.latitude);
    w.key("longitude").value(m.longitude);
    w.key("altitude").value(m.altitude);
    w.key("ayanamsa").value(m.ayanamsa);
    w.key("house_system").value(m.house_system);
    w.key("true_nodes").value(m.true_nodes);
    w.key("ephemeris").value(m.ephemeris);
    w.key("longitude_type").value(m.longitude_type);
    w.key("calculation_version").value(m.calculation_version);
    w.end_object();
}

}  // namespace

std::string chart_to_json(const Chart& chart) {
    JsonWriter w;
    w.begin_object();
    w.key("datetime").value(format_rfc3339_z(chart.datetime));

    w.key("location").begin_object();
    w.key("latitude").value(chart.location.latitude);
    w.key("longitude").value(chart.location.longitude);
    w.key("altitude").value(chart.location.altitude);
    w.end_object();

    w.key("ayanamsa");
    write_ayanamsa(w, chart.ayanamsa);

    w.key("planets").begin_array();
    for (const PlanetPosition& p : chart.planets) write_planet(w, p);
    w.end_array();

    w.key("ascendant").value(chart.ascendant);

    w.key("houses").begin_array();
    for (const HouseCusp& h : chart.houses) {
        w.begin_object().key("house").value(unsigned{h.house}).key("cusp").value(h.cusp);
        w.end_object();
    }
    w.end_array();

    w.key("dasha").begin_object();
    for (const auto& [system, periods] : chart.dasha) {
        w.key(system).begin_array();
        for (const DashaPeriod& d : periods) write_dasha_period(w, d);
        w.end_array();
    }
    w.end_object();

    w.key("divisional_charts").begin_object();
    for (const auto& [varga, positions] : chart.divisional_charts) {
        w.key(std::to_string(varga)).begin_array();
        for (const VargaPosition& v : positions) write_varga(w, v);
        w.end_array();
    }
    w.end_object();

    w.key("karakas").begin_object();
    for (const auto& [planet, karaka] : chart.karakas) {
        w.key(planet_name(planet)).value(karaka_name(karaka));
    }
    w.end_object();

    w.key("aspects").begin_array();
    for (const Aspect& a : chart.aspects) write_aspect(w, a);
    w.end_array();

    w.key("ashtakavarga");
    write_ashtakavarga(w, chart.ashtakavarga);

    w.key("yogas").begin_array();
    for (const YogaResult& y : chart.yogas) write_yoga(w, y);
    w.end_array();

    w.key("metadata");
    write_metadata(w, chart.metadata);

    w.key("warnings").begin_array();
    for (const std::string& text : chart.warnings) w.value(text);
    w.end_array();

    w.end_object();
    return w.take();
}

}  // namespace zk

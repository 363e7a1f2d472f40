// The chart document's shape, written once for every way of emitting it: compact JSON
// text, events for a JsonWriter, or Python objects in the binding. An emitter `Out`
// receives, in document order:
//   begin_object(), end_object(), begin_array(count), end_array();
//   key(Key<Name>) for a member name known when compiling, key(std::string_view) for a
//   name held in the record, key(Planet) for a planet's name, key(uint32_t) for a number
//   written in decimal ("9");
//   value(v) for v a std::string_view (any text), a Planet, Sign, Nakshatra or Karaka (its
//   name), a double (null when not finite), an unsigned, a bool, a UtcDateTime, or an
//   Instant; null().
// Member names never need escaping, and neither do the names of the vocabularies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "core/records.hpp"

namespace zk {

// A member name as a template argument: "lord_name"_key.
template <size_t N>
struct KeyName {
    char text[N]{};
    consteval KeyName(const char (&name)[N]) {
        for (size_t i = 0; i < N; ++i) text[i] = name[i];
    }
    constexpr std::string_view view() const { return {text, N - 1}; }
};

template <KeyName Name>
struct Key {
    static constexpr std::string_view name = Name.view();
    static_assert(
        [] {
            for (const char c : Name.view()) {
                if (c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20) return false;
            }
            return true;
        }(),
        "a member name is written without escapes");
};

namespace keys {
template <KeyName Name>
constexpr Key<Name> operator""_key() {
    return {};
}
}  // namespace keys

// An instant as whole seconds since 1970-01-01T00:00:00Z, inside the calendar.
struct Instant {
    int64_t seconds;
};

namespace document {
using namespace keys;

template <typename Out, typename T>
void put(Out& out, const T& value) {
    out.value(value);
}
template <typename Out>
void put(Out& out, const std::string& text) {
    out.value(std::string_view(text));
}
template <typename Out>
void put(Out& out, uint8_t number) {
    out.value(unsigned{number});
}
template <typename Out, typename T>
void put(Out& out, const std::optional<T>& maybe) {
    if (maybe) {
        put(out, *maybe);
    } else {
        out.null();
    }
}

// Members in order from name, value pairs.
template <typename Out, KeyName Name, typename Value, typename... Rest>
void members(Out& out, Key<Name> name, const Value& value, const Rest&... rest) {
    out.key(name);
    put(out, value);
    if constexpr (sizeof...(rest) > 0) members(out, rest...);
}

template <typename Out, typename Items, typename PutItem>
void array(Out& out, const Items& items, const PutItem& put_item) {
    out.begin_array(items.size());
    for (const auto& item : items) put_item(out, item);
    out.end_array();
}

template <typename Out>
void strings(Out& out, const std::vector<std::string>& texts) {
    array(out, texts, [](Out& o, const std::string& text) { o.value(std::string_view(text)); });
}

template <typename Out>
void ayanamsa(Out& out, const AyanamsaMode& mode) {
    if (mode.kind == AyanamsaMode::Kind::Custom) {
        out.begin_object();
        members(out, "Custom"_key, mode.custom_deg);
        out.end_object();
    } else {
        out.value(std::string_view(ayanamsa_name(mode)));
    }
}

template <typename Out>
void shadbala(Out& out, const ShadbalaScore& s) {
    out.begin_object();
    members(out, "sthana_bala"_key, s.sthana_bala, "dik_bala"_key, s.dik_bala, "kala_bala"_key,
            s.kala_bala, "chesta_bala"_key, s.chesta_bala, "naisargika_bala"_key, s.naisargika_bala,
            "drik_bala"_key, s.drik_bala, "total"_key, s.total, "required"_key, s.required,
            "is_sufficient"_key, s.is_sufficient);
    out.end_object();
}

// {key: value, ...} over a map, each value written by `write`; text keys as they are,
// numbers in decimal, enumerations by name.
template <typename Out, typename Map, typename Write>
void object_of(Out& out, const Map& map, Write write) {
    out.begin_object();
    for (const auto& [key, value] : map) {
        if constexpr (std::is_same_v<std::decay_t<decltype(key)>, std::string>) {
            out.key(std::string_view(key));
        } else {
            out.key(key);
        }
        write(out, value);
    }
    out.end_object();
}

// {"2": sign, ..., "60": sign}: a body's sign in each varga.
template <typename Out>
void varga_signs(Out& out, const VargaSigns& signs) {
    object_of(out, signs, [](Out& o, auto sign) { o.value(sign); });
}

template <typename Out>
void planet(Out& out, const PlanetPosition& p) {
    out.begin_object();
    members(out, "planet"_key, p.planet, "longitude"_key, p.longitude, "latitude"_key, p.latitude,
            "speed"_key, p.speed, "is_retrograde"_key, p.is_retrograde, "sign"_key, p.sign,
            "nakshatra"_key, p.nakshatra, "house"_key, p.house);
    out.key("divisional_signs"_key);
    varga_signs(out, p.divisional_signs);
    members(out, "is_exalted"_key, p.is_exalted, "is_debilitated"_key, p.is_debilitated,
            "is_own_sign"_key, p.is_own_sign, "is_moolatrikona"_key, p.is_moolatrikona,
            "is_vargottama"_key, p.is_vargottama);
    out.key("shadbala"_key);
    if (p.shadbala) {
        shadbala(out, *p.shadbala);
    } else {
        out.null();
    }
    out.end_object();
}

template <typename Out>
void dasha_period(Out& out, const DashaPeriod& d) {
    out.begin_object();
    members(out, "lord_name"_key, d.lord, "start"_key, Instant{d.start}, "end"_key, Instant{d.end});
    out.key("sub_periods"_key);
    array(out, d.sub_periods, dasha_period<Out>);
    out.end_object();
}

// A list of dasha periods, most of a chart's document: an emitter with a dasha_periods
// member of its own writes them itself, in the order dasha_period gives.
template <typename Out>
void dasha_periods(Out& out, const std::vector<DashaPeriod>& periods) {
    if constexpr (requires { out.dasha_periods(periods); }) {
        out.dasha_periods(periods);
    } else {
        array(out, periods, dasha_period<Out>);
    }
}

template <typename Out>
void varga(Out& out, const VargaPosition& v) {
    out.begin_object();
    members(out, "planet"_key, v.planet, "source_longitude"_key, v.source_longitude, "varga"_key,
            unsigned{v.varga}, "varga_sign"_key, v.varga_sign, "varga_index"_key,
            unsigned{v.varga_index}, "display_longitude"_key, v.display_longitude);
    out.key("warnings"_key);
    strings(out, v.warnings);
    out.end_object();
}

template <typename Out>
void aspect(Out& out, const Aspect& a) {
    out.begin_object();
    members(out, "from_planet"_key, a.from_planet, "to_house"_key, a.to_house, "to_planet"_key,
            a.to_planet, "strength"_key, a.strength, "is_special"_key, a.is_special);
    out.end_object();
}

template <typename Out>
void counts(Out& out, const std::array<uint8_t, 12>& values) {
    array(out, values, [](Out& o, uint8_t count) { o.value(unsigned{count}); });
}

template <typename Out>
void yoga(Out& out, const YogaResult& y) {
    out.begin_object();
    members(out, "name"_key, y.name, "category"_key, y.category, "description"_key, y.description);
    out.key("planets_involved"_key);
    array(out, y.planets_involved, [](Out& o, Planet p) { o.value(p); });
    members(out, "is_present"_key, y.is_present);
    out.end_object();
}

template <typename Out>
void metadata(Out& out, const CalculationMetadata& m) {
    out.begin_object();
    members(out, "input_mode"_key, m.input_mode, "utc_datetime"_key, m.utc_datetime, "timezone"_key,
            m.timezone, "latitude"_key, m.latitude, "longitude"_key, m.longitude, "altitude"_key,
            m.altitude, "ayanamsa"_key, m.ayanamsa, "house_system"_key, m.house_system,
            "true_nodes"_key, m.true_nodes, "ephemeris"_key, m.ephemeris, "longitude_type"_key,
            m.longitude_type, "calculation_version"_key, m.calculation_version);
    out.end_object();
}

template <typename Out>
void ashtakavarga(Out& out, const Ashtakavarga& a) {
    out.begin_object();
    out.key("binna"_key);
    object_of(out, a.binna, [](Out& o, const auto& values) { counts(o, values); });
    out.key("sarva"_key);
    counts(out, a.sarva);
    out.end_object();
}

}  // namespace document

// Members in a fixed order: datetime, location, ayanamsa, planets, ascendant, houses, dasha,
// divisional_charts, karakas, aspects, ashtakavarga, yogas, metadata, warnings,
// ascendant_divisional_signs. Nested records keep their field order; enumerations are written
// by name, the custom ayanamsa as {"Custom":24.0}, instants as 2000-01-01T12:00:00Z, and maps
// keyed by numbers use the number in decimal as the key ("9"). A planet without a house,
// sign, nakshatra or strength entry writes null there.
template <typename Out>
void emit_chart(Out& out, const Chart& chart) {
    using namespace document;
    out.begin_object();
    members(out, "datetime"_key, chart.datetime);
    out.key("location"_key);
    out.begin_object();
    members(out, "latitude"_key, chart.location.latitude, "longitude"_key, chart.location.longitude,
            "altitude"_key, chart.location.altitude);
    out.end_object();
    out.key("ayanamsa"_key);
    ayanamsa(out, chart.ayanamsa);
    out.key("planets"_key);
    array(out, chart.planets, planet<Out>);
    members(out, "ascendant"_key, chart.ascendant);
    out.key("houses"_key);
    array(out, chart.houses, [](Out& o, const HouseCusp& h) {
        o.begin_object();
        members(o, "house"_key, unsigned{h.house}, "cusp"_key, h.cusp);
        o.end_object();
    });
    out.key("dasha"_key);
    object_of(out, chart.dasha, [](Out& o, const auto& periods) { dasha_periods(o, periods); });
    out.key("divisional_charts"_key);
    object_of(out, chart.divisional_charts,
              [](Out& o, const auto& positions) { array(o, positions, varga<Out>); });
    out.key("karakas"_key);
    object_of(out, chart.karakas, [](Out& o, auto karaka) { o.value(karaka); });
    out.key("aspects"_key);
    array(out, chart.aspects, aspect<Out>);
    out.key("ashtakavarga"_key);
    ashtakavarga(out, chart.ashtakavarga);
    out.key("yogas"_key);
    array(out, chart.yogas, yoga<Out>);
    out.key("metadata"_key);
    metadata(out, chart.metadata);
    out.key("warnings"_key);
    strings(out, chart.warnings);
    out.key("ascendant_divisional_signs"_key);
    varga_signs(out, chart.ascendant_divisional_signs);
    out.end_object();
}

}  // namespace zk

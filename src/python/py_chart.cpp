// The Chart class: the row of every Chart method, how a chart was computed, its planets,
// houses and ascendant; the PlanetPosition class.
#include "chart/divisional.hpp"
#include "chart/inputs.hpp"
#include "core/format.hpp"
#include "panchanga/elements.hpp"
#include "python/entry_points.hpp"

namespace zk::py {

// ---------------------------------------------------------------- Chart objects

Ref wrap_chart(Chart chart) {
    return wrap(Class::Chart, std::move(chart));
}

bool convert(PyObject* obj, Borrowed<Chart>& out) {
    if (PyObject_TypeCheck(obj, type_of(Class::Chart)) == 0) {
        return refuse_conversion(obj, "Chart");
    }
    out.record = &record_of<Chart>(obj);
    return true;
}

// ---------------------------------------------------------------- reading a chart

Ref settings_dict(const Chart& chart) {
    const CalculationMetadata& m = chart.metadata;
    return new_dict("input_mode", new_str(m.input_mode), "utc_datetime", new_str(m.utc_datetime),
                    "timezone", to_python(m.timezone), "latitude", new_float(m.latitude),
                    "longitude", new_float(m.longitude), "altitude", new_float(m.altitude),
                    "ayanamsa", new_str(m.ayanamsa), "house_system", new_str(m.house_system),
                    "true_nodes", new_bool(m.true_nodes), "ephemeris", new_str(m.ephemeris),
                    "longitude_type", new_str(m.longitude_type), "calculation_version",
                    new_str(m.calculation_version));
}

Ref warnings_list(const Chart& chart) {
    return new_str_list(chart.warnings);
}

Ref planets_dict(const Chart& chart) {
    return dict_of(chart.planets, [](const PlanetPosition& p) {
        return std::pair{to_python(p.planet), wrap(Class::PlanetPosition, p)};
    });
}

Ref houses_list(const Chart& chart) {
    return list_of(chart.houses, [](const HouseCusp& h) {
        return new_dict("house", new_float(h.house), "cusp", new_float(h.cusp));
    });
}

Ref ascendant_float(const Chart& chart) {
    return new_float(chart.ascendant);
}

namespace {

// ---------------------------------------------------------------- PlanetPosition class

using PP = PlanetPosition;

Ref divisional_signs_dict(const PP& p) {
    return dict_of(p.divisional_signs, [](const VargaSigns::Entry& e) {
        return std::pair{new_int(e.first), to_python(e.second)};
    });
}

Ref shadbala_dict(const PP& p) {
    if (!p.shadbala) return new_none();
    const ShadbalaScore& s = *p.shadbala;
    return new_dict("sthana", new_float(s.sthana_bala), "dik", new_float(s.dik_bala), "kala",
                    new_float(s.kala_bala), "chesta", new_float(s.chesta_bala), "naisargika",
                    new_float(s.naisargika_bala), "drik", new_float(s.drik_bala), "total",
                    new_float(s.total));
}

PyGetSetDef kPlanetPositionGetters[] = {
    ZK_FIELD(PP, planet),
    ZK_FIELD(PP, longitude),
    ZK_FIELD(PP, latitude),
    ZK_FIELD(PP, speed),
    ZK_FIELD(PP, is_retrograde),
    ZK_FIELD(PP, is_exalted),
    ZK_FIELD(PP, is_debilitated),
    ZK_FIELD(PP, is_own_sign),
    ZK_FIELD(PP, is_vargottama),
    ZK_FIELD(PP, sign),
    ZK_FIELD(PP, nakshatra),
    ZK_GETTER(
        PP, nakshatra_index,
        new_int(static_cast<long long>(nakshatra_from_longitude(normalize_degrees(r.longitude))))),
    ZK_GETTER(PP, pada, new_int(nakshatra_pada(r.longitude))),
    ZK_FIELD(PP, house),
    ZK_GETTER(PP, divisional_signs, divisional_signs_dict(r)),
    ZK_FIELD(PP, is_moolatrikona),
    ZK_GETTER(PP, shadbala, shadbala_dict(r)),
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

Ref planet_position_text(const PP& p) {
    return new_str("<PlanetPosition " + std::string(planet_name(p.planet)) + ": " +
                   (p.sign ? std::string(sign_name(*p.sign)) : "Unknown Sign") + " at " +
                   format_fixed(p.longitude, 2) + "\u00b0>");
}

// ---------------------------------------------------------------- Chart class

constexpr auto kClass = Receiver::Class;
constexpr auto kInstance = Receiver::Instance;
constexpr Params kUtcChart = kUtcFields + kPlace + kChartOptions;

constexpr const char* kYogasDoc =
    "Returns a list of classical yogas (planetary combinations) identified in this chart.\n"
    "\n"
    "Each YogaResult includes:\n"
    "- `name`: Classical yoga name (e.g. \"Gajakesari Yoga\")\n"
    "- `category`: \"Raja\", \"Dhana\", \"Mahapurusha\", or \"Other\"\n"
    "- `description`: Classical definition with BPHS chapter/verse citation\n"
    "- `planets_involved`: Which planets form this yoga\n"
    "- `is_present`: Always True (absent yogas are not returned)\n"
    "\n"
    "Only yogas with unambiguous classical definitions are included.\n"
    "This does NOT include cancellation rules (Bhanga) \u2014 consult a qualified astrologer.";

constexpr const char* kCompatibilityDoc =
    "Compatibility score using Ashtakoota Milan (36 Guna) against another chart.\n"
    "Uses traditional Nakshatra and Sign matching.";

// Keyword-only options of to_svg.
constexpr Params kDrawingOptions{{"style", "\"north\"", true}, {"varga", "1", true},
                                 {"details", "False", true},   {"size", "500", true},
                                 {"theme", "\"dark\"", true},  {"chart", "\"rasi\"", true}};

constexpr const char* kToSvgDoc =
    "The chart drawn in SVG.\n"
    "\n"
    "style: \"north\" (the diamond, box 1 the ascendant's sign) or \"south\" (fixed sign\n"
    "boxes, Pisces top left, running clockwise); varga: 1 or any of the fifteen vargas,\n"
    "each graha and the ascendant placed by its varga sign; details: degrees and minutes\n"
    "in the sign, R for retrograde, the ascendant and a title line; size: width and height\n"
    "in pixels; theme: \"dark\" or \"light\"; chart: \"rasi\" (grahas by sign) or\n"
    "\"bhava\" (grahas by house, each box labelled with its cusp's sign; north style,\n"
    "varga 1).";

Entry kChartMethods[] = {
    {"Chart.from_utc", kClass, kUtcChart, runs<zk::chart_from_utc, wrap_chart>},
    {"Chart.compute", kClass, kUtcChart, runs<zk::chart_from_utc, wrap_chart>},
    {"Chart.from_local", kClass, kLocalTexts + kPlace + kChartOptions,
     runs<zk::chart_from_local, wrap_chart>},
    {"Chart.from_julian_day", kClass, Params{{"jd_ut"}} + kPlace + kChartOptions,
     runs<zk::chart_from_julian_day, wrap_chart>},
    {"Chart.compute_bs", kClass, kBsChart, runs<zk::chart_from_bs, wrap_chart>},
    {"Chart.settings", kInstance, {}, shows<settings_dict>},
    {"Chart.metadata", kInstance, {}, shows<settings_dict>},
    {"Chart.warnings", kInstance, {}, shows<warnings_list>},
    {"Chart.planets", kInstance, {}, shows<planets_dict>},
    {"Chart.houses", kInstance, {}, shows<houses_list>},
    {"Chart.ascendant", kInstance, {}, shows<ascendant_float>},
    {"Chart.aspects", kInstance, {}, shows<aspects_list>},
    {"Chart.karakas", kInstance, {}, shows<karakas_dict>},
    {"Chart.ashtakavarga", kInstance, {}, shows<ashtakavarga_dict>},
    {"Chart.dasha", kInstance, {}, shows<dasha_dict>},
    {"Chart.divisional_chart", kInstance, Params{{"varga"}}, runs_on<varga_positions, varga_list>},
    {"Chart.vargas", kInstance, Params{{"varga"}}, runs_on<varga_positions, varga_list>},
    {"Chart.yogas", kInstance, {}, shows<yoga_list>, kYogasDoc},
    {"Chart.explain", kInstance, {}, shows<explanation_dict>},
    {"Chart.compatibility", kInstance, Params{{"other"}}, runs_on<zk::match_kuta, kuta_object>,
     kCompatibilityDoc},
    {"Chart.to_json", kInstance, {}, shows<json_text>},
    {"Chart.to_dict", kInstance, {}, shows<json_dict>},
    {"Chart.to_svg", kInstance, kDrawingOptions, draw_svg, kToSvgDoc},
    {"Chart.varga_ascendant", kInstance, Params{{"varga"}},
     runs_on<zk::varga_ascendant, sign_or_none>,
     "The ascendant's sign in a varga (1 or one of the fifteen), or None for another."},
    {"Chart._repr_svg_", kInstance, {}, shows<svg_text>},
    {"Chart._repr_html_", kInstance, {}, shows<html_text>},
};

}  // namespace

PyTypeObject* create_planet_position_type() {
    return create_boxed_type<PP>(
        "zodiakit.PlanetPosition", "Python wrapper for PlanetPosition",
        {{Py_tp_getset, kPlanetPositionGetters},
         {Py_tp_repr, reinterpret_cast<void*>(&show_slot<planet_position_text>)}});
}

PyTypeObject* create_chart_type() {
    return create_boxed_type<Chart>(
        "zodiakit.Chart", "Python wrapper for Chart",
        {{Py_tp_methods, method_table<kChartMethods>()},
         {Py_tp_repr, reinterpret_cast<void*>(&show_slot<summary_text>)},
         {Py_tp_str, reinterpret_cast<void*>(&show_slot<listing_text>)}});
}

}  // namespace zk::py

// The Chart class: the row of every Chart method, how a chart was computed, its planets,
// houses and ascendant; the PlanetPosition class.
#include "chart/divisional.hpp"
#include "chart/inputs.hpp"
#include "core/format.hpp"
#include "panchanga/elements.hpp"
#include "python/entry_points.hpp"
#include "render/chart_json.hpp"
#include "render/svg.hpp"

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
    ZK_FIELD(PP, planet, "Planet name, e.g. \"Sun\"."),
    ZK_FIELD(PP, longitude, "Sidereal ecliptic longitude in degrees, [0, 360)."),
    ZK_FIELD(PP, latitude, "Ecliptic latitude in degrees."),
    ZK_FIELD(PP, speed, "Speed in longitude, degrees per day (negative when retrograde)."),
    ZK_FIELD(PP, is_retrograde,
             "True when the planet moves backwards (Rahu and Ketu: by their node's motion)."),
    ZK_FIELD(PP, is_exalted, "True in the planet's sign of exaltation."),
    ZK_FIELD(PP, is_debilitated, "True in the planet's sign of debilitation."),
    ZK_FIELD(PP, is_own_sign, "True in a sign the planet rules."),
    ZK_FIELD(PP, is_vargottama, "True when the planet has the same sign in the D1 and the D9."),
    ZK_FIELD(PP, sign, "Sign name, or None when the position has no sign."),
    ZK_FIELD(PP, nakshatra, "Nakshatra name, or None."),
    ZK_GETTER(
        PP, nakshatra_index,
        new_int(static_cast<long long>(nakshatra_from_longitude(normalize_degrees(r.longitude)))),
        "Nakshatra number, 1 (Ashwini) to 27 (Revati)."),
    ZK_GETTER(PP, pada, new_int(nakshatra_pada(r.longitude)), "Quarter of the nakshatra, 1-4."),
    ZK_FIELD(PP, house, "House number 1-12, or None."),
    ZK_GETTER(PP, divisional_signs, divisional_signs_dict(r),
              "The planet's sign in each varga the chart carries: {varga number: sign name}."),
    ZK_FIELD(PP, is_moolatrikona, "True within the planet's moolatrikona range."),
    ZK_GETTER(PP, shadbala, shadbala_dict(r),
              "The six strengths and their total (sthana, dik, kala, chesta, naisargika, drik, "
              "total) in rupas, or None (Rahu, Ketu)."),
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
    "Uses traditional Nakshatra and Sign matching.\n"
    "\n"
    "Args:\n"
    "    other: The other person's Chart.\n"
    "\n"
    "Returns:\n"
    "    KutaResult: the eight kuta points, their total out of 36 and whether it reaches\n"
    "        18.\n"
    "\n"
    "Raises:\n"
    "    TypeError: `other` is not a Chart.";

// The from_utc() docstring, which compute() repeats after its first line.
#define ZK_DOC_FROM_UTC                                                                        \
    "A birth chart for an instant given in UTC.\n"                                             \
    "\n"                                                                                       \
    "Args:\n" ZK_DOC_UTC_ARGS "\n" ZK_DOC_PLACE_ARGS "\n" ZK_DOC_CHART_OPTION_ARGS             \
    "\n"                                                                                       \
    "\n"                                                                                       \
    "Returns:\n"                                                                               \
    "    Chart: the whole chart, computed at once (positions, houses, vargas, dasha, yogas,\n" \
    "        strengths).\n"                                                                    \
    "\n"                                                                                       \
    "Raises:\n" ZK_DOC_CHART_RAISES

constexpr const char* kChartFromUtcDoc = ZK_DOC_FROM_UTC;

constexpr const char* kChartComputeDoc =
    "Another name for Chart.from_utc.\n"
    "\n" ZK_DOC_FROM_UTC;

#undef ZK_DOC_FROM_UTC

constexpr const char* kChartFromLocalDoc =
    "A birth chart for a local date and time in an IANA time zone.\n"
    "\n"
    "Local times are strict: a time the zone skips (a daylight-saving gap) or repeats is an\n"
    "error, never a guess.\n"
    "\n"
    "Args:\n"
    "    date: Local date, \"YYYY-MM-DD\".\n"
    "    time: Local time, \"HH:MM:SS\".\n"
    "    timezone: IANA zone name such as \"Asia/Kathmandu\", or \"UTC\".\n" ZK_DOC_PLACE_ARGS
    "\n" ZK_DOC_CHART_OPTION_ARGS
    "\n"
    "\n"
    "Returns:\n"
    "    Chart: the chart; metadata() records the zone and the UTC instant.\n"
    "\n"
    "Raises:\n"
    "    ValueError: \"Invalid date; expected YYYY-MM-DD\", \"Invalid time; expected HH:MM:SS\",\n"
    "        \"Unknown timezone: <name>\", \"Invalid local time in <zone> (DST gap)\",\n"
    "        \"Ambiguous local time in <zone>. ...\", \"time-zone database not found (looked in\n"
    "        ...)\", or any error of Chart.from_utc.\n"
    "    TypeError: An argument of the wrong type.";

constexpr const char* kChartFromJulianDayDoc =
    "A birth chart for a Julian day (Universal Time).\n"
    "\n"
    "Args:\n"
    "    jd_ut: Julian day number in UT, e.g. 2451545.0 for 2000-01-01 12:00 "
    "UT.\n" ZK_DOC_PLACE_ARGS "\n" ZK_DOC_CHART_OPTION_ARGS
    "\n"
    "\n"
    "Returns:\n"
    "    Chart: the chart.\n"
    "\n"
    "Raises:\n"
    "    ValueError: \"swe_revjul returned invalid date\" for a Julian day that names no\n"
    "        calendar date (NaN, infinite, out of range), or any error of Chart.from_utc.\n"
    "    TypeError: An argument of the wrong type.";

constexpr const char* kChartComputeBsDoc =
    "A birth chart for a Bikram Sambat date and a Nepal time of day.\n" ZK_DOC_BS_CHART_REST;

constexpr const char* kChartSettingsDoc =
    "How the chart was computed.\n"
    "\n"
    "Returns:\n"
    "    dict: input_mode, utc_datetime (RFC 3339 UTC text), timezone, latitude,\n"
    "        longitude, altitude, ayanamsa, house_system, true_nodes, ephemeris,\n"
    "        longitude_type, calculation_version, in this order.";

constexpr const char* kChartMetadataDoc =
    "How the chart was computed.\n"
    "\n"
    "Returns:\n"
    "    dict: input_mode, utc_datetime (RFC 3339 UTC text), timezone, latitude,\n"
    "        longitude, altitude, ayanamsa, house_system, true_nodes, ephemeris,\n"
    "        longitude_type, calculation_version, in this order.\n"
    "\n"
    "The same dictionary as settings().";

constexpr const char* kChartWarningsDoc =
    "Warnings raised while computing the chart.\n"
    "\n"
    "Returns:\n"
    "    list[str]: the warning texts, in order (empty for most charts).";

constexpr const char* kChartPlanetsDoc =
    "The nine grahas' positions.\n"
    "\n"
    "Returns:\n"
    "    dict[str, PlanetPosition]: by planet name, Sun, Moon, Mars, Mercury, Jupiter,\n"
    "        Venus, Saturn, Rahu, Ketu, in this order.";

constexpr const char* kChartHousesDoc =
    "The twelve house cusps.\n"
    "\n"
    "Returns:\n"
    "    list[dict]: {\"house\": float, \"cusp\": float} for houses 1-12; cusps are sidereal\n"
    "        longitudes in degrees, [0, 360), in the chart's house system.";

constexpr const char* kChartAscendantDoc =
    "The ascendant (lagna).\n"
    "\n"
    "Returns:\n"
    "    float: sidereal longitude of the ascendant in degrees, [0, 360).";

constexpr const char* kChartAspectsDoc =
    "Graha drishti by house.\n"
    "\n"
    "Every planet aspects the 7th house from itself; Mars also the 4th and 8th, Jupiter the\n"
    "5th and 9th, Saturn the 3rd and 10th.\n"
    "\n"
    "Returns:\n"
    "    list[dict]: {\"from_planet\": str, \"to_house\": int, \"to_planet\": str | None,\n"
    "        \"strength\": float, \"is_special\": bool}; to_planet is the first planet in the\n"
    "        aspected house, None when it is empty; strength is 1.0 (full).";

constexpr const char* kChartKarakasDoc =
    "The seven chara karakas, Sun to Saturn by degree within sign.\n"
    "\n"
    "Returns:\n"
    "    dict[str, str]: planet name (\"Sun\" ... \"Saturn\") to karaka name (\"Atmakaraka\" ...\n"
    "        \"Darakaraka\"); the planet furthest into its sign is the Atmakaraka.";

constexpr const char* kChartAshtakavargaDoc =
    "The ashtakavarga bindus.\n"
    "\n"
    "Returns:\n"
    "    dict: {\"binna\": {planet: list of 12 ints}, \"sarva\": list of 12 ints}, one count per\n"
    "        sign, Aries first.";

constexpr const char* kChartDashaDoc =
    "The Vimshottari dasha, three levels deep.\n"
    "\n"
    "Returns:\n"
    "    dict[str, list[DashaPeriod]]: {\"vimshottari\": [...]}: the nine maha dashas from the\n"
    "        one running at birth, each with its antardashas and their pratyantardashas in\n"
    "        sub_periods. The first maha dasha's sub-periods are those of the lord's full\n"
    "        timeline that end after birth.";

// The divisional_chart() docstring, which vargas() repeats.
#define ZK_DOC_DIVISIONAL_CHART                                                                 \
    "The positions of the nine grahas in one divisional chart.\n"                               \
    "\n"                                                                                        \
    "Args:\n"                                                                                   \
    "    varga: The division number, one of 2, 3, 4, 7, 9, 10, 12, 16, 20, 24, 27, 30, 40,\n"   \
    "        45, 60 (the charts every chart carries).\n"                                        \
    "\n"                                                                                        \
    "Returns:\n"                                                                                \
    "    list[VargaPosition] | None: nine positions in planet order, or None for a varga the\n" \
    "        chart does not carry.\n"                                                           \
    "\n"                                                                                        \
    "Raises:\n"                                                                                 \
    "    OverflowError: A negative or too large varga.\n"                                       \
    "    TypeError: A varga that is not an integer."

constexpr const char* kChartDivisionalChartDoc = ZK_DOC_DIVISIONAL_CHART;

constexpr const char* kChartVargasDoc = ZK_DOC_DIVISIONAL_CHART
    "\n"
    "\n"
    "The same as divisional_chart().";

#undef ZK_DOC_DIVISIONAL_CHART

constexpr const char* kChartExplainDoc =
    "The chart as an explanation graph.\n"
    "\n"
    "Returns:\n"
    "    dict: {\"nodes\": {id: {kind: {field: value}}}, \"edges\": [[from, to, kind], ...]}:\n"
    "        planets, signs, houses, rules and the facts that connect them.";

constexpr const char* kChartToJsonDoc =
    "The chart as one compact JSON document.\n"
    "\n"
    "Returns:\n"
    "    str: JSON with datetime, location, ayanamsa, planets, ascendant, houses, dasha,\n"
    "        divisional_charts, karakas, aspects, ashtakavarga, yogas, metadata, warnings,\n"
    "        ascendant_divisional_signs (the ascendant's sign in each varga, {varga number:\n"
    "        sign name}, like each planet's divisional_signs).";

constexpr const char* kChartToDictDoc =
    "The chart's JSON document as Python objects.\n"
    "\n"
    "Returns:\n"
    "    dict: json.loads(to_json()).";

// Keyword-only options of to_svg.
constexpr Params kDrawingOptions{{"style", "\"north\"", true}, {"varga", "1", true},
                                 {"details", "False", true},   {"size", "500", true},
                                 {"theme", "\"dark\"", true},  {"chart", "\"rasi\"", true}};

constexpr const char* kToSvgDoc =
    "The chart drawn in SVG: the classical rasi chart, each graha in its sign's box.\n"
    "\n"
    "Args:\n"
    "    style: \"north\" (the diamond, box 1 the ascendant's sign) or \"south\" (fixed sign\n"
    "        boxes, Pisces top left, running clockwise).\n"
    "    varga: 1 or any of the fifteen vargas; each graha and the ascendant are placed by\n"
    "        their varga sign.\n"
    "    details: Adds degrees and minutes in the sign, R for retrograde, the ascendant and a\n"
    "        title line.\n"
    "    size: Width and height in pixels, 100-4000.\n"
    "    theme: \"dark\" or \"light\".\n"
    "    chart: \"rasi\" (grahas by sign) or \"bhava\" (grahas by house, each box labelled\n"
    "        with its cusp's sign; north style, varga 1 only).\n"
    "\n"
    "Returns:\n"
    "    str: an SVG 1.1 document.\n"
    "\n"
    "Raises:\n"
    "    ValueError: An option value outside those above.";

Entry kChartMethods[] = {
    {"Chart.from_utc", kClass, kUtcChart, runs<zk::chart_from_utc, wrap_chart>, kChartFromUtcDoc},
    {"Chart.compute", kClass, kUtcChart, runs<zk::chart_from_utc, wrap_chart>, kChartComputeDoc},
    {"Chart.from_local", kClass, kLocalTexts + kPlace + kChartOptions,
     runs<zk::chart_from_local, wrap_chart>, kChartFromLocalDoc},
    {"Chart.from_julian_day", kClass, Params{{"jd_ut"}} + kPlace + kChartOptions,
     runs<zk::chart_from_julian_day, wrap_chart>, kChartFromJulianDayDoc},
    {"Chart.compute_bs", kClass, kBsChart, runs<zk::chart_from_bs, wrap_chart>, kChartComputeBsDoc},
    {"Chart.settings", kInstance, {}, shows<settings_dict>, kChartSettingsDoc},
    {"Chart.metadata", kInstance, {}, shows<settings_dict>, kChartMetadataDoc},
    {"Chart.warnings", kInstance, {}, shows<warnings_list>, kChartWarningsDoc},
    {"Chart.planets", kInstance, {}, shows<planets_dict>, kChartPlanetsDoc},
    {"Chart.houses", kInstance, {}, shows<houses_list>, kChartHousesDoc},
    {"Chart.ascendant", kInstance, {}, shows<ascendant_float>, kChartAscendantDoc},
    {"Chart.aspects", kInstance, {}, shows<aspects_list>, kChartAspectsDoc},
    {"Chart.karakas", kInstance, {}, shows<karakas_dict>, kChartKarakasDoc},
    {"Chart.ashtakavarga", kInstance, {}, shows<ashtakavarga_dict>, kChartAshtakavargaDoc},
    {"Chart.dasha", kInstance, {}, shows<dasha_dict>, kChartDashaDoc},
    {"Chart.divisional_chart", kInstance, Params{{"varga"}}, varga_objects,
     kChartDivisionalChartDoc},
    {"Chart.vargas", kInstance, Params{{"varga"}}, varga_objects, kChartVargasDoc},
    {"Chart.yogas", kInstance, {}, shows<yoga_list>, kYogasDoc},
    {"Chart.explain", kInstance, {}, shows<explanation_dict>, kChartExplainDoc},
    {"Chart.compatibility", kInstance, Params{{"other"}}, runs_on<zk::match_kuta, kuta_object>,
     kCompatibilityDoc},
    {"Chart.to_json", kInstance, {}, shows<json_text>, kChartToJsonDoc},
    {"Chart.to_dict", kInstance, {}, shows<json_dict>, kChartToDictDoc},
    {"Chart.to_svg", kInstance, kDrawingOptions, draw_svg, kToSvgDoc},
    {"Chart.varga_ascendant", kInstance, Params{{"varga"}},
     runs_on<zk::varga_ascendant, sign_or_none>,
     "The ascendant's sign in a divisional chart.\n"
     "\n"
     "Args:\n"
     "    varga: 1, or one of the fifteen vargas of the chart.\n"
     "\n"
     "Returns:\n"
     "    str | None: the sign name, by the same rule as the grahas' varga signs; None for\n"
     "        another varga."},
    {"Chart._repr_svg_", kInstance, {}, shows<svg_text>},
    {"Chart._repr_html_", kInstance, {}, shows<html_text>},
    {"Chart.__reduce__", kInstance, {}, reduce_chart},
    {"Chart.__copy__", kInstance, {}, same_object},
    {"Chart.__deepcopy__", kInstance, Params{{"memo"}}, same_object},
};

}  // namespace

PyTypeObject* create_planet_position_type() {
    return create_record_type<PP, planet_position_text>(
        "zodiakit.PlanetPosition", "Python wrapper for PlanetPosition", kPlanetPositionGetters);
}

PyTypeObject* create_chart_type() {
    return create_boxed_type<Chart>(
        "zodiakit.Chart", "Python wrapper for Chart",
        {{Py_tp_methods, method_table<kChartMethods>()},
         {Py_tp_repr, reinterpret_cast<void*>(&show_slot<summary_text>)},
         {Py_tp_str, reinterpret_cast<void*>(&show_slot<listing_text>)},
         {Py_tp_richcompare, reinterpret_cast<void*>(&compare_charts)},
         {Py_tp_hash, reinterpret_cast<void*>(&hash_chart)}});
}

}  // namespace zk::py

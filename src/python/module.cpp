// The module object: the eight classes and eleven functions, registered in order.
#include "chart/divisional.hpp"
#include "chart/inputs.hpp"
#include "panchanga/inputs.hpp"
#include "python/entry_points.hpp"
#include "search/inputs.hpp"

namespace zk::py {
namespace {

PyTypeObject* g_types[8] = {};

// In the order of Class.
struct ClassEntry {
    const char* name;
    PyTypeObject* (*create)();
};
const ClassEntry kClasses[] = {
    {"Chart", &create_chart_type},
    {"PlanetPosition", &create_planet_position_type},
    {"VargaPosition", &create_varga_position_type},
    {"Panchanga", &create_panchanga_type},
    {"DashaPeriod", &create_dasha_period_type},
    {"YogaResult", &create_yoga_result_type},
    {"KutaResult", &create_kuta_result_type},
    {"ChartTable", &create_chart_table_type},
};

constexpr auto kModule = Receiver::Module;
constexpr Params kLonVarga{{"lon"}, {"varga"}};
constexpr Params kShortPlace{{"lat"}, {"lon"}, kAltitude.named("alt")};

constexpr const char* kGetPanchangaDoc =
    "The panchanga at an instant given in UTC.\n"
    "\n"
    "Each element (tithi, nakshatra, yoga, karana) is the one running at the instant, with\n"
    "the UTC and local times it starts and ends.\n"
    "\n"
    "Args:\n" ZK_DOC_UTC_ARGS "\n" ZK_DOC_PLACE_ARGS
    "\n"
    "    ayanamsa: As for Chart.from_utc.\n"
    "    true_nodes: As for Chart.from_utc.\n"
    "    locale: Language of the names: \"en\" (English), \"hi_IN\" (Hindi) or \"ne_NP\"\n"
    "        (Nepali); any other code gives English.\n" ZK_DOC_SUNRISE_ARG
    "\n"
    "\n"
    "Returns:\n"
    "    dict: {\"tithi\", \"nakshatra\", \"yoga\", \"karana\", \"vara\", \"metadata\", "
    "\"warnings\"};\n"
    "        each element is {\"index\", \"name\", ..., \"start_time_utc\", \"end_time_utc\",\n"
    "        \"start_time_local\", \"end_time_local\"} (tithi adds \"paksha\", nakshatra "
    "\"pada\").\n"
    "\n"
    "Raises:\n"
    "    ValueError: \"Invalid date/time\", an invalid place, or a failed ephemeris call.\n"
    "    TypeError: An argument of the wrong type.";

constexpr const char* kComputeChartBsDoc =
    "A birth chart for a Bikram Sambat date; the same as Chart.compute_bs.\n" ZK_DOC_BS_CHART_REST;

constexpr const char* kComputeChartBatchDoc =
    "Many charts with the same options, in input order.\n"
    "\n"
    "Stops with KeyboardInterrupt on Ctrl-C.\n"
    "\n"
    "Args:\n"
    "    inputs: A sequence of 9-tuples (year, month, day, hour, minute, second, latitude,\n"
    "        longitude, altitude), UTC date-time fields and a place as for "
    "Chart.from_utc.\n" ZK_DOC_CHART_OPTION_ARGS
    "\n"
    "    workers: Native threads to compute on; None for the CPUs this process may use.\n"
    "\n"
    "Returns:\n"
    "    list[Chart]: one chart per tuple.\n"
    "\n"
    "Raises:\n"
    "    ValueError: The first failing row's error (see Chart.from_utc), or an invalid\n"
    "        option.\n"
    "    TypeError: \"argument 'inputs': expected tuple of length 9, but got tuple of length\n"
    "        3\" and the like for a malformed row.";

constexpr const char* kComputeChartTableDoc =
    "Many charts as one columnar table, one row per input, without a Python object per chart.\n"
    "\n"
    "Args:\n"
    "    inputs: A sequence of 9-tuples as for compute_chart_batch.\n" ZK_DOC_CHART_OPTION_ARGS
    "\n"
    "    workers: Native threads to compute on; None for the CPUs this process may use.\n"
    "\n"
    "Returns:\n"
    "    ChartTable: the columns; it exports itself through the Arrow PyCapsule interface.\n"
    "\n"
    "Raises:\n"
    "    ValueError: The first failing row's error, as compute_chart_batch.\n"
    "    TypeError: A malformed row.";

constexpr const char* kGetPanchangaCalendarDoc =
    "The daily panchangas of every local day from one date to another, for one place.\n"
    "\n"
    "Element boundaries are found once for the whole span and shared by the days; a span\n"
    "of two months or more is cut into parts computed on native threads. Each day is taken\n"
    "at its sunrise (local midnight where the Sun does not rise) and equals the single-day\n"
    "panchanga there. Stops with KeyboardInterrupt on Ctrl-C.\n"
    "\n"
    "Args:\n"
    "    start_date: First local day, \"YYYY-MM-DD\".\n"
    "    end_date: Last local day, \"YYYY-MM-DD\" (included).\n" ZK_DOC_PANCHANGA_PLACE_ARGS
    "\n"
    "    locale: As for get_panchanga.\n" ZK_DOC_SUNRISE_ARG
    "\n"
    "    workers: Native threads to compute on, each given a month of days at least; None\n"
    "        for the CPUs this process may use.\n"
    "\n"
    "Returns:\n"
    "    list[dict]: one panchanga dict per day, each with \"date\", \"day_starts_at\" and\n"
    "        \"tithi_day\" (the tithi at sunrise, skipped and repeated tithis, Ekadashi,\n"
    "        Purnima, Amavasya and Sankranti marks).\n"
    "\n"
    "Raises:\n"
    "    ValueError: Invalid dates, zone, place or options, an end before the start, or a\n"
    "        span over 100 years.\n"
    "    TypeError: An argument of the wrong type.";

constexpr const char* kLocalToUtcDoc =
    "The UTC instant of a local date-time in an IANA time zone.\n"
    "\n"
    "Args:\n"
    "    year: Year.\n"
    "    month: Month, 1-12.\n"
    "    day: Day of the month.\n"
    "    hour: Hour, 0-23 (local).\n"
    "    minute: Minute, 0-59.\n"
    "    second: Second, 0-59.\n"
    "    tz_str: IANA zone name, e.g. \"Asia/Kathmandu\".\n"
    "\n"
    "Returns:\n"
    "    str: the instant as RFC 3339 UTC text, \"YYYY-MM-DDTHH:MM:SS+00:00\".\n"
    "\n"
    "Raises:\n"
    "    ValueError: \"Unknown timezone: <name>\", an invalid date, a skipped (\"DST gap\") or\n"
    "        repeated (\"Ambiguous local time\") local time, or \"time-zone database not found\n"
    "        (looked in ...)\".\n"
    "    TypeError: An argument of the wrong type.";

constexpr const char* kComputeDignitiesDoc =
    "The dignities of a planet in a sign.\n"
    "\n"
    "Args:\n"
    "    planet_str: Planet name, \"Sun\" to \"Saturn\" (case-insensitive).\n"
    "    sign_str: Sign name, e.g. \"Aries\".\n"
    "    longitude: Sidereal longitude in degrees (decides moolatrikona ranges).\n"
    "\n"
    "Returns:\n"
    "    dict[str, bool]: {\"is_exalted\", \"is_debilitated\", \"is_own_sign\",\n"
    "        \"is_moolatrikona\"}.\n"
    "\n"
    "Raises:\n"
    "    ValueError: \"Invalid planet\" or \"Invalid sign\".";

constexpr const char* kGetTransitsDoc =
    "The sidereal sign ingresses of the grahas between two instants.\n"
    "\n"
    "Stops with KeyboardInterrupt on Ctrl-C.\n"
    "\n"
    "Args:\n"
    "    from_date: Start, as RFC 3339 (\"2024-03-01T10:30:00+05:45\"), \"2024-03-01 "
    "10:30:00+0545\"\n"
    "        or a bare date \"2024-03-01\" (00:00 UTC).\n"
    "    to_date: End, in the same forms.\n"
    "    ayanamsa: As for Chart.from_utc.\n"
    "    true_nodes: As for Chart.from_utc.\n"
    "\n"
    "Returns:\n"
    "    list[dict]: {\"planet\", \"from_sign\", \"to_sign\", \"ingress_time\" (RFC 3339 UTC),\n"
    "        \"is_retrograde\"} in time order.\n"
    "\n"
    "Raises:\n"
    "    ValueError: \"Invalid date '<text>': <reason>\" or an invalid ayanamsa.";

constexpr const char* kFindTimeWindowsDoc =
    "The intervals in which the ascendant of a divisional chart stands in a sign.\n"
    "\n"
    "Searches window_minutes around base_date (half before, half after) and finds, to the\n"
    "second, where the ascendant of the varga enters and leaves target_sign. Stops with\n"
    "KeyboardInterrupt on Ctrl-C.\n"
    "\n"
    "Args:\n"
    "    base_date: The centre, in the forms get_transits takes.\n"
    "    window_minutes: Width of the searched span in minutes.\n"
    "    varga: Division number (1 for the ascendant itself, 9 for the navamsa, ...).\n"
    "    target_sign: Sign name, e.g. \"Leo\".\n"
    "    lat: Geographic latitude in degrees, -90..90.\n"
    "    lon: Geographic longitude in degrees, -180..180.\n"
    "    alt: Height above sea level in metres.\n"
    "    ayanamsa: As for Chart.from_utc.\n"
    "    true_nodes: Accepted for a uniform call; the ascendant does not depend on it.\n"
    "\n"
    "Returns:\n"
    "    list[tuple[str, str]]: (start, end) pairs of RFC 3339 UTC texts\n"
    "        (\"YYYY-MM-DDTHH:MM:SSZ\"), in time order; a window still open at the end of the\n"
    "        searched span ends there.\n"
    "\n"
    "Raises:\n"
    "    ValueError: An invalid date text, place or ayanamsa.";

constexpr const char* kGetDivisionalSignDoc =
    "The sign of a longitude in a divisional chart.\n"
    "\n"
    "Args:\n"
    "    lon: Sidereal longitude in degrees, [0, 360).\n"
    "    varga: Division number, e.g. 9 for the navamsa. Even signs of the D10 start from the\n"
    "        9th sign.\n"
    "\n"
    "Returns:\n"
    "    str: sign name, e.g. \"Aries\".\n"
    "\n"
    "Raises:\n"
    "    OverflowError: A negative varga.";

constexpr const char* kGetDivisionalLongitudeDoc =
    "The longitude of a point inside its divisional sign, stretched to the whole sign.\n"
    "\n"
    "Args:\n"
    "    lon: Sidereal longitude in degrees, [0, 360).\n"
    "    varga: Division number.\n"
    "\n"
    "Returns:\n"
    "    float: longitude in degrees, [0, 360) (for the D30, the middle of its sign).\n"
    "\n"
    "Raises:\n"
    "    OverflowError: A negative varga.";

constexpr const char* kCalcPlanetLongitudeDoc =
    "The sidereal longitude of one planet.\n"
    "\n"
    "Args:\n"
    "    jd: Julian day in UT.\n"
    "    planet: Planet name, \"Sun\" ... \"Ketu\" (case-insensitive).\n"
    "    ayanamsa: As for Chart.from_utc.\n"
    "\n"
    "Returns:\n"
    "    float: sidereal longitude in degrees, [0, 360).\n"
    "\n"
    "Raises:\n"
    "    ValueError: \"Invalid planet name\", an invalid ayanamsa, or \"Swiss Ephemeris\n"
    "        calculation failed for planet <name>: ...\" for a Julian day outside the\n"
    "        ephemeris.";

Entry kFunctions[] = {
    {"get_panchanga", kModule,
     kUtcFields + kPlace + Params{kAyanamsa, kTrueNodes, kLocale, kSunrise},
     runs<zk::panchanga_from_utc, panchanga_dict>, kGetPanchangaDoc},
    {"compute_chart_bs", kModule, kBsChart, runs<zk::chart_from_bs, wrap_chart>,
     kComputeChartBsDoc},
    {"compute_chart_batch", kModule,
     Params{{"inputs"}} + kChartOptions + Params{{"workers", "None"}},
     runs<zk::charts_from_rows_on, chart_list>, kComputeChartBatchDoc},
    {"compute_chart_table", kModule,
     Params{{"inputs"}} + kChartOptions + Params{{"workers", "None"}},
     runs<zk::table_from_rows, wrap_table>, kComputeChartTableDoc},
    {"local_to_utc", kModule, kUtcFields + Params{{"tz_str"}}, local_to_utc, kLocalToUtcDoc},
    {"compute_dignities", kModule, Params{{"planet_str"}, {"sign_str"}, {"longitude"}},
     runs<zk::dignities_by_name, dignities_dict>, kComputeDignitiesDoc},
    {"get_transits", kModule, Params{{"from_date"}, {"to_date"}, kAyanamsa, kTrueNodes},
     runs<zk::transits_between, ingress_list>, kGetTransitsDoc},
    {"find_time_windows", kModule,
     Params{{"base_date"}, {"window_minutes"}, {"varga"}, {"target_sign"}} + kShortPlace +
         Params{kAyanamsa, kTrueNodes},
     runs<zk::time_windows_near, window_list>, kFindTimeWindowsDoc},
    {"get_divisional_sign", kModule, kLonVarga, get_divisional_sign, kGetDivisionalSignDoc},
    {"get_divisional_longitude", kModule, kLonVarga, runs<zk::get_divisional_longitude, new_float>,
     kGetDivisionalLongitudeDoc},
    {"calc_planet_longitude", kModule, Params{{"jd"}, {"planet"}, kAyanamsa},
     runs<zk::sidereal_longitude, new_float>, kCalcPlanetLongitudeDoc},
    {"get_panchanga_calendar", kModule,
     Params{{"start_date"}, {"end_date"}, {"timezone"}} + kPlace +
         Params{kAyanamsa, kTrueNodes, kLocale, kSunrise, {"workers", "None"}},
     runs<zk::panchanga_calendar_between, calendar_list>, kGetPanchangaCalendarDoc},
};

// The import name of the compiled core; the zodiakit package re-exports its names.
constexpr const char kCoreName[] = "zodiakit._core";

PyModuleDef kModuleDef = {
    PyModuleDef_HEAD_INIT, kCoreName, nullptr, -1, nullptr, nullptr, nullptr, nullptr, nullptr,
};

PyObject* g_module = nullptr;

bool add_classes(PyObject* module) {
    for (size_t i = 0; i < std::size(kClasses); ++i) {
        if (!g_types[i]) g_types[i] = kClasses[i].create();
        if (!g_types[i]) {
            PyErr_Clear();
            PyErr_Format(PyExc_RuntimeError, "failed to create type object for %s",
                         kClasses[i].name);
            return false;
        }
        if (PyModule_AddObjectRef(module, kClasses[i].name,
                                  reinterpret_cast<PyObject*>(g_types[i])) < 0) {
            return false;
        }
    }
    return true;
}

bool add_functions(PyObject* module) {
    Ref module_name = new_str("zodiakit");
    if (!module_name) return false;
    for (PyMethodDef* def = method_table<kFunctions>(); def->ml_name; ++def) {
        Ref function(PyCFunction_NewEx(def, module, module_name.get()));
        if (!function || PyModule_AddObjectRef(module, def->ml_name, function.get()) < 0) {
            return false;
        }
    }
    return true;
}

PyObject* build_module() {
    Ref module(PyModule_Create(&kModuleDef));
    if (!module || !add_classes(module.get()) || !add_functions(module.get()) ||
        !add_state_functions(module.get())) {
        return nullptr;
    }
    return module.release();
}

}  // namespace

PyTypeObject* type_of(Class c) {
    return g_types[static_cast<size_t>(c)];
}

}  // namespace zk::py

// The module object is built once per process and kept for its life. It is the package's
// compiled core, zodiakit._core; zodiakit/__init__.py re-exports its names.
PyMODINIT_FUNC PyInit__core(void) {
    using zk::py::g_module;
    // The classes and the module object belong to the main interpreter; handing them to a
    // sub-interpreter would share objects between interpreters.
    if (PyInterpreterState_GetID(PyInterpreterState_Get()) != 0) {
        PyErr_SetString(PyExc_ImportError,
                        "zodiakit cannot be imported in a sub-interpreter; use the main one");
        return nullptr;
    }
    if (!g_module) {
        g_module = zk::py::guarded([] { return zk::py::build_module(); });
        if (!g_module) return nullptr;
    }
    Py_INCREF(g_module);
    return g_module;
}

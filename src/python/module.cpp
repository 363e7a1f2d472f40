// The module object: the seven classes and eleven functions, registered in order.
#include "chart/divisional.hpp"
#include "chart/inputs.hpp"
#include "panchanga/inputs.hpp"
#include "python/entry_points.hpp"
#include "search/inputs.hpp"

namespace zk::py {
namespace {

PyTypeObject* g_types[7] = {};

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
};

constexpr auto kModule = Receiver::Module;
constexpr Params kLonVarga{{"lon"}, {"varga"}};
constexpr Params kShortPlace{{"lat"}, {"lon"}, kAltitude.named("alt")};

Entry kFunctions[] = {
    {"get_panchanga", kModule,
     kUtcFields + kPlace + Params{kAyanamsa, kTrueNodes, kLocale, kSunrise},
     runs<zk::panchanga_from_utc, panchanga_dict>},
    {"compute_chart_bs", kModule, kBsChart, runs<zk::chart_from_bs, wrap_chart>},
    {"compute_chart_batch", kModule, Params{{"inputs"}} + kChartOptions,
     runs<zk::charts_from_rows, chart_list>},
    {"local_to_utc", kModule, kUtcFields + Params{{"tz_str"}}, local_to_utc},
    {"compute_dignities", kModule, Params{{"planet_str"}, {"sign_str"}, {"longitude"}},
     runs<zk::dignities_by_name, dignities_dict>},
    {"get_transits", kModule, Params{{"from_date"}, {"to_date"}, kAyanamsa, kTrueNodes},
     runs<zk::transits_between, ingress_list>},
    {"find_time_windows", kModule,
     Params{{"base_date"}, {"window_minutes"}, {"varga"}, {"target_sign"}} + kShortPlace +
         Params{kAyanamsa, kTrueNodes},
     runs<zk::time_windows_near, window_list>},
    {"get_divisional_sign", kModule, kLonVarga, get_divisional_sign},
    {"get_divisional_longitude", kModule, kLonVarga, runs<zk::get_divisional_longitude, new_float>},
    {"calc_planet_longitude", kModule, Params{{"jd"}, {"planet"}, kAyanamsa},
     runs<zk::sidereal_longitude, new_float>},
    {"get_panchanga_calendar", kModule,
     Params{{"start_date"}, {"end_date"}, {"timezone"}} + kPlace +
         Params{kAyanamsa, kTrueNodes, kLocale, kSunrise},
     runs<zk::panchanga_calendar_between, calendar_list>},
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
    if (!module || !add_classes(module.get()) || !add_functions(module.get())) return nullptr;
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
    if (!g_module) {
        g_module = zk::py::guarded([] { return zk::py::build_module(); });
        if (!g_module) return nullptr;
    }
    Py_INCREF(g_module);
    return g_module;
}

// The module object: the seven classes and ten functions, registered in order.
#include "ephemeris/ephemeris.hpp"
#include "python/entry_points.hpp"
#include "python/trampoline.hpp"

namespace zk::py {
namespace {

PyTypeObject* g_types[7] = {};

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

constexpr int kArgs = METH_VARARGS | METH_KEYWORDS;

PyMethodDef kFunctions[] = {
    {"get_panchanga", as_cfunction(&with_keywords<get_panchanga>), kArgs,
     "get_panchanga(year, month, day, hour, minute, second, latitude, longitude, altitude=0.0, "
     "ayanamsa=\"lahiri\", true_nodes=True, locale=\"en\")\n--\n\n"},
    {"compute_chart_bs", as_cfunction(&with_keywords<compute_chart_bs>), kArgs,
     "compute_chart_bs(bs_year, bs_month, bs_day, hour, minute, second, latitude, longitude, "
     "altitude=0.0, ayanamsa=\"lahiri\", house_system=\"equal\", true_nodes=True)\n--\n\n"},
    {"compute_chart_batch", as_cfunction(&with_keywords<compute_chart_batch>), kArgs,
     "compute_chart_batch(inputs, ayanamsa=\"lahiri\", house_system=\"equal\", "
     "true_nodes=True)\n--\n\n"},
    {"local_to_utc", as_cfunction(&with_keywords<local_to_utc>), kArgs,
     "local_to_utc(year, month, day, hour, minute, second, tz_str)\n--\n\n"},
    {"compute_dignities", as_cfunction(&with_keywords<compute_dignities>), kArgs,
     "compute_dignities(planet_str, sign_str, longitude)\n--\n\n"},
    {"get_transits", as_cfunction(&with_keywords<get_transits>), kArgs,
     "get_transits(from_date, to_date, ayanamsa=\"lahiri\", true_nodes=True)\n--\n\n"},
    {"find_time_windows", as_cfunction(&with_keywords<find_time_windows>), kArgs,
     "find_time_windows(base_date, window_minutes, varga, target_sign, lat, lon, alt=0.0, "
     "ayanamsa=\"lahiri\", true_nodes=True)\n--\n\n"},
    {"get_divisional_sign", as_cfunction(&with_keywords<get_divisional_sign>), kArgs,
     "get_divisional_sign(lon, varga)\n--\n\n"},
    {"get_divisional_longitude", as_cfunction(&with_keywords<get_divisional_longitude>), kArgs,
     "get_divisional_longitude(lon, varga)\n--\n\n"},
    {"calc_planet_longitude", as_cfunction(&with_keywords<calc_planet_longitude>), kArgs,
     "calc_planet_longitude(jd, planet, ayanamsa=\"lahiri\")\n--\n\n"},
};

// The import name of the compiled core; the zodiakit package re-exports its names.
constexpr const char kCoreName[] = "zodiakit._core";

PyModuleDef kModuleDef = {
    PyModuleDef_HEAD_INIT, kCoreName, nullptr, -1, nullptr, nullptr, nullptr, nullptr, nullptr,
};

PyObject* g_module = nullptr;

PyObject* build_module() {
    ephemeris::close_files_in_forked_children();
    Ref module(PyModule_Create(&kModuleDef));
    if (!module) return nullptr;
    for (size_t i = 0; i < std::size(kClasses); ++i) {
        if (!g_types[i]) g_types[i] = kClasses[i].create();
        if (!g_types[i]) {
            PyErr_Clear();
            PyErr_Format(PyExc_RuntimeError, "failed to create type object for %s",
                         kClasses[i].name);
            return nullptr;
        }
        if (PyModule_AddObjectRef(module.get(), kClasses[i].name,
                                  reinterpret_cast<PyObject*>(g_types[i])) < 0) {
            return nullptr;
        }
    }
    Ref module_name = new_str("zodiakit");
    if (!module_name) return nullptr;
    for (PyMethodDef& def : kFunctions) {
        Ref function(PyCFunction_NewEx(&def, module.get(), module_name.get()));
        if (!function) return nullptr;
        if (PyModule_AddObjectRef(module.get(), def.ml_name, function.get()) < 0) return nullptr;
    }
    return module.release();
}

}  // namespace

PyTypeObject* chart_type() {
    return g_types[0];
}
PyTypeObject* planet_position_type() {
    return g_types[1];
}
PyTypeObject* varga_position_type() {
    return g_types[2];
}
PyTypeObject* panchanga_type() {
    return g_types[3];
}
PyTypeObject* dasha_period_type() {
    return g_types[4];
}
PyTypeObject* yoga_result_type() {
    return g_types[5];
}
PyTypeObject* kuta_result_type() {
    return g_types[6];
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

// Every Python-facing entry of the module, implemented across the binding files and
// registered in module.cpp. Bodies run inside `guarded` (the registration adds it).
#pragma once

#include <Python.h>

#include <optional>
#include <string>

#include "core/records.hpp"
#include "python/py_core.hpp"

namespace zk::py {

// ---- Classes (created once per process, in registration order).
PyTypeObject* create_chart_type();            // py_chart.cpp
PyTypeObject* create_planet_position_type();  // py_chart.cpp
PyTypeObject* create_varga_position_type();   // py_derived.cpp
PyTypeObject* create_panchanga_type();        // py_panchanga.cpp
PyTypeObject* create_dasha_period_type();     // py_derived.cpp
PyTypeObject* create_yoga_result_type();      // py_yoga.cpp
PyTypeObject* create_kuta_result_type();      // py_yoga.cpp

// The created class objects (valid after module initialisation).
PyTypeObject* chart_type();
PyTypeObject* planet_position_type();
PyTypeObject* varga_position_type();
PyTypeObject* panchanga_type();
PyTypeObject* dasha_period_type();
PyTypeObject* yoga_result_type();
PyTypeObject* kuta_result_type();

// A new Python Chart owning the record.
PyObject* wrap_chart(Chart chart);
// The record behind a Python Chart (the caller checked the type).
const Chart& chart_of(PyObject* self);
bool is_chart(PyObject* obj);

// The place and options every chart constructor takes, as its last six parameters from
// `first` on: latitude, longitude, altitude, ayanamsa, house_system, true_nodes.
struct ChartOptions {
    double latitude = 0.0, longitude = 0.0, altitude = 0.0;
    std::string ayanamsa = "lahiri", house_system = "equal";
    bool true_nodes = true;

    bool read(const Args& a, size_t first);
};

// The options checked and parsed, as the chart pipeline takes them.
struct ChartSettings {
    GeoLocation location;
    AyanamsaMode ayanamsa;
    HouseSystem house_system = HouseSystem::Equal;
    bool true_nodes = true;
};

// Parses the two option texts (ayanamsa first); raises the parse message on failure.
std::optional<ChartSettings> parse_chart_options(const std::string& ayanamsa,
                                                 const std::string& house_system, bool true_nodes);
// Validates the place, then parses the option texts; raises the first failure.
std::optional<ChartSettings> settle(const ChartOptions& options);

// Computes the chart and wraps it, recording how it was asked for; raises its failure.
PyObject* compute_chart(const UtcDateTime& utc, const ChartSettings& settings,
                        const char* input_mode, const char* timezone);

// settle, then compute_chart: the road every UTC constructor takes.
PyObject* build_chart_from_utc(const UtcDateTime& utc, const ChartOptions& options,
                               const char* input_mode, const char* timezone);

// ---- Module functions: (args, kwargs) -> new reference or nullptr.
PyObject* get_panchanga(PyObject* args, PyObject* kwargs);             // py_panchanga.cpp
PyObject* compute_chart_bs(PyObject* args, PyObject* kwargs);          // py_search.cpp
PyObject* compute_chart_batch(PyObject* args, PyObject* kwargs);       // py_chart.cpp
PyObject* local_to_utc(PyObject* args, PyObject* kwargs);              // py_foundation.cpp
PyObject* compute_dignities(PyObject* args, PyObject* kwargs);         // py_chart.cpp
PyObject* get_transits(PyObject* args, PyObject* kwargs);              // py_search.cpp
PyObject* find_time_windows(PyObject* args, PyObject* kwargs);         // py_search.cpp
PyObject* get_divisional_sign(PyObject* args, PyObject* kwargs);       // py_derived.cpp
PyObject* get_divisional_longitude(PyObject* args, PyObject* kwargs);  // py_derived.cpp
PyObject* calc_planet_longitude(PyObject* args, PyObject* kwargs);     // py_foundation.cpp

// ---- Chart methods. Static constructors take (args, kwargs); instance methods take self
// (and args, kwargs when they have parameters).
PyObject* chart_from_utc(PyObject* args, PyObject* kwargs);         // py_chart.cpp
PyObject* chart_compute(PyObject* args, PyObject* kwargs);          // py_chart.cpp
PyObject* chart_from_local(PyObject* args, PyObject* kwargs);       // py_chart.cpp
PyObject* chart_from_julian_day(PyObject* args, PyObject* kwargs);  // py_chart.cpp
PyObject* chart_compute_bs(PyObject* args, PyObject* kwargs);       // py_search.cpp

PyObject* chart_settings(PyObject* self);   // py_chart.cpp
PyObject* chart_metadata(PyObject* self);   // py_chart.cpp
PyObject* chart_warnings(PyObject* self);   // py_chart.cpp
PyObject* chart_planets(PyObject* self);    // py_chart.cpp
PyObject* chart_houses(PyObject* self);     // py_chart.cpp
PyObject* chart_ascendant(PyObject* self);  // py_chart.cpp

PyObject* chart_aspects(PyObject* self);                                         // py_derived.cpp
PyObject* chart_karakas(PyObject* self);                                         // py_derived.cpp
PyObject* chart_ashtakavarga(PyObject* self);                                    // py_derived.cpp
PyObject* chart_dasha(PyObject* self);                                           // py_derived.cpp
PyObject* chart_divisional_chart(PyObject* self, PyObject* args, PyObject* kw);  // py_derived.cpp
PyObject* chart_vargas(PyObject* self, PyObject* args, PyObject* kw);            // py_derived.cpp

PyObject* chart_yogas(PyObject* self);                                        // py_yoga.cpp
PyObject* chart_explain(PyObject* self);                                      // py_yoga.cpp
PyObject* chart_compatibility(PyObject* self, PyObject* args, PyObject* kw);  // py_yoga.cpp

PyObject* chart_to_json(PyObject* self);  // py_serialize.cpp
PyObject* chart_to_dict(PyObject* self);  // py_serialize.cpp
PyObject* chart_to_svg(PyObject* self);   // py_serialize.cpp
PyObject* chart_repr(PyObject* self);     // py_serialize.cpp
PyObject* chart_str(PyObject* self);      // py_serialize.cpp

}  // namespace zk::py

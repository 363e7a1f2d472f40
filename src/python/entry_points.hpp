// The pieces the row tables are made of: the seven classes, and the builders and bodies the
// rows of module.cpp (functions), py_chart.cpp (Chart) and py_panchanga.cpp (Panchanga)
// name. A builder turns a record or an engine result into a new Python object (an empty
// Ref with an exception set on failure); a body takes the receiver and the bound arguments.
#pragma once

#include <Python.h>

#include <cstddef>
#include <type_traits>
#include <vector>

#include "chart/kuta.hpp"
#include "core/records.hpp"
#include "python/py_core.hpp"
#include "python/py_entry.hpp"
#include "render/table.hpp"

namespace zk {
struct Dignities;
struct Ingress;
struct Panchanga;
struct PanchangaDay;
struct TimeWindow;
}  // namespace zk

namespace zk::py {

// ---- Classes, created once per process in this order (module.cpp).
enum class Class {
    Chart,
    PlanetPosition,
    VargaPosition,
    Panchanga,
    DashaPeriod,
    YogaResult,
    KutaResult,
    ChartTable
};
// The created class object (valid after module initialisation).
PyTypeObject* type_of(Class c);
// A new instance of a class owning `record`.
template <typename Record>
Ref wrap(Class c, Record record) {
    return wrap_record(type_of(c), std::move(record));
}
// A Panchanga object holds its record in a box of its own, whose day may wait for its first
// use: every Panchanga is wrapped by py_panchanga.cpp.
Ref wrap(Class, Panchanga record);
Ref wrap_panchanga(Panchanga panchanga);

using Creator = PyTypeObject*();
Creator create_chart_type, create_planet_position_type;        // py_chart.cpp
Creator create_varga_position_type, create_dasha_period_type;  // py_derived.cpp
Creator create_panchanga_type;                                 // py_panchanga.cpp
Creator create_yoga_result_type, create_kuta_result_type;      // py_yoga.cpp
Creator create_chart_table_type;                               // py_table.cpp

// ---- Builders and bodies, by the file that defines them.
using ChartView = Ref(const Chart& chart);
using Body = Entry::Body;

// py_chart.cpp
Ref wrap_chart(Chart chart);
ChartView settings_dict, warnings_list, planets_dict, houses_list, ascendant_float;
// py_derived.cpp
ChartView aspects_list, karakas_dict, ashtakavarga_dict, dasha_dict;
const std::vector<VargaPosition>* varga_positions(const Chart& chart, uint32_t varga);
Ref varga_list(const std::vector<VargaPosition>* positions);  // None for no positions
Body varga_objects;  // Chart.vargas and Chart.divisional_chart
Ref sign_or_none(std::optional<Sign> sign);
Body get_divisional_sign;
// py_yoga.cpp
ChartView yoga_list, explanation_dict;
Ref kuta_object(const KutaResult& kuta);
// py_serialize.cpp
ChartView json_text, json_dict, svg_text, summary_text, listing_text;
Body draw_svg;
ChartView html_text;
Ref panchanga_html(const Panchanga& panchanga);
// py_panchanga.cpp
Ref panchanga_dict(const Panchanga& panchanga);
Ref calendar_list(std::vector<PanchangaDay>&& days);
// py_search.cpp
Ref chart_list(std::vector<Chart>&& charts);
Ref ingress_list(const std::vector<Ingress>& ingresses);
Ref window_list(const std::vector<TimeWindow>& windows);
// py_copy.cpp: copies (the object itself), pickles and equality. A chart pickles as its
// inputs and settings; the other classes pickle as their record and compare by it.
Body same_object, reduce_chart;
PyObject* compare_charts(PyObject* self, PyObject* other, int op);
Py_hash_t hash_chart(PyObject* self);
template <typename Record>
Body reduce_record;
template <typename Record>
PyObject* compare_records(PyObject* self, PyObject* other, int op);
template <typename Record>
Py_hash_t hash_record(PyObject* self);
// __copy__, __deepcopy__ and __reduce__ of a record class.
template <typename Record>
PyMethodDef* record_methods();

// A class of read-only record attributes that copies as itself, pickles and compares as its
// record, with the text `Show` builds as its repr (none: the default repr). Its objects hold
// a `Box` that record_of<Record> reads, by default the record itself.
template <typename Record, auto Show = nullptr, typename Box = Record>
PyTypeObject* create_record_type(const char* qualified_name, const char* doc, PyGetSetDef* getters,
                                 PyMethodDef* method_table = record_methods<Record>()) {
    const PyType_Slot getset{Py_tp_getset, getters};
    const PyType_Slot methods{Py_tp_methods, method_table};
    const PyType_Slot compare{Py_tp_richcompare, reinterpret_cast<void*>(&compare_records<Record>)};
    const PyType_Slot hash{Py_tp_hash, reinterpret_cast<void*>(&hash_record<Record>)};
    if constexpr (std::is_same_v<decltype(Show), std::nullptr_t>) {
        return create_boxed_type<Box>(qualified_name, doc, {getset, methods, compare, hash});
    } else {
        return create_boxed_type<Box>(qualified_name, doc,
                                      {getset,
                                       methods,
                                       compare,
                                       hash,
                                       {Py_tp_repr, reinterpret_cast<void*>(&show_slot<Show>)}});
    }
}
// zodiakit._core._chart_from_state and _record_from_state, which pickles name.
bool add_state_functions(PyObject* module);
// py_table.cpp
Ref wrap_table(ChartTable table);
// py_foundation.cpp
Ref dignities_dict(const Dignities& dignities);
Body local_to_utc;

}  // namespace zk::py

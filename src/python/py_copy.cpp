// Copies, pickles and equality. Every object is immutable, so a copy is the object itself. A
// chart pickles as the instant, place and settings it was computed from and is computed
// again when loaded: the same inputs give the same chart, so two charts are equal when
// their inputs are.
#include "chart/inputs.hpp"
#include "python/entry_points.hpp"

namespace zk::py {
namespace {

// The layout of a pickled chart; another layout gets another number.
constexpr long kChartStateVersion = 1;
constexpr size_t kChartStateSize = 16;

constexpr HouseSystem kHouseSystems[] = {HouseSystem::Equal, HouseSystem::Placidus,
                                         HouseSystem::Koch, HouseSystem::WholeSign};

// The function that computes a pickled chart again (zodiakit._core._chart_from_state).
PyObject* g_chart_from_state = nullptr;

template <typename... Items>
Ref tuple_of(Items... items) {
    if ((!items || ...)) return Ref();
    return Ref(PyTuple_Pack(sizeof...(Items), items.get()...));
}

// (version, year, month, day, hour, minute, second, latitude, longitude, altitude, ayanamsa
// kind, custom ayanamsa degrees, house system name, true nodes, input mode, zone)
Ref chart_state(const Chart& chart) {
    const UtcDateTime& t = chart.datetime;
    const GeoLocation& place = chart.location;
    const CalculationMetadata& m = chart.metadata;
    return tuple_of(new_int(kChartStateVersion), new_int(t.year), new_int(t.month), new_int(t.day),
                    new_int(t.hour), new_int(t.minute), new_int(t.second),
                    new_float(place.latitude), new_float(place.longitude),
                    new_float(place.altitude), new_int(static_cast<long long>(chart.ayanamsa.kind)),
                    new_float(chart.ayanamsa.custom_deg), new_str(m.house_system),
                    new_bool(m.true_nodes), new_str(m.input_mode),
                    new_str(m.timezone.value_or("UTC")));
}

PyObject* refuse_state() {
    PyErr_SetString(PyExc_ValueError, "not the state of a pickled Chart");
    return nullptr;
}

PyObject* chart_from_state(PyObject*, PyObject* state) {
    return guarded([&]() -> PyObject* {
        if (!PyTuple_Check(state) || PyTuple_Size(state) != kChartStateSize) return refuse_state();
        auto at = [&](Py_ssize_t i) { return PyTuple_GetItem(state, i); };
        int32_t version = 0, year = 0;
        uint32_t month = 0, day = 0, hour = 0, minute = 0, second = 0, kind = 0;
        GeoLocation place;
        double custom_deg = 0.0;
        bool true_nodes = true;
        std::string_view house_name, input_mode, zone;
        if (!convert(at(0), version) || version != kChartStateVersion || !convert(at(1), year) ||
            !convert(at(2), month) || !convert(at(3), day) || !convert(at(4), hour) ||
            !convert(at(5), minute) || !convert(at(6), second) || !convert(at(7), place.latitude) ||
            !convert(at(8), place.longitude) || !convert(at(9), place.altitude) ||
            !convert(at(10), kind) || !convert(at(11), custom_deg) ||
            !convert(at(12), house_name) || !convert(at(13), true_nodes) ||
            !convert(at(14), input_mode) || !convert(at(15), zone) ||
            kind > static_cast<uint32_t>(AyanamsaMode::Kind::Custom)) {
            PyErr_Clear();
            return refuse_state();
        }
        const auto utc = make_utc(year, month, day, hour, minute, second);
        const HouseSystem* house_system = nullptr;
        for (const HouseSystem& h : kHouseSystems) {
            if (house_system_name(h) == house_name) house_system = &h;
        }
        if (!utc || !house_system) return refuse_state();
        const ChartOptions options{AyanamsaMode{static_cast<AyanamsaMode::Kind>(kind), custom_deg},
                                   *house_system, true_nodes};
        auto chart =
            without_lock([&] { return recorded_chart(*utc, place, options, input_mode, zone); });
        return deliver(std::move(chart), wrap_chart);
    });
}

PyMethodDef kChartFromState = {"_chart_from_state", &chart_from_state, METH_O,
                               "Computes a pickled Chart again from its state."};

PyObject* same_object_noargs(PyObject* self, PyObject*) {
    Py_INCREF(self);
    return self;
}

}  // namespace

PyObject* same_object(PyObject* self, const Args&) {
    return same_object_noargs(self, nullptr);
}

PyObject* reduce_chart(PyObject* self, const Args&) {
    if (!g_chart_from_state) return raise_panic("_chart_from_state is not registered");
    Ref arguments = tuple_of(chart_state(record_of<Chart>(self)));
    if (!arguments) return nullptr;
    return PyTuple_Pack(2, g_chart_from_state, arguments.get());
}

PyObject* compare_charts(PyObject* self, PyObject* other, int op) {
    return guarded([&]() -> PyObject* {
        if ((op != Py_EQ && op != Py_NE) || !PyObject_TypeCheck(other, type_of(Class::Chart))) {
            Py_RETURN_NOTIMPLEMENTED;
        }
        Ref mine = chart_state(record_of<Chart>(self));
        Ref theirs = chart_state(record_of<Chart>(other));
        if (!mine || !theirs) return nullptr;
        return PyObject_RichCompare(mine.get(), theirs.get(), op);
    });
}

Py_hash_t hash_chart(PyObject* self) {
    Ref state = chart_state(record_of<Chart>(self));
    return state ? PyObject_Hash(state.get()) : -1;
}

PyMethodDef kCopyMethods[] = {
    {"__copy__", &same_object_noargs, METH_NOARGS,
     "__copy__($self, /)\n--\n\nThe object itself: it is immutable."},
    {"__deepcopy__",
     reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(
         +[](PyObject* self, PyObject*) { return same_object_noargs(self, nullptr); })),
     METH_O, "__deepcopy__($self, memo, /)\n--\n\nThe object itself: it is immutable."},
    {nullptr, nullptr, 0, nullptr},
};

bool add_chart_from_state(PyObject* module) {
    Ref module_name = new_str("zodiakit._core");
    if (!module_name) return false;
    Ref function(PyCFunction_NewEx(&kChartFromState, nullptr, module_name.get()));
    if (!function || PyModule_AddObjectRef(module, kChartFromState.ml_name, function.get()) < 0) {
        return false;
    }
    g_chart_from_state = function.release();
    return true;
}

}  // namespace zk::py

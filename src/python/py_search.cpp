// The inputs of a batch of charts, and the lists a batch, transits and time windows return.
#include <algorithm>

#include "python/entry_points.hpp"
#include "search/inputs.hpp"

namespace zk::py {
namespace {

// One element of `inputs`: a 9-tuple of date-time fields and a place.
bool convert_row(PyObject* item, ChartRow& out) {
    if (!PyTuple_Check(item)) return refuse_conversion(item, "tuple");
    const Py_ssize_t size = PyTuple_Size(item);
    if (size != 9) {
        raise_type_error("expected tuple of length 9, but got tuple of length " +
                         std::to_string(size));
        return false;
    }
    auto at = [&](Py_ssize_t i) { return PyTuple_GetItem(item, i); };
    return convert(at(0), out.year) && convert(at(1), out.month) && convert(at(2), out.day) &&
           convert(at(3), out.hour) && convert(at(4), out.minute) && convert(at(5), out.second) &&
           convert(at(6), out.latitude) && convert(at(7), out.longitude) &&
           convert(at(8), out.altitude);
}

// Long inputs and results are read and built in runs, and between runs the interpreter lock
// is let go for a moment: another Python thread (a timer, a progress display) that waited for
// it takes it then, instead of waiting until a hundred thousand items are done.
constexpr size_t kItemsPerRun = 1024;

void let_waiting_threads_run(size_t done) {
    if (done % kItemsPerRun == 0) PyEval_RestoreThread(PyEval_SaveThread());
}

template <typename Items, typename Make>
Ref list_in_runs(Items& items, Make&& make) {
    size_t done = 0;
    return list_of(items, [&](auto& item) {
        let_waiting_threads_run(++done);
        return make(item);
    });
}

Ref ingress_dict(const Ingress& ingress) {
    return new_dict("planet", new_str(planet_name(ingress.planet)), "from_sign",
                    new_str(sign_name(ingress.from_sign)), "to_sign",
                    new_str(sign_name(ingress.to_sign)), "ingress_time",
                    new_str(format_rfc3339_utc(ingress.ingress_time)), "is_retrograde",
                    new_bool(ingress.is_retrograde));
}

Ref window_tuple(const TimeWindow& window) {
    Ref start = new_str(format_rfc3339_z(window.start));
    Ref end = new_str(format_rfc3339_z(window.end));
    if (!start || !end) return Ref();
    return Ref(PyTuple_Pack(2, start.get(), end.get()));
}

}  // namespace

Ref chart_list(std::vector<Chart>&& charts) {
    return list_in_runs(charts, [](Chart& chart) { return wrap_chart(std::move(chart)); });
}

Ref ingress_list(const std::vector<Ingress>& ingresses) {
    return list_in_runs(ingresses, ingress_dict);
}

Ref window_list(const std::vector<TimeWindow>& windows) {
    return list_in_runs(windows, window_tuple);
}

bool convert(PyObject* inputs, std::vector<ChartRow>& out) {
    if (PyUnicode_Check(inputs)) {
        raise_type_error("Can't extract `str` to `Vec`");
        return false;
    }
    if (!PySequence_Check(inputs)) return refuse_conversion(inputs, "Sequence");
    const Py_ssize_t size = PySequence_Size(inputs);
    if (size < 0) return false;
    if (static_cast<size_t>(size) > out.max_size()) {
        PyErr_Format(PyExc_MemoryError, "argument 'inputs': %zd items cannot be held in memory",
                     size);
        return false;
    }
    // A length is only a claim: rows are held as they are read, so a bad first item fails
    // at once whatever the length says.
    constexpr size_t kFirstReserve = 4096;
    out.reserve(std::min(static_cast<size_t>(size), kFirstReserve));
    for (Py_ssize_t i = 0; i < size; ++i) {
        let_waiting_threads_run(static_cast<size_t>(i) + 1);
        Ref item(PySequence_GetItem(inputs, i));
        if (!item || !convert_row(item.get(), out.emplace_back())) return false;
    }
    return true;
}

bool convert(PyObject* obj, Workers& out) {
    if (obj == Py_None) {
        out.count = 0;
        return true;
    }
    if (PyLong_Check(obj) && !PyBool_Check(obj)) {
        int overflow = 0;
        const long long value = PyLong_AsLongLongAndOverflow(obj, &overflow);
        if (value == -1 && PyErr_Occurred()) return false;
        if (overflow == 0 && value >= 1 && value <= 65536) {
            out.count = static_cast<uint32_t>(value);
            return true;
        }
        if (overflow > 0 || value > 65536) {
            PyErr_SetString(PyExc_ValueError, "workers must be at most 65536");
            return false;
        }
    }
    Ref shown(PyObject_Repr(obj));
    std::string_view text;
    if (!shown || !convert(shown.get(), text)) return false;
    raise_error("workers must be a positive int or None, not " + std::string(text));
    return false;
}

}  // namespace zk::py

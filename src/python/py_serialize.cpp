// The chart as JSON, dict, text and SVG.
#include "python/entry_points.hpp"
#include "python/py_core.hpp"
#include "render/chart_json.hpp"
#include "render/chart_text.hpp"
#include "render/svg.hpp"

namespace zk::py {

PyObject* chart_to_json(PyObject* self) {
    return new_str(chart_to_json(chart_of(self))).release();
}

PyObject* chart_to_dict(PyObject* self) {
    return json_loads(chart_to_json(chart_of(self))).release();
}

PyObject* chart_to_svg(PyObject* self) {
    return new_str(chart_to_svg(chart_of(self))).release();
}

PyObject* chart_repr(PyObject* self) {
    return new_str(chart_summary(chart_of(self))).release();
}

PyObject* chart_str(PyObject* self) {
    return new_str(chart_listing(chart_of(self))).release();
}

}  // namespace zk::py

// The chart as JSON, dict, text and SVG.
#include "python/entry_points.hpp"
#include "python/not_implemented.hpp"

namespace zk::py {

PyObject* chart_to_json(PyObject*) { return not_implemented("Chart.to_json"); }
PyObject* chart_to_dict(PyObject*) { return not_implemented("Chart.to_dict"); }
PyObject* chart_to_svg(PyObject*) { return not_implemented("Chart.to_svg"); }
PyObject* chart_repr(PyObject*) { return not_implemented("Chart.__repr__"); }
PyObject* chart_str(PyObject*) { return not_implemented("Chart.__str__"); }

}  // namespace zk::py

// Bikram Sambat charts, transits and ascendant time windows.
#include "python/entry_points.hpp"
#include "python/not_implemented.hpp"

namespace zk::py {

PyObject* compute_chart_bs(PyObject*, PyObject*) { return not_implemented("compute_chart_bs"); }
PyObject* chart_compute_bs(PyObject*, PyObject*) { return not_implemented("Chart.compute_bs"); }
PyObject* get_transits(PyObject*, PyObject*) { return not_implemented("get_transits"); }
PyObject* find_time_windows(PyObject*, PyObject*) { return not_implemented("find_time_windows"); }

}  // namespace zk::py

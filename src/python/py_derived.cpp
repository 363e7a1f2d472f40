// VargaPosition and DashaPeriod classes; the chart's divisional charts, aspects, karakas,
// ashtakavarga and dasha; get_divisional_sign and get_divisional_longitude.
#include "python/entry_points.hpp"
#include "python/not_implemented.hpp"

namespace zk::py {

PyTypeObject* create_varga_position_type() {
    return create_boxed_type<Placeholder>(
        "zodiakit.VargaPosition",
        "Divisional (varga) position \u2014 `display_longitude` is for chart drawing only.", {});
}
PyTypeObject* create_dasha_period_type() {
    return create_boxed_type<Placeholder>("zodiakit.DashaPeriod", "Python wrapper for DashaPeriod",
                                          {});
}
PyObject* chart_aspects(PyObject*) { return not_implemented("Chart.aspects"); }
PyObject* chart_karakas(PyObject*) { return not_implemented("Chart.karakas"); }
PyObject* chart_ashtakavarga(PyObject*) { return not_implemented("Chart.ashtakavarga"); }
PyObject* chart_dasha(PyObject*) { return not_implemented("Chart.dasha"); }
PyObject* chart_divisional_chart(PyObject*, PyObject*, PyObject*) {
    return not_implemented("Chart.divisional_chart");
}
PyObject* chart_vargas(PyObject*, PyObject*, PyObject*) { return not_implemented("Chart.vargas"); }
PyObject* get_divisional_sign(PyObject*, PyObject*) {
    return not_implemented("get_divisional_sign");
}
PyObject* get_divisional_longitude(PyObject*, PyObject*) {
    return not_implemented("get_divisional_longitude");
}

}  // namespace zk::py

// YogaResult and KutaResult classes; the chart's yogas, explanation and compatibility.
#include "python/entry_points.hpp"
#include "python/not_implemented.hpp"

namespace zk::py {

PyTypeObject* create_yoga_result_type() {
    return create_boxed_type<Placeholder>(
        "zodiakit.YogaResult",
        "Python wrapper for YogaResult.\nEach yoga has a name, category, BPHS-cited description, "
        "and the planets involved.",
        {});
}
PyTypeObject* create_kuta_result_type() {
    return create_boxed_type<Placeholder>(
        "zodiakit.KutaResult", "Python wrapper for KutaResult (Ashtakoota compatibility).", {});
}
PyObject* chart_yogas(PyObject*) { return not_implemented("Chart.yogas"); }
PyObject* chart_explain(PyObject*) { return not_implemented("Chart.explain"); }
PyObject* chart_compatibility(PyObject*, PyObject*, PyObject*) {
    return not_implemented("Chart.compatibility");
}

}  // namespace zk::py

// YogaResult and KutaResult classes; the chart's yogas, explanation and compatibility.
#include "chart/kuta.hpp"
#include "core/format.hpp"
#include "explain/explanation.hpp"
#include "python/entry_points.hpp"
#include "python/trampoline.hpp"

namespace zk::py {

namespace {

// What a Python YogaResult shows: the record with its planets already named.
struct YogaSnapshot {
    std::string name;
    std::string category;
    std::string description;
    std::vector<std::string> planets_involved;
    bool is_present = true;
};

YogaSnapshot snapshot_of(const YogaResult& y) {
    YogaSnapshot s{y.name, y.category, y.description, {}, y.is_present};
    s.planets_involved.reserve(y.planets_involved.size());
    for (Planet p : y.planets_involved) s.planets_involved.emplace_back(planet_name(p));
    return s;
}

PyGetSetDef kYogaGetters[] = {
    ZK_GETTER(YogaSnapshot, name, new_str(r.name)),
    ZK_GETTER(YogaSnapshot, category, new_str(r.category)),
    ZK_GETTER(YogaSnapshot, description, new_str(r.description)),
    ZK_GETTER(YogaSnapshot, planets_involved, new_str_list(r.planets_involved)),
    ZK_GETTER(YogaSnapshot, is_present, new_bool(r.is_present)),
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

PyGetSetDef kKutaGetters[] = {
    ZK_GETTER(KutaResult, varna, new_float(r.varna)),
    ZK_GETTER(KutaResult, vasya, new_float(r.vasya)),
    ZK_GETTER(KutaResult, tara, new_float(r.tara)),
    ZK_GETTER(KutaResult, yoni, new_float(r.yoni)),
    ZK_GETTER(KutaResult, graha_maitri, new_float(r.graha_maitri)),
    ZK_GETTER(KutaResult, gana, new_float(r.gana)),
    ZK_GETTER(KutaResult, bhakut, new_float(r.bhakut)),
    ZK_GETTER(KutaResult, nadi, new_float(r.nadi)),
    ZK_GETTER(KutaResult, total_score, new_float(r.total_score)),
    ZK_GETTER(KutaResult, max_score, new_float(r.max_score)),
    ZK_GETTER(KutaResult, is_compatible, new_bool(r.is_compatible)),
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

PyObject* yoga_repr(PyObject* self) {
    const YogaSnapshot& y = record_of<YogaSnapshot>(self);
    std::string planets = "[";
    for (size_t i = 0; i < y.planets_involved.size(); ++i) {
        if (i > 0) planets += ", ";
        planets += "\"" + y.planets_involved[i] + "\"";
    }
    planets += "]";
    return new_str("<YogaResult '" + y.name + "' [" + y.category + "] planets=" + planets + ">")
        .release();
}

PyObject* kuta_repr(PyObject* self) {
    const KutaResult& k = record_of<KutaResult>(self);
    return new_str("<KutaResult score=" + format_fixed(k.total_score, 1) +
                   "/36.0 compatible=" + (k.is_compatible ? "true" : "false") + ">")
        .release();
}

}  // namespace

PyTypeObject* create_yoga_result_type() {
    return create_boxed_type<YogaSnapshot>(
        "zodiakit.YogaResult",
        "Python wrapper for YogaResult.\nEach yoga has a name, category, BPHS-cited description, "
        "and the planets involved.",
        {{Py_tp_getset, kYogaGetters},
         {Py_tp_repr, reinterpret_cast<void*>(&unary_slot<yoga_repr>)}});
}

PyTypeObject* create_kuta_result_type() {
    return create_boxed_type<KutaResult>(
        "zodiakit.KutaResult", "Python wrapper for KutaResult (Ashtakoota compatibility).",
        {{Py_tp_getset, kKutaGetters},
         {Py_tp_repr, reinterpret_cast<void*>(&unary_slot<kuta_repr>)}});
}

PyObject* chart_yogas(PyObject* self) {
    Ref list(PyList_New(0));
    if (!list) return nullptr;
    for (const YogaResult& y : chart_of(self).yogas) {
        if (!list_append(list.get(), Ref(wrap_record(yoga_result_type(), snapshot_of(y))))) {
            return nullptr;
        }
    }
    return list.release();
}

PyObject* chart_explain(PyObject* self) {
    return json_loads(graph_to_json(get_explanation(chart_of(self)))).release();
}

PyObject* chart_compatibility(PyObject* self, PyObject* args, PyObject* kwargs) {
    static const Signature signature{"Chart.compatibility", {"other"}, 1};
    auto a = Args::bind(signature, args, kwargs);
    if (!a) return nullptr;
    PyObject* other = a->raw(0);
    if (!is_chart(other)) {
        const std::string message =
            "'" + type_name(other) + "' object cannot be converted to 'Chart'";
        PyErr_SetString(PyExc_TypeError, message.c_str());
        wrap_argument_error(a->name(0));
        return nullptr;
    }
    return wrap_record(kuta_result_type(), match_kuta(chart_of(self), chart_of(other)));
}

}  // namespace zk::py

// YogaResult and KutaResult classes; the chart's yogas, explanation and compatibility.
#include "core/format.hpp"
#include "explain/explanation.hpp"
#include "python/entry_points.hpp"

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
    ZK_FIELD(YogaSnapshot, name),        ZK_FIELD(YogaSnapshot, category),
    ZK_FIELD(YogaSnapshot, description), ZK_FIELD(YogaSnapshot, planets_involved),
    ZK_FIELD(YogaSnapshot, is_present),  {nullptr, nullptr, nullptr, nullptr, nullptr},
};

PyGetSetDef kKutaGetters[] = {
    ZK_FIELD(KutaResult, varna),         ZK_FIELD(KutaResult, vasya),
    ZK_FIELD(KutaResult, tara),          ZK_FIELD(KutaResult, yoni),
    ZK_FIELD(KutaResult, graha_maitri),  ZK_FIELD(KutaResult, gana),
    ZK_FIELD(KutaResult, bhakut),        ZK_FIELD(KutaResult, nadi),
    ZK_FIELD(KutaResult, total_score),   ZK_FIELD(KutaResult, max_score),
    ZK_FIELD(KutaResult, is_compatible), {nullptr, nullptr, nullptr, nullptr, nullptr},
};

Ref yoga_text(const YogaSnapshot& y) {
    std::string planets = "[";
    for (size_t i = 0; i < y.planets_involved.size(); ++i) {
        if (i > 0) planets += ", ";
        planets += "\"" + y.planets_involved[i] + "\"";
    }
    planets += "]";
    return new_str("<YogaResult '" + y.name + "' [" + y.category + "] planets=" + planets + ">");
}

Ref kuta_text(const KutaResult& k) {
    return new_str("<KutaResult score=" + format_fixed(k.total_score, 1) +
                   "/36.0 compatible=" + (k.is_compatible ? "true" : "false") + ">");
}

}  // namespace

PyTypeObject* create_yoga_result_type() {
    return create_boxed_type<YogaSnapshot>(
        "zodiakit.YogaResult",
        "Python wrapper for YogaResult.\nEach yoga has a name, category, BPHS-cited description, "
        "and the planets involved.",
        {{Py_tp_getset, kYogaGetters},
         {Py_tp_methods, kCopyMethods},
         {Py_tp_repr, reinterpret_cast<void*>(&show_slot<yoga_text>)}});
}

PyTypeObject* create_kuta_result_type() {
    return create_boxed_type<KutaResult>(
        "zodiakit.KutaResult", "Python wrapper for KutaResult (Ashtakoota compatibility).",
        {{Py_tp_getset, kKutaGetters},
         {Py_tp_methods, kCopyMethods},
         {Py_tp_repr, reinterpret_cast<void*>(&show_slot<kuta_text>)}});
}

Ref yoga_list(const Chart& chart) {
    return list_of(chart.yogas,
                   [](const YogaResult& y) { return wrap(Class::YogaResult, snapshot_of(y)); });
}

Ref explanation_dict(const Chart& chart) {
    return json_loads(graph_to_json(get_explanation(chart)));
}

Ref kuta_object(const KutaResult& kuta) {
    return wrap(Class::KutaResult, kuta);
}

}  // namespace zk::py

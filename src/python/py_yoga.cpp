// YogaResult and KutaResult classes; the chart's yogas, explanation and compatibility.
#include "core/format.hpp"
#include "explain/explanation.hpp"
#include "python/entry_points.hpp"

namespace zk::py {

namespace {

Ref planet_names(const std::vector<Planet>& planets) {
    return list_of(planets, [](Planet p) { return to_python(p); });
}

PyGetSetDef kYogaGetters[] = {
    ZK_FIELD(YogaResult, name, "Yoga name, e.g. \"Gajakesari Yoga\"."),
    ZK_FIELD(YogaResult, category, "\"Raja\", \"Dhana\", \"Mahapurusha\" or \"Other\"."),
    ZK_FIELD(YogaResult, description, "The classical definition, with its BPHS chapter and verse."),
    ZK_GETTER(YogaResult, planets_involved, planet_names(r.planets_involved),
              "Names of the planets that form the yoga."),
    ZK_FIELD(YogaResult, is_present, "Always True: absent yogas are not returned."),
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

// One kuta's points, from 0 to its maximum.
#define ZK_KUTA(field, name, max) ZK_FIELD(KutaResult, field, name " points, 0-" #max ".")

PyGetSetDef kKutaGetters[] = {
    ZK_KUTA(varna, "Varna", 1),
    ZK_KUTA(vasya, "Vasya", 2),
    ZK_KUTA(tara, "Tara", 3),
    ZK_KUTA(yoni, "Yoni", 4),
    ZK_KUTA(graha_maitri, "Graha maitri", 5),
    ZK_KUTA(gana, "Gana", 6),
    ZK_KUTA(bhakut, "Bhakut", 7),
    ZK_KUTA(nadi, "Nadi", 8),
    ZK_FIELD(KutaResult, total_score, "Sum of the eight kutas, 0-36."),
    ZK_FIELD(KutaResult, max_score, "The highest possible total, 36."),
    ZK_FIELD(KutaResult, is_compatible, "True for a total of 18 or more."),
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

#undef ZK_KUTA

Ref yoga_text(const YogaResult& y) {
    std::string planets = "[";
    for (size_t i = 0; i < y.planets_involved.size(); ++i) {
        if (i > 0) planets += ", ";
        planets += "\"" + std::string(planet_name(y.planets_involved[i])) + "\"";
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
    return create_record_type<YogaResult, yoga_text>(
        "zodiakit.YogaResult",
        "Python wrapper for YogaResult.\nEach yoga has a name, category, BPHS-cited description, "
        "and the planets involved.",
        kYogaGetters);
}

PyTypeObject* create_kuta_result_type() {
    return create_record_type<KutaResult, kuta_text>(
        "zodiakit.KutaResult", "Python wrapper for KutaResult (Ashtakoota compatibility).",
        kKutaGetters);
}

Ref yoga_list(const Chart& chart) {
    return list_of(chart.yogas, [](const YogaResult& y) { return wrap(Class::YogaResult, y); });
}

Ref explanation_dict(const Chart& chart) {
    return json_loads(graph_to_json(get_explanation(chart)));
}

Ref kuta_object(const KutaResult& kuta) {
    return wrap(Class::KutaResult, kuta);
}

}  // namespace zk::py

// YogaResult and KutaResult classes; the chart's yogas, explanation and compatibility.
#include "core/format.hpp"
#include "explain/explanation.hpp"
#include "python/entry_points.hpp"

namespace zk::py {

namespace {

YogaSnapshot snapshot_of(const YogaResult& y) {
    YogaSnapshot s{y.name, y.category, y.description, {}, y.is_present};
    s.planets_involved.reserve(y.planets_involved.size());
    for (Planet p : y.planets_involved) s.planets_involved.emplace_back(planet_name(p));
    return s;
}

PyGetSetDef kYogaGetters[] = {
    ZK_FIELD(YogaSnapshot, name, "Yoga name, e.g. \"Gajakesari Yoga\"."),
    ZK_FIELD(YogaSnapshot, category, "\"Raja\", \"Dhana\", \"Mahapurusha\" or \"Other\"."),
    ZK_FIELD(YogaSnapshot, description,
             "The classical definition, with its BPHS chapter and verse."),
    ZK_FIELD(YogaSnapshot, planets_involved, "Names of the planets that form the yoga."),
    ZK_FIELD(YogaSnapshot, is_present, "Always True: absent yogas are not returned."),
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

PyGetSetDef kKutaGetters[] = {
    ZK_FIELD(KutaResult, varna, "Varna points, 0-1."),
    ZK_FIELD(KutaResult, vasya, "Vasya points, 0-2."),
    ZK_FIELD(KutaResult, tara, "Tara points, 0-3."),
    ZK_FIELD(KutaResult, yoni, "Yoni points, 0-4."),
    ZK_FIELD(KutaResult, graha_maitri, "Graha maitri points, 0-5."),
    ZK_FIELD(KutaResult, gana, "Gana points, 0-6."),
    ZK_FIELD(KutaResult, bhakut, "Bhakut points, 0-7."),
    ZK_FIELD(KutaResult, nadi, "Nadi points, 0-8."),
    ZK_FIELD(KutaResult, total_score, "Sum of the eight kutas, 0-36."),
    ZK_FIELD(KutaResult, max_score, "The highest possible total, 36."),
    ZK_FIELD(KutaResult, is_compatible, "True for a total of 18 or more."),
    {nullptr, nullptr, nullptr, nullptr, nullptr},
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
    return create_record_type<YogaSnapshot, yoga_text>(
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

// VargaPosition and DashaPeriod classes; the chart's divisional charts, aspects, karakas,
// ashtakavarga and dasha; get_divisional_sign.
#include "chart/divisional.hpp"
#include "core/format.hpp"
#include "python/entry_points.hpp"

namespace zk::py {
namespace {

// ---------------------------------------------------------------- VargaPosition

PyGetSetDef kVargaPositionGetters[] = {
    ZK_FIELD(VargaPosition, planet, "Planet name."),
    ZK_FIELD(VargaPosition, source_longitude,
             "The D1 sidereal longitude in degrees the position is taken from."),
    ZK_FIELD(VargaPosition, varga, "Division number, e.g. 9."),
    ZK_FIELD(VargaPosition, varga_sign, "Sign name in the divisional chart."),
    ZK_FIELD(VargaPosition, varga_index,
             "Zero-based part of its D1 sign in which the planet stands, 0 to varga - 1."),
    ZK_FIELD(VargaPosition, display_longitude,
             "A longitude for drawing the divisional chart, in degrees, or None; not an "
             "astronomical position."),
    ZK_FIELD(VargaPosition, warnings,
             "Warnings about this position (e.g. the D60's sensitivity to birth time)."),
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

Ref varga_position_text(const VargaPosition& v) {
    return new_str("<VargaPosition " + std::string(planet_name(v.planet)) + " D" +
                   std::to_string(v.varga) + " in " + std::string(sign_name(v.varga_sign)) +
                   " (source " + format_fixed(v.source_longitude, 2) + "\u00b0)>");
}

// ---------------------------------------------------------------- DashaPeriod

Ref dasha_list(const std::vector<DashaPeriod>& periods) {
    return list_of(periods, [](const DashaPeriod& p) { return wrap(Class::DashaPeriod, p); });
}

PyGetSetDef kDashaPeriodGetters[] = {
    ZK_FIELD(DashaPeriod, lord, "Planet ruling the period."),
    ZK_GETTER(DashaPeriod, start, new_str(format_rfc3339_utc(r.start_time())),
              "Start of the period, RFC 3339 UTC text."),
    ZK_GETTER(DashaPeriod, end, new_str(format_rfc3339_utc(r.end_time())),
              "End of the period, RFC 3339 UTC text."),
    ZK_GETTER(DashaPeriod, sub_periods, dasha_list(r.sub_periods),
              "The next level's periods inside this one (antardashas, then pratyantardashas); "
              "empty at the third level."),
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

Ref count_list(const std::array<uint8_t, 12>& counts) {
    return list_of(counts, [](uint8_t count) { return new_int(count); });
}

}  // namespace

PyTypeObject* create_varga_position_type() {
    return create_record_type<VargaPosition, varga_position_text>(
        "zodiakit.VargaPosition",
        "Divisional (varga) position \u2014 `display_longitude` is for chart drawing only.",
        kVargaPositionGetters);
}

PyTypeObject* create_dasha_period_type() {
    return create_record_type<DashaPeriod>("zodiakit.DashaPeriod", "Python wrapper for DashaPeriod",
                                           kDashaPeriodGetters);
}

// ---------------------------------------------------------------- Chart methods

Ref aspects_list(const Chart& chart) {
    return list_of(chart.aspects, [](const Aspect& a) {
        return new_dict("from_planet", to_python(a.from_planet), "to_house", new_int(a.to_house),
                        "to_planet", to_python(a.to_planet), "strength", new_float(a.strength),
                        "is_special", new_bool(a.is_special));
    });
}

Ref karakas_dict(const Chart& chart) {
    return dict_of(chart.karakas, [](const auto& entry) {
        return std::pair{to_python(entry.first), new_str(karaka_name(entry.second))};
    });
}

Ref ashtakavarga_dict(const Chart& chart) {
    const Ashtakavarga& av = chart.ashtakavarga;
    Ref binna = dict_of(av.binna, [](const auto& entry) {
        return std::pair{new_str(entry.first), count_list(entry.second)};
    });
    if (!binna) return binna;
    return new_dict("binna", std::move(binna), "sarva", count_list(av.sarva));
}

Ref dasha_dict(const Chart& chart) {
    return dict_of(chart.dasha, [](const auto& entry) {
        return std::pair{new_str(entry.first), dasha_list(entry.second)};
    });
}

const std::vector<VargaPosition>* varga_positions(const Chart& chart, uint32_t varga) {
    auto found = chart.divisional_charts.find(varga);
    return found == chart.divisional_charts.end() ? nullptr : &found->second;
}

Ref varga_list(const std::vector<VargaPosition>* positions) {
    if (!positions) return new_none();
    return list_of(*positions,
                   [](const VargaPosition& v) { return wrap(Class::VargaPosition, v); });
}

// Chart.vargas and Chart.divisional_chart. Finding the positions is a lookup, not a
// computation: the interpreter lock stays held.
PyObject* varga_objects(PyObject* self, const Args& args) {
    std::tuple<uint32_t> varga;
    if (!args.convert_all(varga)) return nullptr;
    return varga_list(varga_positions(record_of<Chart>(self), std::get<0>(varga))).release();
}

Ref sign_or_none(std::optional<Sign> sign) {
    return to_python(sign);
}

// ---------------------------------------------------------------- module functions

PyObject* get_divisional_sign(PyObject*, const Args& args) {
    return run(
        args,
        [](double lon, uint32_t varga) { return sign_from_number(divisional_sign(varga, lon)); },
        [](Sign sign) { return to_python(sign); });
}

}  // namespace zk::py

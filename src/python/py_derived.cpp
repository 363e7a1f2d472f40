// VargaPosition and DashaPeriod classes; the chart's divisional charts, aspects, karakas,
// ashtakavarga and dasha; get_divisional_sign and get_divisional_longitude.
#include "chart/divisional.hpp"
#include "core/format.hpp"
#include "python/entry_points.hpp"
#include "python/trampoline.hpp"

namespace zk::py {
namespace {

// ---------------------------------------------------------------- VargaPosition

PyGetSetDef kVargaPositionGetters[] = {
    ZK_GETTER(VargaPosition, planet, new_str(planet_name(r.planet))),
    ZK_GETTER(VargaPosition, source_longitude, new_float(r.source_longitude)),
    ZK_GETTER(VargaPosition, varga, new_int(r.varga)),
    ZK_GETTER(VargaPosition, varga_sign, new_str(sign_name(r.varga_sign))),
    ZK_GETTER(VargaPosition, varga_index, new_int(r.varga_index)),
    ZK_GETTER(VargaPosition, display_longitude,
              r.display_longitude ? new_float(*r.display_longitude) : new_none()),
    ZK_GETTER(VargaPosition, warnings, new_str_list(r.warnings)),
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

PyObject* varga_position_repr(PyObject* self) {
    const VargaPosition& v = record_of<VargaPosition>(self);
    const std::string text = "<VargaPosition " + std::string(planet_name(v.planet)) + " D" +
                             std::to_string(v.varga) + " in " +
                             std::string(sign_name(v.varga_sign)) + " (source " +
                             format_fixed(v.source_longitude, 2) + "\u00b0)>";
    return new_str(text).release();
}

Ref varga_list(const std::vector<VargaPosition>& positions) {
    Ref list(PyList_New(0));
    if (!list) return list;
    for (const VargaPosition& v : positions) {
        if (!list_append(list.get(), Ref(wrap_record(varga_position_type(), v)))) return Ref();
    }
    return list;
}

// ---------------------------------------------------------------- DashaPeriod

Ref dasha_list(const std::vector<DashaPeriod>& periods) {
    Ref list(PyList_New(0));
    if (!list) return list;
    for (const DashaPeriod& period : periods) {
        if (!list_append(list.get(), Ref(wrap_record(dasha_period_type(), period)))) {
            return Ref();
        }
    }
    return list;
}

PyGetSetDef kDashaPeriodGetters[] = {
    ZK_GETTER(DashaPeriod, lord, new_str(r.lord_name())),
    ZK_GETTER(DashaPeriod, start, new_str(format_rfc3339_utc(r.start_time()))),
    ZK_GETTER(DashaPeriod, end, new_str(format_rfc3339_utc(r.end_time()))),
    ZK_GETTER(DashaPeriod, sub_periods, dasha_list(r.sub_periods)),
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

// ---------------------------------------------------------------- shared helpers

Ref count_list(const std::array<uint8_t, 12>& counts) {
    Ref list(PyList_New(0));
    if (!list) return list;
    for (uint8_t count : counts) {
        if (!list_append(list.get(), new_int(count))) return Ref();
    }
    return list;
}

PyObject* divisional_chart_impl(const Signature& signature, PyObject* self, PyObject* args,
                                PyObject* kwargs) {
    auto a = Args::bind(signature, args, kwargs);
    if (!a) return nullptr;
    uint32_t varga = 0;
    if (!a->get(0, varga)) return nullptr;
    const auto& charts = chart_of(self).divisional_charts;
    auto found = charts.find(varga);
    if (found == charts.end()) return new_none().release();
    return varga_list(found->second).release();
}

// Binds (lon, varga) for the two module functions.
bool bind_lon_varga(const Signature& signature, PyObject* args, PyObject* kwargs, double& lon,
                    uint32_t& varga) {
    auto a = Args::bind(signature, args, kwargs);
    return a && a->get(0, lon) && a->get(1, varga);
}

}  // namespace

PyTypeObject* create_varga_position_type() {
    return create_boxed_type<VargaPosition>(
        "zodiakit.VargaPosition",
        "Divisional (varga) position \u2014 `display_longitude` is for chart drawing only.",
        {{Py_tp_getset, kVargaPositionGetters},
         {Py_tp_repr, reinterpret_cast<void*>(&unary_slot<varga_position_repr>)}});
}

PyTypeObject* create_dasha_period_type() {
    return create_boxed_type<DashaPeriod>("zodiakit.DashaPeriod", "Python wrapper for DashaPeriod",
                                          {{Py_tp_getset, kDashaPeriodGetters}});
}

// ---------------------------------------------------------------- Chart methods

PyObject* chart_aspects(PyObject* self) {
    Ref list(PyList_New(0));
    if (!list) return nullptr;
    for (const Aspect& a : chart_of(self).aspects) {
        Ref d = new_dict("from_planet", new_str(planet_name(a.from_planet)), "to_house",
                         new_int(a.to_house), "to_planet",
                         a.to_planet ? new_str(planet_name(*a.to_planet)) : new_none(), "strength",
                         new_float(a.strength), "is_special", new_bool(a.is_special));
        if (!list_append(list.get(), std::move(d))) return nullptr;
    }
    return list.release();
}

PyObject* chart_karakas(PyObject* self) {
    Ref d(PyDict_New());
    if (!d) return nullptr;
    for (const auto& [planet, karaka] : chart_of(self).karakas) {
        if (!dict_set(d.get(), std::string(planet_name(planet)).c_str(),
                      new_str(karaka_name(karaka)))) {
            return nullptr;
        }
    }
    return d.release();
}

PyObject* chart_ashtakavarga(PyObject* self) {
    const Ashtakavarga& av = chart_of(self).ashtakavarga;
    Ref binna(PyDict_New());
    if (!binna) return nullptr;
    for (const auto& [key, counts] : av.binna) {
        if (!dict_set(binna.get(), key.c_str(), count_list(counts))) return nullptr;
    }
    return new_dict("binna", std::move(binna), "sarva", count_list(av.sarva)).release();
}

PyObject* chart_dasha(PyObject* self) {
    Ref d(PyDict_New());
    if (!d) return nullptr;
    for (const auto& [system, periods] : chart_of(self).dasha) {
        if (!dict_set(d.get(), system.c_str(), dasha_list(periods))) return nullptr;
    }
    return d.release();
}

PyObject* chart_divisional_chart(PyObject* self, PyObject* args, PyObject* kwargs) {
    static const Signature signature{"Chart.divisional_chart", {"varga"}, 1};
    return divisional_chart_impl(signature, self, args, kwargs);
}

PyObject* chart_vargas(PyObject* self, PyObject* args, PyObject* kwargs) {
    static const Signature signature{"Chart.vargas", {"varga"}, 1};
    return divisional_chart_impl(signature, self, args, kwargs);
}

// ---------------------------------------------------------------- module functions

PyObject* get_divisional_sign(PyObject* args, PyObject* kwargs) {
    static const Signature signature{"get_divisional_sign", {"lon", "varga"}, 2};
    double lon = 0.0;
    uint32_t varga = 0;
    if (!bind_lon_varga(signature, args, kwargs, lon, varga)) return nullptr;
    return new_str(sign_name(sign_from_number(divisional_sign(varga, lon)))).release();
}

PyObject* get_divisional_longitude(PyObject* args, PyObject* kwargs) {
    static const Signature signature{"get_divisional_longitude", {"lon", "varga"}, 2};
    double lon = 0.0;
    uint32_t varga = 0;
    if (!bind_lon_varga(signature, args, kwargs, lon, varga)) return nullptr;
    return new_float(zk::get_divisional_longitude(lon, varga)).release();
}

}  // namespace zk::py
